// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transitions/core/frames/wipe_frames.h"
#include "transitions/engine/timed_transition_effect.h"

namespace lumetta {

// Uncovers the new picture by an edge sweeping across it (optionally carrying a soft band where
// old and new pixels mix), by a rectangle growing from a corner, or by a frame closing in on the
// centre or opening out from it.
class TWipeTransition : public TTimedTransitionEffect
{
    Q_OBJECT
    Q_PROPERTY(int BandWidth READ BandWidth WRITE SetBandWidth)
    Q_PROPERTY(lumetta::TTransitionEffect::EffectDirection Direction READ Direction WRITE SetDirection)
    Q_PROPERTY(bool Reversed READ Reversed WRITE SetReversed)

public:
    explicit TWipeTransition(QObject *owner = nullptr);

    // The stored width while the direction in use is right, left, down or up; 0 otherwise.
    int BandWidth() const;
    // Clamped to BandWidthRange: negative widths are stored as 0 (a hard edge).
    void SetBandWidth(int value);
    // Wider than any picture side the engine takes.
    static constexpr ValueRange kBandWidthRange{0, 16384};
    std::optional<ValueRange> PropertyRange(const QString &property) const override;

    // Copies the inherited settings, and BandWidth as read when Source is a wipe.
    void Assign(const QObject *source) override;

    QString GetDescription() const override;
    QString GetEditorName() const override;
    bool NeedSrcImage() const override;
    bool AllowSrcRendering() const override;
    bool NeedWorkBitmap() const override;

    // The band mask kept between runs (null before the first run with a band).
    const MonoBitmap &BandMask() const { return frames_.Band().Bits(); }

protected:
    void Initialize(PassData &data, int &frameCount) override;
    void DrawFrame(PassData &data, int currentFrame, int step, int frameCount, int prevFrame) override;

private:
    // Where frames are drawn: the canvas itself when the band is composed there, else the work
    // bitmap or (without one) the canvas.
    QImage &Target(PassData &data) const;

    int bandWidth_ = 50;
    lumetta::WipeFrames frames_;
    bool onCanvas_ = false;
};

}  // namespace lumetta
