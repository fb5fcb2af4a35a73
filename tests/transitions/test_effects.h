// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transitions/engine/timed_transition_effect.h"

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace lumetta {

// A timed effect that records its calls: each drawn frame paints the new picture's columns
// 0..(CurrentFrame * Width / FrameCount) onto the canvas.
class TRecordingTransition : public TTimedTransitionEffect
{
    Q_OBJECT
    Q_PROPERTY(int Frames READ Frames WRITE SetFrames)
    Q_PROPERTY(lumetta::TTransitionEffect::EffectDirection Direction READ Direction WRITE SetDirection)
    Q_PROPERTY(bool Reversed READ Reversed WRITE SetReversed)

public:
    struct Call
    {
        int current, step, frameCount, prev;
    };

    explicit TRecordingTransition(QObject *owner = nullptr) : TTimedTransitionEffect(owner)
    {
        allowedDirections.set(tedRight);
        allowedDirections.set(tedLeft);
        SetDirection(tedRight);
    }

    int Frames() const { return frames_; }
    void SetFrames(int value) { frames_ = kFramesRange.Clamp(value); }
    static constexpr ValueRange kFramesRange{0, 100000};
    std::optional<ValueRange> PropertyRange(const QString &property) const override
    {
        if (property == QLatin1String("Frames"))
            return kFramesRange;
        return TTimedTransitionEffect::PropertyRange(property);
    }

    bool NeedWorkBitmap() const override { return needWork_; }
    void SetNeedWork(bool value) { needWork_ = value; }

    void Initialize(PassData &data, int &frameCount) override
    {
        log.push_back("Initialize");
        if (failInInitialize)
            throw std::runtime_error("initialize failed");
        frameCount = frames_;
        millisecondsSeen.push_back(Milliseconds());
        if (data.srcBmp) {
            sourceCorner.push_back(data.srcBmp->pixel(0, 0));
            sourceFarCorner.push_back(data.srcBmp->pixel(data.width - 1, data.height - 1));
        }
        if (data.bitmap && data.srcBmp)
            CopyRect(*data.bitmap, *data.srcBmp, QRect(0, 0, data.width, data.height));
        lastData = data;
    }
    void DrawFrame(PassData &data, int currentFrame, int step, int frameCount, int prevFrame) override
    {
        TTimedTransitionEffect::DrawFrame(data, currentFrame, step, frameCount, prevFrame);
        calls.push_back({currentFrame, step, frameCount, prevFrame});
        if (onDraw)
            onDraw(data, currentFrame);
        if (failAtFrame == currentFrame)
            throw std::runtime_error("draw failed");
        const int columns = currentFrame * data.width / frameCount;
        if (paintColumns && data.dstBmp && columns > 0)
            CopyRect(*data.GetCanvas(), *data.dstBmp, QRect(0, 0, columns, data.height));
    }
    void Finalize(PassData &) override { log.push_back("Finalize"); }

    std::vector<Call> calls;
    std::vector<std::string> log;
    std::function<void(PassData &, int)> onDraw;
    std::vector<int> millisecondsSeen;
    std::vector<QRgb> sourceCorner;
    std::vector<QRgb> sourceFarCorner;
    bool paintColumns = true;
    PassData lastData;
    int failAtFrame = -1;
    bool failInInitialize = false;

private:
    int frames_ = 10;
    bool needWork_ = true;
};

// Same, but pass 1 of a two-pass run is not animated.
class TStillFirstPassTransition : public TRecordingTransition
{
    Q_OBJECT

public:
    using TRecordingTransition::TRecordingTransition;
    bool FirstPassAnimated() const override { return false; }
};

// Same, with bitmaps as wide as the masked effects make them.
class TWideTransition : public TRecordingTransition
{
    Q_OBJECT

public:
    using TRecordingTransition::TRecordingTransition;
    int GetBitmapsWidth(int width) const override { return ((width - 1) / 32 + 1) * 32; }
};

// Replaces the stopwatch clock for a test: every reading advances it by tick milliseconds, and
// Advance moves it by a simulated drawing cost.
class SimulatedClock
{
public:
    explicit SimulatedClock(double tick = 0.001) : tick_(tick)
    {
        Stopwatch::SetTimeSource([this] { return now_ += tick_; });
    }
    ~SimulatedClock() { Stopwatch::SetTimeSource({}); }
    void Advance(double ms) { now_ += ms; }
    double Now() const { return now_; }

private:
    double now_ = 1000;
    double tick_;
};

}  // namespace lumetta
