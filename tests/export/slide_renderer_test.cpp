// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/slide_renderer.h"

#include "export/show_files.h"
#include "media/picture_error.h"
#include "player/caption_bar_painter.h"
#include "show/show_settings.h"

#include <QLabel>
#include <gtest/gtest.h>

using namespace lumetta;

namespace {

ShowSettings Settings(const QString &caption, const QString &shadow, const QString &percent = QStringLiteral("No"))
{
    ShowSettings settings = testshows::MakeShow({}, 1, QStringLiteral("$00800000"), {}).Settings();
    settings.Put(ShowSettings::CaptionLine, caption);
    settings.Put(ShowSettings::ShadowLine, shadow);
    settings.Put(ShowSettings::PictureSizeLine, percent);
    return settings;
}

}  // namespace

TEST(SlideRenderer, ASlideIsCentredOnThePlainBackground)
{
    const QString red = testshows::WriteSolidBmp(QStringLiteral("red-20x10.bmp"), {20, 10}, Qt::red);
    const SlideRenderer renderer(Settings(QStringLiteral("No"), QStringLiteral("No")), {64, 48});
    EXPECT_EQ(renderer.AreaSize(), QSize(64, 48));
    const QImage slide = renderer.ComposeSlide(red);
    // Left = round((64 - 20) / 2) = 22, top = round((48 - 10) / 2) = 19.
    EXPECT_EQ(slide.pixel(22, 19), qRgb(255, 0, 0));
    EXPECT_EQ(slide.pixel(41, 28), qRgb(255, 0, 0));
    EXPECT_EQ(slide.pixel(21, 19), qRgb(0, 0, 0x80));
    EXPECT_EQ(slide.pixel(42, 28), qRgb(0, 0, 0x80));
    EXPECT_EQ(slide.pixel(22, 29), qRgb(0, 0, 0x80));
    EXPECT_EQ(renderer.BareArea().pixel(32, 24), qRgb(0, 0, 0x80));
}

TEST(SlideRenderer, TheShadowLiesTenPixelsRightAndDown)
{
    const QString red = testshows::WriteSolidBmp(QStringLiteral("red-20x10.bmp"), {20, 10}, Qt::red);
    const SlideRenderer renderer(Settings(QStringLiteral("No"), QStringLiteral("Shadow")), {64, 48});
    const QImage slide = renderer.ComposeSlide(red);
    EXPECT_EQ(slide.pixel(51, 38), kShadowColor);  // right, bottom corner of the shadow
    EXPECT_EQ(slide.pixel(52, 38), qRgb(0, 0, 0x80));
    EXPECT_EQ(slide.pixel(41, 28), qRgb(255, 0, 0));  // the picture lies over it
}

TEST(SlideRenderer, APercentageScalesThePictureToTheScreen)
{
    const QString red = testshows::WriteSolidBmp(QStringLiteral("red-40x10.bmp"), {40, 10}, Qt::red);
    const SlideRenderer renderer(Settings(QStringLiteral("No"), QStringLiteral("No"), QStringLiteral("50")), {64, 48});
    // r = 4 > 4/3: W = 32 + 3 = 35, H = round(35 / 4) = 9; left 14 (14.5 to even), top 20 (19.5 to even).
    const QImage slide = renderer.ComposeSlide(red);
    EXPECT_EQ(slide.pixel(14, 20), qRgb(255, 0, 0));
    EXPECT_EQ(slide.pixel(48, 28), qRgb(255, 0, 0));
    EXPECT_EQ(slide.pixel(49, 28), qRgb(0, 0, 0x80));
    EXPECT_EQ(slide.pixel(13, 20), qRgb(0, 0, 0x80));
}

TEST(SlideRenderer, TheCaptionBarTakesTheBottomRowsAndShowsTheLabelsText)
{
    const QString red = testshows::WriteSolidBmp(QStringLiteral("a.bmp"), {20, 10}, Qt::red);
    const SlideRenderer renderer(Settings(QStringLiteral("clYellow"), QStringLiteral("No")), {200, 100});
    EXPECT_TRUE(renderer.HasCaptionBar());
    EXPECT_EQ(renderer.AreaSize(), QSize(200, 100 - kCaptionBarHeight));
    const QImage bar = renderer.CaptionBar(2, red);

    QLabel label;
    StyleCaptionBar(label);
    QPalette palette = label.palette();
    palette.setColor(QPalette::Window, Qt::yellow);
    label.setPalette(palette);
    label.setText(QStringLiteral("3. a.bmp"));
    label.resize(200, kCaptionBarHeight);
    QImage shown(200, kCaptionBarHeight, QImage::Format_RGB32);
    label.render(&shown);
    EXPECT_EQ(bar, shown);

    const QImage frame = renderer.Frame(renderer.ComposeSlide(red), bar);
    EXPECT_EQ(frame.size(), QSize(200, 100));
    EXPECT_EQ(frame.copy(0, 100 - kCaptionBarHeight, 200, kCaptionBarHeight), bar);
    // The slide is centred on the whole screen, not on the panel above the bar.
    EXPECT_EQ(frame.pixel(90, 45), qRgb(255, 0, 0));
    EXPECT_EQ(frame.pixel(90, 44), qRgb(0, 0, 0x80));
}

TEST(SlideRenderer, AnUnreadablePictureThrows)
{
    const SlideRenderer renderer(Settings(QStringLiteral("No"), QStringLiteral("No")), {64, 48});
    EXPECT_THROW(renderer.ComposeSlide(QStringLiteral("/no/such/picture.bmp")), PictureError);
}

TEST(SlideRenderer, AnUnreadableBackgroundPictureThrows)
{
    ShowSettings settings = Settings(QStringLiteral("No"), QStringLiteral("No"));
    settings.Put(ShowSettings::BackgroundKindLine, QStringLiteral("BackFile"));
    settings.Put(ShowSettings::BackgroundLine, QStringLiteral("/no/such/background.jpg"));
    EXPECT_THROW(SlideRenderer(settings, {64, 48}), PictureError);
}
