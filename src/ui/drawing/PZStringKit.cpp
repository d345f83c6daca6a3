#include "PZStringKit.h"

QString pz_urlencode(const QString &text)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    const QByteArray bytes = text.toUtf8();
    QString out;
    out.reserve(bytes.size() * 3);
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == ' ') {
            out += u'+';
        } else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.'
                   || c == '_' || c == '~') {
            out += QLatin1Char(char(c));
        } else {
            out += u'%';
            out += QLatin1Char(kHex[c >> 4]);
            out += QLatin1Char(kHex[c & 0xF]);
        }
    }
    return out;
}

std::optional<QString> pz_stringByCombineComponents(const QStringList &components, const QString &separator)
{
    if (components.isEmpty())
        return std::nullopt;
    return components.join(separator);
}

std::optional<PZAttributedString> pz_attributedStringWithString(const QString &text, const QFont &font,
                                                                const QColor &color)
{
    if (text.isEmpty() || !color.isValid())
        return std::nullopt;
    return PZAttributedString{text, font, color};
}
