#include "MultipartForm.h"

namespace {

std::optional<QByteArray> boundaryOf(const QByteArray &contentType)
{
    const QList<QByteArray> fields = contentType.split(';');
    if (fields.isEmpty() || fields.first().trimmed().toLower() != "multipart/form-data")
        return std::nullopt;
    for (const QByteArray &field : fields.mid(1)) {
        const QByteArray f = field.trimmed();
        if (!f.toLower().startsWith("boundary="))
            continue;
        QByteArray b = f.mid(9);
        if (b.size() >= 2 && b.startsWith('"') && b.endsWith('"'))
            b = b.mid(1, b.size() - 2);
        if (!b.isEmpty())
            return b;
    }
    return std::nullopt;
}

} // namespace

QByteArray MultipartPart::header(const QByteArray &name) const
{
    for (const auto &[key, value] : headers)
        if (key.toLower() == name.toLower())
            return value;
    return {};
}

std::optional<QByteArray> MultipartPart::dispositionParameter(const QByteArray &parameter) const
{
    const QList<QByteArray> fields = header("Content-Disposition").split(';');
    for (const QByteArray &field : fields.mid(1)) {
        const QByteArray f = field.trimmed();
        const qsizetype eq = f.indexOf('=');
        if (eq < 0 || f.left(eq).trimmed().toLower() != parameter.toLower())
            continue;
        QByteArray v = f.mid(eq + 1).trimmed();
        if (v.size() >= 2 && v.startsWith('"') && v.endsWith('"'))
            v = v.mid(1, v.size() - 2);
        return v;
    }
    return std::nullopt;
}

std::optional<QList<MultipartPart>> parseMultipartForm(const QByteArray &contentTypeHeader, const QByteArray &body)
{
    const std::optional<QByteArray> boundary = boundaryOf(contentTypeHeader);
    if (!boundary)
        return std::nullopt;
    const QByteArray delimiter = "--" + *boundary;
    if (!body.startsWith(delimiter + "\r\n"))
        return std::nullopt;
    QList<MultipartPart> parts;
    qsizetype at = delimiter.size() + 2;
    const QByteArray next = "\r\n" + delimiter;
    while (true) {
        const qsizetype headerEnd = body.indexOf("\r\n\r\n", at);
        const qsizetype end = body.indexOf(next, at);
        if (headerEnd < 0 || end < 0 || headerEnd > end)
            return std::nullopt;
        MultipartPart part;
        for (const QByteArray &line : body.mid(at, headerEnd - at).split('\n')) {
            const QByteArray l = line.endsWith('\r') ? line.chopped(1) : line;
            const qsizetype colon = l.indexOf(':');
            if (colon <= 0)
                return std::nullopt;
            part.headers.append({l.left(colon).trimmed(), l.mid(colon + 1).trimmed()});
        }
        part.body = body.mid(headerEnd + 4, end - headerEnd - 4);
        parts.append(part);
        at = end + next.size();
        if (body.mid(at, 2) == "--")
            return parts; // closing delimiter
        if (body.mid(at, 2) != "\r\n")
            return std::nullopt;
        at += 2;
    }
}
