// SPDX-License-Identifier: GPL-3.0-or-later
#include "x11_saver_probe.h"

#include <QGuiApplication>

// Xlib's macros clash with Qt's names: its headers come last.
#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>

namespace lumetta::testx11 {

namespace {

Display *X11Display()
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->display() : nullptr;
}

}  // namespace

bool SetSaverTimeout(int seconds)
{
    Display *display = X11Display();
    if (!display)
        return false;
    XSetScreenSaver(display, seconds, 0, DontPreferBlanking, AllowExposures);
    XResetScreenSaver(display);
    XSync(display, False);
    return true;
}

std::optional<bool> SaverOn()
{
    Display *display = X11Display();
    int event = 0, error = 0;
    if (!display || !XScreenSaverQueryExtension(display, &event, &error))
        return std::nullopt;
    XScreenSaverInfo *info = XScreenSaverAllocInfo();
    XScreenSaverQueryInfo(display, DefaultRootWindow(display), info);
    const bool on = info->state == ScreenSaverOn;
    XFree(info);
    return on;
}

}  // namespace lumetta::testx11
