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
    explicit TFuseTransition(QObject *Owner = nullptr);

    // Copies the inherited settings and, from another fuse, Style.
    void Assign(const QObject *Source) override;

    QString GetDescription() const override;
    QString GetEditorName() const override;
    bool AllowSrcRendering() const override;
    bool NeedWorkBitmap() const override;
    bool WorkOnSrcBitmap() const override;
    void Initialize(PassData &Data, int &FrameCount) override;
    void DrawFrame(PassData &Data, int CurrentFrame, int Step, int FrameCount, int PrevFrame) override;
    void Finalize(PassData &Data) override;

    // 0 draws a style at random for each run. A word: values are clamped to StyleRange.
    int Style() const { return style_; }
    void SetStyle(int value) { style_ = StyleRange.Clamp(value); }
    static constexpr ValueRange StyleRange{0, 65535};
    std::optional<ValueRange> PropertyRange(const QString &Property) const override;

    static constexpr int StyleCount = 13;
    // Frames of a style: 64 for 1, 8 and 9; 8 for the other styles up to 13; 0 for anything else.
    static int FrameCountOf(int Style);
    // The style running the other way: 2<->3, 4<->5, ..., 12<->13; others unchanged.
    static int ReversedStyle(int Style);
    // Turns on the cells that step K (1..FrameCount) of Style adds.
    static void TurnOnCells(lumetta::TilePattern &Pattern, int Style, int K, int FrameCount);

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
