// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/screen_saver_inhibitor.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace lumetta {

namespace {

const QString kService = QStringLiteral("org.freedesktop.ScreenSaver");
const QString kPath = QStringLiteral("/org/freedesktop/ScreenSaver");
const QString kInterface = QStringLiteral("org.freedesktop.ScreenSaver");

}  // namespace

ScreenSaverInhibitor::ScreenSaverInhibitor(QDBusConnection bus, QObject *parent)
    : QObject(parent),
      bus_(bus),
      x11_(new X11ScreenSaver(this))
{
}

ScreenSaverInhibitor::~ScreenSaverInhibitor()
{
    Release();
}

void ScreenSaverInhibitor::Inhibit(const QString &reason)
{
    if (wanted_)
        return;
    wanted_ = true;
    const int request = ++request_;
    if (!bus_.isConnected()) {
        x11_->Suspend();
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Inhibit"));
    call << QCoreApplication::applicationName() << reason;
    auto *watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, request](QDBusPendingCallWatcher *answer) {
        answer->deleteLater();
        const QDBusPendingReply<uint> reply = *answer;
        if (reply.isError()) {
            // No service to ask (or it refused): the X server is asked instead.
            if (wanted_ && request == request_)
                x11_->Suspend();
            return;
        }
        if (wanted_ && request == request_)
            cookie_ = reply.value();
        else
            UnInhibit(reply.value());  // the show ended before the answer came
    });
}

void ScreenSaverInhibitor::Release()
{
    wanted_ = false;
    ++request_;
    x11_->Resume();
    if (const std::optional<uint> cookie = std::exchange(cookie_, std::nullopt))
        UnInhibit(*cookie);
}

void ScreenSaverInhibitor::UnInhibit(uint cookie)
{
    if (!bus_.isConnected())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("UnInhibit"));
    call << cookie;
    bus_.asyncCall(call);
}

}  // namespace lumetta
