#include "test_effects.h"

#include <gtest/gtest.h>

namespace {

QImage solid(int w, int h, QRgb rgb)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(rgb);
    return image;
}

TEST(TimedTransition, UnpacedPassDrawsEveryFrameAndEndsWithNewPicture)
{
    TRecordingTransition effect;
    effect.SetFrames(5);
    QImage canvas;
    effect.ExecuteOnImages(solid(8, 4, 0xFF0000FF), solid(8, 4, 0xFFFF0000), canvas);
    ASSERT_EQ(effect.calls.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(effect.calls[size_t(i)].current, i + 1);
        EXPECT_EQ(effect.calls[size_t(i)].step, 1);
        EXPECT_EQ(effect.calls[size_t(i)].prev, i);
        EXPECT_EQ(effect.calls[size_t(i)].frameCount, 5);
    }
    EXPECT_EQ(canvas.pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(canvas.pixel(7, 3), 0xFFFF0000u);
    EXPECT_EQ((std::vector<std::string>{"Initialize", "Finalize"}), effect.log);
    EXPECT_EQ(effect.WorkBitmap, nullptr);
}

}  // namespace
