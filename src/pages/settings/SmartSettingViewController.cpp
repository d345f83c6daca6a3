#include "SmartSettingViewController.h"

#include "HyperTranslateView.h"
#include "InputSettingView.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "SearchEngineView.h"
#include "SnipTranslateView.h"
#include "TranslateSettingView.h"
#include "drawing/KitAppearance.h"

#include <QEvent>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>

namespace {
// Keeps the scroller under the top band and the rows as wide as the visible area.
class ResizeRelay final : public QObject {
public:
    ResizeRelay(QObject *parent, std::function<void()> onResize) : QObject(parent), m_onResize(std::move(onResize)) {}
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Resize)
            m_onResize();
        return false;
    }

private:
    std::function<void()> m_onResize;
};
} // namespace

SmartSettingViewController::SmartSettingViewController(const PageContext &context) : m_context(context) {}

QWidget *SmartSettingViewController::loadView()
{
    m_root = qxWhitePage(QStringLiteral("smartSettingPage"));
    m_scroll = new QScrollArea(m_root);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(false);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_content = new QWidget;
    qxFillBackground(m_content, Qt::white);
    m_scroll->setWidget(m_content);
    m_root->installEventFilter(new ResizeRelay(m_root, [this] {
        m_scroll->setGeometry(0, kTopBand, m_root->width(), std::max(0, m_root->height() - kTopBand));
        layoutRows();
    }));
    m_scroll->viewport()->installEventFilter(new ResizeRelay(m_scroll, [this] { layoutRows(); }));
    return m_root;
}

void SmartSettingViewController::viewDidLoad()
{
    QXBaseViewController::viewDidLoad();
    configData();
    configUI();
}

void SmartSettingViewController::configData()
{
    m_context.notifications.addObserver(QString::fromLatin1(qx::notify::HadUSBInfoNotification), this,
                                        [this](const QVariant &) { updateLanguage(); });
}

void SmartSettingViewController::configUI()
{
    m_inputView = new InputSettingView(m_context, m_content);
    m_lastInputViewHeight = m_inputView->viewHeight();
    QPointer<SmartSettingViewController> self(this);
    m_inputView->setRefreshUIBlock([self] {
        if (self)
            self->refreshInputHeight();
    });
    m_translateView = new TranslateSettingView(m_context, m_content);
    m_hyperTranslateView = new HyperTranslateView(m_context, m_content);
    m_snipTranslateView = new SnipTranslateView(m_context, m_content);
    m_searchEngineView = new SearchEngineView(m_context, m_content);
    // The lower rows' heights are read once.
    m_lastScrollViewHeight = m_lastInputViewHeight + m_translateView->viewHeight() + m_hyperTranslateView->viewHeight()
                             + m_snipTranslateView->viewHeight() + m_searchEngineView->viewHeight() + 4 * kGap;
    layoutRows();
    m_scroll->verticalScrollBar()->setValue(0);
}

void SmartSettingViewController::refreshInputHeight()
{
    m_lastScrollViewHeight = m_lastScrollViewHeight - m_lastInputViewHeight + m_inputView->viewHeight();
    m_lastInputViewHeight = m_inputView->viewHeight();
    layoutRows();
    m_scroll->verticalScrollBar()->setValue(0);
}

void SmartSettingViewController::layoutRows()
{
    if (!m_searchEngineView)
        return;
    const int width = m_scroll->viewport()->width();
    const int rowWidth = std::max(0, width - kLeft);
    int top = 0;
    const auto place = [&](QWidget *row, int height) {
        row->setGeometry(kLeft, top, rowWidth, height);
        top += height + kGap;
    };
    place(m_inputView, m_lastInputViewHeight);
    place(m_translateView, m_translateView->viewHeight());
    place(m_hyperTranslateView, m_hyperTranslateView->viewHeight());
    place(m_snipTranslateView, m_snipTranslateView->viewHeight());
    place(m_searchEngineView, m_searchEngineView->viewHeight());
    m_content->resize(width, std::max(m_scroll->height(), m_lastScrollViewHeight));
}
