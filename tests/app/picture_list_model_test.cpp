#include "app/picture_list_model.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace lumetta {
namespace {

TEST(PictureFileName, OnlyTheExactExtensions)
{
    const struct {
        const char *name;
        bool accepted;
    } cases[] = {
        {"a.jpg", true},   {"a.JPG", true},  {"a.jpeg", true},  {"a.JPEG", true},  {"a.gif", true},
        {"a.GIF", true},   {"a.bmp", true},  {"a.BMP", true},   {"a.Jpg", false},  {"a.jPG", false},
        {"a.Gif", false},  {"a.png", true},  {"a.PNG", true},   {"a.Png", false},  {"a.webp", true},
        {"a.TIF", true},   {"a.tiff", true}, {"a.HEIC", true},  {"a.heif", true},  {"a.avif", true},
        {"a.Heic", false}, {"a.svg", false}, {"jpg", false},    {"a.jpg.txt", false}, {"a.txt.jpg", true},
        {".jpg", true},    {"a.jpe", false}, {"a.", false},     {"", false},
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

TEST(PictureListModel, EditsTheListItWasGivenInPlace)
{
    QStringList pictures{"a", "b", "c", "d", "e"};
    PictureListModel model(pictures);
    EXPECT_EQ(model.rowCount(), 5);
    model.RemoveRows({4, 1, 2, 2});
    EXPECT_EQ(pictures, QStringList({"a", "d"}));
    model.Append("f");
    EXPECT_EQ(model.index(2).data().toString(), QLatin1String("f"));
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    EXPECT_EQ(model.Move(2, -1), 1);
    EXPECT_EQ(pictures, QStringList({"a", "f", "d"}));
    EXPECT_EQ(changed.size(), 1);
    EXPECT_EQ(model.Move(0, -1), -1);
    EXPECT_EQ(model.Move(2, 1), -1);
    model.Clear();
    EXPECT_TRUE(pictures.isEmpty());
    EXPECT_EQ(model.Move(0, 1), -1);
}

}  // namespace
}  // namespace lumetta
