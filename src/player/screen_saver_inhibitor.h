// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "player/x11_screen_saver.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <optional>

namespace lumetta {

// Keeps the desktop's screen saver and screen blanking away while a show plays, through the
// freedesktop.org interface (org.freedesktop.ScreenSaver Inhibit / UnInhibit). The calls never
// wait for an answer. Without a session bus, or when the service is not on it, the X server is
// asked directly (X11ScreenSaver); elsewhere nothing happens.
class ScreenSaverInhibitor : public QObject
{
    Q_OBJECT

public:
    explicit ScreenSaverInhibitor(QDBusConnection bus = QDBusConnection::sessionBus(), QObject *parent = nullptr);
    ~ScreenSaverInhibitor() override;

    // Asks for the inhibition once; REASON is shown by desktops that list inhibitors.
    void Inhibit(const QString &reason);
    // Ends the inhibition, also one whose answer has not arrived yet.
    void Release();
    // True from Inhibit until Release.
    bool Inhibiting() const { return wanted_; }
    // True while the X server itself is kept from blanking, for want of the service.
    bool SuspendingX11() const { return x11_->Suspended(); }

private:
    void UnInhibit(uint cookie);

    QDBusConnection bus_;
    bool wanted_ = false;
    // Each request gets a number, so an answer to an earlier request is never taken for a later one.
    int request_ = 0;
    std::optional<uint> cookie_;
    X11ScreenSaver *x11_;
};

}  // namespace lumetta
