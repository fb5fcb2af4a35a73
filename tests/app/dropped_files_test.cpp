// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/dropped_files.h"

#include "support/qstring_print.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace lumetta {
namespace {

class DroppedFilesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char *name : {"album/b.jpg", "album/A.BMP", "album/notes.txt", "album/.hidden.jpg", "album/c.Jpg",
                                 "album/inner/deep.jpg", "one.gif", "show.zut", "SHOW2.ZUT"}) {
            const QString path = dir_.filePath(QLatin1String(name));
            QDir().mkpath(QFileInfo(path).absolutePath());
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
    }

    QUrl Url(const char *name) const { return QUrl::fromLocalFile(dir_.filePath(QLatin1String(name))); }
    QString Path(const char *name) const { return dir_.filePath(QLatin1String(name)); }

    QTemporaryDir dir_;
};

TEST_F(DroppedFilesTest, PicturesAndTheAcceptedPicturesOfFoldersInDropOrder)
{
    const QList<QUrl> urls{Url("one.gif"),  Url("album"),      Url("show.zut"), QUrl("https://example.org/x.jpg"),
                           Url("gone.jpg"), Url("album/c.Jpg")};
    EXPECT_EQ(DroppedFiles::Pictures(urls), QStringList({Path("one.gif"), Path("album/A.BMP"), Path("album/b.jpg"),
                                                         Path("album/c.Jpg"), Path("album/c.Jpg")}));
}

TEST_F(DroppedFilesTest, TheFirstProjectFileInAnyLetterCase)
{
    EXPECT_EQ(DroppedFiles::Project({Url("one.gif"), Url("SHOW2.ZUT"), Url("show.zut")}), Path("SHOW2.ZUT"));
    EXPECT_TRUE(DroppedFiles::Project({Url("one.gif"), Url("album")}).isEmpty());
    EXPECT_TRUE(DroppedFiles::Project({Url("missing.zut")}).isEmpty());
}

}  // namespace
}  // namespace lumetta
