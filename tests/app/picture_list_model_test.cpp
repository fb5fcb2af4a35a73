// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/picture_list_model.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace lumetta {
namespace {

TEST(PictureFileName, TheExtensionsInAnyLetterCase)
{
    const struct
    {
        const char *name;
        bool accepted;
    } cases[] = {
        {"a.jpg", true},  {"a.JPG", true},  {"a.jpeg", true}, {"a.JPEG", true},     {"a.gif", true},
        {"a.GIF", true},  {"a.bmp", true},  {"a.BMP", true},  {"a.Jpg", true},      {"a.jPG", true},
        {"a.Gif", true},  {"a.png", true},  {"a.PNG", true},  {"a.Png", true},      {"a.webp", true},
        {"a.TIF", true},  {"a.tiff", true}, {"a.HEIC", true}, {"a.heif", true},     {"a.avif", true},
        {"a.Heic", true}, {"a.svg", false}, {"jpg", false},   {"a.jpg.txt", false}, {"a.txt.jpg", true},
        {".jpg", true},   {"a.jpe", false}, {"a.", false},    {"", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(IsPictureFileName(QLatin1String(c.name)), c.accepted) << c.name;
}

TEST(UpDownArrows, MovesOnlyWhenThePositionChanged)
{
    UpDownArrows arrows;
    EXPECT_EQ(arrows.Click(true), -1);
    EXPECT_EQ(arrows.Click(false), 1);
    EXPECT_EQ(arrows.Click(false), 1);
    EXPECT_EQ(arrows.Position(), -1);
    for (int i = 0; i < 2001; ++i)
        arrows.Click(true);
    EXPECT_EQ(arrows.Position(), 2000);
    EXPECT_EQ(arrows.Click(true), 0);
    EXPECT_EQ(arrows.Click(false), 1);
    for (int i = 0; i < 5000; ++i)
        arrows.Click(false);
    EXPECT_EQ(arrows.Position(), -2000);
    EXPECT_EQ(arrows.Click(false), 0);
}

TEST(PictureListModel, ShowsNumberNamePathAndToolTip)
{
    PictureListModel model;
    model.SetPictures({"/p/a.jpg", "/q/b c.BMP"});
    ASSERT_EQ(model.rowCount(), 2);
    const QModelIndex second = model.index(1);
    EXPECT_EQ(second.data().toString(), QLatin1String("b c.BMP"));
    EXPECT_EQ(second.data(Qt::ToolTipRole).toString(), QLatin1String("/q/b c.BMP"));
    EXPECT_EQ(second.data(PictureListModel::PathRole).toString(), QLatin1String("/q/b c.BMP"));
    EXPECT_EQ(second.data(PictureListModel::NumberRole).toInt(), 2);
    EXPECT_TRUE(second.data(PictureListModel::MarkRole).toString().isEmpty());
    EXPECT_TRUE(model.flags(second) & Qt::ItemIsDragEnabled);
}

TEST(PictureListModel, SameLengthChangesRowsLongerOrShorterResets)
{
    PictureListModel model;
    model.SetPictures({"a", "b", "c"});
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    model.SetPictures({"a", "b", "c"});
    EXPECT_EQ(changed.size() + reset.size(), 0);
    model.SetPictures({"c", "b", "a"});
    EXPECT_EQ(changed.size(), 1);
    EXPECT_EQ(reset.size(), 0);
    model.SetPictures({"c"});
    EXPECT_EQ(reset.size(), 1);
    EXPECT_EQ(model.Pictures(), QStringList({"c"}));
}

}  // namespace
}  // namespace lumetta
