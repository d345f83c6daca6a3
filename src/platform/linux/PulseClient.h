#pragma once

#include <pulse/pulseaudio.h>

#include <QString>

#include <functional>

namespace platform::linuxbackend::pulse {

// libpulse is opened on first use rather than linked: linked, it and the codec
// libraries it pulls in (libsndfile, FLAC, Vorbis, Opus, MP3) cost every process about
// a megabyte of resident pages although the sound server is rarely asked anything.
#define QX_PULSE_FUNCTIONS(X)                                                                                          \
    X(pa_context_connect)                                                                                              \
    X(pa_context_disconnect)                                                                                           \
    X(pa_context_errno)                                                                                                \
    X(pa_context_get_sink_info_by_index)                                                                               \
    X(pa_context_get_sink_info_by_name)                                                                                \
    X(pa_context_get_source_info_list)                                                                                 \
    X(pa_context_get_state)                                                                                            \
    X(pa_context_new)                                                                                                  \
    X(pa_context_set_default_source)                                                                                   \
    X(pa_context_set_sink_mute_by_index)                                                                               \
    X(pa_context_set_sink_volume_by_index)                                                                             \
    X(pa_context_unref)                                                                                                \
    X(pa_cvolume_avg)                                                                                                  \
    X(pa_cvolume_scale)                                                                                                \
    X(pa_cvolume_valid)                                                                                                \
    X(pa_mainloop_dispatch)                                                                                            \
    X(pa_mainloop_free)                                                                                                \
    X(pa_mainloop_get_api)                                                                                             \
    X(pa_mainloop_new)                                                                                                 \
    X(pa_mainloop_poll)                                                                                                \
    X(pa_mainloop_prepare)                                                                                             \
    X(pa_operation_cancel)                                                                                             \
    X(pa_operation_get_state)                                                                                          \
    X(pa_operation_unref)                                                                                              \
    X(pa_proplist_gets)                                                                                                \
    X(pa_strerror)

struct Api {
    bool loaded = false;
#define QX_PULSE_MEMBER(f) decltype(&::f) f = nullptr;
    QX_PULSE_FUNCTIONS(QX_PULSE_MEMBER)
#undef QX_PULSE_MEMBER
};

// Loaded once, kept for the process's life; thread-safe through the static's initialisation.
const Api &api();

// One connection to the server, driven by a private main loop on the calling thread;
// every wait ends after at most a second. `consequence` finishes the log line written
// (once per process) when no server answers.
class Session {
public:
    Session(const char *clientName, const QString &consequence);
    ~Session();
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    bool ready() const { return m_ready; }
    pa_context *context() const { return m_context; }

    // Waits for an operation; false on failure or time-out.
    bool wait(pa_operation *op);

    // A pa_context_success_cb_t that stores its result in the bool behind user.
    static void successCallback(pa_context *, int success, void *user) { *static_cast<bool *>(user) = success != 0; }

private:
    bool runUntil(const std::function<bool()> &done);

    pa_mainloop *m_loop = nullptr;
    pa_context *m_context = nullptr;
    bool m_ready = false;
};

} // namespace platform::linuxbackend::pulse
