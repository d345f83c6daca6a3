#include "SearchEngineView.h"

#include "HRVLocalizedString.h"
#include "QXLanguageManager.h"
#include "SmartRowParts.h"
#include "controls/QXLabel.h"
#include "controls/QXPopUpButton.h"

SearchEngineView::SearchEngineView(const PageContext &context, QWidget *parent) : QXBaseView(parent), m_context(context)
{
    configUI();
    configTitle();
}

void SearchEngineView::configUI()
{
    using namespace smartrow;
    m_titleLabel = makeTitleLabel(this);
    m_engineBtn = makePopUp(this, QStringLiteral("engineBtn"));
    m_engineBtn->move(8, kTitleHeight + kLineGap);
    reloadPopUp(m_engineBtn, m_context.languages.readSearchEngineNameList(), m_context.languages.searchEngineTag());
    m_engineBtn->setSelectBlock([this](int index) { m_context.languages.setSearchEngineTag(quint64(index)); });
}

void SearchEngineView::configTitle()
{
    using namespace smartrow;
    m_titleLabel->setText(hrvAppLocalizedString(QStringLiteral("语音搜索引擎")));
    m_titleLabel->setGeometry(0, 0, textWidth(m_titleLabel), kTitleHeight);
    // setItemsArr keeps the entry shown
    m_engineBtn->setItemsArr(m_context.languages.readSearchEngineNameList());
}
