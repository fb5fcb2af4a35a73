// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/svg_icon_engine.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace lumetta {
namespace {

class SvgIconEngineTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // An outlined square with a green middle: the outline follows the palette.
        path_ = dir_.filePath("square.svg");
        QFile file(path_);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(
            QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"32\" height=\"32\" viewBox=\"0 0 32 32\">"
                       "<rect x=\"0\" y=\"0\" width=\"32\" height=\"32\" fill=\"")
            + SvgIconEngine::kOutline
            + "\"/><rect x=\"8\" y=\"8\" width=\"16\" height=\"16\" fill=\"#00ff00\"/></svg>");
    }
    void TearDown() override { QGuiApplication::setPalette(saved_); }

    void SetText(const QColor &colour)
    {
        QPalette palette = saved_;
        palette.setColor(QPalette::WindowText, colour);
        QGuiApplication::setPalette(palette);
    }

    QTemporaryDir dir_;
    QString path_;
    QPalette saved_ = QGuiApplication::palette();
};

TEST_F(SvgIconEngineTest, OutlinesTakeThePalettesTextColour)
{
    SvgIconEngine engine(path_);
    for (const QColor colour : {QColor(0x10, 0x10, 0x10), QColor(0xee, 0xee, 0xee), QColor(0x80, 0x20, 0xc0)}) {
        SetText(colour);
        const QImage image = engine.pixmap(QSize(32, 32), QIcon::Normal, QIcon::Off).toImage();
        EXPECT_EQ(image.pixel(2, 2), colour.rgb()) << colour.name().toStdString();
        EXPECT_EQ(image.pixel(16, 16), qRgb(0, 255, 0)) << colour.name().toStdString();
    }
}

TEST_F(SvgIconEngineTest, DrawsAtTheSizeAskedForAndCentresInRectangles)
{
    SetText(Qt::black);
    SvgIconEngine engine(path_);
    for (const int side : {16, 24, 48, 96}) {
        const QImage image = engine.pixmap(QSize(side, side), QIcon::Normal, QIcon::Off).toImage();
        ASSERT_EQ(image.size(), QSize(side, side));
        EXPECT_EQ(image.pixel(side / 2, side / 2), qRgb(0, 255, 0)) << side;
        EXPECT_EQ(image.pixel(side / 8, side / 2), qRgb(0, 0, 0)) << side;
    }
    const QImage wide = engine.pixmap(QSize(64, 32), QIcon::Normal, QIcon::Off).toImage();
    EXPECT_EQ(qAlpha(wide.pixel(8, 16)), 0);
    EXPECT_EQ(wide.pixel(32, 16), qRgb(0, 255, 0));
}

TEST_F(SvgIconEngineTest, DisabledIconsFade)
{
    SvgIconEngine engine(path_);
    const QImage normal = engine.pixmap(QSize(32, 32), QIcon::Normal, QIcon::Off).toImage();
    const QImage disabled = engine.pixmap(QSize(32, 32), QIcon::Disabled, QIcon::Off).toImage();
    EXPECT_EQ(qAlpha(normal.pixel(16, 16)), 255);
    EXPECT_NEAR(qAlpha(disabled.pixel(16, 16)), 102, 2);
}

TEST_F(SvgIconEngineTest, PaintFillsTheRectangleAtTheDevicesScale)
{
    SetText(Qt::black);
    QIcon icon(new SvgIconEngine(path_));
    QImage target(64, 64, QImage::Format_ARGB32_Premultiplied);
    target.setDevicePixelRatio(2.0);
    target.fill(Qt::transparent);
    QPainter painter(&target);
    icon.paint(&painter, QRect(0, 0, 32, 32));
    painter.end();
    // A sharp edge between outline and middle at device pixel 16: no blur from upscaling.
    EXPECT_EQ(target.pixel(15, 32), qRgb(0, 0, 0));
    EXPECT_EQ(target.pixel(16, 32), qRgb(0, 255, 0));
}

TEST_F(SvgIconEngineTest, AMissingPictureIsANullIcon)
{
    SvgIconEngine engine(dir_.filePath("missing.svg"));
    EXPECT_TRUE(engine.isNull());
    EXPECT_TRUE(engine.pixmap(QSize(16, 16), QIcon::Normal, QIcon::Off).isNull());
    EXPECT_TRUE(QIcon(new SvgIconEngine(dir_.filePath("missing.svg"))).isNull());
}

}  // namespace
}  // namespace lumetta
