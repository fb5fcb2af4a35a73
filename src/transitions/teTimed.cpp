#include "transitions/teTimed.h"

#include "common/arith.h"

#include <algorithm>

TTimedTransitionEffect::TTimedTransitionEffect(QObject *Owner) : TTransitionEffect(Owner) {}

void TTimedTransitionEffect::DrawFrame(TTETransitionData &, int, int, int, int) { CheckAbort(); }

void TTimedTransitionEffect::Finalize(TTETransitionData &) {}

void TTimedTransitionEffect::RunTransition(TTETransitionData &Data)
{
    int frameCount = 0;
    Initialize(Data, frameCount);
    // The work bitmap reference goes last, after Finalize, whatever happens.
    struct ClearWork
    {
        TTimedTransitionEffect *effect;
        ~ClearWork() { effect->WorkBitmap = nullptr; }
    } clearWork{this};
    try {
        if (Data.Stepping && Data.Stepping->PassStarted)
            Data.Stepping->PassStarted(InSecondPass() ? 2 : 1, frameCount);
        if (frameCount <= 0)
            throw EAbort();
        WorkBitmap = Data.Bitmap;
        if (Data.Stepping) {
            RunStepped(frameCount, Data);
        } else if (Milliseconds() > 0) {
            ExecuteTimed(frameCount, Data);
        } else {
            for (int i = 1; i < frameCount; ++i) {
                DrawFrame(Data, i, 1, frameCount, i - 1);
                if (Aborted)
                    break;
                Flush();
            }
            ShowFinalPicture(Data);
        }
    } catch (...) {
        Finalize(Data);
        throw;
    }
    Finalize(Data);
}

void TTimedTransitionEffect::RunStepped(int FrameCount, TTETransitionData &Data)
{
    const int step = std::max(1, Data.Stepping->Step);
    for (int frame = step; frame < FrameCount; frame += step) {
        DrawFrame(Data, frame, step, FrameCount, frame - step);
        if (Aborted)
            break;
        Flush();
        if (Data.Stepping->FrameShown && Data.Canvas)
            Data.Stepping->FrameShown(InSecondPass() ? 2 : 1, frame, *Data.Canvas);
    }
    ShowFinalPicture(Data);
}

void TTimedTransitionEffect::ExecuteTimed(int FrameCount, TTETransitionData &Data)
{
    m_targetStep = float(Milliseconds()) / float(FrameCount);
    m_stepF = std::min(1.0f, float(FrameCount));
    m_lastFlush = 0;
    m_lastEnd = 0;

    TTEChrono passChrono;
    struct Scope
    {
        TTimedTransitionEffect *effect;
        ~Scope()
        {
            effect->m_passChrono = nullptr;
            effect->WorkBitmap = nullptr;
        }
    } scope{this};
    m_passChrono = &passChrono;
    passChrono.Start();

    int current = lumetta::RoundEven(m_stepF);
    int prev = 0;
    while (FrameCount > current) {
        DrawFrame(Data, current, current - prev, FrameCount, prev);
        if (Aborted)
            break;
        prev = current;
        Pace(current, FrameCount);
        current = lumetta::RoundEven(float(current) + m_stepF);
    }
    ShowFinalPicture(Data);
    passChrono.Pause();
}

void TTimedTransitionEffect::Pace(int Current, int FrameCount)
{
    auto T = [this] { return float(m_passChrono->Elapsed()); };

    const float prevFlush = m_lastFlush;
    const float t0 = T();
    Flush();
    m_lastFlush = T() - t0;

    const float t1 = T();
    const float wait = (m_targetStep - prevFlush) - (t1 - m_lastEnd);
    if (wait > 0) {
        // A busy wait on the counter: no sleep and no event processing, to meet frame times.
        m_waitChrono.Start();
        while (float(m_waitChrono.Elapsed()) < wait) {
        }
        m_waitChrono.Reset();
    }
    const float waited = T() - t1;
    const float prevEnd = m_lastEnd;
    m_lastEnd = T();

    const float now = T();
    const float work = now - prevEnd - waited;
    const float remainingFrames = float(FrameCount - Current);
    const float remainingTime = float(Milliseconds()) - now;
    if (remainingTime > 0)
        m_stepF = std::min(std::max(remainingFrames / (remainingTime / work), 1.0f), remainingFrames);
    else
        m_stepF = remainingFrames;
    m_targetStep = remainingTime / (remainingFrames / m_stepF);
}
