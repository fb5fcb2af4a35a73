#pragma once

#include "transitions/teBlockGrid.h"
#include "transitions/teMasked.h"
#include "transitions/tePuzzle.h"

#include <memory>
#include <optional>

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
    explicit TBlockTransition(QObject *Owner = nullptr);
    ~TBlockTransition() override;

    int Cols() const { return m_cols; }
    // A new value (at least 1) is stored and BlockWidth becomes 0.
    void SetCols(int value);
    int Rows() const { return m_rows; }
    void SetRows(int value);
    int BlockWidth() const { return m_blockWidth; }
    // A new value (at least 1) is stored and Cols becomes 0.
    void SetBlockWidth(int value);
    int BlockHeight() const { return m_blockHeight; }
    void SetBlockHeight(int value);
    bool Puzzle() const { return m_puzzle; }
    void SetPuzzle(bool value) { m_puzzle = value; }

    void Assign(const QObject *Source) override;
    QString GetDescription() const override;
    QString GetEditorName() const override;
    int SubStyleCount(int Style) const override;
    int ReversedSubStyle(int Style, int SubStyle) const override;

protected:
    void Initialize(TTETransitionData &Data, int &FrameCount) override;
    void DrawFrame(TTETransitionData &Data, int CurrentFrame, int Step, int FrameCount, int PrevFrame) override;
    void DrawMask(QImage &Mask, int CurrentFrame, int Step, int FrameCount, int PrevFrame,
                  TTETransitionData &Data, bool &WhiteIsNew) override;
    void Finalize(TTETransitionData &Data) override;

private:
    void drawDirect(TTETransitionData &Data);

    int m_cols = 0;
    int m_rows = 0;
    int m_blockWidth = 50;
    int m_blockHeight = 50;
    bool m_puzzle = false;

    std::optional<lumetta::BlockGrid> m_grid;
    std::optional<lumetta::BlockOrder> m_order;
    std::unique_ptr<lumetta::PuzzlePieces> m_pieces;
};
