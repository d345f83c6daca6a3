#include "QXShowTipWindow.h"

#include "PopupGeometry.h"
#include "QXShowTipContentView.h"
#include "VoiceArtwork.h"
#include "controls/QXLabel.h"
#include "drawing/NamedImage.h"
#include "drawing/RoundedRegion.h"

#include <QApplication>
#include <QScreen>

namespace {
QRect screenRect()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect();
}
} // namespace

QXShowTipWindow::QXShowTipWindow(std::function<QWidget *()> mainWindow, bool translucent)
    : QWidget(nullptr), m_mainWindow(std::move(mainWindow)), m_translucent(translucent)
{
    registerVoiceArtwork();
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    if (translucent)
        setAttribute(Qt::WA_TranslucentBackground);
    m_content = new QXShowTipContentView(this);
    setGeometry(popupgeometry::tipFrame(screenRect()));
}

QXShowTipWindow::~QXShowTipWindow()
{
    invalidateTipTimer();
}

void QXShowTipWindow::showTipMessage(const QString &message, const QString &imageName)
{
    if (m_mainWindow) {
        QWidget *main = m_mainWindow();
        if (main && main->isVisible() && QApplication::activeWindow() == main)
            main->hide();
    }
    m_content->setStatusImage(namedPixmap(imageName));
    m_content->tipTextField()->setText(message);
    setGeometry(popupgeometry::tipFrame(screenRect(), m_content->sizeForText(message)));
    m_content->setGeometry(rect()); // the text band follows the text even when the size did not change
    if (!QGuiApplication::primaryScreen())
        return; // no window can be made without a screen
    show();
    raise();
    startTipTimer();
}

void QXShowTipWindow::dismissTipWindow()
{
    invalidateTipTimer();
    hide();
    m_content->tipTextField()->clear();
}

void QXShowTipWindow::startTipTimer()
{
    invalidateTipTimer();
    m_tipTimer = Scheduler::instance().singleShot(
        kTipDurationMs,
        [this] {
            m_tipTimer = Scheduler::kNoTimer;
            dismissTipWindow();
        },
        this);
}

void QXShowTipWindow::invalidateTipTimer()
{
    cancelTimer(Scheduler::instance(), m_tipTimer);
}

void QXShowTipWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_content->setGeometry(rect());
    if (!m_translucent) {
        // Without a compositor the rounded corners are cut out of the window.
        setMask(qxRoundedRegion(rect(), 5));
    }
}
