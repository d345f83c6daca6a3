#include "SoftwareManagerViewController.h"

#include "AboutMouseView.h"
#include "SystemLanguageView.h"
#include "drawing/KitAppearance.h"

#include <QEvent>
#include <QScrollArea>
#include <QScrollBar>

namespace {
// Lays the rows out again whenever the visible area changes size.
class ResizeRelay final : public QObject {
public:
    ResizeRelay(QObject *parent, SoftwareManagerViewController *page) : QObject(parent), m_page(page) {}
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Resize)
            m_page->layoutRows();
        return false;
    }

private:
    SoftwareManagerViewController *m_page;
};
} // namespace

SoftwareManagerViewController::SoftwareManagerViewController(const PageContext &context) : m_context(context) {}

QWidget *SoftwareManagerViewController::loadView()
{
    m_scroll = new QScrollArea;
    m_scroll->setObjectName(QStringLiteral("softwareManagerPage"));
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(false);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setStyleSheet(QStringLiteral("QScrollArea { background: white; }"));
    m_content = new QWidget;
    qxFillBackground(m_content, Qt::white);
    m_scroll->setWidget(m_content);
    m_scroll->viewport()->installEventFilter(new ResizeRelay(m_scroll, this));
    return m_scroll;
}

void SoftwareManagerViewController::viewDidLoad()
{
    QXBaseViewController::viewDidLoad();
    m_languageView = new SystemLanguageView(m_context, m_content);
    m_aboutView = new AboutMouseView(m_context, m_content);
    layoutRows();
    m_scroll->verticalScrollBar()->setValue(0);
}

void SoftwareManagerViewController::layoutRows()
{
    if (!m_aboutView)
        return;
    const int width = m_scroll->viewport()->width();
    const int rowWidth = std::max(0, width - kLeft);
    m_languageView->setGeometry(kLeft, kLanguageTop, rowWidth, SystemLanguageView::kViewHeight);
    // The stack's running top is the language row's height plus 40, not its bottom:
    // the about row sits 40 below that, and the content ends 40 below the running top
    // plus the about row's height.
    const int nextTop = SystemLanguageView::kViewHeight + 40;
    const int aboutTop = nextTop + 40;
    // the about row measures its text at its width: size it first, then read its height
    m_aboutView->resize(rowWidth, m_aboutView->height());
    m_aboutView->setGeometry(kLeft, aboutTop, rowWidth, m_aboutView->viewHeight());
    m_content->resize(width, std::max(kMinContentHeight, nextTop + m_aboutView->viewHeight() + 40));
}
