#pragma once

#include <QImage>

#include <functional>

// What a tool or benchmark asks of a headless run: fixed frame steps and a look at each frame.
struct FrameStepping
{
    // Frames S, 2S, 3S, ... below the frame count are drawn, each with step S.
    int Step = 1;
    // Called when a frame pass starts (pass 1 or 2) with the count from Initialize.
    std::function<void(int Pass, int FrameCount)> PassStarted;
    // Called after each drawn frame was flushed, with what the area shows.
    std::function<void(int Pass, int Frame, const QImage &Shown)> FrameShown;
};
