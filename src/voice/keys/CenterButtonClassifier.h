#pragma once

#include "Scheduler.h"

#include <QObject>

#include <functional>

// Turns the presses of the mouse's centre button into single, double, long start and
// long end by their timing, on elapsed time rather than counted ticks (a busy event
// loop would stretch a tick count):
// - held 1000 ms: one long start while held, a long end on release;
// - released after more than 350 ms: a single at once;
// - the second of two quick presses: a double;
// - one quick press: a single 350 ms after its release, unless a second press came.
class CenterButtonClassifier {
public:
    // Gets the press kind (1 single, 2 double, 3 long start, 4 long end).
    using Report = std::function<void(int pressKind)>;

    static constexpr int kLongPressMs = 1000;
    static constexpr int kQuickPressMs = 350;
    static constexpr int kDoubleWaitMs = 350;

    CenterButtonClassifier(Scheduler &scheduler, Report report);
    ~CenterButtonClassifier();
    CenterButtonClassifier(const CenterButtonClassifier &) = delete;
    CenterButtonClassifier &operator=(const CenterButtonClassifier &) = delete;

    void buttonDown();
    void buttonUp();

private:
    void reportLongStart();

    Scheduler &m_scheduler;
    Report m_report;
    QObject m_waits;      // the pending double-click waits die with the classifier
    qint64 m_downAt = -1; // -1: the button is not down
    int m_pressCount = 0;
    bool m_longReported = false;
    Scheduler::TimerId m_longTimer = Scheduler::kNoTimer;
};
