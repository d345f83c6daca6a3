#include "MachineFacts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>

namespace {

QByteArray readSmallFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.read(4096).trimmed();
}

// "aa:bb:cc:dd:ee:ff" -> "aabbccddeeff"; empty unless it is six non-zero bytes.
QString compactMac(const QByteArray &text)
{
    const QList<QByteArray> parts = text.split(':');
    if (parts.size() != 6)
        return {};
    QString out;
    bool allZero = true;
    for (const QByteArray &p : parts) {
        bool ok = false;
        const uint v = p.toUInt(&ok, 16);
        if (!ok || p.size() != 2 || v > 0xff)
            return {};
        allZero = allZero && v == 0;
        out += QStringLiteral("%1").arg(v, 2, 16, QLatin1Char('0'));
    }
    return allZero ? QString() : out;
}

QString unquote(QString v)
{
    v = v.trimmed();
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front()) {
        v = v.mid(1, v.size() - 2);
        QString out;
        for (qsizetype i = 0; i < v.size(); ++i) {
            if (v.at(i) == u'\\' && i + 1 < v.size())
                ++i;
            out += v.at(i);
        }
        return out;
    }
    return v;
}

} // namespace

namespace MachineFacts {

QString macAddressFromSysfs(const QString &classNetDir)
{
    QDir dir(classNetDir);
    const QStringList names = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System, QDir::Name);
    QString physical;
    QString any;
    for (const QString &name : names) {
        const QString base = dir.filePath(name);
        // Type 1 is ARPHRD_ETHER: wired and wireless Ethernet-type links.
        if (readSmallFile(base + "/type") != "1")
            continue;
        const QString mac = compactMac(readSmallFile(base + "/address"));
        if (mac.isEmpty())
            continue;
        const QString fact = name + u'_' + mac;
        any = fact;
        if (QFileInfo::exists(base + "/device"))
            physical = fact;
    }
    return physical.isEmpty() ? any : physical;
}

QVariantMap parseOsRelease(const QByteArray &text)
{
    QVariantMap out;
    for (const QByteArray &raw : text.split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const qsizetype eq = line.indexOf(u'=');
        const QString key = eq > 0 ? line.left(eq).trimmed() : QString();
        if (key.isEmpty())
            continue;
        out.insert(key, unquote(line.mid(eq + 1)));
    }
    return out;
}

QString systemVersion()
{
    return QStringLiteral("%1 (kernel %2)").arg(QSysInfo::prettyProductName(), QSysInfo::kernelVersion());
}

QString hostName()
{
    return QSysInfo::machineHostName();
}

} // namespace MachineFacts
