// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/caption_layer.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <gtest/gtest.h>

namespace lumetta {
namespace {

// The bounding rectangle of the pixels of AREA whose colour is near COLOUR.
QRect PixelsOf(const QImage &area, QRgb colour)
{
    QRect found;
    for (int y = 0; y < area.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(area.constScanLine(y));
        for (int x = 0; x < area.width(); ++x)
            if (std::abs(qRed(row[x]) - qRed(colour)) < 8 && std::abs(qGreen(row[x]) - qGreen(colour)) < 8
                && std::abs(qBlue(row[x]) - qBlue(colour)) < 8)
                found |= QRect(x, y, 1, 1);
    }
    return found;
}

QImage Drawn(const StoryCaption &caption, QSize size, const QRect &picture = QRect())
{
    QImage area(size, QImage::Format_RGB32);
    area.fill(qRgb(40, 90, 160));
    DrawCaptionLayer(area, PaintCaptionLayer(caption, size, picture));
    return area;
}

StoryCaption Caption(StoryCaption::Position position, StoryCaption::Edge edge = StoryCaption::Edge::Outline)
{
    StoryCaption caption;
    caption.text = QStringLiteral("Harbour at dawn\nSecond line");
    caption.colour = QColor(255, 230, 0);
    caption.position = position;
    caption.edge = edge;
    return caption;
}

// The caption's pixels lie where its position says, within the margins, on the screen the tests
// run on (a 1920x1080 and a 1080x1920 one among them) and on a small one.
TEST(CaptionLayer, PixelsLieWhereThePositionSays)
{
    const QSize screen = QGuiApplication::primaryScreen()->size();
    for (const QSize size : {screen, QSize(640, 360)}) {
        SCOPED_TRACE(QStringLiteral("%1x%2").arg(size.width()).arg(size.height()).toStdString());
        const int margin = CaptionMargin(size);
        const QRect top = PixelsOf(Drawn(Caption(StoryCaption::Position::Top), size), qRgb(255, 230, 0));
        const QRect middle = PixelsOf(Drawn(Caption(StoryCaption::Position::Middle), size), qRgb(255, 230, 0));
        const QRect bottom = PixelsOf(Drawn(Caption(StoryCaption::Position::Bottom), size), qRgb(255, 230, 0));
        ASSERT_FALSE(top.isEmpty());
        EXPECT_GE(top.top(), margin);
        EXPECT_LT(top.top(), margin + top.height() / 2);
        EXPECT_LE(bottom.bottom(), size.height() - margin);
        EXPECT_GT(bottom.bottom(), size.height() - margin - bottom.height() / 2);
        EXPECT_NEAR(middle.center().y(), size.height() / 2, middle.height() / 4 + 2);
        for (const QRect &text : {top, middle, bottom}) {
            EXPECT_NEAR(text.center().x(), size.width() / 2, 4);
            EXPECT_GE(text.left(), margin);
            EXPECT_LE(text.right(), size.width() - margin);
        }
        // Two lines of the default size on the shorter side's scale.
        const int lineHeight = StoryCaption::kDefaultSize * std::min(size.width(), size.height()) / 1080;
        EXPECT_GT(top.height(), lineHeight);
        EXPECT_LT(top.height(), 3 * lineHeight);
    }
}

// Captions belong to the picture: they lie within its margins wherever it is placed, unless it
// is too small to hold them, when the whole area takes its place.
TEST(CaptionLayer, PixelsLieOnThePictureWhenItCanHoldThem)
{
    const struct
    {
        const char *name;
        QSize area;
        QRect picture;
        QRect frame;  // where the captions must lie
    } cases[] = {
        {"80 percent of the screen", {1920, 1080}, {192, 108, 1536, 864}, {192, 108, 1536, 864}},
        {"portrait photo on a landscape screen", {1920, 1080}, {555, 0, 810, 1080}, {555, 0, 810, 1080}},
        {"picture under the caption bar", {1920, 1058}, {0, 0, 1920, 1080}, {0, 0, 1920, 1058}},
        {"small picture", {1920, 1080}, {880, 480, 160, 120}, {0, 0, 1920, 1080}},
        {"narrow picture", {1920, 1080}, {760, 0, 400, 1080}, {0, 0, 1920, 1080}},
        {"banner too low for two lines", {1920, 1080}, {0, 500, 1920, 60}, {0, 0, 1920, 1080}},
        {"picture off the area", {640, 360}, {700, 0, 300, 360}, {0, 0, 640, 360}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const int margin = CaptionMargin(c.area);
        const auto drawn = [&](StoryCaption::Position position) {
            return PixelsOf(Drawn(Caption(position), c.area, c.picture), qRgb(255, 230, 0));
        };
        const QRect top = drawn(StoryCaption::Position::Top);
        const QRect middle = drawn(StoryCaption::Position::Middle);
        const QRect bottom = drawn(StoryCaption::Position::Bottom);
        ASSERT_FALSE(top.isEmpty());
        EXPECT_GE(top.top(), c.frame.top() + margin);
        EXPECT_LT(top.top(), c.frame.top() + margin + top.height() / 2);
        EXPECT_LE(bottom.bottom(), c.frame.bottom() - margin + 1);
        EXPECT_GT(bottom.bottom(), c.frame.bottom() - margin - bottom.height() / 2);
        EXPECT_NEAR(middle.center().y(), c.frame.center().y(), middle.height() / 4 + 2);
        for (const QRect &text : {top, middle, bottom}) {
            EXPECT_NEAR(text.center().x(), c.frame.center().x(), 4);
            EXPECT_GE(text.left(), c.frame.left() + margin);
            EXPECT_LE(text.right(), c.frame.right() - margin + 1);
        }
    }
}

TEST(CaptionLayer, TheEdgeIsDarkAroundTheLetters)
{
    const QSize size(960, 540);
    for (const StoryCaption::Edge edge : {StoryCaption::Edge::Outline, StoryCaption::Edge::Shadow}) {
        const QImage area = Drawn(Caption(StoryCaption::Position::Middle, edge), size);
        const QRect text = PixelsOf(area, qRgb(255, 230, 0));
        const QRect dark = PixelsOf(area, qRgb(9, 19, 35)).intersected(text.adjusted(-20, -20, 20, 20));
        EXPECT_FALSE(dark.isEmpty());
        if (edge == StoryCaption::Edge::Shadow)
            EXPECT_GT(dark.bottom(), text.bottom());
    }
}

TEST(CaptionLayer, LongLinesWrapInsideTheMargins)
{
    const QSize size(640, 360);
    StoryCaption caption = Caption(StoryCaption::Position::Bottom);
    caption.text = QString(40, u'W') + QStringLiteral(" ") + QString(40, u'W');
    caption.size = 100;
    const QRect text = PixelsOf(Drawn(caption, size), qRgb(255, 230, 0));
    const int margin = CaptionMargin(size);
    EXPECT_GE(text.left(), margin);
    EXPECT_LE(text.right(), size.width() - margin);
    EXPECT_GT(text.height(), 2 * 100 * 360 / 1080);
}

TEST(CaptionLayer, NoTextNoLayer)
{
    EXPECT_TRUE(PaintCaptionLayer(StoryCaption(), QSize(100, 100)).IsNull());
    StoryCaption blank;
    blank.text = QStringLiteral(" \n ");
    EXPECT_TRUE(PaintCaptionLayer(blank, QSize(100, 100)).IsNull());
}

}  // namespace
}  // namespace lumetta
