// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/termination_signals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace lumetta {

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

// The pipe's ends, for the handler, which can reach nothing else.
int pipeEnds[2] = {-1, -1};

extern "C" void WriteSignalNumber(int signalNumber)
{
    const int saved = errno;
    const char number = char(signalNumber);
    // A full pipe already holds signals enough to stop the job.
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &number, 1);
    errno = saved;
}

}  // namespace

TerminationSignals::TerminationSignals(QObject *parent) : QObject(parent)
{
    if (pipeEnds[0] >= 0 || ::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0)
        qFatal("TerminationSignals: one object at a time, with a pipe of its own");
    notifier_ = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::ReadPipe);
    struct sigaction action = {};
    action.sa_handler = WriteSignalNumber;
    sigemptyset(&action.sa_mask);
    // Interrupted system calls carry on; the job notices the signal through the pipe.
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        ::sigaction(kSignals[i], &action, &previous_[i]);
}

TerminationSignals::~TerminationSignals()
{
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        ::sigaction(kSignals[i], &previous_[i], nullptr);
    delete notifier_;
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    pipeEnds[0] = pipeEnds[1] = -1;
}

void TerminationSignals::ReadPipe()
{
    char numbers[16];
    for (ssize_t count; (count = ::read(pipeEnds[0], numbers, sizeof numbers)) > 0;)
        for (ssize_t i = 0; i < count; ++i)
            emit Received(int(numbers[i]));
}

}  // namespace lumetta
