// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/picture_widget.h"

#include <gtest/gtest.h>

using namespace lumetta;

namespace {

// A picture whose top-left pixel is red and every other pixel green.
QImage Marked(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(qRgb(0, 255, 0));
    image.setPixel(0, 0, qRgb(255, 0, 0));
    return image;
}

}  // namespace

TEST(PictureWidget, TilePositionsRunDownEachColumn)
{
    const std::vector<QPoint> tiles = TilePositions({1024, 742}, {300, 200});
    ASSERT_EQ(tiles.size(), 16u);
    const int xs[] = {0, 300, 600, 900};
    const int ys[] = {0, 200, 400, 600};
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(tiles[size_t(i)], QPoint(xs[i / 4], ys[i % 4])) << i;
    EXPECT_TRUE(TilePositions({100, 100}, {0, 20}).empty());
    EXPECT_TRUE(TilePositions({100, 100}, {20, 0}).empty());
    EXPECT_EQ(TilePositions({100, 100}, {100, 100}).size(), 1u);
}

TEST(PictureWidget, UntiledTargets)
{
    struct Case
    {
        const char *what;
        QSize control, picture;
        PicturePlacement mode;
        QRect target;
    };
    const Case cases[] = {
        {"plain", {100, 80}, {30, 20}, {}, {0, 0, 30, 20}},
        {"center", {100, 80}, {30, 20}, {false, true, false}, {35, 30, 30, 20}},
        // Screen-high gradient in a panel 26 pixels shorter: its top 13 rows are not seen.
        {"center larger", {1024, 742}, {1024, 768}, {false, true, false}, {0, -13, 1024, 768}},
        // (10 - 15) / 2 = -2.5 truncates toward zero.
        {"center odd", {10, 10}, {15, 15}, {false, true, false}, {-2, -2, 15, 15}},
        {"stretch", {100, 80}, {30, 20}, {false, false, true}, {0, 0, 100, 80}},
        {"stretch wins over center", {100, 80}, {30, 20}, {false, true, true}, {0, 0, 100, 80}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(PlacementTarget(c.control, c.picture, c.mode), c.target) << c.what;
}

TEST(PictureWidget, ComposedTilesAndTransparentMargins)
{
    const QImage tiled = ComposePicture({25, 13}, Marked(10, 6), {true, true, true});
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 25; ++x) {
            const bool corner = x % 10 == 0 && y % 6 == 0;
            EXPECT_EQ(tiled.pixel(x, y), corner ? qRgb(255, 0, 0) : qRgb(0, 255, 0)) << x << "," << y;
        }

    const QImage centred = ComposePicture({20, 10}, Marked(4, 2), {false, true, false});
    EXPECT_EQ(centred.pixel(8, 4), qRgb(255, 0, 0));
    EXPECT_EQ(centred.pixel(11, 5), qRgb(0, 255, 0));
    EXPECT_EQ(qAlpha(centred.pixel(7, 4)), 0);
    EXPECT_EQ(qAlpha(centred.pixel(12, 4)), 0);

    QImage flat(3, 3, QImage::Format_RGB32);
    flat.fill(qRgb(0, 0, 200));
    const QImage stretched = ComposePicture({30, 20}, flat, {false, false, true});
    EXPECT_EQ(stretched.pixel(0, 0), qRgb(0, 0, 200));
    EXPECT_EQ(stretched.pixel(29, 19), qRgb(0, 0, 200));
    EXPECT_TRUE(ComposePicture({30, 20}, QImage(), {}).isNull());
}

TEST(PictureWidget, WidgetRecomposesOnEveryChangeInDevicePixels)
{
    PictureWidget control;
    EXPECT_EQ(control.size(), QSize(105, 105));
    EXPECT_TRUE(control.Shown().isNull());
    // Pictures are device pixels; the control's size is in logical ones.
    const int ratio = qRound(control.devicePixelRatioF());
    control.resize(40, 30);
    control.SetPicture(Marked(10, 10));
    EXPECT_EQ(control.Shown().size(), QSize(40, 30) * ratio);
    EXPECT_EQ(control.Shown().pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(control.Shown().pixel(9, 9), qRgb(0, 255, 0));
    EXPECT_EQ(qAlpha(control.Shown().pixel(10, 0)), 0);

    control.SetTiled(true);
    EXPECT_EQ(control.Shown().pixel(20, 10), qRgb(255, 0, 0));
    control.SetTiled(false);
    control.SetCenter(true);
    EXPECT_EQ(control.Shown().pixel((40 * ratio - 10) / 2, (30 * ratio - 10) / 2), qRgb(255, 0, 0));
    control.resize(50, 30);
    EXPECT_EQ(control.Shown().size(), QSize(50, 30) * ratio);
    EXPECT_EQ(control.Shown().pixel((50 * ratio - 10) / 2, (30 * ratio - 10) / 2), qRgb(255, 0, 0));

    control.SetAutoSize(true);
    EXPECT_EQ(control.size(), QSize(10, 10) / ratio);
    control.SetPicture(QImage());
    EXPECT_TRUE(control.Shown().isNull());
}
