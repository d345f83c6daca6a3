#include "AiDownloadRules.h"

#include "QXDownloadNames.h"
#include "services/LanguageHooks.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace aiweb {
namespace {

// Past this many files of one name the folder is being flooded: the download is refused.
constexpr int kMaxNumberedNames = 1000;

bool isWebAddress(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty()
           && (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

} // namespace

bool isDownloadMimeType(const QString &mimeType)
{
    static const QStringList kTypes{
        QStringLiteral("application/vnd.ms-word"),
        QStringLiteral("application/vnd.ms-excel"),
        QStringLiteral("application/vnd.openxmlformats-officedocument.presentationml.presentation"),
        QStringLiteral("application/octet-stream"),
        QStringLiteral("image/png"),
        QStringLiteral("text/markdown"),
        QStringLiteral("image/jpeg"),
        QStringLiteral("application/zip"),
        QStringLiteral("attachment/file"),
    };
    const QString type = mimeType.section(QLatin1Char(';'), 0, 0).trimmed().toLower();
    return kTypes.contains(type) || type.startsWith(QLatin1String("application/vnd"));
}

QString downloadFileName(const QString &suggestedName, const QString &mimeType, const QUrl &url,
                         const QString &timeStamp)
{
    if (!suggestedName.isEmpty() && suggestedName != QLatin1String("Unknown")) {
        if (const QString plain = qxPlainFileName(suggestedName); !plain.isEmpty())
            return plain;
    }
    static const std::pair<const char *, const char *> kByType[] = {
        {"application/vnd.ms-word", ".docx"},
        {"application/vnd.ms-excel", ".xlsx"},
        {"application/vnd.openxmlformats-officedocument.presentationml.presentation", ".pptx"},
        {"image/png", ".png"},
        {"attachment/file", ".xlsx"},
    };
    const QString type = mimeType.section(QLatin1Char(';'), 0, 0).trimmed().toLower();
    for (const auto &[t, suffix] : kByType)
        if (type == QLatin1String(t))
            return timeStamp + QLatin1String(suffix);
    // The path's last segment, without query or fragment.
    const QString fromUrl = qxSuggestedFileName({}, url);
    return fromUrl.isEmpty() ? QStringLiteral("download") : fromUrl;
}

std::optional<QString> reserveUnusedPath(const QString &dir, const QString &name)
{
    const QFileInfo info(name);
    const QString base = info.completeBaseName();
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    QString path = dir + QLatin1Char('/') + name;
    for (int n = 1; n <= kMaxNumberedNames; ++n) {
        const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            ::close(fd);
            return path;
        }
        if (errno != EEXIST)
            return std::nullopt;
        path = dir + QLatin1Char('/') + base + QStringLiteral(" (%1)").arg(n) + suffix;
    }
    return std::nullopt;
}

std::optional<QString> progressTip(qint64 received, qint64 total)
{
    if (total <= 0 || received < 0)
        return std::nullopt;
    return localizedText(QStringLiteral("已下载%1%")).arg(double(received) * 100.0 / double(total), 0, 'f', 2);
}

std::pair<QString, QString> saveTip(const QString &mimeType, bool ok, const QString &error)
{
    const bool excel = mimeType == QLatin1String("application/vnd.ms-excel");
    if (ok)
        return {excel ? localizedText(QStringLiteral("下载完成")) : localizedText(QStringLiteral("导出完成")),
                QStringLiteral("success_icon")};
    return {(excel ? localizedText(QStringLiteral("下载失败，error=%1"))
                   : localizedText(QStringLiteral("导出失败，error=%1")))
                .arg(error),
            QStringLiteral("error_icon")};
}

OutsideLink outsideLink(const QUrl &requested, const QString &deviceHost)
{
    OutsideLink out;
    if (!isWebAddress(requested))
        return out;
    const QString text = requested.toString();
    if (!deviceHost.isEmpty() && text.contains(deviceHost + QStringLiteral("/device"))) {
        out.kind = OutsideLink::Kind::DevicePage;
        return out;
    }
    QUrl target = requested;
    const QString marker = QStringLiteral("openBrowser_");
    if (text.contains(QLatin1String("openurl")) && text.contains(marker)) {
        target = QUrl(text.mid(text.lastIndexOf(marker) + marker.size()), QUrl::StrictMode);
        if (!isWebAddress(target))
            return out;
    }
    out.kind = OutsideLink::Kind::Browser;
    out.url = target;
    return out;
}

} // namespace aiweb
