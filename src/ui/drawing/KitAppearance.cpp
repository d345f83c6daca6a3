#include "KitAppearance.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>

QFont qxSystemFont(qreal pixelSize, QFont::Weight weight)
{
    QFont font = QApplication::font();
    font.setPixelSize(qMax(1, qRound(pixelSize)));
    font.setWeight(weight);
    return font;
}

void qxApplyLightAppearance()
{
    if (QStyle *fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(fusion);
    QApplication::setPalette(QApplication::style()->standardPalette());
}
