#include "SnipTranslateView.h"

#include "HRVLocalizedString.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "QXLanguageManager.h"
#include "QXUserInfoData.h"
#include "SmartRowParts.h"
#include "SnipShortcut.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "controls/QXPopUpButton.h"
#include "controls/ShortcutRecorder.h"
#include "desktop/FilePicker.h"

#include <QPointer>

namespace {
constexpr int kLineTop = smartrow::kTitleHeight + smartrow::kLineGap;
constexpr int kPopUpGap = 56; // between the two drop-downs, where the swap button sits
} // namespace

SnipTranslateView::SnipTranslateView(const PageContext &context, QWidget *parent)
    : QXBaseView(parent), m_context(context)
{
    configUI();
    configTitle();
    configData();
}

void SnipTranslateView::configUI()
{
    using namespace smartrow;
    m_titleLabel = makeTitleLabel(this);
    m_switchBtn = makeSwitch(this, QStringLiteral("snipSwitchBtn"));
    // Only shown: the stored value stays as it is, and the grab is the launch's.
    showSwitch(m_switchBtn, m_context.state.screenshotsTranslateSwitch());
    connect(m_switchBtn, &QXButton::clicked, this, [this] { switchBtnClicked(); });

    m_fromLanguageBtn = makePopUp(this, QStringLiteral("snipFromLanguageBtn"));
    m_fromLanguageBtn->move(8, kLineTop);
    m_fromLanguageBtn->setSelectBlock([this](int index) { m_context.languages.setScreenshotsFromTag(quint64(index)); });
    m_toLanguageBtn = makePopUp(this, QStringLiteral("snipToLanguageBtn"));
    m_toLanguageBtn->move(8 + kPopUpWidth + kPopUpGap, kLineTop);
    m_toLanguageBtn->setSelectBlock([this](int index) { m_context.languages.setScreenshotsTag(quint64(index)); });
    m_changeLanguageBtn = makeSwapButton(this);
    m_changeLanguageBtn->setGeometry(centredOn(m_fromLanguageBtn->geometry(), 8 + kPopUpWidth, {kPopUpGap, 30}));

    m_functionLabel1 = makeFunctionLabel(this);
    m_shortcutsView = makeShortcutBox(this, m_context.shortcuts, QString::fromLatin1(kSnipShortcutKey),
                                      QRect(0, kLineTop + kPopUpHeight + 30, kPopUpWidth, kPopUpHeight),
                                      QStringLiteral("snipShortcutsView"));
    connect(m_shortcutsView, &ShortcutRecorder::valueChanged, this, [this] { bindShortcut(); });
}

void SnipTranslateView::configTitle()
{
    using namespace smartrow;
    m_titleLabel->setText(hrvAppLocalizedString(QStringLiteral("截图翻译")));
    m_functionLabel1->setText(hrvAppLocalizedString(QStringLiteral("快捷键")));
    m_titleLabel->setGeometry(0, 0, textWidth(m_titleLabel), kTitleHeight);
    const int titleRight = m_titleLabel->geometry().right() + 1;
    m_switchBtn->setGeometry(centredOn(m_titleLabel->geometry(), titleRight + 84, {kSwitchWidth, kSwitchHeight}));
    QWidget *box = m_shortcutsView->parentWidget();
    box->move(titleRight + 52, box->y());
    m_functionLabel1->setGeometry(centredOn(box->geometry(), 8, {textWidth(m_functionLabel1), kLabelHeight}));
    updateSnipFromTranslateIndexNotification();
    updateSnipTranslateIndexNotification();
}

void SnipTranslateView::configData()
{
    using namespace qx::notify;
    NotificationCenter &center = m_context.notifications;
    center.addObserver(QString::fromLatin1(kUpdateSnipTranslateIndexNotification), this,
                       [this](const QVariant &) { updateSnipTranslateIndexNotification(); });
    center.addObserver(QString::fromLatin1(kUpdateOCRListNotification), this,
                       [this](const QVariant &) { updateSnipFromTranslateIndexNotification(); });
    center.addObserver(QString::fromLatin1(kUpdateTranslateListNotification), this,
                       [this](const QVariant &) { configTitle(); });
}

void SnipTranslateView::updateSnipTranslateIndexNotification()
{
    smartrow::reloadPopUp(m_toLanguageBtn, m_context.languages.readScreenshotsNameList(),
                          m_context.languages.screenshotsTag());
}

void SnipTranslateView::updateSnipFromTranslateIndexNotification()
{
    smartrow::reloadPopUp(m_fromLanguageBtn, m_context.languages.readScreenshotsFromNameList(),
                          m_context.languages.screenshotsFromTag());
}

void SnipTranslateView::switchBtnClicked()
{
    const bool on = m_switchBtn->isChecked();
    smartrow::showSwitch(m_switchBtn, on);
    m_context.state.setScreenshotsTranslateSwitch(on);
    bindShortcut(); // taken while it can fire, given back otherwise
}

void SnipTranslateView::bindShortcut()
{
    bindSnipShortcut(m_context.shortcuts, m_context.state, m_context.translate);
}

QString SnipTranslateView::folderPath(const QString &path)
{
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

void SnipTranslateView::moreBtnClicked()
{
    FilePicker::Request request;
    request.mode = FilePicker::Mode::Folder;
    request.prompt = hrvAppLocalizedString(QStringLiteral("打开"));
    // The capture tool appends "<time>.png" to the stored text: it must be a plain
    // local folder path ending in "/", never a file URL.
    QPointer<SnipTranslateView> self(this);
    m_context.files.pick(request, [self](const std::optional<QString> &path) {
        if (self && path && !path->isEmpty())
            self->m_context.state.setScreenshotsPath(folderPath(*path));
    });
}
