#pragma once

#include "IStatusItem.h"

#include <QPointer>

#include <memory>

class QMenu;
class QSystemTrayIcon;
class QWidget;

// The status item as a system-tray icon: a StatusNotifierItem where the desktop hosts
// them, the older XEmbed tray otherwise. A left click opens the menu when there is one
// (which is also the context menu), else runs the click handler.
class TrayStatusItem final : public IStatusItem {
public:
    TrayStatusItem();
    ~TrayStatusItem() override;
    TrayStatusItem(const TrayStatusItem &) = delete;
    TrayStatusItem &operator=(const TrayStatusItem &) = delete;

    bool isAvailable() const override;
    void show() override;
    void setToolTip(const QString &text) override;
    void setImageName(const QString &name) override;
    void setMenu(const QList<StatusMenuEntry> &entries) override;
    void setClickHandler(std::function<void()> handler) override;
    QRect geometry() const override;

private:
    void clicked();

    std::unique_ptr<QSystemTrayIcon> m_icon;
    std::unique_ptr<QMenu> m_menu;
    QString m_toolTip;
    QString m_imageName;
    std::function<void()> m_onClick;
};

// The status menu: one action per entry, no keyboard shortcuts.
std::unique_ptr<QMenu> makeStatusMenu(const QList<StatusMenuEntry> &entries, QWidget *parent = nullptr);
