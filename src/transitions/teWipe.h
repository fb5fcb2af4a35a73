#pragma once

#include "transitions/teRows.h"
#include "transitions/teTimed.h"
#include "transitions/teWipeWk.h"

// Uncovers the new picture by an edge sweeping across it (optionally carrying a soft band where
// old and new pixels mix), by a rectangle growing from a corner, or by a frame closing in on the
// centre or opening out from it.
class TWipeTransition : public TTimedTransitionEffect
{
    Q_OBJECT
    Q_PROPERTY(int BandWidth READ BandWidth WRITE SetBandWidth)
    Q_PROPERTY(TTransitionEffect::TTEEffectDirection Direction READ Direction WRITE SetDirection)
    Q_PROPERTY(bool Reversed READ Reversed WRITE SetReversed)

public:
    explicit TWipeTransition(QObject *Owner = nullptr);

    // The stored width while the direction in use is right, left, down or up; 0 otherwise.
    int BandWidth() const;
    // Negative widths are stored as 0 (a hard edge).
    void SetBandWidth(int value);

    // Copies the inherited settings, and BandWidth as read when Source is a wipe.
    void Assign(const QObject *Source) override;

    QString GetDescription() const override;
    QString GetEditorName() const override;
    bool NeedSrcImage() const override;
    bool AllowSrcRendering() const override;
    bool NeedWorkBitmap() const override;

    // The band mask kept between runs (null before the first run with a band).
    const QImage &BandMask() const { return m_mask.Bits(); }

protected:
    void Initialize(TTETransitionData &Data, int &FrameCount) override;
    void DrawFrame(TTETransitionData &Data, int CurrentFrame, int Step, int FrameCount,
                   int PrevFrame) override;

private:
    void DrawStraight(TTETransitionData &Data, int Step);
    void DrawCorner(TTETransitionData &Data, int CurrentFrame);
    void DrawInOut(TTETransitionData &Data, int CurrentFrame);
    // Where frames are drawn: the canvas itself when the band is composed there, else the work
    // bitmap or (without one) the canvas.
    QImage &Target(TTETransitionData &Data) const;
    // Copies r of the new picture onto the frame's canvas and adds it to the update rectangle.
    void CopyNew(TTETransitionData &Data, const lumetta::TERect &r);
    // Marks r, clipped to the picture, as the part of the update rectangle this frame leaves alone.
    void SetUnchanged(TTETransitionData &Data, const lumetta::TERect &r);
    // Adds r, clipped to the picture, to the frame's update rectangle.
    void AddUpdate(TTETransitionData &Data, const lumetta::TERect &r);

    int m_bandWidth = 50;
    lumetta::TEBandMask m_mask;

    // Run state.
    TTEEffectDirection m_dir = tedRight;
    int m_bw = 0;
    int m_frames = 0;
    lumetta::TERect m_uncovered;
    lumetta::TERect m_band;
    int m_maskX = 0;
    int m_maskY = 0;
    bool m_onCanvas = false;
};
