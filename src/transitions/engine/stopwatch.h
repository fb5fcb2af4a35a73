// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

namespace lumetta {

// Stopwatch in milliseconds on the steady clock. The time source can be replaced process-wide so
// that tests drive the pacing arithmetic with a simulated clock.
class Stopwatch
{
public:
    // Milliseconds from an arbitrary fixed origin, increasing.
    using TimeSource = std::function<double()>;

    Stopwatch();

    // Starts only when reset or paused; a running stopwatch is left alone.
    void Start();
    // Starts a reset stopwatch as if it had been started at the clock reading origin (an earlier
    // Now()), so time spent before counts; otherwise as Start.
    void StartAt(double origin);
    // Milliseconds measured: the accumulated value, plus the running time when running.
    double Elapsed() const;
    // Stops time, keeping what was measured.
    void Pause();
    // Pauses and returns to zero.
    void Reset();

    double Accumulated() const { return accumulated_; }
    bool IsPaused() const { return isPaused_; }
    bool IsReset() const { return isReset_; }

    // Replaces the clock of every stopwatch; an empty function restores the steady clock.
    static void SetTimeSource(TimeSource source);
    // Current reading of the clock in use, in milliseconds.
    static double Now();
    // Lets ms milliseconds pass: sleeps on the steady clock; a replaced time source is read
    // until it has moved on by ms instead (a simulated clock moves as it is read).
    static void Wait(double ms);

private:
    double accumulated_ = 0;
    bool isPaused_ = false;
    bool isReset_ = true;
    double startCount_ = 0;
};

}  // namespace lumetta
