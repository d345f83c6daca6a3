#include "QXBaseView.h"

#include "NotificationCenter.h"
#include "NotificationNames.h"

#include <QChildEvent>
#include <QPainter>
#include <QResizeEvent>

namespace {
// Paints its parent's layer border above the parent's subviews.
class LayerBorderOverlay final : public QWidget {
public:
    explicit LayerBorderOverlay(QXBaseView *owner) : QWidget(owner), m_owner(owner)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        m_owner->layerStyle().paintBorder(painter, QRectF(rect()));
    }

private:
    QXBaseView *m_owner;
};
} // namespace

QXBaseView::QXBaseView(QWidget *parent) : QWidget(parent)
{
    NotificationCenter::defaultCenter().addObserver(QString::fromLatin1(qx::notify::kUpdateTitleNotification), this,
                                                    [this](const QVariant &) { configTitle(); });
}

QXBaseView::~QXBaseView()
{
    // The centre drops the subscription when QObject's destructor runs; by then this
    // object is no longer a QXBaseView, so it goes now.
    NotificationCenter::defaultCenter().removeObserver(this);
}

void QXBaseView::setLayerStyle(const LayerStyle &style)
{
    m_layer = style;
    layerChanged();
}

void QXBaseView::setLayerBackgroundColor(const QColor &color)
{
    m_layer.backgroundColor = color;
    layerChanged();
}

void QXBaseView::setLayerBorder(const QColor &color, qreal width)
{
    m_layer.borderColor = color;
    m_layer.borderWidth = width;
    layerChanged();
}

void QXBaseView::setLayerCornerRadius(qreal radius)
{
    m_layer.cornerRadius = radius;
    layerChanged();
}

void QXBaseView::setMasksToBounds(bool on)
{
    m_layer.masksToBounds = on;
    layerChanged();
}

void QXBaseView::layerChanged()
{
    if (m_layer.hasBorder() && !m_borderOverlay) {
        m_borderOverlay = new LayerBorderOverlay(this);
        m_borderOverlay->setGeometry(rect());
        m_borderOverlay->show();
    }
    if (m_borderOverlay) {
        m_borderOverlay->raise();
        m_borderOverlay->update();
    }
    updateMask();
    update();
}

void QXBaseView::updateMask()
{
    if (m_layer.masksToBounds && m_layer.cornerRadius > 0 && !rect().isEmpty())
        setMask(QRegion(m_layer.shape(QRectF(rect())).toFillPolygon().toPolygon()));
    else if (!mask().isEmpty())
        clearMask();
}

void QXBaseView::paintEvent(QPaintEvent *)
{
    if (!m_layer.hasBackground())
        return;
    QPainter painter(this);
    m_layer.paintBackground(painter, QRectF(rect()));
}

void QXBaseView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_borderOverlay)
        m_borderOverlay->setGeometry(rect());
    updateMask();
}

void QXBaseView::childEvent(QChildEvent *event)
{
    QWidget::childEvent(event);
    // A subview added later must not cover the border.
    if (m_borderOverlay && event->child() != m_borderOverlay
        && (event->type() == QEvent::ChildAdded || event->type() == QEvent::ChildPolished))
        m_borderOverlay->raise();
}

void endTitleSubscription(QObject *object)
{
    NotificationCenter::defaultCenter().removeObserver(object,
                                                       QString::fromLatin1(qx::notify::kUpdateTitleNotification));
}
