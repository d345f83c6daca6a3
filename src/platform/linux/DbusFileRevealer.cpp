#include "DbusFileRevealer.h"

#include "PZLog.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QFileInfo>
#include <QUrl>

namespace platform::linuxbackend {

DbusFileRevealer::DbusFileRevealer(OpenFolder openFolder) : m_openFolder(std::move(openFolder)) {}

DbusFileRevealer::DbusFileRevealer(const QDBusConnection &bus, OpenFolder openFolder)
    : m_bus(bus), m_openFolder(std::move(openFolder))
{
}

void DbusFileRevealer::reveal(const QString &path)
{
    if (path.isEmpty())
        return;
    const QUrl file = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    const QUrl folder = QUrl::fromLocalFile(QFileInfo(path).absolutePath());
    const auto openFolder = [openFolder = m_openFolder, folder](const QString &why) {
        qxInfo("reveal") << "no file manager selects files (" + why + "): opening" << folder.toLocalFile();
        if (openFolder && !openFolder(folder))
            qxWarning("reveal") << "the desktop could not open" << folder.toLocalFile();
    };
    if (!m_bus)
        m_bus = QDBusConnection::sessionBus();
    if (!m_bus->isConnected())
        return openFolder(QStringLiteral("no session bus"));
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << QStringList{file.toString(QUrl::FullyEncoded)} << QString();
    auto *watcher = new QDBusPendingCallWatcher(m_bus->asyncCall(call));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher, [openFolder](QDBusPendingCallWatcher *w) {
        const QDBusPendingReply<> reply = *w;
        if (reply.isError())
            openFolder(reply.error().name());
        w->deleteLater();
    });
}

} // namespace platform::linuxbackend
