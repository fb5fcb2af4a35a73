// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/caption_bar_painter.h"

#include "player/slide_composition.h"

#include <QLabel>
#include <gtest/gtest.h>

using namespace lumetta;

namespace {

QImage Rendered(QLabel &label)
{
    QImage image(label.size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    label.render(&image);
    return image;
}

}  // namespace

TEST(CaptionBarPainter, PaintsTheBarAsTheLabelShowsIt)
{
    const struct
    {
        std::optional<QColor> background;
        const char *text;
        int width;
    } cases[] = {
        {QColor(Qt::yellow), "3. beach.jpg", 320},
        {std::nullopt, "10. a.jpg", 200},
        {QColor(0xD5, 0xE7, 0xEA), "", 64},
        {QColor(Qt::black), "1. a picture whose name is far wider than the bar.jpg", 80},
    };
    for (const auto &c : cases) {
        QLabel label;
        StyleCaptionBar(label);
        if (c.background) {
            QPalette palette = label.palette();
            palette.setColor(QPalette::Window, *c.background);
            label.setPalette(palette);
        }
        label.setText(QString::fromUtf8(c.text));
        label.resize(c.width, kCaptionBarHeight);
        const CaptionBarPainter painter = CaptionBarPainter::ForWidth(c.width, c.background);
        EXPECT_EQ(painter.Paint(QString::fromUtf8(c.text)), Rendered(label)) << c.text;
    }
}

TEST(CaptionBarPainter, StyleGivesTheBarItsHeightFrameAndFont)
{
    QLabel label;
    StyleCaptionBar(label);
    EXPECT_EQ(label.minimumHeight(), kCaptionBarHeight);
    EXPECT_EQ(label.maximumHeight(), kCaptionBarHeight);
    EXPECT_EQ(label.frameStyle(), QFrame::Panel | QFrame::Sunken);
    EXPECT_EQ(label.alignment(), Qt::AlignCenter);
    EXPECT_EQ(label.font().pixelSize(), 16);
    EXPECT_TRUE(label.autoFillBackground());
}

TEST(PaintSlideArea, LayersPanelBackgroundShadowAndSlide)
{
    QImage background(24, 24, QImage::Format_ARGB32_Premultiplied);
    background.fill(Qt::transparent);
    background.setPixel(0, 0, qRgb(0, 255, 0));
    QImage picture(4, 2, QImage::Format_RGB32);
    picture.fill(Qt::red);
    // The slide lies at (10, 11) to (13, 12), its shadow at (20, 21) to (23, 22).
    const SlideLayout layout = LayOutSlide(picture.size(), {24, 24}, std::nullopt, true);
    const QImage area = PaintSlideArea({24, 24}, Qt::blue, background, layout, picture);
    EXPECT_EQ(area.pixel(0, 0), qRgb(0, 255, 0));  // the background over the panel
    EXPECT_EQ(area.pixel(1, 0), qRgb(0, 0, 255));  // the panel's colour shows around it
    EXPECT_EQ(area.pixel(10, 11), qRgb(255, 0, 0));
    EXPECT_EQ(area.pixel(13, 12), qRgb(255, 0, 0));
    EXPECT_EQ(area.pixel(14, 12), qRgb(0, 0, 255));
    EXPECT_EQ(area.pixel(20, 21), kShadowColor);
    EXPECT_EQ(area.pixel(23, 22), kShadowColor);
    EXPECT_EQ(area.pixel(23, 23), qRgb(0, 0, 255));
    const QImage bare = PaintSlideArea({24, 24}, Qt::blue, QImage(), std::nullopt, QImage());
    EXPECT_EQ(bare.pixel(12, 12), qRgb(0, 0, 255));
}

// A picture with transparent parts casts the shadow of its opaque parts only, as a video
// frame and as the player both paint it.
TEST(PaintSlideArea, TheShadowOfATransparentPictureFollowsItsShape)
{
    QImage picture(4, 2, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    picture.setPixel(0, 0, qRgb(255, 0, 0));
    picture.setPixel(1, 0, qRgb(255, 0, 0));
    const SlideLayout layout = LayOutSlide(picture.size(), {24, 24}, std::nullopt, true);
    const QImage area = PaintSlideArea({24, 24}, Qt::blue, QImage(), layout, picture);
    EXPECT_EQ(area.pixel(10, 11), qRgb(255, 0, 0));
    EXPECT_EQ(area.pixel(12, 11), qRgb(0, 0, 255));  // the background through the picture
    EXPECT_EQ(area.pixel(20, 21), kShadowColor);
    EXPECT_EQ(area.pixel(21, 21), kShadowColor);
    EXPECT_EQ(area.pixel(22, 21), qRgb(0, 0, 255));
    EXPECT_EQ(area.pixel(20, 22), qRgb(0, 0, 255));

    const QImage shadow = ShadowOf(picture);
    EXPECT_EQ(shadow.size(), picture.size());
    EXPECT_EQ(qAlpha(shadow.pixel(3, 1)), 0);
    QImage opaque(3, 3, QImage::Format_RGB32);
    opaque.fill(Qt::green);
    EXPECT_EQ(ShadowOf(opaque).pixel(2, 2), kShadowColor);
    EXPECT_FALSE(ShadowOf(opaque).hasAlphaChannel());
}
