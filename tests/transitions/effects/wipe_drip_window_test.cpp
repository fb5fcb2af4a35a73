// SPDX-License-Identifier: GPL-3.0-or-later
// Wipe and drip through Prepare and Execute over a live panel: the frames reach the render
// window's canvas and the panel shows the new picture afterwards.
#include "transitions/effects/drip_transition.h"
#include "transitions/effects/wipe_transition.h"

#include "panel_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>

#include <functional>

using namespace lumetta;

using namespace lumetta::test;

namespace {

// Paints blue until switched, then red left of split and green from split on.
class SplitPanel : public QWidget
{
public:
    explicit SplitPanel(QWidget *parent) : QWidget(parent) {}
    bool changed = false;
    int split = 60;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        if (!changed) {
            p.fillRect(rect(), Qt::blue);
            return;
        }
        p.fillRect(0, 0, split, height(), Qt::red);
        p.fillRect(split, 0, width() - split, height(), Qt::green);
    }
};

// Keeps what the render window showed once frame watch had been drawn.
template <class Effect>
class Watched : public Effect
{
public:
    int watch = 0;
    QImage seen;

protected:
    void DrawFrame(PassData &data, int currentFrame, int step, int frameCount, int prevFrame) override
    {
        if (prevFrame == watch && seen.isNull())
            seen = data.canvas->copy();
        Effect::DrawFrame(data, currentFrame, step, frameCount, prevFrame);
    }
};

class WipeDripWindow : public PanelWindowTest<SplitPanel>
{
protected:
    WipeDripWindow() : PanelWindowTest({200, 150}, {20, 30, 120, 80}) {}

    // Runs effect over the panel, changing the panel in between.
    void Run(TTransitionEffect &effect)
    {
        ASSERT_TRUE(effect.Prepare(panel_, panel_->rect()));
        panel_->changed = true;
        panel_->update();
        effect.Execute();
        EXPECT_FALSE(effect.Prepared());
        EXPECT_TRUE(top_.findChildren<RenderWindow *>().isEmpty());
        EXPECT_EQ(Shown({5, 5}), QColor(Qt::red).rgb());
        EXPECT_EQ(Shown({110, 70}), QColor(Qt::green).rgb());
    }

    // Colour of the kept canvas at a logical point of the panel.
    static QRgb At(const QImage &seen, const QWidget *panel, int x, int y)
    {
        const qreal r = panel->devicePixelRatioF();
        return seen.pixel(qRound(x * r), qRound(y * r)) | 0xFF000000u;
    }
};

}  // namespace

TEST_F(WipeDripWindow, BandWipeShowsItsFramesAndEndsOnTheNewPicture)
{
    for (int depth : {8, 15, 16, 24, 32}) {
        SCOPED_TRACE(depth);
        SetScreenBitsPerPixel(depth);
        panel_->changed = false;
        panel_->repaint();
        Watched<TWipeTransition> wipe;
        wipe.SetBandWidth(10);
        wipe.watch = 40;
        Run(wipe);
        SetScreenBitsPerPixel(0);
        ASSERT_FALSE(wipe.seen.isNull());
        // Device columns up to 30 are new after frame 40, from 41 on old.
        EXPECT_EQ(wipe.seen.pixel(10, 5) | 0xFF000000u, QColor(Qt::red).rgb());
        EXPECT_EQ(wipe.seen.pixel(41, 5) | 0xFF000000u, QColor(Qt::blue).rgb());
        EXPECT_EQ(wipe.seen.pixel(wipe.seen.width() - 1, 5) | 0xFF000000u, QColor(Qt::blue).rgb());
    }
}

TEST_F(WipeDripWindow, DripLeftSmearsTheSettlingColumn)
{
    Watched<TDripTransition> drip;
    const qreal r = panel_->devicePixelRatioF();
    drip.watch = qRound(70 * r);
    Run(drip);
    ASSERT_FALSE(drip.seen.isNull());
    EXPECT_EQ(At(drip.seen, panel_, 10, 10), QColor(Qt::red).rgb());
    EXPECT_EQ(At(drip.seen, panel_, 65, 10), QColor(Qt::green).rgb());
    EXPECT_EQ(At(drip.seen, panel_, 110, 70), QColor(Qt::green).rgb());  // smeared, no old blue left
}

TEST_F(WipeDripWindow, DripDownOntoTheWindowsCanvas)
{
    Watched<TDripTransition> drip;
    drip.SetDirection(TTransitionEffect::tedDown);
    drip.watch = 5;
    Run(drip);
    ASSERT_FALSE(drip.seen.isNull());
    EXPECT_EQ(At(drip.seen, panel_, 10, 5), QColor(Qt::red).rgb());
    EXPECT_EQ(At(drip.seen, panel_, 100, 5), QColor(Qt::green).rgb());
}

namespace {

// Adds up the area the render window repaints.
class PaintedArea : public QObject
{
public:
    double pixels = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            for (const QRect &r : static_cast<QPaintEvent *>(event)->region())
                pixels += double(r.width()) * r.height();
        return false;
    }
};

}  // namespace

TEST_F(WipeDripWindow, CornerAndInOutWipesRepaintOnlyTheirStrips)
{
    // The strips of all frames together cover the area once; the final picture covers it once
    // more (logical repaints of device-pixel strips round outward at scale 2). Repainting each
    // frame's whole bounding box would cover it about twenty times.
    for (auto direction : {TTransitionEffect::tedDownRight, TTransitionEffect::tedUpLeft,
                           TTransitionEffect::tedDownLeft, TTransitionEffect::tedIn, TTransitionEffect::tedOut}) {
        SCOPED_TRACE(int(direction));
        panel_->changed = false;
        panel_->repaint();
        TWipeTransition wipe;
        wipe.SetDirection(direction);
        PaintedArea painted;
        wipe.onStartTransition = [&](QObject *) { wipe.RenderWindow()->installEventFilter(&painted); };
        Run(wipe);
        const double area = double(panel_->width()) * panel_->height();
        EXPECT_GE(painted.pixels, area);
        EXPECT_LE(painted.pixels, 6 * area);
    }
}
