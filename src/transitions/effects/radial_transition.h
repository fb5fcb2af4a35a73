// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transitions/core/frames/radial_shape.h"
#include "transitions/effects/masked_transition.h"

namespace lumetta {

// Sweeps like clock hands about the centre (styles 1-3), the middle of an edge (4-5) or a
// corner (6-7) with one, two or four hands; each frame paints the wedges the hands passed
// since the previous frame, and the mask is cleared after every frame.
class TRadialTransition : public TMaskedTransition
{
    Q_OBJECT
    Q_PROPERTY(int Style READ Style WRITE SetStyle)
    Q_PROPERTY(int SubStyle READ SubStyle WRITE SetSubStyle)
    Q_PROPERTY(bool Reversed READ Reversed WRITE SetReversed)

public:
    explicit TRadialTransition(QObject *owner = nullptr);

    QString GetDescription() const override;
    void Initialize(PassData &data, int &frameCount) override;
    int ReversedSubStyle(int style, int subStyle) const override;
    void DrawMask(const PixelView &mask, int currentFrame, int step, int frameCount, int prevFrame, PassData &data,
                  bool &whiteIsNew) override;
    bool ClearsMaskEachFrame() const override;
    int SubStyleCount(int style) const override;
    bool DrawsRuns() const override;
    void DrawRuns(NewPixelRuns &runs, int currentFrame, int step, int frameCount, int prevFrame,
                  PassData &data) override;

private:
    lumetta::RadialShape shape_;
};

}  // namespace lumetta
