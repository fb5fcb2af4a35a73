// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Shape effects drawn through a 1-bit mask.
//
// A shape effect derives from TMaskedTransition and implements:
//   Initialize(Data, FrameCount)  call TMaskedTransition::Initialize first (it seeds the shared
//                                 generator from the clock, creates Mask and, when
//                                 UsesDeltaMask(), PrevMask), then set FrameCount; read the style
//                                 only through GetStyleToUse() / GetSubStyleToUse()
//   DrawMask(Mask, CurrentFrame, Step, FrameCount, PrevFrame, Data, WhiteIsNew)
//                                 paint the frame's shape white on Mask (mono_paint.h,
//                                 mask_paint.h), set UpdateRect (canvas coordinates; it starts
//                                 as the whole area) and optionally UnchangedRect, and set
//                                 WhiteIsNew (it starts False: white then marks where the old
//                                 picture still shows and the mask is inverted)
//   Finalize(Data)                free the effect's own run state, then call
//                                 TMaskedTransition::Finalize
// and may override ReversedSubStyle, UsesDeltaMask, ClearsMaskEachFrame and SubStyleCount.
// DrawFrame then copies the new picture wherever the mask is set, over the rows of UpdateRect.
// An effect whose frames only ever turn pixels to the new picture (white is new, and a pixel
// once new stays new) may also override DrawsRuns and DrawRuns: DrawRuns reports exactly the
// pixels the frame's mask would select, as runs of rows (shape_runs.h), which go straight from
// the new picture into the work bitmap and the canvas, so a frame costs what it changes. The mask
// path stays the reference, taken when the pictures cannot take raw runs and while
// ReferenceKernels() is set; DrawRuns sets UpdateRect and UnchangedRect as DrawMask does.
// With Offscreen False (set by an override of DrawFrame before calling this one) DrawMask runs
// but nothing is combined: the effect draws onto Data.Canvas itself.
// Masks, snapshots and work bitmaps are MaskedBitmapWidth(Width) wide (a multiple of 32), so one
// 32-bit mask word covers 32 pixels of one row; Data.Width is the visible width.
// Publish Style, SubStyle and Reversed in the concrete class:
//     Q_PROPERTY(int Style READ Style WRITE SetStyle)
//     Q_PROPERTY(int SubStyle READ SubStyle WRITE SetSubStyle)
//     Q_PROPERTY(bool Reversed READ Reversed WRITE SetReversed)
// and set StyleCount in the constructor.

#include "transitions/core/frames/masked_frames.h"
#include "transitions/engine/new_pixel_runs.h"
#include "transitions/engine/timed_transition_effect.h"

#include <optional>

namespace lumetta {

class TMaskedTransition : public TTimedTransitionEffect
{
    Q_OBJECT

public:
    explicit TMaskedTransition(QObject *owner = nullptr);
    ~TMaskedTransition() override;

    // From another masked effect: the base settings, then Style and SubStyle.
    void Assign(const QObject *source) override;

    int GetBitmapsWidth(int width) const override;
    bool AllowSrcRendering() const override;
    bool NeedWorkBitmap() const override;
    bool WorkOnSrcBitmap() const override;
    QString GetEditorName() const override;

    void DrawFrame(PassData &data, int currentFrame, int step, int frameCount, int prevFrame) override;
    void Finalize(PassData &data) override;
    void Initialize(PassData &data, int &frameCount) override;

    // Virtual operations, in slot order after the timed effect's.
    // The sub-style that plays SubStyle backwards; the base returns SubStyle.
    virtual int ReversedSubStyle(int style, int subStyle) const;
    virtual void DrawMask(const PixelView &mask, int currentFrame, int step, int frameCount, int prevFrame,
                          PassData &data, bool &whiteIsNew) = 0;
    // True: only pixels not set in an earlier frame are combined (PrevMask keeps them).
    virtual bool UsesDeltaMask() const;
    // True: the mask is cleared after each frame.
    virtual bool ClearsMaskEachFrame() const;
    // Sub-styles of Style; the base: 1, and 0 for the random style 0.
    virtual int SubStyleCount(int style) const;
    // True when DrawRuns can stand in for DrawMask; the base: false.
    virtual bool DrawsRuns() const;
    // Reports the pixels the frame turns to the new picture, and the frame's rectangles.
    virtual void DrawRuns(NewPixelRuns &runs, int currentFrame, int step, int frameCount, int prevFrame,
                          PassData &data);

    int Style() const { return style_; }
    // A new style resets the sub-style: to 1, or to 0 (random) for the random style 0. Style and
    // SubStyle are words: values are clamped to StyleRange.
    void SetStyle(int value);
    int SubStyle() const { return subStyle_; }
    void SetSubStyle(int value);
    static constexpr ValueRange kStyleRange{0, 65535};
    std::optional<ValueRange> PropertyRange(const QString &property) const override;
    int StyleCount() const { return styleCount_; }

    // Style, or the style drawn at random (1..StyleCount) for this run when Style is 0.
    int GetStyleToUse();
    // SubStyle, or one drawn at random for this run when 0; reversed when GetReversedToUse().
    int GetSubStyleToUse();

    // The current frame's mask and the accumulated mask, during a pass only.
    MonoBitmap *Mask() { return masked_.Mask(); }
    MonoBitmap *PrevMask() { return masked_.PrevMask(); }

protected:
    int styleCount_ = 1;

private:
    void Combine(PassData &data);

    int style_ = 1;
    int subStyle_ = 1;
    int randomStyle_ = 0;
    int randomSubStyle_ = 0;
    lumetta::MaskedFrames masked_;
    // Set for a pass drawn through DrawRuns.
    std::optional<NewPixelRuns> runs_;
};

}  // namespace lumetta
