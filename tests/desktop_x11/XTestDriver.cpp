#include "XTestDriver.h"

#include <QGuiApplication>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <bitset>

XTestDriver::XTestDriver() : m_display(XOpenDisplay(nullptr)) {}

XTestDriver::~XTestDriver()
{
    if (m_display)
        XCloseDisplay(m_display);
}

void XTestDriver::moveTo(QPoint p)
{
    XTestFakeMotionEvent(m_display, -1, p.x(), p.y(), CurrentTime);
    XSync(m_display, False);
}

void XTestDriver::button(int xButton, bool down)
{
    XTestFakeButtonEvent(m_display, unsigned(xButton), down ? True : False, CurrentTime);
    XSync(m_display, False);
}

int XTestDriver::keysHeld()
{
    char keys[32] = {};
    XQueryKeymap(m_display, keys);
    int held = 0;
    for (char byte : keys)
        held += int(std::bitset<8>(static_cast<unsigned char>(byte)).count());
    return held;
}

void XTestDriver::typeKey(unsigned long keysym)
{
    const KeyCode code = XKeysymToKeycode(m_display, keysym);
    XTestFakeKeyEvent(m_display, code, True, CurrentTime);
    XTestFakeKeyEvent(m_display, code, False, CurrentTime);
    XSync(m_display, False);
}

unsigned long XTestDriver::inputFocus()
{
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(m_display, &focus, &revert);
    return focus;
}

bool onXServer()
{
    return QGuiApplication::platformName() == "xcb";
}
