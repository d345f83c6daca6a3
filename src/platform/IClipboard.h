#pragma once

#include <QImage>
#include <QString>

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
