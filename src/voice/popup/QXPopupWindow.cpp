#include "QXPopupWindow.h"

#include "PopupGeometry.h"
#include "QXPopContentView.h"
#include "QXWordView.h"
#include "controls/QXButton.h"
#include "drawing/KitAppearance.h"
#include "drawing/NamedImage.h"

#include <QGuiApplication>
#include <QScreen>

namespace {
constexpr int kCloseSide = 30;

QRect screenRect()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect();
}
} // namespace

QXPopupWindow::QXPopupWindow(Deps deps) : QWidget(nullptr), m_deps(std::move(deps))
{
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    if (m_deps.translucent) {
        setAttribute(Qt::WA_TranslucentBackground);
    } else {
        qxFillBackground(this, Qt::white);
    }

    m_content = new QXPopContentView(this);
    m_closeBtn = new QXButton(m_content);
    m_closeBtn->setImage(namedPixmap(QStringLiteral("close_icon")));
    m_closeBtn->setFixedSize(kCloseSide, kCloseSide);
    connect(m_closeBtn, &QXButton::clicked, this, &QXPopupWindow::closeBtnClicked);
    // The button sits on the source card's top right corner: the text stays clear of it.
    m_content->fanWordView()->setTrailingInset(kCloseSide);
    connect(m_content, &QXPopContentView::viewHeightChanged, this, &QXPopupWindow::updateShape);

    setGeometry(popupgeometry::popupFrame(screenRect(), popupgeometry::kPopupMinHeight));
}

QString QXPopupWindow::fanText() const
{
    return m_content->fanText();
}

QString QXPopupWindow::yiText() const
{
    return m_content->yiText();
}

void QXPopupWindow::showSpeechView(const QString &text, qint64 type)
{
    if (m_deps.suppressed && m_deps.suppressed())
        return;
    if (!m_isShow) {
        placeWithHeight(popupgeometry::kPopupMinHeight);
        m_content->setFanText(QStringLiteral(""));
        m_content->setYiText(QStringLiteral(""));
    }
    setIsShow(true);
    m_content->setPressType(type);
    m_content->setFanText(text);
    placeWithHeight(popupgeometry::windowHeight(m_content->viewHeight()));
    // Without a screen no window can be made (Qt would abort): the pop-up counts as
    // shown, so the text still goes where it belongs, but nothing appears.
    if (!QGuiApplication::primaryScreen())
        return;
    // Shown and raised, never activated: the focus stays where the user types.
    show();
    raise();
}

void QXPopupWindow::showYiText(const QString &text)
{
    if (m_content->pressType() != 37 || !(m_deps.hadStart && m_deps.hadStart()))
        return;
    m_content->setYiText(text);
    placeWithHeight(popupgeometry::windowHeight(m_content->viewHeight()));
}

void QXPopupWindow::dismissSpeechView()
{
    m_content->setFanText(QStringLiteral(""));
    m_content->setYiText(QStringLiteral(""));
    m_content->setPressType(0);
    if (m_deps.resetLastPressType)
        m_deps.resetLastPressType();
    setIsShow(false);
    hide();
}

void QXPopupWindow::setIsShow(bool on)
{
    if (on == m_isShow)
        return;
    m_isShow = on;
    emit shownChanged(on);
}

void QXPopupWindow::closeBtnClicked()
{
    if (m_deps.cancelAsr)
        m_deps.cancelAsr();
    dismissSpeechView();
}

void QXPopupWindow::placeWithHeight(int height)
{
    setGeometry(popupgeometry::popupFrame(screenRect(), height));
}

void QXPopupWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_content->setAnimationsVisible(true);
}

void QXPopupWindow::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    m_content->setAnimationsVisible(false);
}

void QXPopupWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_content->setGeometry(rect());
    m_content->relayout();
    m_closeBtn->move(m_content->width() - kCloseSide, 0);
    updateShape();
}

void QXPopupWindow::updateShape()
{
    if (m_deps.translucent)
        return;
    QRegion shape = m_content->shapeRegion();
    if (!shape.contains(m_closeBtn->geometry().center()))
        shape += QRegion(m_closeBtn->geometry(), QRegion::Ellipse);
    setMask(shape);
}
