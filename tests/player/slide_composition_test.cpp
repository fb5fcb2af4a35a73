// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/slide_composition.h"

#include "media/picture_error.h"
#include "player/picture_widget.h"
#include "show/show_settings.h"

#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace lumetta;

TEST(SlideComposition, SlideSizeAndPosition)
{
    struct Case
    {
        const char *what;
        QSize picture, screen;
        std::optional<int> percent;
        QSize size;
        QPoint position;
    };
    const Case cases[] = {
        // Same proportions as the screen: the height side rule, 3 pixels larger than the screen.
        {"1600x1200 at 100%", {1600, 1200}, {1024, 768}, 100, {1028, 771}, {-2, -2}},
        // Wider than the screen: 512 + 3 wide, 515 / 4 = 128.75 high.
        {"400x100 at 50%", {400, 100}, {1024, 768}, 50, {515, 129}, {254, 320}},
        // Taller than the screen: 384 + 3 high, 387 / 4 = 96.75 wide.
        {"100x400 at 50%", {100, 400}, {1024, 768}, 50, {97, 387}, {464, 190}},
        // 517 / 2 = 258.5 and (768 - 258) / 2 = 255: the half goes to the even neighbour.
        {"tie to even", {2, 1}, {1028, 768}, 50, {517, 258}, {256, 255}},
        {"small picture enlarged", {40, 30}, {1024, 768}, 100, {1028, 771}, {-2, -2}},
        // 7.68 -> 8 + 3 = 11 high, 11 * 4 / 3 = 14.67 -> 15 wide; 504.5 and 378.5 go to even.
        {"1%", {1600, 1200}, {1024, 768}, 1, {15, 11}, {504, 378}},
        {"own size", {300, 201}, {1024, 768}, std::nullopt, {300, 201}, {362, 284}},
        {"own size larger than the screen", {1101, 800}, {1024, 768}, std::nullopt, {1101, 800}, {-38, -16}},
    };
    for (const Case &c : cases) {
        const QSize size = SlideSize(c.picture, c.screen, c.percent);
        EXPECT_EQ(size, c.size) << c.what;
        EXPECT_EQ(SlidePosition(size, c.screen), c.position) << c.what;
    }
}

TEST(SlideComposition, ShadowLiesTenPixelsRightAndBelow)
{
    const SlideLayout with = LayOutSlide({400, 100}, {1024, 768}, 50, true);
    ASSERT_TRUE(with.shadow.has_value());
    EXPECT_EQ(with.shadow->size(), with.picture.size());
    EXPECT_EQ(with.shadow->right(), with.picture.right() + 10);
    EXPECT_EQ(with.shadow->bottom(), with.picture.bottom() + 10);
    EXPECT_FALSE(LayOutSlide({400, 100}, {1024, 768}, 50, false).shadow.has_value());
}

TEST(GradientRect, BandsFollowMulDiv)
{
    // 768 rows: band i covers rows 3i..3i+2; channel = from + MulDiv(i, to - from, 255).
    const QColor from(0xEA, 0xE7, 0xD5);
    const QColor to(255, 255, 255);
    const QImage image = GradientBitmap({7, 768}, from, to);
    struct Row
    {
        int y;
        QRgb colour;
    };
    const Row rows[] = {
        {0, qRgb(0xEA, 0xE7, 0xD5)},
        {2, qRgb(0xEA, 0xE7, 0xD5)},
        // band 1: 21 * 1 / 255 = 0.08 -> 0, 24 / 255 -> 0, 42 / 255 -> 0
        {3, qRgb(0xEA, 0xE7, 0xD5)},
        // band 128: 21*128/255 = 10.54 -> 11, 24*128/255 = 12.05 -> 12, 42*128/255 = 21.08 -> 21
        {384, qRgb(0xEA + 11, 0xE7 + 12, 0xD5 + 21)},
        // band 170: 21*170/255 = 14, 24*170/255 = 16, 42*170/255 = 28
        {512, qRgb(0xEA + 14, 0xE7 + 16, 0xD5 + 28)},
        {765, qRgb(255, 255, 255)},
        {767, qRgb(255, 255, 255)},
    };
    for (const Row &r : rows)
        for (int x : {0, 6})
            EXPECT_EQ(image.pixel(x, r.y), r.colour) << "row " << r.y;
}

TEST(GradientRect, UnevenHeightsAndFallingChannels)
{
    // 742 rows: band edges MulDiv(i, 742, 256), so bands are 2 or 3 rows high.
    const QImage image = GradientBitmap({3, 742}, QColor(255, 0, 128), QColor(0, 255, 128));
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 128));
    EXPECT_EQ(image.pixel(0, 741), qRgb(0, 255, 128));
    // Band 1 spans rows MulDiv(1,742,256) = 3 (2.90 rounded) to 6 (5.80 rounded): red 254, green 1.
    EXPECT_EQ(image.pixel(0, 2), qRgb(255, 0, 128));
    EXPECT_EQ(image.pixel(0, 3), qRgb(254, 1, 128));
    EXPECT_EQ(image.pixel(0, 5), qRgb(254, 1, 128));
    EXPECT_EQ(image.pixel(0, 6), qRgb(253, 2, 128));
}

TEST(GradientRect, FillsOnlyTheClipRectanglesWidth)
{
    QImage image(20, 256, QImage::Format_RGB32);
    image.fill(qRgb(1, 2, 3));
    QPainter painter(&image);
    painter.setClipRect(QRect(0, 0, 8, 256));
    GradientRect(QColor(0, 0, 0), QColor(255, 255, 255), painter);
    painter.end();
    // 256 rows: one row per band, grey level i.
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(7, 100), qRgb(100, 100, 100));
    EXPECT_EQ(image.pixel(7, 255), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(8, 100), qRgb(1, 2, 3));
}

namespace {

ShowSettings WithLines(std::initializer_list<std::pair<int, QString>> lines)
{
    ShowSettings settings;
    for (const auto &[index, text] : lines)
        settings.Put(index, text);
    return settings;
}

}  // namespace

TEST(SlideBackground, ColourLinesGivePlainOrGradient)
{
    const BackgroundSetup plain = BuildBackground(
        WithLines({{ShowSettings::BackgroundKindLine, "Color"}, {ShowSettings::BackgroundLine, "$00281800_$00281800"}}),
        {64, 48});
    EXPECT_EQ(plain.kind, BackgroundSetup::Kind::Plain);
    EXPECT_EQ(plain.colour, QColor(0x00, 0x18, 0x28));
    EXPECT_TRUE(plain.picture.isNull());

    const BackgroundSetup gradient = BuildBackground(
        WithLines({{ShowSettings::BackgroundKindLine, "Color"}, {ShowSettings::BackgroundLine, "$00D5E7EA_clWhite"}}),
        {64, 512});
    EXPECT_EQ(gradient.kind, BackgroundSetup::Kind::Gradient);
    ASSERT_EQ(gradient.picture.size(), QSize(64, 512));
    EXPECT_EQ(gradient.picture.pixel(0, 0), qRgb(0xEA, 0xE7, 0xD5));
    EXPECT_EQ(gradient.picture.pixel(63, 511), qRgb(255, 255, 255));

    // More than one underscore: split at the last; "a_b" is not a colour and reads as black.
    const BackgroundSetup odd = BuildBackground(
        WithLines({{ShowSettings::BackgroundKindLine, "Color"}, {ShowSettings::BackgroundLine, "a_b_clRed"}}),
        {4, 256});
    EXPECT_EQ(odd.kind, BackgroundSetup::Kind::Gradient);
    EXPECT_EQ(odd.picture.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(odd.picture.pixel(0, 255), qRgb(255, 0, 0));

    EXPECT_EQ(BuildBackground(WithLines({{ShowSettings::BackgroundKindLine, "Other"}}), {4, 4}).kind,
              BackgroundSetup::Kind::Unchanged);
}

TEST(SlideBackground, PictureFileLoadsOrThrows)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("back.BMP");
    QImage picture(6, 4, QImage::Format_RGB32);
    picture.fill(qRgb(10, 20, 30));
    ASSERT_TRUE(picture.save(path, "BMP"));
    const BackgroundSetup setup = BuildBackground(
        WithLines({{ShowSettings::BackgroundKindLine, "BackFile"}, {ShowSettings::BackgroundLine, path}}), {64, 48});
    EXPECT_EQ(setup.kind, BackgroundSetup::Kind::Picture);
    EXPECT_EQ(setup.picture.size(), QSize(6, 4));
    EXPECT_EQ(setup.picture.pixel(5, 3), qRgb(10, 20, 30));

    EXPECT_THROW(BuildBackground(WithLines({{ShowSettings::BackgroundKindLine, "BackFile"},
                                            {ShowSettings::BackgroundLine, dir.filePath("missing.jpg")}}),
                                 {64, 48}),
                 PictureError);
}

TEST(SlideBackground, PlacementWords)
{
    struct Case
    {
        const char *word;
        PicturePlacement before, after;
    };
    const Case cases[] = {
        {"Tile", {false, true, true}, {true, true, true}},
        {"Center", {true, false, true}, {false, true, false}},
        {"Stretch", {true, true, false}, {false, false, true}},
        {"tile", {false, true, false}, {false, true, false}},
    };
    for (const Case &c : cases) {
        const PicturePlacement mode = PlacementMode(WithLines({{ShowSettings::PlacementLine, c.word}}), c.before);
        EXPECT_EQ(mode.tiled, c.after.tiled) << c.word;
        EXPECT_EQ(mode.center, c.after.center) << c.word;
        EXPECT_EQ(mode.stretch, c.after.stretch) << c.word;
    }
}
