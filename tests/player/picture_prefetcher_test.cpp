// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/picture_prefetcher.h"
#include "support/process_threads.h"

#include "support/picture_files.h"

#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

using namespace lumetta;

namespace {

constexpr int kWaitMs = 10000;

const SlideRequest kScreen{QSize(320, 200), 100, true};

QString Jpeg(const QString &name, int width, int height, quint32 seed)
{
    return testpictures::WriteTemp(name, testpictures::MakeJpeg(testpictures::NoisePicture(width, height, seed), 90));
}

void ExpectSameSlide(const PreparedSlide &actual, const PreparedSlide &expected)
{
    EXPECT_EQ(actual.error, expected.error);
    EXPECT_EQ(actual.layout.picture, expected.layout.picture);
    EXPECT_EQ(actual.layout.shadow, expected.layout.shadow);
    EXPECT_EQ(actual.picture, expected.picture);
}

}  // namespace

// Wanted slides are prepared in the background and taken as they are.
TEST(PicturePrefetcher, WantedSlidesAreReadyToTake)
{
    const QString first = Jpeg(QStringLiteral("want1.jpg"), 640, 480, 2);
    const QString second = Jpeg(QStringLiteral("want2.jpg"), 500, 700, 3);
    PicturePrefetcher prefetcher;
    prefetcher.Want({first, second}, kScreen);
    ASSERT_TRUE(QTest::qWaitFor([&] { return prefetcher.Ready(first, kScreen) && prefetcher.Ready(second, kScreen); },
                                kWaitMs));
    ExpectSameSlide(prefetcher.Take(second, kScreen), PrepareSlide(second, kScreen));
    ExpectSameSlide(prefetcher.Take(first, kScreen), PrepareSlide(first, kScreen));
    // Prepared for another screen or other settings, a slide does not count.
    EXPECT_FALSE(prefetcher.Ready(first, SlideRequest{QSize(320, 200), 50, true}));
    EXPECT_FALSE(prefetcher.Ready(first, SlideRequest{QSize(640, 400), 100, true}));
}

// Taking a slide nobody asked for, or one still under way, gives the same slide.
TEST(PicturePrefetcher, TakeWaitsOrPreparesAtOnce)
{
    const QString path = Jpeg(QStringLiteral("take.jpg"), 1600, 1200, 4);
    const PreparedSlide expected = PrepareSlide(path, kScreen);
    {
        PicturePrefetcher prefetcher;
        ExpectSameSlide(prefetcher.Take(path, kScreen), expected);
        EXPECT_TRUE(prefetcher.Ready(path, kScreen));
    }
    {
        PicturePrefetcher prefetcher;
        prefetcher.Want({path}, kScreen);
        ExpectSameSlide(prefetcher.Take(path, kScreen), expected);
    }
}

// Only the slides last wanted are kept; the others are dropped.
TEST(PicturePrefetcher, SlidesLeftOutAreDropped)
{
    const QString a = Jpeg(QStringLiteral("keep-a.jpg"), 64, 48, 5), b = Jpeg(QStringLiteral("keep-b.jpg"), 64, 48, 6);
    PicturePrefetcher prefetcher;
    prefetcher.Want({a, b}, kScreen);
    ASSERT_TRUE(QTest::qWaitFor([&] { return prefetcher.Ready(a, kScreen) && prefetcher.Ready(b, kScreen); }, kWaitMs));
    prefetcher.Want({b}, kScreen);
    EXPECT_FALSE(prefetcher.Ready(a, kScreen));
    EXPECT_TRUE(prefetcher.Ready(b, kScreen));
    prefetcher.Want({}, kScreen);
    EXPECT_FALSE(prefetcher.Ready(b, kScreen));
}

// A file that cannot be shown is prepared as its error, naming the file; it does not stop the
// pictures after it.
TEST(PicturePrefetcher, UnreadablePicturesBecomeTheirError)
{
    const QString broken = testpictures::WriteTemp(QStringLiteral("broken.jpg"), QByteArray("not a picture"));
    const QString good = Jpeg(QStringLiteral("after-broken.jpg"), 80, 60, 7);
    PicturePrefetcher prefetcher;
    prefetcher.Want({broken, good}, kScreen);
    ASSERT_TRUE(QTest::qWaitFor([&] { return prefetcher.Ready(good, kScreen); }, kWaitMs));
    const PreparedSlide slide = prefetcher.Take(broken, kScreen);
    ASSERT_TRUE(slide.error);
    EXPECT_TRUE(slide.error->contains(broken));
    EXPECT_FALSE(prefetcher.Take(good, kScreen).error);
}

// Ending while a picture is being prepared waits for it and leaves nothing behind.
TEST(PicturePrefetcher, DestroyedWhilePreparing)
{
    const QString big = Jpeg(QStringLiteral("big-while.jpg"), 3000, 2000, 8);
    const int threadsBefore = testsupport::SettledThreadCount();
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(testsupport::ThreadCountFallsTo(threadsBefore));
        PicturePrefetcher prefetcher;
        prefetcher.Want({big}, kScreen);
        EXPECT_EQ(testsupport::ProcessThreadCount(), threadsBefore + 1);
        EXPECT_FALSE(prefetcher.Ready(big, kScreen));
    }
    // Its worker thread is gone with it.
    EXPECT_TRUE(testsupport::ThreadCountFallsTo(threadsBefore));
}
