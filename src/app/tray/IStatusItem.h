#pragma once

#include <QList>
#include <QRect>
#include <QString>

#include <functional>

// One entry of the status item's menu.
struct StatusMenuEntry {
    QString title;
    std::function<void()> action;
};

// The application's item in the desktop's status area (the system tray). Main thread.
class IStatusItem {
public:
    virtual ~IStatusItem() = default;

    // Whether the desktop has a status area at all; without one nothing of the item shows.
    virtual bool isAvailable() const = 0;
    // Puts the item in the status area; it is made on the first call and kept.
    virtual void show() = 0;
    virtual void setToolTip(const QString &text) = 0;
    // Named artwork ("Icon", "Icon_Dis").
    virtual void setImageName(const QString &name) = 0;
    // A fresh menu that a click opens, replacing the one before; none: a click goes
    // to the click handler.
    virtual void setMenu(const QList<StatusMenuEntry> &entries) = 0;
    // Runs on a click while the item has no menu.
    virtual void setClickHandler(std::function<void()> handler) = 0;
    // Where the item is on the screen; empty where the desktop does not tell.
    virtual QRect geometry() const = 0;
};
