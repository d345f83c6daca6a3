#include "CenterButtonClassifier.h"

#include "KeyActionTable.h"

using namespace keyaction;

CenterButtonClassifier::CenterButtonClassifier(Scheduler &scheduler, Report report)
    : m_scheduler(scheduler), m_report(std::move(report))
{
}

CenterButtonClassifier::~CenterButtonClassifier()
{
    cancelTimer(m_scheduler, m_longTimer);
}

void CenterButtonClassifier::buttonDown()
{
    m_pressCount = m_pressCount + 1 == 3 ? 1 : m_pressCount + 1;
    m_downAt = m_scheduler.clock().monotonicMs();
    cancelTimer(m_scheduler, m_longTimer);
    m_longTimer = m_scheduler.singleShot(kLongPressMs, [this] {
        m_longTimer = Scheduler::kNoTimer;
        if (!m_longReported)
            reportLongStart();
    });
}

void CenterButtonClassifier::reportLongStart()
{
    m_pressCount = 0;
    m_longReported = true;
    m_report(kLongStart);
}

void CenterButtonClassifier::buttonUp()
{
    // A release whose press we did not see (the monitor started in between).
    if (m_downAt < 0)
        return;
    const qint64 held = m_scheduler.clock().monotonicMs() - m_downAt;
    m_downAt = -1;
    cancelTimer(m_scheduler, m_longTimer);
    const bool longReported = m_longReported;
    m_longReported = false;
    if (held >= kLongPressMs) {
        // The release may be handled before the long-press timer of the same moment.
        if (!longReported)
            m_report(kLongStart);
        m_pressCount = 0;
        m_report(kLongEnd);
    } else if (held > kQuickPressMs) {
        m_pressCount = 0;
        m_report(kSingle);
    } else if (m_pressCount == 2) {
        m_pressCount = 0;
        m_report(kDouble);
    } else {
        // Each release waits on its own: an earlier wait must not be pushed back.
        m_scheduler.singleShot(
            kDoubleWaitMs,
            [this] {
                if (m_pressCount == 1) {
                    m_pressCount = 0;
                    m_report(kSingle);
                }
            },
            &m_waits);
    }
}
