// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transitions/core/kernels/blend_kernels.h"
#include "transitions/engine/timed_transition_effect.h"

#include <array>
#include <cstdint>

namespace lumetta {

// Dissolve through an 8 x 8 pattern tiled over the picture; the style decides the order in which
// the cells turn on (single cells, rows, columns, squares or diagonals).
class TFuseTransition : public TTimedTransitionEffect
{
    Q_OBJECT
    Q_PROPERTY(int Style READ Style WRITE SetStyle)
    Q_PROPERTY(bool Reversed READ Reversed WRITE SetReversed)

public:
    explicit TFuseTransition(QObject *owner = nullptr);

    // Copies the inherited settings and, from another fuse, Style.
    void Assign(const QObject *source) override;

    QString GetDescription() const override;
    QString GetEditorName() const override;
    bool AllowSrcRendering() const override;
    bool NeedWorkBitmap() const override;
    bool WorkOnSrcBitmap() const override;
    void Initialize(PassData &data, int &frameCount) override;
    void DrawFrame(PassData &data, int currentFrame, int step, int frameCount, int prevFrame) override;
    void Finalize(PassData &data) override;

    // 0 draws a style at random for each run. A word: values are clamped to StyleRange.
    int Style() const { return style_; }
    void SetStyle(int value) { style_ = kStyleRange.Clamp(value); }
    static constexpr ValueRange kStyleRange{0, 65535};
    std::optional<ValueRange> PropertyRange(const QString &property) const override;

    static constexpr int kStyleCount = 13;
    // Frames of a style: 64 for 1, 8 and 9; 8 for the other styles up to 13; 0 for anything else.
    static int FrameCountOf(int style);
    // The style running the other way: 2<->3, 4<->5, ..., 12<->13; others unchanged.
    static int ReversedStyle(int style);
    // Turns on the cells that step K (1..FrameCount) of Style adds.
    static void TurnOnCells(lumetta::TilePattern &pattern, int style, int k, int frameCount);

    // Order number (1..64) of cell (x, y) in the spiral: kSpiral[y][x].
    static const std::array<std::array<std::uint8_t, 8>, 8> kSpiral;

private:
    int StyleInUse();

    int style_ = 1;
    // The style drawn for Style 0, kept from the first pass to the second; 0 when none is drawn.
    int randomStyle_ = 0;
    int styleInUse_ = 0;
    lumetta::TilePattern pattern_;
};

}  // namespace lumetta
