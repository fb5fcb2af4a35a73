// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/options_values.h"
#include "support/qstring_print.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

using namespace lumetta;

namespace {

ShowSettings Settings(const QStringList &lines)
{
    ShowSettings settings;
    EXPECT_TRUE(settings.LoadFrom(lines));
    return settings;
}

TEST(OptionsValues, ViewerFiltersAndPlacements)
{
    const QList<ViewerFilter> filters = ViewerFilters();
    ASSERT_EQ(filters.size(), 7);
    EXPECT_EQ(filters[0].name, "All pictures");
    EXPECT_EQ(filters[0].mask, "*.BMP;*.JPG;*.JPEG;*.GIF;*.PNG;*.WEBP;*.TIF;*.TIFF;*.HEIC;*.HEIF;*.AVIF");
    EXPECT_EQ(filters[1].name, "Bmp, jpeg, gif");
    EXPECT_EQ(filters[1].mask, "*.bmp;*jpg;*.gif");
    EXPECT_EQ(filters[5].mask, "*jpg");
    EXPECT_EQ(filters[6].name, "Gif");
    EXPECT_EQ(PlacementWords(), (QStringList{"Tile", "Center", "Stretch"}));
}

TEST(OptionsValues, FileDialogsOfferTodaysFormats)
{
    for (const char *pattern :
         {"*.wav", "*.mp3", "*.mid", "*.kar", "*wma", "*.ogg", "*.opus", "*.flac", "*.m4a", "*.aac"})
        EXPECT_TRUE(SoundFileFilter().contains(QString(" ") + pattern)
                    || SoundFileFilter().contains(QString("(") + pattern))
            << pattern;
    for (const char *pattern : {"*.bmp", "*.jpeg", "*.png", "*.webp", "*.tif", "*.tiff", "*.heic", "*.heif", "*.avif"})
        EXPECT_TRUE(GraphicFileFilter().contains(pattern)) << pattern;
}

TEST(OptionsValues, LoadingReadsEveryLine)
{
    OptionsValues values;
    LoadOptions(Settings({"Manual", "No", "No effect", "RepeatMusic", "/pics/back.jpg", "No", "BackFile", "Stretch",
                          "clRed", "Shadow"}),
                values);
    EXPECT_FALSE(values.automaticAdvance);
    EXPECT_EQ(values.seconds, 1);
    EXPECT_FALSE(values.fitToScreen);
    EXPECT_EQ(values.percent, 100);
    EXPECT_FALSE(values.randomEffects);
    EXPECT_TRUE(values.playMusic);
    EXPECT_TRUE(values.repeatMusic);
    EXPECT_TRUE(values.backgroundImage);
    EXPECT_EQ(values.backgroundFile, "/pics/back.jpg");
    EXPECT_EQ(values.placement, 2);
    EXPECT_FALSE(values.loop);
    EXPECT_TRUE(values.showCaption);
    EXPECT_EQ(values.captionColor, 0x0000FFu);
    EXPECT_TRUE(values.shadow);

    LoadOptions(Settings({"7", "55", "Random", "NoRepeat", "$00D5E7EA_clWhite", "Loop", "Color", "Tile", "No", "No"}),
                values);
    EXPECT_TRUE(values.automaticAdvance);
    EXPECT_EQ(values.seconds, 7);
    EXPECT_TRUE(values.fitToScreen);
    EXPECT_EQ(values.percent, 55);
    EXPECT_TRUE(values.randomEffects);
    EXPECT_TRUE(values.playMusic);
    EXPECT_FALSE(values.repeatMusic);
    EXPECT_FALSE(values.backgroundImage);
    EXPECT_EQ(values.topColor, 0x00D5E7EAu);
    EXPECT_EQ(values.bottomColor, 0xFFFFFFu);
    EXPECT_EQ(values.backgroundFile, "/pics/back.jpg") << "the file field keeps its text";
    EXPECT_EQ(values.placement, 2) << "the placement is only read with a background file";
    EXPECT_TRUE(values.loop);
    EXPECT_FALSE(values.showCaption);
    EXPECT_EQ(values.captionColor, 0x0000FFu) << "the swatch keeps its colour under \"No\"";
    EXPECT_FALSE(values.shadow);
}

TEST(OptionsValues, UndecidedLinesKeepTheControls)
{
    OptionsValues values;
    values.randomEffects = false;
    values.repeatMusic = true;
    values.placement = 1;
    values.topColor = 0x123456;
    LoadOptions(Settings({"2", "80", "random", "Repeat", "nonsense_$00FF00FF", "loop", "BackFile", "Tiles", "Purple",
                          "shadow"}),
                values);
    EXPECT_FALSE(values.randomEffects) << "an unknown effects word changes neither radio";
    EXPECT_TRUE(values.playMusic);
    EXPECT_TRUE(values.repeatMusic) << "an unknown music word leaves the repeat box";
    EXPECT_EQ(values.placement, 1);
    EXPECT_FALSE(values.loop) << "keywords are case-sensitive";
    EXPECT_FALSE(values.shadow);
    EXPECT_TRUE(values.showCaption);
    EXPECT_EQ(values.captionColor, 0x800080u) << "an unreadable colour keeps the swatch";

    LoadOptions(Settings({"2", "80", "Random", "No music", "nonsense_$00FF00FF", "Loop", "Color", "Tile", "No", "No"}),
                values);
    EXPECT_EQ(values.topColor, 0x123456u);
    EXPECT_EQ(values.bottomColor, 0xFF00FFu);
    EXPECT_FALSE(values.repeatMusic) << "no music unchecks both boxes";
}

TEST(OptionsValues, LoadingThenWritingKeepsTheLines)
{
    const QStringList sets[] = {
        ShowSettings::DefaultLines(ShowSettings::Defaults::Start),
        ShowSettings::DefaultLines(ShowSettings::Defaults::Dialog),
        {"Manual", "No", "No effect", "RepeatMusic", "/a_b/back_1.jpg", "No", "BackFile", "Center", "clRed", "Shadow"},
        {"100", "1", "Random", "NoRepeat", "$00ABCDEF_clNavy", "Loop", "Color", "Center", "$00ABCDEF", "No"},
    };
    for (const QStringList &lines : sets) {
        ShowSettings settings = Settings(lines);
        OptionsValues values;
        LoadOptions(settings, values);
        QStringList playlist{"/music/a.mp3"};
        WriteOptions(values, settings, playlist);
        EXPECT_EQ(settings.Lines(), lines);
        EXPECT_EQ(playlist.size(), lines[3] == "No music" ? 0 : 1);
    }
}

TEST(OptionsValues, WritingFollowsTheControls)
{
    ShowSettings settings;
    settings.Put(ShowSettings::PlacementLine, "Stretch");
    QStringList playlist{"/music/a.mp3", "/music/b.wav"};
    OptionsValues values;
    values.seconds = 42;
    values.percent = 17;
    values.topColor = 0x0000FF;
    values.bottomColor = 0x00D5E7EA;
    values.captionColor = 0xFFFFFF;
    values.showCaption = true;
    values.placement = 1;  // ignored with colours
    WriteOptions(values, settings, playlist);
    EXPECT_EQ(settings.Lines(), (QStringList{"42", "17", "Random", "No music", "clRed_$00D5E7EA", "No", "Color",
                                             "Stretch", "clWhite", "No"}));
    EXPECT_TRUE(playlist.isEmpty());

    values.backgroundImage = true;
    values.backgroundFile = "/pics/x.gif";
    values.placement = -1;
    values.playMusic = true;
    values.repeatMusic = true;
    playlist = {"/music/a.mp3"};
    WriteOptions(values, settings, playlist);
    EXPECT_EQ(settings.Get(ShowSettings::BackgroundLine), "/pics/x.gif");
    EXPECT_EQ(settings.Get(ShowSettings::BackgroundKindLine), "BackFile");
    EXPECT_EQ(settings.Get(ShowSettings::PlacementLine), "Stretch") << "no placement chosen keeps line 7";
    EXPECT_EQ(settings.Get(ShowSettings::MusicLine), "RepeatMusic");
    EXPECT_EQ(playlist.size(), 1);
}

TEST(OptionsValues, BackgroundChoiceNeedsAnExistingPicture)
{
    QTemporaryDir dir;
    const QString picture = dir.filePath("back.jpg");
    QFile file(picture);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("x");
    file.close();

    OptionsValues values;
    values.backgroundFile = dir.filePath("missing.jpg");
    EXPECT_TRUE(BackgroundChoiceValid(values)) << "colours need no file";
    values.backgroundImage = true;
    EXPECT_FALSE(BackgroundChoiceValid(values));
    values.backgroundFile = "Select image";
    EXPECT_FALSE(BackgroundChoiceValid(values));
    values.backgroundFile = dir.path();
    EXPECT_FALSE(BackgroundChoiceValid(values)) << "a folder is not a picture";
    values.backgroundFile = picture;
    EXPECT_TRUE(BackgroundChoiceValid(values));
}

}  // namespace
