#include "DesktopEntry.h"

#include <QSet>
#include <QStringDecoder>

namespace platform::desktopentry {

namespace {

// Inside a quoted Exec argument these four take a backslash.
bool needsQuoteEscape(QChar c)
{
    return c == u'"' || c == u'`' || c == u'$' || c == u'\\';
}

bool isKeyChar(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'-';
}

bool isLocaleChar(QChar c)
{
    return isKeyChar(c) || c == u'_' || c == u'@' || c == u'.';
}

// "Name" or "Name[de_DE@euro]".
bool isValidKey(QStringView key)
{
    qsizetype i = 0;
    while (i < key.size() && isKeyChar(key[i]))
        ++i;
    if (i == 0)
        return false;
    if (i == key.size())
        return true;
    if (key[i] != u'[' || !key.endsWith(u']') || key.size() - i < 3)
        return false;
    for (qsizetype j = i + 1; j < key.size() - 1; ++j)
        if (!isLocaleChar(key[j]))
            return false;
    return true;
}

} // namespace

QString execValue(const QString &program)
{
    if (program.isEmpty())
        return {};
    QString quoted = QStringLiteral("\"");
    for (const QChar c : program) {
        if (c.unicode() < 0x20 && c != u'\n' && c != u'\t' && c != u'\r')
            return {};
        if (c.unicode() == 0x7f)
            return {};
        if (needsQuoteEscape(c))
            quoted += u'\\';
        else if (c == u'%')
            quoted += u'%'; // a literal percent sign, not a field code
        quoted += c;
    }
    quoted += u'"';

    // The string escapes come on top of the quoting.
    QString value;
    value.reserve(quoted.size() + 8);
    for (const QChar c : std::as_const(quoted)) {
        if (c == u'\\')
            value += QLatin1String("\\\\");
        else if (c == u'\n')
            value += QLatin1String("\\n");
        else if (c == u'\t')
            value += QLatin1String("\\t");
        else if (c == u'\r')
            value += QLatin1String("\\r");
        else
            value += c;
    }
    return value;
}

QString unescapeString(const QString &value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c != u'\\' || i + 1 == value.size()) {
            out += c;
            continue;
        }
        const QChar n = value[++i];
        switch (n.unicode()) {
        case 's':
            out += u' ';
            break;
        case 'n':
            out += u'\n';
            break;
        case 't':
            out += u'\t';
            break;
        case 'r':
            out += u'\r';
            break;
        case '\\':
            out += u'\\';
            break;
        default: // not an escape: kept as written
            out += c;
            out += n;
        }
    }
    return out;
}

QString execProgram(const QString &value)
{
    const QString s = unescapeString(value).trimmed();
    QString program;
    qsizetype i = 0;
    if (s.startsWith(u'"')) {
        bool closed = false;
        for (i = 1; i < s.size(); ++i) {
            const QChar c = s[i];
            if (c == u'"') {
                closed = true;
                ++i;
                break;
            }
            if (c == u'\\') {
                if (i + 1 == s.size() || !needsQuoteEscape(s[i + 1]))
                    return {};
                program += s[++i];
                continue;
            }
            program += c;
        }
        if (!closed || (i < s.size() && !s[i].isSpace()))
            return {};
    } else {
        while (i < s.size() && !s[i].isSpace())
            program += s[i++];
        if (program.contains(u'"') || program.contains(u'\\'))
            return {};
    }
    // The program itself can hold no field code, only literal percent signs.
    QString out;
    for (qsizetype j = 0; j < program.size(); ++j) {
        if (program[j] != u'%') {
            out += program[j];
            continue;
        }
        if (j + 1 == program.size() || program[j + 1] != u'%')
            return {};
        out += u'%';
        ++j;
    }
    return out;
}

std::optional<Group> parseDesktopEntry(QByteArrayView text)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder.decode(text);
    if (decoder.hasError())
        return std::nullopt;

    Group group;
    QSet<QString> groupNames;
    bool inFirstGroup = false;
    for (QStringView line : QStringView(decoded).split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[')) {
            if (!line.endsWith(u']') || line.size() < 3)
                return std::nullopt;
            const QString name = line.mid(1, line.size() - 2).toString();
            if (name.contains(u'[') || name.contains(u']') || groupNames.contains(name))
                return std::nullopt;
            if (groupNames.isEmpty() && name != QLatin1String("Desktop Entry"))
                return std::nullopt;
            inFirstGroup = groupNames.isEmpty();
            groupNames.insert(name);
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (groupNames.isEmpty() || eq < 0)
            return std::nullopt;
        const QString key = line.left(eq).trimmed().toString();
        if (!isValidKey(key))
            return std::nullopt;
        if (!inFirstGroup)
            continue;
        if (group.contains(key))
            return std::nullopt;
        QStringView value = line.mid(eq + 1);
        while (!value.isEmpty() && value.front() == u' ')
            value = value.mid(1);
        group.insert(key, value.toString());
    }
    if (groupNames.isEmpty())
        return std::nullopt;
    return group;
}

bool autostartRuns(const Group &group, const QString &program)
{
    const auto text = [&group](const char *key) { return unescapeString(group.value(QLatin1String(key))); };
    if (text("Type") != QLatin1String("Application") || text("Hidden") == QLatin1String("true")
        || text("X-GNOME-Autostart-enabled") == QLatin1String("false"))
        return false;
    const QString runs = execProgram(group.value(QStringLiteral("Exec")));
    return !runs.isEmpty() && (program.isEmpty() || runs == program);
}

} // namespace platform::desktopentry
