// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/x11_screen_saver.h"

#include <QGuiApplication>
#include <QTimer>

#include <utility>

// Xlib's macros (None, Bool, Status...) clash with Qt's names: its headers come last.
#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>

namespace lumetta {

namespace {

// Shorter than any screen saver timeout a desktop offers (the shortest is usually one minute).
constexpr int kResetMs = 20000;

Display *X11Display()
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}

// Suspension came with version 1.1 of the extension.
bool HasSuspension(Display *display)
{
    int event = 0, error = 0, major = 0, minor = 0;
    return XScreenSaverQueryExtension(display, &event, &error) && XScreenSaverQueryVersion(display, &major, &minor)
           && (major > 1 || (major == 1 && minor >= 1));
}

}  // namespace

X11ScreenSaver::X11ScreenSaver(QObject *parent) : QObject(parent), resetTimer_(new QTimer(this))
{
    resetTimer_->setInterval(kResetMs);
    connect(resetTimer_, &QTimer::timeout, this, [] {
        if (Display *display = X11Display()) {
            XResetScreenSaver(display);
            XFlush(display);
        }
    });
}

X11ScreenSaver::~X11ScreenSaver()
{
    Resume();
}

bool X11ScreenSaver::Suspend()
{
    if (suspended_)
        return true;
    Display *display = X11Display();
    if (!display)
        return false;
    byExtension_ = HasSuspension(display);
    if (byExtension_) {
        XScreenSaverSuspend(display, True);
    } else {
        XResetScreenSaver(display);
        resetTimer_->start();
    }
    XFlush(display);
    suspended_ = true;
    return true;
}

void X11ScreenSaver::Resume()
{
    if (!std::exchange(suspended_, false))
        return;
    resetTimer_->stop();
    Display *display = X11Display();
    if (display && byExtension_) {
        XScreenSaverSuspend(display, False);
        XFlush(display);
    }
}

}  // namespace lumetta
