// SPDX-License-Identifier: GPL-3.0-or-later
#include "browse/thumbnail_loader.h"

#include "support/file_bytes.h"
#include "support/picture_files.h"
#include "support/process_threads.h"

#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lumetta {
namespace {

using Status = PictureReader::Status;

class ThumbnailLoaderTest : public ::testing::Test
{
protected:
    QString WriteBmp(const QString &name, const QSize &size, const QColor &colour)
    {
        return testpictures::WriteFlatBmp(dir_.filePath(name), size, colour);
    }

    QTemporaryDir dir_;
};

TEST_F(ThumbnailLoaderTest, MakesThumbnailsOffTheCallerAndKeepsThem)
{
    ThumbnailLoader loader(QSize(48, 36), 2.0);
    const QString path = WriteBmp("wide.bmp", {400, 100}, Qt::red);
    QSignalSpy ready(&loader, &ThumbnailLoader::Ready);
    EXPECT_EQ(loader.Find(path), nullptr);
    EXPECT_EQ(loader.Find(path), nullptr);  // asked again while it is made: queued once
    EXPECT_EQ(loader.Cached(path), nullptr);
    ASSERT_TRUE(loader.WaitUntilIdle(10000));
    ASSERT_EQ(ready.size(), 1);
    EXPECT_EQ(ready[0][0].toString(), path);
    const ThumbnailLoader::Thumbnail *thumbnail = loader.Find(path);
    ASSERT_NE(thumbnail, nullptr);
    EXPECT_EQ(thumbnail->status, Status::Ok);
    // Device pixels for two per logical pixel: 96 x 24, drawn as 48 x 12.
    EXPECT_EQ(thumbnail->pixmap.size(), QSize(96, 24));
    EXPECT_EQ(thumbnail->pixmap.deviceIndependentSize().toSize(), QSize(48, 12));
    EXPECT_EQ(thumbnail->pixmap.toImage().pixelColor(40, 10), QColor(Qt::red));
    EXPECT_EQ(loader.Cached(path), thumbnail);
    EXPECT_EQ(loader.Pending(), 0);
    EXPECT_EQ(ready.size(), 1);
}

TEST_F(ThumbnailLoaderTest, MissingAndUnreadableFilesAreKeptWithTheirReason)
{
    ThumbnailLoader loader(QSize(48, 36));
    const QString missing = dir_.filePath("gone.jpg");
    const QString junk = dir_.filePath("junk.gif");
    testfiles::WriteBytes(junk, "GIF but not really");
    loader.Find(missing);
    loader.Find(junk);
    ASSERT_TRUE(loader.WaitUntilIdle(10000));
    ASSERT_NE(loader.Cached(missing), nullptr);
    EXPECT_EQ(loader.Cached(missing)->status, Status::Missing);
    EXPECT_TRUE(loader.Cached(missing)->pixmap.isNull());
    ASSERT_NE(loader.Cached(junk), nullptr);
    EXPECT_EQ(loader.Cached(junk)->status, Status::Unreadable);
    EXPECT_FALSE(loader.Cached(junk)->reason.isEmpty());
}

TEST_F(ThumbnailLoaderTest, TheLatestRequestIsAlwaysMadeAndOldOnesBeyondTheLimitAreDropped)
{
    ThumbnailLoader loader(QSize(16, 16));
    const QString last = WriteBmp("last.bmp", {8, 8}, Qt::blue);
    QStringList paths;
    for (int i = 0; i < ThumbnailLoader::kMaxQueued * 3; ++i)
        paths << dir_.filePath(QStringLiteral("missing-%1.jpg").arg(i));
    for (const QString &path : paths)
        loader.Find(path);
    loader.Find(last);
    // Made thumbnails wait for this thread's event loop, so only the queue itself is bounded.
    EXPECT_LE(loader.Queued(), ThumbnailLoader::kMaxQueued);
    ASSERT_TRUE(loader.WaitUntilIdle(20000));
    ASSERT_NE(loader.Cached(last), nullptr);
    EXPECT_EQ(loader.Cached(last)->status, Status::Ok);
    // What was dropped is made when it is asked for again, as a view does when it paints.
    for (int first = 0; first < paths.size(); first += ThumbnailLoader::kMaxQueued) {
        for (const QString &path : paths.mid(first, ThumbnailLoader::kMaxQueued))
            loader.Find(path);
        ASSERT_TRUE(loader.WaitUntilIdle(20000));
    }
    for (const QString &path : paths)
        EXPECT_NE(loader.Cached(path), nullptr) << path.toStdString();
}

TEST_F(ThumbnailLoaderTest, DestroyingTheLoaderWhileItWorksWaitsForItsThreads)
{
    QStringList paths;
    for (int i = 0; i < 40; ++i)
        paths << WriteBmp(QStringLiteral("p%1.bmp").arg(i), {300, 200}, Qt::darkGreen);
    // Threads the process starts once for good (Qt's own pools) are started before counting.
    {
        ThumbnailLoader warmUp(QSize(48, 36));
        warmUp.Find(paths.first());
        ASSERT_TRUE(warmUp.WaitUntilIdle(30000));
    }
    const int threadsBefore = testsupport::SettledThreadCount();
    {
        ThumbnailLoader loader(QSize(48, 36));
        for (const QString &path : paths)
            loader.Find(path);
        EXPECT_GT(testsupport::ProcessThreadCount(), threadsBefore);
        EXPECT_EQ(loader.Cached(paths.last()), nullptr);
    }
    EXPECT_TRUE(testsupport::ThreadCountFallsTo(threadsBefore));
    QCoreApplication::processEvents();  // results posted to it are dropped with it
}

}  // namespace
}  // namespace lumetta
