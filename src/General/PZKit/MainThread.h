#pragma once

#include <functional>

// True on the thread that owns the QCoreApplication (or, before it exists, the
// thread that first asked).
bool isMainThread();

// Runs fn on the main thread: at once when called there, queued otherwise.
// Work handed over from other threads is never dropped while the event loop runs.
void runOnMainThread(std::function<void()> fn);

// Always queued, even on the main thread (for "after the current event" semantics).
void postToMainThread(std::function<void()> fn);
