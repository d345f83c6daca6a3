#include "X11Desk.h"

#include "platform/linux/X11Compositing.h"

#include <QTemporaryDir>
#include <QTest>

X11Desk::~X11Desk()
{
    stopCompositor();
    if (m_pattern) {
        m_pattern->kill();
        m_pattern->waitForFinished(3000);
    }
}

bool X11Desk::showPattern(const QRect &area)
{
    m_pattern = std::make_unique<QProcess>();
    m_pattern->start(QStringLiteral(QX_SNIP_HELPER),
                     {QStringLiteral("pattern"), QString::number(area.x()), QString::number(area.y()),
                      QString::number(area.width()), QString::number(area.height())});
    return QTest::qWaitFor([this] { return m_pattern->readAllStandardOutput().contains("ready"); }, 10000);
}

bool X11Desk::startCompositor()
{
    m_compositor = std::make_unique<QProcess>();
    m_compositor->start(QStringLiteral("xcompmgr"), {});
    if (!m_compositor->waitForStarted(5000))
        return false;
    return QTest::qWaitFor([] { return platform::linuxbackend::windowsCanBeTranslucent(); }, 5000);
}

void X11Desk::stopCompositor()
{
    if (!m_compositor)
        return;
    m_compositor->terminate();
    m_compositor->waitForFinished(5000);
    m_compositor.reset();
    (void)QTest::qWaitFor([] { return !platform::linuxbackend::windowsCanBeTranslucent(); }, 5000);
}

QImage X11Desk::clipboardOfAnotherProgram()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("clipboard.png"));
    QProcess reader;
    reader.start(QStringLiteral(QX_SNIP_HELPER), {QStringLiteral("clipboard"), file});
    // This process owns the clipboard: its event loop must answer while the other reads.
    if (!QTest::qWaitFor([&reader] { return reader.state() == QProcess::NotRunning; }, 10000))
        return {};
    if (reader.exitStatus() != QProcess::NormalExit || reader.exitCode() != 0)
        return {};
    return QImage(file, "PNG");
}

bool X11Desk::showsPattern(const QImage &image, QPoint from)
{
    if (image.isNull())
        return false;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xffffff) != (patternColour(from.x() + x, from.y() + y) & 0xffffff))
                return false;
    return true;
}
