#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <functional>

// Image files as the maker publishes them: a 12-byte header (mouse, remote control,
// Bluetooth LE) or three text lines (receiver), then one hexadecimal byte per line.
namespace fwtest {

inline constexpr char kHeader[] = "HDR-12BYTES!";

// Lines "00", "01", ... of value(j) for j < n, each followed by "\r\n".
inline QByteArray lines(
    int n, const std::function<int(int)> &value = [](int j) { return j & 0xff; })
{
    QByteArray text;
    text.reserve(n * 4);
    for (int j = 0; j < n; ++j)
        text += QByteArray::number(value(j), 16).rightJustified(2, '0') + "\r\n";
    return text;
}

inline QByteArray values(
    int n, const std::function<int(int)> &value = [](int j) { return j & 0xff; })
{
    QByteArray b;
    for (int j = 0; j < n; ++j)
        b.append(char(value(j)));
    return b;
}

inline QByteArray mouseFile(const QByteArray &text)
{
    return QByteArray(kHeader) + text;
}

inline QByteArray receiverFile(const QByteArray &text)
{
    return QByteArray("QX-RECEIVER\r\nV2.1\r\n2026-01-01\r\n") + text;
}

// A folder of image files for one test.
class ImageFolder {
public:
    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
        return path;
    }
    QString path(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
};

} // namespace fwtest
