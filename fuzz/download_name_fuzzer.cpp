// Feeds arbitrary Content-Disposition headers and URL paths through the naming of
// downloads, and the version comparison through arbitrary texts. Input: a header
// line ending in '\n', then the rest as a URL path and a version text split at the
// next '\n'. Whatever comes in, a name that comes out is one plain file name.
#include "OTAVersionText.h"
#include "QXDownloadNames.h"

#include <QByteArray>
#include <QUrl>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype headerEnd = input.indexOf('\n');
    const QByteArray header = headerEnd < 0 ? input : input.left(headerEnd);
    const QByteArray rest = headerEnd < 0 ? QByteArray() : input.mid(headerEnd + 1);
    const qsizetype pathEnd = rest.indexOf('\n');
    const QByteArray path = pathEnd < 0 ? rest : rest.left(pathEnd);
    const QString version = QString::fromUtf8(pathEnd < 0 ? QByteArray() : rest.mid(pathEnd + 1));

    const QString name = qxSuggestedFileName(header, QUrl(QStringLiteral("http://h/") + QString::fromUtf8(path)));
    if (!name.isEmpty()
        && (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) || name == QLatin1String(".")
            || name == QLatin1String("..") || qxPlainFileName(name) != name))
        std::abort();

    const QString other = QString::fromUtf8(path);
    const int forward = proto::naturalCompareCi(version, other);
    const int backward = proto::naturalCompareCi(other, version);
    if (forward != -backward || proto::naturalCompareCi(version, version) != 0)
        std::abort();
    (void)proto::otaNumberForFirmwareVersion(version);
    return 0;
}
