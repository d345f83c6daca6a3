#pragma once

#include <QByteArray>
#include <QPoint>

#include <optional>

typedef struct _XDisplay Display;

// Drives the pointer and reads the keyboard of the X server the way another
// application (or the user) would: through a connection of its own.
class XTestDriver {
public:
    XTestDriver();
    ~XTestDriver();
    bool isOpen() const { return m_display != nullptr; }

    void moveTo(QPoint p);
    void button(int xButton, bool down);
    void key(unsigned long keysym, bool down);
    // Press, drag through `steps` motions, release: a selection gesture.
    void drag(QPoint from, QPoint to, int steps = 5);
    // Number of keys the server currently has down.
    int keysHeld();
    // Presses and releases the key that types `keysym` (XK_a ...).
    void typeKey(unsigned long keysym);
    // The window that has the X server's keyboard focus (0 none, 1 the pointer root).
    unsigned long inputFocus();

private:
    Display *m_display = nullptr;
};

// True when the tests run against an X server (else they skip).
bool onXServer();

// Reads a selection ("CLIPBOARD", "PRIMARY") as `target` ("UTF8_STRING", "image/png")
// the way any other application does, with this process's event loop running (it
// may be the owner). Nothing when the owner refuses or there is none.
std::optional<QByteArray> readSelectionAsOtherClient(const char *selection, const char *target);
