#include "TrayStatusItem.h"

#include "PZLog.h"
#include "drawing/NamedImage.h"

#include <QCursor>
#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>

std::unique_ptr<QMenu> makeStatusMenu(const QList<StatusMenuEntry> &entries, QWidget *parent)
{
    auto menu = std::make_unique<QMenu>(parent);
    for (const StatusMenuEntry &entry : entries) {
        // An "&" in a translated title is text, not a mnemonic.
        QAction *action = menu->addAction(QString(entry.title).replace(u'&', QStringLiteral("&&")));
        QObject::connect(action, &QAction::triggered, menu.get(), [fn = entry.action] {
            if (fn)
                fn();
        });
    }
    return menu;
}

TrayStatusItem::TrayStatusItem() = default;

TrayStatusItem::~TrayStatusItem()
{
    // The icon refers to the menu as its context menu.
    if (m_icon)
        m_icon->setContextMenu(nullptr);
}

bool TrayStatusItem::isAvailable() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayStatusItem::show()
{
    if (m_icon)
        return;
    if (!isAvailable()) {
        qxLogOnce(QStringLiteral("tray.none"), QStringLiteral("[shell] the desktop has no status area: no tray icon"));
        return;
    }
    m_icon = std::make_unique<QSystemTrayIcon>();
    m_icon->setToolTip(m_toolTip);
    m_icon->setIcon(QIcon(namedPixmap(m_imageName)));
    m_icon->setContextMenu(m_menu.get());
    QObject::connect(m_icon.get(), &QSystemTrayIcon::activated, m_icon.get(),
                     [this](QSystemTrayIcon::ActivationReason reason) {
                         if (reason == QSystemTrayIcon::Trigger)
                             clicked();
                     });
    m_icon->show();
}

void TrayStatusItem::setToolTip(const QString &text)
{
    m_toolTip = text;
    if (m_icon)
        m_icon->setToolTip(text);
}

void TrayStatusItem::setImageName(const QString &name)
{
    if (name == m_imageName)
        return;
    m_imageName = name;
    if (m_icon)
        m_icon->setIcon(QIcon(namedPixmap(name)));
}

void TrayStatusItem::setMenu(const QList<StatusMenuEntry> &entries)
{
    std::unique_ptr<QMenu> fresh = entries.isEmpty() ? nullptr : makeStatusMenu(entries);
    if (m_icon)
        m_icon->setContextMenu(fresh.get());
    // The old menu may be the one the user has open; it goes once it has closed.
    if (m_menu)
        m_menu.release()->deleteLater();
    m_menu = std::move(fresh);
}

void TrayStatusItem::setClickHandler(std::function<void()> handler)
{
    m_onClick = std::move(handler);
}

QRect TrayStatusItem::geometry() const
{
    return m_icon ? m_icon->geometry() : QRect();
}

void TrayStatusItem::clicked()
{
    if (m_menu) {
        m_menu->popup(QCursor::pos());
        return;
    }
    if (m_onClick)
        m_onClick();
}
