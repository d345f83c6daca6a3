#include "KitAppearance.h"

#include <QApplication>
#include <QPainter>
#include <QProxyStyle>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOptionSlider>
#include <QWidget>

#include <algorithm>

void qxFillBackground(QWidget *widget, const QColor &color)
{
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    widget->setPalette(palette);
}

QWidget *qxWhitePage(const QString &objectName)
{
    auto *page = new QWidget;
    page->setObjectName(objectName);
    qxFillBackground(page, Qt::white);
    return page;
}

QFont qxSystemFont(qreal pixelSize, QFont::Weight weight)
{
    QFont font = QApplication::font();
    font.setPixelSize(qMax(1, qRound(pixelSize)));
    font.setWeight(weight);
    return font;
}

namespace {
// Fusion with a grey scroll-bar handle: its own handle is a near-white gradient over
// a light grey groove, hard to find on the light palette.
class KitStyle : public QProxyStyle {
public:
    explicit KitStyle(QStyle *base) : QProxyStyle(base) {}

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                            const QWidget *widget) const override
    {
        const auto *bar = qstyleoption_cast<const QStyleOptionSlider *>(option);
        if (control != CC_ScrollBar || !bar || !(bar->subControls & SC_ScrollBarSlider)) {
            QProxyStyle::drawComplexControl(control, option, painter, widget);
            return;
        }
        QStyleOptionSlider rest = *bar;
        rest.subControls &= ~SC_ScrollBarSlider;
        QProxyStyle::drawComplexControl(control, &rest, painter, widget);
        const QRect handle = subControlRect(control, bar, SC_ScrollBarSlider, widget);
        if (handle.isEmpty() || !(bar->state & State_Enabled))
            return;
        const bool active =
            (bar->activeSubControls & SC_ScrollBarSlider) && (bar->state & (State_MouseOver | State_Sunken));
        const QRectF r = QRectF(handle).adjusted(2, 2, -2, -2);
        const qreal radius = std::min(r.width(), r.height()) / 2;
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(active ? QColor(0, 0, 0, 130) : QColor(0, 0, 0, 90));
        painter->drawRoundedRect(r, radius, radius);
        painter->restore();
    }
};
} // namespace

QStyle *qxCreateApplicationStyle()
{
    // The kit's style has no name to be made from.
    if (dynamic_cast<const KitStyle *>(QApplication::style()))
        return new KitStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    return QStyleFactory::create(QApplication::style()->name());
}

void qxApplyLightAppearance()
{
    if (QStyle *fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(new KitStyle(fusion));
    QApplication::setPalette(QApplication::style()->standardPalette());
}
