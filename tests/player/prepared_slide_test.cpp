// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/prepared_slide.h"

#include "media/picture.h"
#include "support/picture_files.h"

#include <gtest/gtest.h>

using namespace lumetta;

// A prepared slide is the picture scaled once to its place on the screen.
TEST(PreparedSlide, PictureScaledToItsLayout)
{
    const SlideRequest screen{QSize(320, 200), 100, true};
    const QString path = testpictures::WriteTemp(QStringLiteral("prepared.jpg"),
                                                 testpictures::MakeJpeg(testpictures::NoisePicture(640, 400, 1), 90));
    const PreparedSlide slide = PrepareSlide(path, screen);
    ASSERT_FALSE(slide.error);
    const SlideLayout layout = LayOutSlide({640, 400}, screen.screen, screen.percent, screen.shadow);
    EXPECT_EQ(slide.layout.picture, layout.picture);
    EXPECT_EQ(slide.layout.shadow, layout.shadow);
    EXPECT_EQ(slide.picture, Picture::Load(path).Scaled(layout.picture.size()));

    const PreparedSlide missing = PrepareSlide(QStringLiteral("/nowhere/gone.jpg"), screen);
    ASSERT_TRUE(missing.error);
    EXPECT_TRUE(missing.error->contains(QStringLiteral("/nowhere/gone.jpg")));
    EXPECT_TRUE(missing.picture.isNull());
}
