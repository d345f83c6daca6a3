#include "QXQueryEncoding.h"

#include "PZString.h"

namespace {

bool isUnreserved(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.'
           || c == '_' || c == '~';
}

// The characters a URL query may hold unescaped.
bool isQueryAllowed(unsigned char c)
{
    if (isUnreserved(c))
        return true;
    switch (c) {
    case '!':
    case '$':
    case '&':
    case '\'':
    case '(':
    case ')':
    case '*':
    case '+':
    case ',':
    case '/':
    case ':':
    case ';':
    case '=':
    case '?':
    case '@':
        return true;
    default:
        return false;
    }
}

bool isHex(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

void appendEscaped(QByteArray &out, unsigned char c)
{
    static const char hex[] = "0123456789ABCDEF";
    out.append('%');
    out.append(hex[c >> 4]);
    out.append(hex[c & 0xF]);
}

// Where the part after "scheme://authority" begins (0 when the text has no authority).
qsizetype authorityEnd(const QByteArray &url)
{
    const qsizetype sep = url.indexOf("://");
    if (sep < 0)
        return 0;
    qsizetype i = sep + 3;
    while (i < url.size() && url[i] != '/' && url[i] != '?' && url[i] != '#')
        ++i;
    return i;
}

} // namespace

QString qxEncodeQueryValue(const QString &value)
{
    // The kit leaves control characters as they are; the whole-URL escaping that
    // follows turns them into escapes too.
    return pz::urlEncodeStr(value);
}

QByteArray qxEscapeUrlText(const QString &url)
{
    const QByteArray utf8 = url.toUtf8();
    const qsizetype start = authorityEnd(utf8);
    QByteArray out = utf8.left(start);
    out.reserve(utf8.size() * 3);
    for (qsizetype i = start; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c == '%' && i + 2 < utf8.size() && isHex(utf8[i + 1]) && isHex(utf8[i + 2]))
            out.append('%');
        else if (isQueryAllowed(c))
            out.append(char(c));
        else
            appendEscaped(out, c);
    }
    return out;
}

bool qxUrlQueryHasKey(const QByteArray &escapedUrl, const QString &key)
{
    const qsizetype q = escapedUrl.indexOf('?');
    if (q < 0)
        return false;
    qsizetype end = escapedUrl.indexOf('#', q);
    if (end < 0)
        end = escapedUrl.size();
    const QByteArray query = escapedUrl.mid(q + 1, end - q - 1);
    const QByteArray wanted = key.toUtf8();
    for (const QByteArray &pair : query.split('&')) {
        const qsizetype eq = pair.indexOf('=');
        const QByteArray k = QByteArray::fromPercentEncoding(eq < 0 ? pair : pair.left(eq));
        if (k == wanted)
            return true;
    }
    return false;
}

QByteArray qxAppendQueryParameters(const QByteArray &escapedUrl, const QXStringMap &parameters)
{
    if (parameters.isEmpty())
        return escapedUrl;
    QByteArray query;
    for (auto it = parameters.cbegin(); it != parameters.cend(); ++it) {
        if (!query.isEmpty())
            query.append('&');
        query.append(qxEncodeQueryValue(it.key()).toLatin1());
        query.append('=');
        query.append(qxEncodeQueryValue(it.value()).toLatin1());
    }
    QByteArray out = escapedUrl;
    if (!out.contains('?'))
        out.append('?');
    else if (!out.endsWith('?') && !out.endsWith('&'))
        out.append('&');
    return out + query;
}

QString qxBuildSceneUrl(const QString &base, const QString &path, const QList<QPair<QString, QString>> &query)
{
    QString url = base + path;
    for (qsizetype i = 0; i < query.size(); ++i) {
        url += (i == 0 ? QLatin1Char('?') : QLatin1Char('&'));
        url += query[i].first + QLatin1Char('=') + qxEncodeQueryValue(query[i].second);
    }
    return url;
}
