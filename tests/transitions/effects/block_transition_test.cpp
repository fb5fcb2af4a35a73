// SPDX-License-Identifier: GPL-3.0-or-later
#include "pixel_helpers.h"

#include "common/random.h"
#include "transitions/core/frames/puzzle_pieces.h"
#include "transitions/core/shapes/mono_paint.h"
#include "transitions/effects/block_transition.h"
#include "transitions/engine/headless_run.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>

namespace lumetta {

using lumetta::BlockCell;
using lumetta::BlockGrid;

namespace {

using Frames = std::map<int, QImage>;

QImage Picture(int w, int h, std::uint32_t seed)
{
    return lumetta::test::NoiseImage(w, h, QImage::Format_RGB32, seed).convertToFormat(QImage::Format_RGB32);
}

// Runs one headless pass with a fixed step and keeps every frame the area showed.
Frames RunPass(TTransitionEffect &effect, const QImage &from, const QImage &to, int step, int *frameCount = nullptr)
{
    Frames frames;
    FrameStepping stepping;
    stepping.step = step;
    stepping.passStarted = [&](int, int n) {
        if (frameCount)
            *frameCount = n;
    };
    stepping.frameShown = [&](int, int frame, const QImage &shown) { frames[frame] = shown.copy(); };
    frames[-1] = RunHeadless(effect, from, to, stepping).final;
    return frames;
}

// The picture that shows `to` exactly where isNew holds.
QImage Expected(const QImage &from, const QImage &to, const std::function<bool(int, int)> &isNew)
{
    QImage out = from.copy();
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x)
            if (isNew(x, y))
                out.setPixel(x, y, to.pixel(x, y));
    return out;
}

std::set<std::pair<int, int>> FirstBlocks(int cols, int rows, int style, int sub, int count)
{
    lumetta::BlockOrder order(cols, rows, style, sub);
    std::set<std::pair<int, int>> cells;
    for (int k = 0; k < count; ++k) {
        const BlockCell c = order.Next();
        cells.insert({c.col, c.row});
    }
    return cells;
}

// Whether pixel (x, y) lies in one of the cells.
bool InCells(const BlockGrid &g, const std::set<std::pair<int, int>> &cells, int x, int y)
{
    for (const auto &[col, row] : cells)
        if (QRectOf(g.BlockRect({col, row})).contains(x, y))
            return true;
    return false;
}

}  // namespace

TEST(BlockTransition, DefaultsAndNames)
{
    TBlockTransition block;
    EXPECT_EQ(block.Cols(), 0);
    EXPECT_EQ(block.Rows(), 0);
    EXPECT_EQ(block.BlockWidth(), 50);
    EXPECT_EQ(block.BlockHeight(), 50);
    EXPECT_FALSE(block.Puzzle());
    EXPECT_EQ(block.Style(), 1);
    EXPECT_EQ(block.SubStyle(), 1);
    EXPECT_FALSE(block.Reversed());
    EXPECT_EQ(block.GetDescription(), "Blocks");
    EXPECT_EQ(block.GetEditorName(), "TBlockTransitionEditor");
    EXPECT_EQ(block.SubStyleCount(2), 8);
    EXPECT_EQ(block.ReversedSubStyle(4, 3), 4);
}

TEST(BlockTransition, ColumnsAndBlockWidthExcludeEachOther)
{
    struct Step
    {
        const char *property;
        int value;
        int cols, blockWidth, rows, blockHeight;
    };
    const std::vector<Step> steps = {
        {"Cols", 30, 30, 0, 0, 50},       {"BlockWidth", 0, 30, 0, 0, 50},  // the value held: nothing changes
        {"BlockWidth", 25, 0, 25, 0, 50}, {"Cols", 0, 0, 25, 0, 50},  // held as well
        {"Cols", -3, 1, 0, 0, 50},  // below 1 is stored as 1
        {"BlockWidth", -2, 0, 1, 0, 50},  {"Rows", -4, 0, 1, 1, 0},        {"BlockHeight", 20, 0, 1, 0, 20},
    };
    TBlockTransition block;
    for (const Step &s : steps) {
        ASSERT_TRUE(block.setProperty(s.property, s.value));
        EXPECT_EQ(block.Cols(), s.cols) << s.property << " " << s.value;
        EXPECT_EQ(block.BlockWidth(), s.blockWidth) << s.property << " " << s.value;
        EXPECT_EQ(block.Rows(), s.rows) << s.property << " " << s.value;
        EXPECT_EQ(block.BlockHeight(), s.blockHeight) << s.property << " " << s.value;
    }
    // A stored description that writes BlockWidth 0 and then Cols 30.
    TBlockTransition stored;
    stored.SetBlockWidth(0);
    stored.SetCols(30);
    EXPECT_EQ(stored.BlockWidth(), 0);
    EXPECT_EQ(stored.Cols(), 30);
}

TEST(BlockTransition, AssignCopiesGridAndStyle)
{
    TBlockTransition source;
    source.SetCols(12);
    source.SetBlockHeight(33);
    source.SetPuzzle(true);
    source.SetStyle(3);
    source.SetSubStyle(4);
    source.SetMilliseconds(900);
    TBlockTransition target;
    target.SetRows(5);
    target.Assign(&source);
    EXPECT_EQ(target.Cols(), 12);
    EXPECT_EQ(target.BlockWidth(), 0);
    EXPECT_EQ(target.Rows(), 0);
    EXPECT_EQ(target.BlockHeight(), 33);
    EXPECT_TRUE(target.Puzzle());
    EXPECT_EQ(target.Style(), 3);
    EXPECT_EQ(target.SubStyle(), 4);
    EXPECT_EQ(target.Milliseconds(), 900);
}

TEST(BlockTransition, RowsOrderFramesShowExactlyTheBlocksUncovered)
{
    const QImage from = Picture(43, 31, 1), to = Picture(43, 31, 2);
    const BlockGrid grid(43, 31, 4, 3, 0, 0, false);
    for (int step : {1, 2, 5}) {
        TBlockTransition block;
        block.SetCols(4);
        block.SetRows(3);
        block.SetStyle(2);
        int n = 0;
        const Frames frames = RunPass(block, from, to, step, &n);
        EXPECT_EQ(n, 12);
        for (const auto &[f, shown] : frames) {
            if (f < 0)
                continue;
            const auto cells = FirstBlocks(4, 3, 2, 1, f);
            EXPECT_EQ(shown, Expected(from, to, [&](int x, int y) { return InCells(grid, cells, x, y); }))
                << "step " << step << " frame " << f;
        }
        EXPECT_EQ(frames.at(-1), to);
    }
}

namespace {

// Keeps the part of the canvas each frame says it changed.
class RegionsOfFrames : public TBlockTransition
{
public:
    std::map<int, QRegion> regions;

protected:
    void DrawFrame(PassData &data, int currentFrame, int step, int frameCount, int prevFrame) override
    {
        TBlockTransition::DrawFrame(data, currentFrame, step, frameCount, prevFrame);
        regions[currentFrame] = frameRegion ? *frameRegion : QRegion(updateRect);
    }
};

}  // namespace

TEST(BlockTransition, AFrameOfSeveralBlocksChangesThoseBlocksNotTheBoxAroundThem)
{
    const QImage from = Picture(43, 31, 1), to = Picture(43, 31, 2);
    const BlockGrid grid(43, 31, 4, 3, 0, 0, false);
    for (int step : {1, 5}) {
        RegionsOfFrames block;
        block.SetCols(4);
        block.SetRows(3);
        block.SetStyle(2);
        RunPass(block, from, to, step);
        lumetta::BlockOrder order(4, 3, 2, 1);
        int shown = 0;
        ASSERT_FALSE(block.regions.empty());
        for (const auto &[f, region] : block.regions) {
            QRegion blocks;
            for (; shown < f; ++shown)
                blocks += QRectOf(grid.BlockRect(order.Next()));
            EXPECT_EQ(region, blocks) << "step " << step << " frame " << f;
        }
    }
}

TEST(BlockTransition, ReversedRowsStartAtTheBottomRight)
{
    const QImage from = Picture(40, 30, 3), to = Picture(40, 30, 4);
    TBlockTransition block;
    block.SetCols(4);
    block.SetRows(3);
    block.SetStyle(2);
    block.SetReversed(true);
    const Frames frames = RunPass(block, from, to, 1);
    EXPECT_EQ(frames.at(1), Expected(from, to, [](int x, int y) { return x >= 30 && y >= 20; }));
}

TEST(BlockTransition, TenByTenSpiral)
{
    const QImage from = Picture(100, 100, 5), to = Picture(100, 100, 6);
    TBlockTransition block;
    block.SetCols(10);
    block.SetRows(10);
    block.SetStyle(4);
    int n = 0;
    const Frames frames = RunPass(block, from, to, 1, &n);
    EXPECT_EQ(n, 100);
    EXPECT_EQ(frames.at(10), Expected(from, to, [](int, int y) { return y < 10; }));
    EXPECT_EQ(frames.at(11), Expected(from, to, [](int x, int y) { return y < 10 || (x >= 90 && y < 20); }));
    // Frame 99 leaves only the last block of the spiral, (5, 6), for the final picture.
    EXPECT_EQ(frames.at(99),
              Expected(from, to, [](int x, int y) { return !(x >= 40 && x < 50 && y >= 50 && y < 60); }));
    EXPECT_EQ(frames.count(100), 0u);
}

TEST(BlockTransition, PuzzleFramesShowThePieces)
{
    const QImage from = Picture(90, 64, 7), to = Picture(90, 64, 8);
    const BlockGrid grid(90, 64, 3, 2, 0, 0, true);
    const lumetta::PuzzlePieces pieces(grid);
    ASSERT_GT(pieces.Knob(), 0);
    for (int step : {1, 2}) {
        TBlockTransition block;
        block.SetCols(3);
        block.SetRows(2);
        block.SetPuzzle(true);
        block.SetStyle(3);
        const Frames frames = RunPass(block, from, to, step);
        for (const auto &[f, shown] : frames) {
            if (f < 0)
                continue;
            lumetta::MonoBitmap mask(90, 64);
            lumetta::BlockOrder order(3, 2, 3, 1);
            for (int k = 0; k < f; ++k)
                pieces.Paint(mask.View(), order.Next());
            EXPECT_EQ(shown, Expected(from, to, [&](int x, int y) { return lumetta::MonoPixel(mask.View(), x, y); }))
                << "step " << step << " frame " << f;
        }
    }
}

TEST(BlockTransition, PixelBlocks)
{
    const QImage from = Picture(9, 5, 9), to = Picture(9, 5, 10);
    TBlockTransition block;
    block.SetCols(50);
    block.SetRows(50);
    block.SetStyle(2);
    block.SetSubStyle(5);  // columns, each top to bottom
    int n = 0;
    const Frames frames = RunPass(block, from, to, 4, &n);
    EXPECT_EQ(n, 45);
    for (const auto &[f, shown] : frames) {
        if (f > 0) {
            EXPECT_EQ(shown, Expected(from, to, [&, f = f](int x, int y) { return x * 5 + y < f; })) << f;
        }
    }
}

TEST(BlockTransition, RandomOrderUncoversOneBlockPerFrameFromTheClockSeed)
{
    const QImage from = Picture(60, 40, 11), to = Picture(60, 40, 12);
    lumetta::SetClockSeedSource([] { return 4242u; });
    Frames first, second;
    for (Frames *frames : {&first, &second}) {
        TBlockTransition block;
        block.SetCols(6);
        block.SetRows(4);
        *frames = RunPass(block, from, to, 1);
    }
    lumetta::SetClockSeedSource({});
    EXPECT_EQ(first, second);
    const BlockGrid grid(60, 40, 6, 4, 0, 0, false);
    QImage previous = from;
    for (int f = 1; f < 24; ++f) {
        const QImage &shown = first.at(f);
        int changed = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 60; ++x)
                if (shown.pixel(x, y) != previous.pixel(x, y)) {
                    ASSERT_EQ(shown.pixel(x, y), to.pixel(x, y));
                    ++changed;
                }
        EXPECT_EQ(changed, 100) << f;  // one 10 x 10 block
        previous = shown;
    }
}

// A pass whose steps change between one block (drawn straight onto the canvas) and several
// (composed through the mask and copied as one rectangle) must never bring old blocks back.
namespace {
class TScriptedBlock : public TBlockTransition
{
public:
    std::vector<int> script;
    std::vector<QImage> shown;
    void ExecuteTimed(int frameCount, PassData &data) override
    {
        int prev = 0;
        for (int frame : script) {
            if (frame >= frameCount)
                break;
            DrawFrame(data, frame, frame - prev, frameCount, prev);
            Flush();
            shown.push_back(data.canvas->copy());
            prev = frame;
        }
        ShowFinalPicture(data);
    }
};
}  // namespace

TEST(BlockTransition, SingleBlockFramesSurviveLaterComposedFrames)
{
    const QImage from = Picture(40, 40, 13), to = Picture(40, 40, 14);
    TScriptedBlock block;
    block.SetCols(4);
    block.SetRows(4);
    block.SetStyle(2);
    block.SetSubStyle(5);  // columns: later frames span the rows of earlier ones
    block.SetMilliseconds(1000);
    block.script = {1, 2, 3, 4, 5, 9, 10, 14};
    QImage canvas;
    block.ExecuteOnImages(from, to, canvas);
    ASSERT_EQ(block.shown.size(), block.script.size());
    for (std::size_t i = 0; i < block.script.size(); ++i) {
        const int f = block.script[i];
        EXPECT_EQ(block.shown[i], Expected(from, to, [&](int x, int y) { return (x / 10) * 4 + y / 10 < f; })) << f;
    }
    EXPECT_EQ(canvas, to);
}

TEST(BlockTransition, RandomStyleAndSubStyleStillUncoverEveryBlockOnce)
{
    const QImage from = Picture(50, 40, 17), to = Picture(50, 40, 18);
    for (std::uint32_t seed : {1u, 2u, 3u, 4u, 5u, 6u}) {
        lumetta::SetClockSeedSource([seed] { return seed * 7919u; });
        TBlockTransition block;
        block.SetCols(5);
        block.SetRows(4);
        block.SetStyle(0);
        EXPECT_EQ(block.SubStyle(), 0);
        const Frames frames = RunPass(block, from, to, 1);
        QImage previous = from;
        for (int f = 1; f < 20; ++f) {
            const QImage &shown = frames.at(f);
            int changed = 0;
            for (int y = 0; y < 40; ++y)
                for (int x = 0; x < 50; ++x)
                    changed += shown.pixel(x, y) != previous.pixel(x, y);
            ASSERT_EQ(changed, 100) << "seed " << seed << " frame " << f;
            previous = shown;
        }
    }
    lumetta::SetClockSeedSource({});
}

}  // namespace lumetta
