#include "QXDownloadNames.h"

#include <QUrl>

#include <optional>

namespace {

bool hasControlCharacter(const QString &s)
{
    for (QChar c : s)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f || c.category() == QChar::Other_Control)
            return true;
    return false;
}

struct Parameter {
    QByteArray name;  // lower case
    QByteArray value; // unquoted
};

// Reads "; name=value" pairs after the disposition type; quoted values may hold ";"
// and backslash escapes. Malformed pieces are skipped.
QList<Parameter> parameters(const QByteArray &header)
{
    QList<Parameter> out;
    qsizetype i = header.indexOf(';');
    if (i < 0)
        return out;
    const qsizetype n = header.size();
    while (i < n) {
        ++i; // past ';'
        while (i < n && (header[i] == ' ' || header[i] == '\t'))
            ++i;
        const qsizetype nameStart = i;
        while (i < n && header[i] != '=' && header[i] != ';')
            ++i;
        QByteArray name = header.mid(nameStart, i - nameStart).trimmed().toLower();
        if (i >= n || header[i] == ';') {
            continue; // a parameter without a value
        }
        ++i; // past '='
        while (i < n && (header[i] == ' ' || header[i] == '\t'))
            ++i;
        QByteArray value;
        if (i < n && header[i] == '"') {
            ++i;
            while (i < n && header[i] != '"') {
                if (header[i] == '\\' && i + 1 < n)
                    ++i;
                value += header[i];
                ++i;
            }
            if (i < n)
                ++i; // past the closing quote
            while (i < n && header[i] != ';')
                ++i;
        } else {
            const qsizetype valueStart = i;
            while (i < n && header[i] != ';')
                ++i;
            value = header.mid(valueStart, i - valueStart).trimmed();
        }
        if (!name.isEmpty())
            out.append({name, value});
    }
    return out;
}

// charset'language'percent-encoded-value
std::optional<QString> extendedValue(const QByteArray &value)
{
    const qsizetype first = value.indexOf('\'');
    if (first < 0)
        return std::nullopt;
    const qsizetype second = value.indexOf('\'', first + 1);
    if (second < 0)
        return std::nullopt;
    const QByteArray charset = value.left(first).trimmed().toLower();
    const QByteArray decoded = QByteArray::fromPercentEncoding(value.mid(second + 1));
    if (charset == "utf-8")
        return QString::fromUtf8(decoded);
    if (charset == "iso-8859-1")
        return QString::fromLatin1(decoded);
    return std::nullopt;
}

} // namespace

QString qxPlainFileName(const QString &name)
{
    const qsizetype cut = std::max(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\')));
    const QString base = name.mid(cut + 1).trimmed();
    if (base.isEmpty() || base == QLatin1String(".") || base == QLatin1String(".."))
        return {};
    if (hasControlCharacter(base) || base.toUtf8().size() > kQXMaxDownloadNameBytes)
        return {};
    return base;
}

QString qxContentDispositionFileName(const QByteArray &header)
{
    QString plain;
    for (const Parameter &p : parameters(header)) {
        if (p.name == "filename*") {
            if (auto v = extendedValue(p.value); v && !v->isEmpty())
                return *v;
        } else if (p.name == "filename" && plain.isEmpty()) {
            // Servers put raw UTF-8 here more often than ISO-8859-1.
            plain = QString::fromUtf8(p.value);
        }
    }
    return plain;
}

QString qxSuggestedFileName(const QByteArray &contentDisposition, const QUrl &url)
{
    const QString fromHeader = qxPlainFileName(qxContentDispositionFileName(contentDisposition));
    if (!fromHeader.isEmpty())
        return fromHeader;
    const QString path = url.path(QUrl::FullyDecoded);
    return qxPlainFileName(path.mid(path.lastIndexOf(QLatin1Char('/')) + 1));
}
