// SPDX-License-Identifier: GPL-3.0-or-later
#include "browse/shared_thumbnail_cache.h"
#include "browse/thumbnail_loader.h"

#include "support/picture_files.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lumetta {
namespace {

// Sets an environment variable for one scope.
class ScopedVariable
{
public:
    ScopedVariable(const char *name, const QByteArray &value)
        : name_(name),
          old_(qgetenv(name)),
          had_(qEnvironmentVariableIsSet(name))
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~ScopedVariable()
    {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }

private:
    const char *name_;
    QByteArray old_;
    bool had_;
};

class SharedThumbnailCacheTest : public ::testing::Test
{
protected:
    QString WriteBmp(const QString &name, const QSize &size, const QColor &colour)
    {
        return testpictures::WriteFlatBmp(dir_.filePath(name), size, colour);
    }

    QImage Load(ThumbnailLoader &loader, const QString &path)
    {
        loader.Find(path);
        EXPECT_TRUE(loader.WaitUntilIdle(30000));
        const ThumbnailLoader::Thumbnail *made = loader.Cached(path);
        return made ? made->pixmap.toImage() : QImage();
    }

    QTemporaryDir dir_;
    QTemporaryDir cacheDir_;
    SharedThumbnailCache cache_{cacheDir_.path()};
};

TEST_F(SharedThumbnailCacheTest, TheCacheIsInTheCacheHomeOfTheUser)
{
    QTemporaryDir home;
    {
        const ScopedVariable noCacheHome("XDG_CACHE_HOME", QByteArray());
        const ScopedVariable homeFolder("HOME", QFile::encodeName(home.path()));
        EXPECT_EQ(SharedThumbnailCache::DefaultRoot(), home.filePath(".cache/thumbnails"));
    }
    const ScopedVariable cacheHome("XDG_CACHE_HOME", QFile::encodeName(home.filePath("elsewhere")));
    EXPECT_EQ(SharedThumbnailCache::DefaultRoot(), home.filePath("elsewhere/thumbnails"));
}

TEST_F(SharedThumbnailCacheTest, ThumbnailsAreNamedAfterTheFileUriAndSizedByFolder)
{
    // The example the freedesktop thumbnail standard gives.
    EXPECT_EQ(cache_.ThumbnailPath("/home/jens/photos/me.png", 128),
              cacheDir_.filePath("normal/c6ee772d9e49320e97ec29a7eb5b1697.png"));
    EXPECT_TRUE(cache_.ThumbnailPath("/home/jens/photos/me.png", 256).startsWith(cacheDir_.filePath("large/")));
    const struct
    {
        QSize bound;
        int side;
    } sides[] = {{{48, 36}, 128},   {{96, 72}, 128},     {{128, 100}, 128}, {{129, 10}, 256},
                 {{400, 300}, 512}, {{1024, 800}, 1024}, {{2000, 10}, 2000}};
    for (const auto &s : sides)
        EXPECT_EQ(SharedThumbnailCache::SideFor(s.bound), s.side) << s.bound.width() << "x" << s.bound.height();
}

TEST_F(SharedThumbnailCacheTest, MadeThumbnailsAreStoredWithTheirUriAndTime)
{
    const QString picture = WriteBmp("wide.bmp", QSize(400, 200), Qt::darkGreen);
    ThumbnailLoader loader(QSize(48, 36), 1.0, nullptr, cache_);
    EXPECT_EQ(Load(loader, picture).size(), QSize(48, 24));

    const QString stored = cache_.ThumbnailPath(picture, 128);
    const QImage thumbnail(stored, "png");
    EXPECT_EQ(thumbnail.size(), QSize(128, 64));
    EXPECT_EQ(thumbnail.text("Thumb::URI"), "file://" + picture);
    EXPECT_EQ(thumbnail.text("Thumb::MTime"), QString::number(QFileInfo(picture).lastModified().toSecsSinceEpoch()));
    EXPECT_EQ(QFile::permissions(stored).toInt() & 0x0077, 0) << "readable by its owner only";
    EXPECT_FALSE(cache_.Read(QFileInfo(picture), 128).isNull());
}

TEST_F(SharedThumbnailCacheTest, AFreshThumbnailIsUsedAndAStaleOneMadeAgain)
{
    const QString picture = WriteBmp("green.bmp", QSize(200, 200), Qt::green);
    // What a file manager left: red, so that its use shows.
    QImage red(128, 128, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(cache_.Write(QFileInfo(picture), 128, red));
    {
        ThumbnailLoader loader(QSize(48, 36), 1.0, nullptr, cache_);
        const QImage shown = Load(loader, picture);
        EXPECT_EQ(shown.size(), QSize(36, 36));
        EXPECT_EQ(QColor(shown.pixel(18, 18)), QColor(Qt::red));
    }
    // The picture changed since: the cached one is stale.
    QFile file(picture);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
    file.close();
    EXPECT_TRUE(cache_.Read(QFileInfo(picture), 128).isNull());
    ThumbnailLoader loader(QSize(48, 36), 1.0, nullptr, cache_);
    EXPECT_EQ(QColor(Load(loader, picture).pixel(18, 18)), QColor(Qt::green));
    EXPECT_EQ(QColor(cache_.Read(QFileInfo(picture), 128).pixel(64, 64)), QColor(Qt::green));
}

TEST_F(SharedThumbnailCacheTest, ThumbnailsOfOtherFilesOrSizesAreRefused)
{
    const QString picture = WriteBmp("a.bmp", QSize(64, 64), Qt::blue);
    const QString other = WriteBmp("b.bmp", QSize(64, 64), Qt::blue);
    QImage image(64, 64, QImage::Format_RGB32);
    image.fill(Qt::blue);
    ASSERT_TRUE(cache_.Write(QFileInfo(other), 128, image));
    // b's thumbnail put in a's place names b.
    QDir().mkpath(QFileInfo(cache_.ThumbnailPath(picture, 128)).absolutePath());
    ASSERT_TRUE(QFile::copy(cache_.ThumbnailPath(other, 128), cache_.ThumbnailPath(picture, 128)));
    EXPECT_TRUE(cache_.Read(QFileInfo(picture), 128).isNull());
    EXPECT_FALSE(cache_.Read(QFileInfo(other), 128).isNull());
    // Too large for its folder, or a file inside the cache itself.
    EXPECT_FALSE(cache_.Write(QFileInfo(picture), 128, QImage(129, 10, QImage::Format_RGB32)));
    EXPECT_FALSE(cache_.Write(QFileInfo(cache_.ThumbnailPath(other, 128)), 128, image));
    EXPECT_FALSE(cache_.Write(QFileInfo(picture), 100, image));
}

}  // namespace
}  // namespace lumetta
