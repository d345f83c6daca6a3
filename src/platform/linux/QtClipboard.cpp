#include "QtClipboard.h"

#include "PZLog.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace platform::linuxbackend {
namespace {

// Above zero while this process reads its own clipboard: Qt then hands out the data
// object itself, and the read must not pass for another application's.
int g_ownReads = 0;

struct OwnRead {
    OwnRead() { ++g_ownReads; }
    ~OwnRead() { --g_ownReads; }
    OwnRead(const OwnRead &) = delete;
    OwnRead &operator=(const OwnRead &) = delete;
};

// Text that tells when it is taken. While this process owns the selection, Qt asks the
// data object for each format another client requests, from the event loop.
class WatchedText final : public QMimeData {
public:
    WatchedText(const QString &text, std::function<void()> served) : m_served(std::move(served)) { setText(text); }

protected:
    QVariant retrieveData(const QString &mimeType, QMetaType type) const override
    {
        if (g_ownReads == 0 && m_served)
            m_served();
        return QMimeData::retrieveData(mimeType, type);
    }

private:
    std::function<void()> m_served;
};

QClipboard *clipboard()
{
    auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    if (!app) {
        qxLogOnce("clipboard:noapp", "clipboard is not available without a GUI application object");
        return nullptr;
    }
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        qxLogOnce("clipboard:session", "no X11 clipboard in this session (" + QGuiApplication::platformName()
                                           + "): other applications may not see what is copied here");
    return QGuiApplication::clipboard();
}

} // namespace

QString QtClipboard::text() const
{
    OwnRead own;
    QClipboard *cb = clipboard();
    return cb ? cb->text(QClipboard::Clipboard) : QString();
}

void QtClipboard::clear()
{
    if (QClipboard *cb = clipboard())
        cb->clear(QClipboard::Clipboard);
}

bool QtClipboard::setText(const QString &text)
{
    OwnRead own;
    QClipboard *cb = clipboard();
    if (!cb)
        return false;
    cb->setText(text, QClipboard::Clipboard);
    // Taking the selection can fail (another client raced us); read it back.
    return cb->text(QClipboard::Clipboard) == text;
}

bool QtClipboard::setWatchedText(const QString &text, std::function<void()> served)
{
    OwnRead own;
    QClipboard *cb = clipboard();
    if (!cb)
        return false;
    cb->setMimeData(new WatchedText(text, std::move(served)), QClipboard::Clipboard); // the clipboard owns it
    return cb->text(QClipboard::Clipboard) == text;
}

bool QtClipboard::setImage(const QImage &image)
{
    OwnRead own;
    QClipboard *cb = clipboard();
    if (!cb || image.isNull())
        return false;
    cb->setImage(image, QClipboard::Clipboard);
    const QMimeData *held = cb->mimeData(QClipboard::Clipboard);
    return held && held->hasImage();
}

QString QtClipboard::selectionText() const
{
    OwnRead own;
    QClipboard *cb = clipboard();
    if (!cb || !cb->supportsSelection())
        return {};
    return cb->text(QClipboard::Selection);
}

std::unique_ptr<QMimeData> QtClipboard::snapshot() const
{
    OwnRead own;
    QClipboard *cb = clipboard();
    const QMimeData *data = cb ? cb->mimeData(QClipboard::Clipboard) : nullptr;
    if (!data || data->formats().isEmpty())
        return nullptr;
    auto copy = std::make_unique<QMimeData>();
    for (const QString &format : data->formats())
        copy->setData(format, data->data(format));
    return copy;
}

void QtClipboard::restore(std::unique_ptr<QMimeData> contents)
{
    QClipboard *cb = clipboard();
    if (!cb)
        return;
    if (!contents)
        cb->clear(QClipboard::Clipboard);
    else
        cb->setMimeData(contents.release(), QClipboard::Clipboard); // the clipboard owns it
}

} // namespace platform::linuxbackend
