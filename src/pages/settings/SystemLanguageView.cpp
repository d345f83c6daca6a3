#include "SystemLanguageView.h"

#include "HRVLocalizedString.h"
#include "KeyValueStore.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "QXLanguageManager.h"
#include "QXUserInfoData.h"
#include "controls/QXLabel.h"
#include "controls/QXPopUpButton.h"
#include "drawing/KitAppearance.h"

SystemLanguageView::SystemLanguageView(const PageContext &context, QWidget *parent)
    : QXBaseView(parent), m_context(context)
{
    configUI();
    configTitle();
}

void SystemLanguageView::configUI()
{
    m_titleLabel = new QXLabel(this);
    m_titleLabel->setFont(qxSystemFont(20));
    m_titleLabel->setTextColor(QColor(38, 12, 12));
    m_titleLabel->setGeometry(0, 0, 300, 27);
    m_popUpButton = new QXPopUpButton(this);
    m_popUpButton->setObjectName(QStringLiteral("languagePopUp"));
    m_popUpButton->setGeometry(8, 27 + 30, 222, 34);
    m_popUpButton->setItemsArr(m_context.languages.readUiLanguageNameList());
    m_popUpButton->setSelectIndex(currentIndex());
    m_popUpButton->setSelectBlock([this](int index) { selectLanguage(index); });
}

void SystemLanguageView::configTitle()
{
    m_titleLabel->setText(hrvAppLocalizedString(QStringLiteral("系统语言设置")));
    m_popUpButton->setItemsArr(m_context.languages.readUiLanguageNameList());
    // The language may have been switched elsewhere (the device page turns a product sold
    // with English to it): every title pass follows the switch, so the entry shown is
    // the interface's language whenever this row was built.
    m_popUpButton->setSelectIndex(currentIndex());
}

int SystemLanguageView::currentIndex() const
{
    // A store written by an older version may hold an index past the list: entry 0.
    const quint64 stored = m_context.languages.uiLanguageIndex();
    return stored < quint64(QXLanguageManager::kUiLanguageCount) ? int(stored) : 0;
}

void SystemLanguageView::selectLanguage(int index)
{
    if (index < 0 || index >= QXLanguageManager::kUiLanguageCount)
        return;
    m_context.languages.setUiLanguageIndex(quint64(index));
    m_context.languages.shouldRefreshData();
    m_context.notifications.post(QString::fromLatin1(qx::notify::kUpdateTitleNotification));
    if (m_context.state.productCode() == QLatin1String("114"))
        m_context.store.setValue(QStringLiteral("isManualSelect_114"), true);
}
