// SPDX-License-Identifier: GPL-3.0-or-later
#include "browse/motion_overlay.h"
#include "browse/motion_rect_edit.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace lumetta {
namespace {

using Rect = SlideMotion::Rect;

void ExpectRect(const Rect &actual, const Rect &expected)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-9);
    EXPECT_NEAR(actual.y, expected.y, 1e-9);
    EXPECT_NEAR(actual.width, expected.width, 1e-9);
    EXPECT_NEAR(actual.height, expected.height, 1e-9);
}

TEST(MotionRectEdit, RectanglesStayInsideKeepTheirProportionsAndASensibleSize)
{
    const Rect half{0.25, 0.25, 0.5, 0.5};
    const struct
    {
        const char *name;
        Rect actual;
        Rect expected;
    } cases[] = {
        {"moved", MotionRectEdit::Moved(half, 0.1, -0.2), {0.35, 0.05, 0.5, 0.5}},
        {"moved past the right and top", MotionRectEdit::Moved(half, 0.9, -0.9), {0.5, 0, 0.5, 0.5}},
        {"the whole picture cannot move", MotionRectEdit::Moved(Rect(), 0.3, 0.3), Rect()},
        {"scaled down about the centre", MotionRectEdit::Scaled(half, 0.5), {0.375, 0.375, 0.25, 0.25}},
        {"scaled up about the centre", MotionRectEdit::Scaled(half, 1.5), {0.125, 0.125, 0.75, 0.75}},
        {"scaled past the whole picture", MotionRectEdit::Scaled(half, 5), Rect()},
        {"scaled up at an edge is moved in", MotionRectEdit::Scaled({0.5, 0.5, 0.5, 0.5}, 1.5),
         {0.25, 0.25, 0.75, 0.75}},
        {"scaled below the smallest", MotionRectEdit::Scaled(half, 0.01),
         {0.475, 0.475, SlideMotion::kSmallestFraction, SlideMotion::kSmallestFraction}},
        {"corner dragged out", MotionRectEdit::DraggedTo(half, 0.9, 0.8), {0.25, 0.25, 0.65, 0.65}},
        {"corner dragged in", MotionRectEdit::DraggedTo(half, 0.5, 0.4), {0.25, 0.25, 0.25, 0.25}},
        {"corner dragged past the picture", MotionRectEdit::DraggedTo(half, 3, 3), {0.25, 0.25, 0.75, 0.75}},
        {"corner dragged across the rectangle", MotionRectEdit::DraggedTo(half, 0, 0),
         {0.25, 0.25, SlideMotion::kSmallestFraction, SlideMotion::kSmallestFraction}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ExpectRect(c.actual, c.expected);
    }
}

class MotionOverlayTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        overlay_.resize(400, 300);
        overlay_.SetMotion(SlideMotion{Rect(), {0.25, 0.25, 0.5, 0.5}, SlideMotion::Easing::Linear});
        overlay_.show();
    }

    MotionOverlay overlay_;
    QSignalSpy edits_{&overlay_, &MotionOverlay::Edited};
};

TEST_F(MotionOverlayTest, TheMouseMovesARectangleAndSizesItByItsCorner)
{
    // The end lies inside the start: a press inside it takes the start, which is chosen.
    ASSERT_EQ(overlay_.Chosen(), MotionOverlay::Part::Start);
    overlay_.Choose(MotionOverlay::Part::End);
    QTest::mousePress(&overlay_, Qt::LeftButton, {}, QPoint(200, 150));
    QTest::mouseMove(&overlay_, QPoint(240, 120));
    QTest::mouseRelease(&overlay_, Qt::LeftButton, {}, QPoint(240, 120));
    ExpectRect(overlay_.Motion().end, {0.35, 0.15, 0.5, 0.5});
    ExpectRect(overlay_.Motion().start, Rect());
    ASSERT_FALSE(edits_.isEmpty());
    const int dragGesture = edits_.last().at(1).toInt();
    // Its corner, now at (340, 195), sized down.
    QTest::mousePress(&overlay_, Qt::LeftButton, {}, QPoint(338, 193));
    QTest::mouseMove(&overlay_, QPoint(260, 120));
    QTest::mouseRelease(&overlay_, Qt::LeftButton, {}, QPoint(260, 120));
    ExpectRect(overlay_.Motion().end, {0.35, 0.15, 0.3, 0.3});
    EXPECT_NE(edits_.last().at(1).toInt(), dragGesture);
    EXPECT_EQ(edits_.last().at(0).value<SlideMotion>(), overlay_.Motion());
    // A press outside both changes nothing.
    const qsizetype count = edits_.size();
    overlay_.SetMotion(SlideMotion{{0, 0, 0.2, 0.2}, {0.8, 0.8, 0.2, 0.2}});
    QTest::mousePress(&overlay_, Qt::LeftButton, {}, QPoint(200, 150));
    QTest::mouseMove(&overlay_, QPoint(100, 100));
    EXPECT_EQ(edits_.size(), count);
}

TEST_F(MotionOverlayTest, KeysMoveAndSizeTheChosenRectangleAsOneGesture)
{
    overlay_.setFocus();
    QTest::keyClick(&overlay_, Qt::Key_Space);
    EXPECT_EQ(overlay_.Chosen(), MotionOverlay::Part::End);
    QTest::keyClick(&overlay_, Qt::Key_Right);
    QTest::keyClick(&overlay_, Qt::Key_Right);
    QTest::keyClick(&overlay_, Qt::Key_Down, Qt::ShiftModifier);
    ExpectRect(overlay_.Motion().end, {0.27, 0.35, 0.5, 0.5});
    QTest::keyClick(&overlay_, Qt::Key_Minus);
    ExpectRect(overlay_.Motion().end, {0.27 - 0.0125, 0.35 - 0.0125, 0.525, 0.525});
    QTest::keyClick(&overlay_, Qt::Key_Plus);
    ExpectRect(overlay_.Motion().end, {0.27, 0.35, 0.5, 0.5});
    ASSERT_EQ(edits_.size(), 5);
    for (const QList<QVariant> &edit : edits_)
        EXPECT_EQ(edit.at(1).toInt(), edits_.first().at(1).toInt());
    // Space chooses the other and starts a new run of keys.
    QTest::keyClick(&overlay_, Qt::Key_Space);
    QTest::keyClick(&overlay_, Qt::Key_Plus);
    EXPECT_NE(edits_.last().at(1).toInt(), edits_.first().at(1).toInt());
    EXPECT_LT(overlay_.Motion().start.width, 1);
    // The whole picture cannot move: no edit.
    overlay_.SetMotion(SlideMotion());
    const qsizetype count = edits_.size();
    QTest::keyClick(&overlay_, Qt::Key_Left);
    EXPECT_EQ(edits_.size(), count);
}

}  // namespace
}  // namespace lumetta
