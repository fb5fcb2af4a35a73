// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <csignal>

class QSocketNotifier;

namespace lumetta {

// Turns SIGINT, SIGTERM and SIGHUP (Ctrl+C, `kill`, `timeout`, the end of a session) into a Qt
// signal on the thread that made this object, so that a long job stops through its own cancel
// path and cleans up instead of dying half-way. The handler only writes the signal's number to a
// pipe; no Qt code runs in it. One object at a time; the earlier handlers return when it goes.
class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals &) = delete;
    TerminationSignals &operator=(const TerminationSignals &) = delete;

    // The exit status a shell reports for a process ended by SIGNALNUMBER: 128 plus the number.
    static int ExitStatus(int signalNumber) { return 128 + signalNumber; }

signals:
    // Once for every signal received, in the order they came.
    void Received(int signalNumber);

private:
    void ReadPipe();

    QSocketNotifier *notifier_ = nullptr;
    struct sigaction previous_[3] = {};
};

}  // namespace lumetta
