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
        AllowedDirections.set(tedRight);
        AllowedDirections.set(tedLeft);
        SetDirection(tedRight);
    }

    int Frames() const { return frames_; }
    void SetFrames(int value) { frames_ = FramesRange.Clamp(value); }
    static constexpr ValueRange FramesRange{0, 100000};
    std::optional<ValueRange> PropertyRange(const QString &Property) const override
    {
        if (Property == QLatin1String("Frames"))
            return FramesRange;
        return TTimedTransitionEffect::PropertyRange(Property);
    }

    bool NeedWorkBitmap() const override { return needWork_; }
    void SetNeedWork(bool value) { needWork_ = value; }

    void Initialize(PassData &Data, int &FrameCount) override
    {
        log.push_back("Initialize");
        if (failInInitialize)
            throw std::runtime_error("initialize failed");
        FrameCount = frames_;
        millisecondsSeen.push_back(Milliseconds());
        if (Data.SrcBmp) {
            sourceCorner.push_back(Data.SrcBmp->pixel(0, 0));
            sourceFarCorner.push_back(Data.SrcBmp->pixel(Data.Width - 1, Data.Height - 1));
        }
        if (Data.Bitmap && Data.SrcBmp)
            CopyRect(*Data.Bitmap, *Data.SrcBmp, QRect(0, 0, Data.Width, Data.Height));
        lastData = Data;
    }
    void DrawFrame(PassData &Data, int CurrentFrame, int Step, int FrameCount, int PrevFrame) override
    {
        TTimedTransitionEffect::DrawFrame(Data, CurrentFrame, Step, FrameCount, PrevFrame);
        calls.push_back({CurrentFrame, Step, FrameCount, PrevFrame});
        if (onDraw)
            onDraw(Data, CurrentFrame);
        if (failAtFrame == CurrentFrame)
            throw std::runtime_error("draw failed");
        const int columns = CurrentFrame * Data.Width / FrameCount;
        if (paintColumns && Data.DstBmp && columns > 0)
            CopyRect(*Data.GetCanvas(), *Data.DstBmp, QRect(0, 0, columns, Data.Height));
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
    int GetBitmapsWidth(int Width) const override { return ((Width - 1) / 32 + 1) * 32; }
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
