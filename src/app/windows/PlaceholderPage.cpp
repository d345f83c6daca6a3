#include "PlaceholderPage.h"

#include "HRVLocalizedString.h"
#include "controls/QXLabel.h"
#include "drawing/KitAppearance.h"

#include <QVBoxLayout>

PlaceholderPage::PlaceholderPage(int viewTag, QString className, QString title, QObject *parent)
    : QXBaseViewController(parent), m_viewTag(viewTag), m_className(std::move(className)), m_title(std::move(title))
{
}

QWidget *PlaceholderPage::loadView()
{
    auto *view = new QWidget;
    view->setObjectName(m_className);
    auto *column = new QVBoxLayout(view);
    column->addStretch(1);
    m_titleLabel = new QXLabel;
    m_titleLabel->setFont(qxSystemFont(20, QFont::Medium));
    m_titleLabel->setTextColor(qxDarkGreyColor());
    m_titleLabel->setAlignment(Qt::AlignCenter);
    m_titleLabel->setTextFormat(Qt::PlainText);
    column->addWidget(m_titleLabel);
    m_noteLabel = new QXLabel;
    m_noteLabel->setFont(qxSystemFont(13));
    m_noteLabel->setTextColor(qxGreyColor());
    m_noteLabel->setAlignment(Qt::AlignCenter);
    m_noteLabel->setTextFormat(Qt::PlainText);
    column->addWidget(m_noteLabel);
    column->addStretch(1);
    return view;
}

void PlaceholderPage::viewDidLoad()
{
    QXBaseViewController::viewDidLoad();
    configTitle();
}

void PlaceholderPage::configTitle()
{
    if (!isViewLoaded())
        return;
    m_titleLabel->setText(m_title.isEmpty() ? m_className : hrvAppLocalizedString(m_title));
    m_noteLabel->setText(QStringLiteral("%1 (page %2) is not part of this build yet").arg(m_className).arg(m_viewTag));
}
