#pragma once

#include <QCoreApplication>
#include <QEventLoop>

// Runs the event loop until what is queued now has run, and what that queued in turn:
// a second callback, a follow-up request, a notification would show after this. For
// checks that something did not happen, in place of a fixed wait.
inline void runUntilIdle()
{
    for (int round = 0; round < 8; ++round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}
