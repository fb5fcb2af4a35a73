// SPDX-License-Identifier: GPL-3.0-or-later
#include "show/project_file.h"
#include "show/project_layout.h"
#include "show/show_settings.h"
#include "support/qstring_print.h"

#include <gtest/gtest.h>

namespace lumetta {
namespace {

// The layout's sections are the lines ParseProjectText takes from the split text.
void ExpectSameAsTheParser(const QString &text)
{
    SCOPED_TRACE(text.toStdString());
    const QStringList lines = SplitLines(text);
    const ProjectLayout layout = ProjectLayout::Of(text);
    EXPECT_EQ(layout.lineCount, lines.size());
    if (lines.size() < ShowSettings::kLineCount)
        return;
    const ProjectContent content = ParseProjectText(lines);
    EXPECT_EQ(ProjectLayout::Lines(text, ShowSettings::kLineCount, layout.PictureCount()), content.pictures);
    EXPECT_EQ(ProjectLayout::Lines(text, layout.EffectsStart(), layout.EffectCount()), content.effects);
    if (content.playlist) {
        EXPECT_EQ(ProjectLayout::Lines(text, layout.MusicStart(), layout.MusicCount()), *content.playlist);
    }
}

TEST(ProjectLayout, FindsTheSectionsAsTheParserDoes)
{
    const QString musicOff = ShowSettings::DefaultLines(ShowSettings::Defaults::Start).join("\r\n") + "\r\n";
    QStringList on = ShowSettings::DefaultLines(ShowSettings::Defaults::Start);
    on[ShowSettings::MusicLine] = "NoRepeat";
    const QString musicOn = on.join("\n") + "\n";
    const QString cases[] = {
        musicOff + "/a.jpg\r\n/b.jpg\r\n[TRANS]\r\n1\r\n20\r\n[MUSIC]\r\n",
        musicOn + "/a.jpg\n[TRANS]\n[MUSIC]\n/m.mp3\n/n.wav",
        musicOn + "/a.jpg\r[TRANS]\r\r[MUSIC]\r/m.mp3\r\r",
        musicOff + "/a.jpg\r\n[TRANS]\r\n[TRANS]\r\n3\r\n[MUSIC]\r\n",
        musicOn + "/a.jpg\r\n[MUSIC]\r\n/m.mp3\r\n[TRANS]\r\n4\r\n",
        musicOn + "[MUSIC]\r\n[TRANS]\r\n",
        musicOn + "/a.jpg\r\n/b.jpg\r\n",
        musicOn + "[TRANS]",
        musicOff,
        QStringLiteral("[TRANS]\r\n[MUSIC]\r\n") + musicOff,
        QStringLiteral("2\r\n80\r\n[TRANS]\r\n"),
        QString(),
    };
    for (const QString &text : cases)
        ExpectSameAsTheParser(text);
}

TEST(ProjectLayout, CountsWithoutKeepingAndCopiesOnlyWhatIsAsked)
{
    const QString text = ShowSettings::DefaultLines(ShowSettings::Defaults::Start).join("\n")
                         + "\n/a\n/b\n/c\n[TRANS]\n5\n[MUSIC]\n/m\n";
    const ProjectLayout layout = ProjectLayout::Of(text);
    EXPECT_EQ(layout.lineCount, 17);
    EXPECT_EQ(layout.PictureCount(), 3);
    EXPECT_EQ(layout.EffectCount(), 1);
    EXPECT_EQ(layout.MusicCount(), 1);
    EXPECT_EQ(ProjectLayout::Lines(text, 11, 2), QStringList({"/b", "/c"}));
    EXPECT_EQ(ProjectLayout::Lines(text, 16, 5), QStringList({"/m"}));
    EXPECT_EQ(ProjectLayout::Lines(text, 3, 0), QStringList());
}

}  // namespace
}  // namespace lumetta
