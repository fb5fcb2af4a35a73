// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QTimer;

namespace lumetta {

// Keeps an X server from starting its screen saver or blanking the screen (DPMS) while a show
// plays, for desktops without the freedesktop.org screen saver service: the X screen saver
// extension's suspension (XScreenSaverSuspend), or, on a server without it, the saver's idle
// time reset every few seconds (XResetScreenSaver). Off the X11 platform nothing happens.
class X11ScreenSaver : public QObject
{
    Q_OBJECT

public:
    explicit X11ScreenSaver(QObject *parent = nullptr);
    ~X11ScreenSaver() override;

    // Suspends the screen saver until Resume; false where there is no X server to ask.
    bool Suspend();
    void Resume();
    bool Suspended() const { return suspended_; }

private:
    bool suspended_ = false;
    bool byExtension_ = false;
    // Resets the saver's idle time where the extension is missing.
    QTimer *resetTimer_;
};

}  // namespace lumetta
