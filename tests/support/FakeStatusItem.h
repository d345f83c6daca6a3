#pragma once

// Header only: include from tests that link the application layer.
#include "tray/IStatusItem.h"

// A status item that keeps what it was given, with a desktop that has a status area
// or not, and a click a test performs.
class FakeStatusItem final : public IStatusItem {
public:
    bool available = true;
    int created = 0; // how often it was put in the status area from nothing
    bool shown = false;
    QString toolTip;
    QString imageName;
    QList<StatusMenuEntry> menu;
    int menusSet = 0;
    std::function<void()> onClick;
    QRect rect{1200, 0, 24, 24};

    bool isAvailable() const override { return available; }
    void show() override
    {
        if (!shown && available)
            ++created;
        shown = available;
    }
    void setToolTip(const QString &text) override { toolTip = text; }
    void setImageName(const QString &name) override { imageName = name; }
    void setMenu(const QList<StatusMenuEntry> &entries) override
    {
        menu = entries;
        ++menusSet;
    }
    void setClickHandler(std::function<void()> handler) override { onClick = std::move(handler); }
    QRect geometry() const override { return rect; }

    QStringList menuTitles() const
    {
        QStringList titles;
        for (const StatusMenuEntry &e : menu)
            titles << e.title;
        return titles;
    }
    // A left click: the menu's entry `entry` when there is a menu, else the click handler.
    void click(int entry = -1)
    {
        if (!menu.isEmpty()) {
            if (entry >= 0 && entry < menu.size() && menu[entry].action)
                menu[entry].action();
            return;
        }
        if (onClick)
            onClick();
    }
};
