// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <optional>

namespace lumetta {

// Keeps the desktop's screen saver and screen blanking away while a show plays, through the
// freedesktop.org interface (org.freedesktop.ScreenSaver Inhibit / UnInhibit). The calls never
// wait for an answer; without a session bus or without the service nothing happens.
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

private:
    void UnInhibit(uint cookie);

    QDBusConnection bus_;
    bool wanted_ = false;
    // Each request gets a number, so an answer to an earlier request is never taken for a later one.
    int request_ = 0;
    std::optional<uint> cookie_;
};

}  // namespace lumetta
