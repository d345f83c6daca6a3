#pragma once

#include <QColor>
#include <QPalette>
#include <QWidget>

// The light grey page the command dialog's scenes show the panel over.
inline QWidget *commandDialogHost()
{
    auto *page = new QWidget;
    page->setFixedSize(900, 600);
    page->setAutoFillBackground(true);
    QPalette palette = page->palette();
    palette.setColor(QPalette::Window, QColor(245, 245, 247));
    page->setPalette(palette);
    return page;
}
