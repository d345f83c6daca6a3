#pragma once

#include "platform/IGlobalMouseMonitor.h"

#include <QObject>

#include <atomic>
#include <map>
#include <thread>

typedef struct _XDisplay Display;

namespace platform::linuxbackend {

// Observes the pointer of the whole X display through the RECORD extension: the
// server copies every button and motion event to a connection of ours, read on a
// thread of its own and handed to the main thread. Recording runs only while some
// handler is registered and the monitor is active, and takes in pointer motion only
// while a handler wants it.
class XRecordMouseMonitor final : public QObject, public IGlobalMouseMonitor {
public:
    XRecordMouseMonitor();
    ~XRecordMouseMonitor() override;

    bool isAvailable() const override { return probe(); } // the first call opens the connection
    Token add(quint64 mask, Handler handler) override;
    void remove(Token token) override;
    // Inactive, the recording stops and both X connections close.
    void setActive(bool active) override;

    // True once the X server has started delivering (events before that are not seen).
    bool isRecording() const { return m_recording.load(); }
    // Whether the server sends pointer motion (some handler wants moves or drags).
    bool recordsMotion() const { return m_context && m_recordsMotion; }

private:
    struct Entry {
        quint64 mask;
        Handler handler;
    };

    bool probe() const;
    bool startRecording(bool motion);
    void stopRecording();
    void readLoop();
    void onIntercepted(const unsigned char *bytes, int length);
    void deliver(const MouseEvent &event);
    bool isOverOwnWindow(QPoint pos) const;
    void updateUnionMask();

    // Main thread only, as is every call of the interface.
    mutable bool m_probed = false;
    mutable bool m_available = false;
    mutable Display *m_control = nullptr; // creates and disables the recording context
    Display *m_data = nullptr;            // streams the recorded events; the reader thread only
    unsigned long m_context = 0;
    bool m_recordsMotion = false;
    bool m_active = true;
    int m_wakeFd = -1;
    std::thread m_reader;
    std::atomic<bool> m_recording{false};
    std::atomic<quint64> m_unionMask{0};
    HeldButtons m_held; // reader thread only
    std::map<Token, Entry> m_entries;
    Token m_nextToken = 1;
};

} // namespace platform::linuxbackend
