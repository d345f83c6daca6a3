#pragma once

#include "platform/IClipboard.h"

namespace platform::linuxbackend {

// The X11 CLIPBOARD and PRIMARY selections through QClipboard. X11 clipboard content
// lives in the owning process: what this application puts there is served to other
// applications by its event loop, as long as it runs.
class QtClipboard final : public IClipboard {
public:
    QString text() const override;
    void clear() override;
    bool setText(const QString &text) override;
    bool setWatchedText(const QString &text, std::function<void()> served) override;
    bool setImage(const QImage &image) override;
    QString selectionText() const override;
    std::unique_ptr<QMimeData> snapshot() const override;
    void restore(std::unique_ptr<QMimeData> contents) override;
};

} // namespace platform::linuxbackend
