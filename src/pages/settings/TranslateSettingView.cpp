#include "TranslateSettingView.h"

#include "HRVLocalizedString.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "QXLanguageManager.h"
#include "SmartRowParts.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "controls/QXPopUpButton.h"

namespace {
constexpr int kPopUpGap = 56; // between the two drop-downs, where the swap button sits
} // namespace

TranslateSettingView::TranslateSettingView(const PageContext &context, QWidget *parent)
    : QXBaseView(parent), m_context(context)
{
    configUI();
    configTitle();
    configData();
}

void TranslateSettingView::configUI()
{
    using namespace smartrow;
    m_titleLabel = makeTitleLabel(this);
    const int lineTop = kTitleHeight + kLineGap;
    m_functionLabel1 = makeFunctionLabel(this);
    m_functionLabel1->setGeometry(8, lineTop, 120, kLabelHeight);
    m_showSourceTextBtn = makeSwitch(this, QStringLiteral("showSourceTextBtn"));
    connect(m_showSourceTextBtn, &QXButton::clicked, this,
            [this] { showSwitch(m_showSourceTextBtn, m_showSourceTextBtn->isChecked()); });
    m_functionLabel1->hide();
    m_showSourceTextBtn->hide();

    // The language line takes the place of the hidden one.
    m_functionLabel2 = makeFunctionLabel(this);
    m_functionLabel2->setGeometry(8, lineTop, 120, kLabelHeight);
    m_fromLanguageBtn = makePopUp(this, QStringLiteral("translateFromLanguageBtn"));
    m_fromLanguageBtn->move(8, m_functionLabel2->geometry().bottom() + 1 + kLineGap);
    m_fromLanguageBtn->setSelectBlock(
        [this](int index) { m_context.languages.setTranslateFromLanguageIndex(quint64(index)); });
    m_toLanguageBtn = makePopUp(this, QStringLiteral("translateToLanguageBtn"));
    m_toLanguageBtn->move(m_fromLanguageBtn->geometry().right() + 1 + kPopUpGap, m_fromLanguageBtn->y());
    m_toLanguageBtn->setSelectBlock([this](int index) { m_context.languages.setToLanguageIndex(quint64(index)); });
    m_changeLanguageBtn = makeSwapButton(this);
    m_changeLanguageBtn->setGeometry(
        centredOn(m_fromLanguageBtn->geometry(), m_fromLanguageBtn->geometry().right() + 1, {kPopUpGap, 30}));
}

void TranslateSettingView::configTitle()
{
    using namespace smartrow;
    m_titleLabel->setText(hrvAppLocalizedString(QStringLiteral("翻译设置")));
    m_functionLabel1->setText(hrvAppLocalizedString(QStringLiteral("显示原文")));
    m_functionLabel2->setText(hrvAppLocalizedString(QStringLiteral("翻译语种")));
    m_titleLabel->setGeometry(0, 0, textWidth(m_titleLabel), kTitleHeight);
    m_functionLabel2->resize(std::max(120, textWidth(m_functionLabel2)), kLabelHeight);
    m_showSourceTextBtn->setGeometry(centredOn(m_functionLabel1->geometry(), m_titleLabel->geometry().right() + 1 + 84,
                                               {kSwitchWidth, kSwitchHeight}));
    QXLanguageManager &languages = m_context.languages;
    reloadPopUp(m_fromLanguageBtn, languages.readAudioLanguageNameList(), languages.translateFromLanguageIndex());
    reloadPopUp(m_toLanguageBtn, languages.readToLanguageNameList(), languages.toLanguageIndex());
}

void TranslateSettingView::configData()
{
    using namespace qx::notify;
    for (const char *name : {kUpdateInputAudioListNotification, kUpdateTranslateListNotification})
        m_context.notifications.addObserver(QString::fromLatin1(name), this,
                                            [this](const QVariant &) { configTitle(); });
}
