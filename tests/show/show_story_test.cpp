// SPDX-License-Identifier: GPL-3.0-or-later
#include "show/show_story.h"

#include "common/random.h"

#include <gtest/gtest.h>

namespace lumetta {
namespace {

SlideDetails Lasting(int ms)
{
    SlideDetails details;
    details.durationMs = ms;
    return details;
}

// The durations of the first COUNT slides, 0 for a slide without details.
QList<int> Own(const ShowStory &story, int count)
{
    QList<int> own;
    for (int i = 0; i < count; ++i)
        own << story.Slide(i).durationMs.value_or(0);
    return own;
}

TEST(ShowStoryTest, SlidesWithoutDetailsTakeNoRoom)
{
    ShowStory story;
    EXPECT_TRUE(story.IsEmpty());
    story.SetSlide(5, SlideDetails());
    EXPECT_TRUE(story.IsEmpty());
    story.SetSlide(2, Lasting(10));
    EXPECT_EQ(story.SlideCount(), 3);
    story.SetSlide(2, SlideDetails());
    EXPECT_TRUE(story.IsEmpty());
    EXPECT_EQ(story, ShowStory());
}

TEST(ShowStoryTest, DetailsFollowTheirSlidesThroughEdits)
{
    ShowStory story;
    for (int i = 0; i < 4; ++i)
        story.SetSlide(i, Lasting(i + 1));
    story.Insert(1, 2);
    EXPECT_EQ(Own(story, 6), QList<int>({1, 0, 0, 2, 3, 4}));
    story.Remove({0, 4, 0});
    EXPECT_EQ(Own(story, 4), QList<int>({0, 0, 2, 4}));
    story.Reorder({3, 2, 1, 0});
    EXPECT_EQ(Own(story, 4), QList<int>({4, 2, 0, 0}));
    EXPECT_EQ(story.SlideCount(), 2);
    // Inserting past the slides that have details changes nothing.
    story.Insert(9, 3);
    EXPECT_EQ(story.SlideCount(), 2);
}

TEST(ShowStoryTest, DurationsFitTheMusicKeepingTheirProportions)
{
    ShowStory story;
    story.SetSlide(1, Lasting(4000));
    const struct
    {
        const char *name;
        bool fit;
        std::optional<std::int64_t> musicMs;
        QList<std::int64_t> durations;
    } cases[] = {
        {"own and show-wide", false, 60000, {2000, 4000, 2000}},
        {"fit without music", true, std::nullopt, {2000, 4000, 2000}},
        {"fit to twice as long", true, 16000, {4000, 8000, 4000}},
        {"fit with rounding", true, 1000, {250, 500, 250}},
        {"fit that cannot round evenly", true, 10, {3, 5, 2}},
        {"fit shorter than the slides", true, 2, {1, 1, 1}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        story.SetFitToMusic(c.fit);
        EXPECT_EQ(story.Durations(3, 2000, c.musicMs), c.durations);
    }
}

TEST(ShowStoryTest, FittedDurationsEndExactlyWithTheMusic)
{
    ShowStory story;
    story.SetFitToMusic(true);
    for (int i = 0; i < 7; ++i)
        story.SetSlide(i * 2, Lasting(1000 + 337 * i));
    const QList<std::int64_t> durations = story.Durations(13, 3000, 123457);
    std::int64_t total = 0;
    for (std::int64_t duration : durations)
        total += duration;
    EXPECT_EQ(total, 123457);
    EXPECT_NEAR(double(durations[12]) / double(durations[0]), (1000 + 337 * 6) / 1000.0, 0.01);
}

TEST(ShowStoryTest, MotionIsTheSlidesOwnElseGentleWhenTheShowAsks)
{
    ShowStory story;
    SlideDetails own;
    own.motion = SlideMotion::PanLeft();
    story.SetSlide(1, own);
    SetRandSeed(99);
    EXPECT_EQ(story.DrawMotion(0), std::nullopt);
    EXPECT_EQ(story.DrawMotion(1), SlideMotion::PanLeft());
    // Without gentle motion nothing is drawn from the generator.
    EXPECT_EQ(RandSeed(), 99u);

    story.SetGentleMotion(true);
    EXPECT_FALSE(story.IsEmpty());
    EXPECT_EQ(story.DrawMotion(1), SlideMotion::PanLeft());
    const std::optional<SlideMotion> first = story.DrawMotion(0);
    const std::optional<SlideMotion> third = story.DrawMotion(2);
    ASSERT_TRUE(first && third);
    SetRandSeed(99);
    EXPECT_EQ(story.DrawMotion(0), first);
    EXPECT_EQ(story.DrawMotion(2), third);
    SetRandSeed(0);
}

}  // namespace
}  // namespace lumetta
