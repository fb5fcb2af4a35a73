// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transitions/core/frames/block_shape.h"
#include "transitions/effects/masked_transition.h"

#include <vector>

namespace lumetta {

// Cuts the picture into a grid and uncovers the new picture one block per frame: in random
// order (style 1), by rows or columns (2), in serpentines (3) or in spirals (4). With Puzzle the
// blocks are jigsaw pieces. Cols and BlockWidth exclude each other, as do Rows and BlockHeight:
// writing one clears the other.
class TBlockTransition : public TMaskedTransition
{
    Q_OBJECT
    Q_PROPERTY(int Cols READ Cols WRITE SetCols)
    Q_PROPERTY(int Rows READ Rows WRITE SetRows)
    Q_PROPERTY(int BlockWidth READ BlockWidth WRITE SetBlockWidth)
    Q_PROPERTY(int BlockHeight READ BlockHeight WRITE SetBlockHeight)
    Q_PROPERTY(bool Puzzle READ Puzzle WRITE SetPuzzle)
    Q_PROPERTY(int Style READ Style WRITE SetStyle)
    Q_PROPERTY(int SubStyle READ SubStyle WRITE SetSubStyle)
    Q_PROPERTY(bool Reversed READ Reversed WRITE SetReversed)

public:
    explicit TBlockTransition(QObject *owner = nullptr);
    ~TBlockTransition() override;

    int Cols() const { return cols_; }
    // A new value (clamped to 1..GridRange's maximum) is stored and BlockWidth becomes 0.
    void SetCols(int value);
    int Rows() const { return rows_; }
    void SetRows(int value);
    int BlockWidth() const { return blockWidth_; }
    // A new value (clamped to 1..GridRange's maximum) is stored and Cols becomes 0.
    void SetBlockWidth(int value);
    int BlockHeight() const { return blockHeight_; }
    void SetBlockHeight(int value);
    bool Puzzle() const { return puzzle_; }
    void SetPuzzle(bool value) { puzzle_ = value; }
    // Cols and Rows, and block sides in pixels; 0 stands for "from the other one" and is read
    // back after writing the other. The grid never has more blocks than the picture has pixels.
    static constexpr ValueRange kGridRange{0, 16384};
    std::optional<ValueRange> PropertyRange(const QString &property) const override;

    void Assign(const QObject *source) override;
    QString GetDescription() const override;
    QString GetEditorName() const override;
    int SubStyleCount(int style) const override;
    int ReversedSubStyle(int style, int subStyle) const override;

protected:
    void Initialize(PassData &data, int &frameCount) override;
    void DrawFrame(PassData &data, int currentFrame, int step, int frameCount, int prevFrame) override;
    void DrawMask(const PixelView &mask, int currentFrame, int step, int frameCount, int prevFrame, PassData &data,
                  bool &whiteIsNew) override;
    void Finalize(PassData &data) override;

private:
    // Frames of more blocks than this are shown by the box around them: a region of many
    // rectangles costs more to build than it saves.
    static constexpr int kMaxRegionBlocks = 64;

    void DrawDirect(PassData &data);

    int cols_ = 0;
    int rows_ = 0;
    int blockWidth_ = 50;
    int blockHeight_ = 50;
    bool puzzle_ = false;

    lumetta::BlockShape shape_;
    // The rectangles of a frame's blocks, kept from frame to frame.
    std::vector<lumetta::HalfOpenRect> blocks_;
};

}  // namespace lumetta
