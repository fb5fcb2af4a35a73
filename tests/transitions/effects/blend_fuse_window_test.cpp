// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/effects/blend_transition.h"
#include "transitions/effects/fuse_transition.h"

#include "effect_run.h"
#include "panel_window.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <map>

using namespace lumetta;

using namespace lumetta::test;

namespace {

// Keeps a copy of the picture every frame is drawn on (the canvas itself when the effect draws there).
template <class Effect>
class Probe : public Effect
{
public:
    std::map<int, QImage> frames;
    void DrawFrame(PassData &data, int currentFrame, int step, int frameCount, int prevFrame) override
    {
        Effect::DrawFrame(data, currentFrame, step, frameCount, prevFrame);
        frames[currentFrame] = (this->offscreen ? data.GetCanvas() : data.canvas)->copy();
    }
};

class BlendFuseWindowTest : public PanelWindowTest<ColorPanel>
{
protected:
    BlendFuseWindowTest() : PanelWindowTest({120, 90}, {10, 10, 64, 48}) {}

    // Runs effect over the panel while it turns from black to white.
    void Run(TTransitionEffect &effect)
    {
        panel_->color = Qt::black;
        panel_->update();
        QApplication::processEvents();
        ASSERT_TRUE(effect.Prepare(panel_, panel_->rect()));
        panel_->color = Qt::white;
        panel_->update();
        effect.Execute();
        EXPECT_FALSE(effect.Prepared());
        EXPECT_FALSE(AnyEffectPrepared());
        EXPECT_TRUE(top_.findChildren<RenderWindow *>().isEmpty());
        EXPECT_EQ(Shown({20, 20}), qRgb(255, 255, 255));
    }
};

}  // namespace

TEST_F(BlendFuseWindowTest, BlendInEveryScreenFormat)
{
    for (int bits : {8, 15, 16, 24, 32}) {
        ScreenDepth depth(bits);
        Probe<TBlendTransition> blend;
        Run(blend);
        const int frames = bits == 15 || bits == 16 ? 16 : 64;
        ASSERT_EQ(int(blend.frames.size()), frames - 1) << bits;
        const QImage &quarter = blend.frames.at(frames / 4);  // level 16
        if (bits == 8) {
            // 16 cells of every 8 x 8 tile show the new picture
            int white = 0;
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 8; ++x)
                    white += quarter.pixel(x, y) == qRgb(255, 255, 255);
            EXPECT_EQ(white, 16);
        } else {
            // a quarter of the way from black to white, in the channel depth of the format
            const int red = qRed(quarter.pixel(5, 5));
            EXPECT_GT(red, 50) << bits;
            EXPECT_LT(red, 70) << bits;
        }
    }
}

TEST_F(BlendFuseWindowTest, FuseInEveryScreenFormat)
{
    for (int bits : {8, 15, 16, 24, 32}) {
        ScreenDepth depth(bits);
        Probe<TFuseTransition> fuse;
        fuse.SetStyle(2);
        Run(fuse);
        ASSERT_EQ(fuse.frames.size(), 7u) << bits;
        const QImage &third = fuse.frames.at(3);
        for (int y = 0; y < third.height(); ++y)
            ASSERT_EQ(third.pixel(y % 40, y), y % 8 <= 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0)) << bits << " row " << y;
    }
}
