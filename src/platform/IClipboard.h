#pragma once

#include <QImage>
#include <QString>

#include <functional>
#include <memory>

class QMimeData;

namespace platform {

// The desktop's clipboard (the general pasteboard). Main thread only.
class IClipboard {
public:
    virtual ~IClipboard() = default;

    // The clipboard's text; empty when it holds none.
    virtual QString text() const = 0;
    // Takes the clipboard and leaves it empty.
    virtual void clear() = 0;
    // Puts text on the clipboard; true when the clipboard holds it afterwards.
    virtual bool setText(const QString &text) = 0;
    // setText for a paste: served runs on the main thread each time another application
    // takes the text from the clipboard, for as long as the text is there (never where
    // the platform does not let that be seen). The X11 clipboard lives in its owner, so
    // this is the only way to know when the pasting application has had the text.
    virtual bool setWatchedText(const QString &text, std::function<void()> served) = 0;
    // Puts a picture on the clipboard (other applications may ask for it as PNG);
    // true when the clipboard holds it afterwards. A null image is refused.
    virtual bool setImage(const QImage &image) = 0;

    // The current selection (X11 PRIMARY: the text last selected anywhere). Empty
    // where the platform has no such selection.
    virtual QString selectionText() const = 0;

    // A copy of every format the clipboard holds now (nullptr when empty), and its
    // return; so non-text content (images, files) survives a temporary use.
    virtual std::unique_ptr<QMimeData> snapshot() const = 0;
    virtual void restore(std::unique_ptr<QMimeData> contents) = 0;
};

} // namespace platform
