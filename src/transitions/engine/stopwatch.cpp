// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/engine/stopwatch.h"

#include <chrono>
#include <thread>

namespace lumetta {

namespace {

Stopwatch::TimeSource &SharedTimeSource()
{
    static Stopwatch::TimeSource source;
    return source;
}

}  // namespace

Stopwatch::Stopwatch() = default;

void Stopwatch::SetTimeSource(TimeSource source)
{
    SharedTimeSource() = std::move(source);
}

double Stopwatch::Now()
{
    if (const TimeSource &source = SharedTimeSource())
        return source();
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

void Stopwatch::Wait(double ms)
{
    if (ms <= 0)
        return;
    if (SharedTimeSource()) {
        const double until = Now() + ms;
        while (Now() < until) {}
        return;
    }
    std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(ms));
}

void Stopwatch::StartAt(double origin)
{
    if (!isReset_) {
        Start();
        return;
    }
    startCount_ = origin;
    isReset_ = false;
    isPaused_ = false;
}

void Stopwatch::Start()
{
    if (!isReset_ && !isPaused_)
        return;
    startCount_ = Now();
    isReset_ = false;
    isPaused_ = false;
}

double Stopwatch::Elapsed() const
{
    if (isReset_ || isPaused_)
        return accumulated_;
    return accumulated_ + (Now() - startCount_);
}

void Stopwatch::Pause()
{
    if (isReset_ || isPaused_)
        return;
    accumulated_ = Elapsed();
    isPaused_ = true;
    startCount_ = 0;
}

void Stopwatch::Reset()
{
    Pause();
    accumulated_ = 0;
    isReset_ = true;
}

}  // namespace lumetta
