#pragma once

#include "platform/IFileRevealer.h"

#include <QDBusConnection>

#include <functional>
#include <optional>

class QUrl;

namespace platform::linuxbackend {

// Asks the file manager to select the file (org.freedesktop.FileManager1.ShowItems on
// the session bus). When no file manager answers, the file's folder is opened instead.
class DbusFileRevealer final : public IFileRevealer {
public:
    using OpenFolder = std::function<bool(const QUrl &folder)>;

    // The session bus, connected at the first request.
    explicit DbusFileRevealer(OpenFolder openFolder);
    // The bus the file manager answers on; tests pass a private one.
    DbusFileRevealer(const QDBusConnection &bus, OpenFolder openFolder);

    void reveal(const QString &path) override;

private:
    std::optional<QDBusConnection> m_bus;
    OpenFolder m_openFolder;
};

} // namespace platform::linuxbackend
