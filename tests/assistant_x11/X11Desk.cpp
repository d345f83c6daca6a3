#include "X11Desk.h"

#include "platform/linux/X11Compositing.h"

#include <QTemporaryDir>
#include <QTest>

X11Desk::~X11Desk()
{
    stopCompositor();
    for (QProcess *helper : {m_pattern.get(), m_focused.get()})
        if (helper) {
            helper->kill();
            helper->waitForFinished(3000);
        }
}

namespace {
// Another program at `area`, in the server's pixels whatever scale factor the test runs at.
std::unique_ptr<QProcess> startHelper(const QString &mode, const QRect &area)
{
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_SCALE_FACTOR"));
    process->setProcessEnvironment(env);
    process->start(QStringLiteral(QX_SNIP_HELPER), {mode, QString::number(area.x()), QString::number(area.y()),
                                                    QString::number(area.width()), QString::number(area.height())});
    return process;
}
} // namespace

bool X11Desk::showPattern(const QRect &area)
{
    m_pattern = startHelper(QStringLiteral("pattern"), area);
    return QTest::qWaitFor([this] { return m_pattern->readAllStandardOutput().contains("ready"); }, 10000);
}

unsigned long X11Desk::showFocused(const QRect &area)
{
    m_focused = startHelper(QStringLiteral("focus"), area);
    QByteArray out;
    (void)QTest::qWaitFor([&] { return (out += m_focused->readAllStandardOutput()).endsWith('\n'); }, 10000);
    return out.startsWith("ready ") ? out.mid(6).trimmed().toULong() : 0;
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
