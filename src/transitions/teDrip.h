#pragma once

#include "transitions/teRows.h"
#include "transitions/teTimed.h"

// Replaces the old picture at once by streaks: the new picture settles line by line from one
// edge, and the line at the settling edge is smeared over the rest of the area.
class TDripTransition : public TTimedTransitionEffect
{
    Q_OBJECT
    Q_PROPERTY(TTransitionEffect::TTEEffectDirection Direction READ Direction WRITE SetDirection)
    Q_PROPERTY(bool Reversed READ Reversed WRITE SetReversed)

public:
    explicit TDripTransition(QObject *Owner = nullptr);

    QString GetDescription() const override;
    bool NeedSrcImage() const override;
    // Only the vertical directions copy rows into a work bitmap.
    bool NeedWorkBitmap() const override;
    bool FirstPassAnimated() const override;

protected:
    void Initialize(TTETransitionData &Data, int &FrameCount) override;
    void DrawFrame(TTETransitionData &Data, int CurrentFrame, int Step, int FrameCount,
                   int PrevFrame) override;

private:
    TTEEffectDirection m_dir = tedLeft;
    lumetta::TERect m_strip;
    lumetta::TERect m_remaining;
};
