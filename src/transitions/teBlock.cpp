#include "transitions/teBlock.h"

#include "common/random.h"
#include "transitions/teMaskPaint.h"
#include "transitions/teMonoPaint.h"

#include <algorithm>

using namespace lumetta;

TBlockTransition::TBlockTransition(QObject *Owner)
    : TMaskedTransition(Owner)
{
    m_styleCount = 4;
}

TBlockTransition::~TBlockTransition() = default;

void TBlockTransition::SetCols(int value)
{
    if (value == m_cols)
        return;
    m_cols = std::max(value, 1);
    m_blockWidth = 0;
}

void TBlockTransition::SetRows(int value)
{
    if (value == m_rows)
        return;
    m_rows = std::max(value, 1);
    m_blockHeight = 0;
}

void TBlockTransition::SetBlockWidth(int value)
{
    if (value == m_blockWidth)
        return;
    m_blockWidth = std::max(value, 1);
    m_cols = 0;
}

void TBlockTransition::SetBlockHeight(int value)
{
    if (value == m_blockHeight)
        return;
    m_blockHeight = std::max(value, 1);
    m_rows = 0;
}

void TBlockTransition::Assign(const QObject *Source)
{
    TMaskedTransition::Assign(Source);
    const auto *source = qobject_cast<const TBlockTransition *>(Source);
    if (!source)
        return;
    SetPuzzle(source->Puzzle());
    if (source->Rows() != 0)
        SetRows(source->Rows());
    else
        SetBlockHeight(source->BlockHeight());
    if (source->Cols() != 0)
        SetCols(source->Cols());
    else
        SetBlockWidth(source->BlockWidth());
}

QString TBlockTransition::GetDescription() const { return QStringLiteral("Blocks"); }

QString TBlockTransition::GetEditorName() const { return QStringLiteral("TBlockTransitionEditor"); }

int TBlockTransition::SubStyleCount(int Style) const { return BlockSubStyleCount(Style); }

int TBlockTransition::ReversedSubStyle(int Style, int SubStyle) const { return BlockReversedSubStyle(Style, SubStyle); }

void TBlockTransition::Initialize(TTETransitionData &Data, int &FrameCount)
{
    TMaskedTransition::Initialize(Data, FrameCount);
    m_grid.emplace(Data.Width, Data.Height, m_cols, m_rows, m_blockWidth, m_blockHeight, m_puzzle);
    const int style = GetStyleToUse();
    const int subStyle = GetSubStyleToUse();
    // Styles outside 2..4 play the random order, which draws from a freshly seeded generator.
    if (style < 2 || style > 4)
        Randomize();
    m_order.emplace(m_grid->Cols(), m_grid->Rows(), style, subStyle);
    if (m_puzzle && !m_grid->PixelBlocks() && m_grid->FrameCount() > 0)
        m_pieces = std::make_unique<PuzzlePieces>(*m_grid);
    FrameCount = m_grid->FrameCount();
}

void TBlockTransition::DrawFrame(TTETransitionData &Data, int CurrentFrame, int Step, int FrameCount, int PrevFrame)
{
    // A single plain block goes straight onto the canvas; anything more is composed through the mask.
    Offscreen = m_puzzle || Step > 1;
    TMaskedTransition::DrawFrame(Data, CurrentFrame, Step, FrameCount, PrevFrame);
    if (Offscreen && Mask())
        ClearMask(*Mask());
}

void TBlockTransition::DrawMask(QImage &Mask, int, int Step, int, int, TTETransitionData &Data, bool &WhiteIsNew)
{
    WhiteIsNew = true;
    if (!Offscreen) {
        drawDirect(Data);
        return;
    }
    QRect area;
    for (int i = 0; i < Step; ++i) {
        const BlockCell cell = m_order->Next();
        if (m_grid->PixelBlocks()) {
            SetMonoPixel(Mask, cell.col - 1, cell.row - 1, true);
            area |= QRect(cell.col - 1, cell.row - 1, 1, 1);
        } else if (m_pieces) {
            area |= m_grid->PieceRect(cell, m_pieces->Knob());
            m_pieces->Paint(Mask, cell);
        } else {
            const QRect r = m_grid->BlockRect(cell);
            area |= r;
            FillMonoRect(Mask, r.left(), r.top(), r.left() + r.width(), r.top() + r.height(), true);
        }
    }
    UpdateRect = area;
}

// The block goes onto the canvas and into the work bitmap alike: later composed frames copy
// whole update rectangles from the work bitmap, which must not bring the old picture back.
void TBlockTransition::drawDirect(TTETransitionData &Data)
{
    const BlockCell cell = m_order->Next();
    const QRect r = m_grid->PixelBlocks() ? QRect(cell.col - 1, cell.row - 1, 1, 1) : m_grid->BlockRect(cell);
    CopyRect(*Data.Canvas, *Data.DstBmp, r);
    if (Data.Bitmap && Data.Bitmap != Data.Canvas)
        CopyRect(*Data.Bitmap, *Data.DstBmp, r);
    UpdateRect = r;
}

void TBlockTransition::Finalize(TTETransitionData &Data)
{
    m_pieces.reset();
    m_order.reset();
    m_grid.reset();
    TMaskedTransition::Finalize(Data);
}
