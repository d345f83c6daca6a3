// Feeds arbitrary bytes from the AI page's helper process through the companion's
// reading of them: cut into frames, each frame checked as an event. A checked event
// carries only what its kind has room for, and a broken stream yields nothing more.
#include "platform/AiWebWire.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using platform::aiwebwire::HelperEvent;
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    // As the companion reads its helper.
    platform::aiwebwire::FrameReader reader(platform::aiwebwire::kMaxEvent);
    // In two pieces, as a socket may hand them over.
    reader.append(input.left(qsizetype(size / 2)));
    reader.append(input.mid(qsizetype(size / 2)));
    int frames = 0;
    while (const auto payload = reader.next()) {
        if (payload->size() > platform::aiwebwire::kMaxEvent)
            std::abort();
        ++frames;
        if (const auto event = platform::aiwebwire::parseHelperEvent(*payload)) {
            if (event->kind == HelperEvent::Kind::Ready && (event->windowId == 0 || event->windowId > 0xffffffffu))
                std::abort();
            if (event->kind == HelperEvent::Kind::DownloadChanged
                && (event->update.received < 0 || event->update.total < -1))
                std::abort();
            if (event->kind == HelperEvent::Kind::ScriptMessage && event->text.size() > 256)
                std::abort();
        }
    }
    if (reader.failed() && reader.next())
        std::abort();
    // The whole input as one frame's payload, too: past the bound, never converted
    // (run-fuzzers lets inputs grow past it).
    if (platform::aiwebwire::parseHelperEvent(input) && input.size() > platform::aiwebwire::kMaxEvent)
        std::abort();
    return frames >= 0 ? 0 : 1;
}
