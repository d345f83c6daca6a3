#include "QXSnipToolView.h"

#include "SnipGeometry.h"
#include "controls/QXButton.h"
#include "drawing/NamedImage.h"

#include <QPixmap>

QXSnipToolView::QXSnipToolView(QWidget *parent) : QXBaseView(parent)
{
    configUI();
}

void QXSnipToolView::configUI()
{
    using namespace snipgeometry;
    resize(int(kToolBarWidth), int(kToolBarHeight));
    setMasksToBounds(true);
    setLayerCornerRadius(8);
    setLayerBackgroundColor(Qt::white);
    for (int i = 0; i < 5; ++i) {
        auto *button = new QXButton(this);
        button->setImage(QPixmap::fromImage(namedImage(QStringLiteral("snip%1_gray").arg(i + 1))));
        button->setTag(i);
        button->setGeometry(40 * i, 0, 40, 40);
        connect(button, &QXButton::clicked, this, [this, i] { btnClicked(i); });
    }
}

void QXSnipToolView::setCenterPoint(QPointF point)
{
    placeFor(QRectF(point, point));
}

void QXSnipToolView::placeFor(const QRectF &selection)
{
    const QRectF screen = parentWidget() ? QRectF(parentWidget()->rect()) : QRectF();
    setGeometry(snipgeometry::toolBarFrame(selection, screen).toRect());
}

void QXSnipToolView::btnClicked(int tag)
{
    if (btnClickedBlock)
        btnClickedBlock(tag);
}
