// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transitions/core/frames/circle_shape.h"
#include "transitions/effects/masked_transition.h"

#include <optional>

namespace lumetta {

// Uncovers the new picture through a disc growing from a point, or covers the old one from
// outside with a disc shrinking toward it: the centre (style 1), a corner (2) or the middle of an
// edge (3). The radius changes by one pixel per frame; only the ring between two frames is copied.
class TCircleTransition : public TMaskedTransition
{
    Q_OBJECT
    Q_PROPERTY(int Style READ Style WRITE SetStyle)
    Q_PROPERTY(int SubStyle READ SubStyle WRITE SetSubStyle)
    Q_PROPERTY(bool Reversed READ Reversed WRITE SetReversed)

public:
    explicit TCircleTransition(QObject *owner = nullptr);

    QString GetDescription() const override;
    int ReversedSubStyle(int style, int subStyle) const override;
    bool UsesDeltaMask() const override;
    int SubStyleCount(int style) const override;
    bool DrawsRuns() const override;

protected:
    void Initialize(PassData &data, int &frameCount) override;
    void DrawMask(const PixelView &mask, int currentFrame, int step, int frameCount, int prevFrame, PassData &data,
                  bool &whiteIsNew) override;
    void DrawRuns(NewPixelRuns &runs, int currentFrame, int step, int frameCount, int prevFrame,
                  PassData &data) override;

private:
    lumetta::CircleShape shape_;
};

}  // namespace lumetta
