#pragma once

#include <QImage>
#include <QPixmap>
#include <QString>

// The application's artwork by name ("1_popUpBtn_down"), from the kit's Qt resource
// (":/images/<name>.png"). A name with no image gives a null image, and the first
// lookup of that name logs it.
QImage namedImage(const QString &name);
QPixmap namedPixmap(const QString &name);
