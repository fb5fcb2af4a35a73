// SPDX-License-Identifier: GPL-3.0-or-later
#include "show/project_file.h"
#include "show/show_project.h"
#include "show/story_file.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "support/scripted_dialogs.h"

namespace lumetta {
namespace {

using Outcome = ShowProject::Outcome;

QByteArray Contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Put(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

class ShowProjectStoryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        project_.Pictures() = {"/p/a.jpg", "/p/b.jpg", "/p/a.jpg"};
        SlideDetails details;
        details.caption.text = QStringLiteral("Arrival\nDay one");
        details.durationMs = 6000;
        project_.Story().SetSlide(2, details);
        details = SlideDetails();
        details.transition.kind = SlideTransition::Kind::None;
        project_.Story().SetSlide(0, details);
        project_.Story().SetFitToMusic(true);
    }

    QString Path(const QString &name) const { return dir_.filePath(name); }

    QTemporaryDir dir_;
    ShowProject project_;
    ScriptedDialogs dialogs_;
};

TEST_F(ShowProjectStoryTest, SavedReopenedAndSavedAgainBothFilesAreByteIdentical)
{
    dialogs_.saveAnswers = {Path("holiday")};
    ASSERT_EQ(project_.Save(dialogs_), Outcome::Done);
    const QString zut = Path("holiday.zut");
    const QString story = Path("holiday.zut.story");
    const QByteArray zutBytes = Contents(zut);
    const QByteArray storyBytes = Contents(story);
    ASSERT_FALSE(storyBytes.isEmpty());

    ShowProject reopened;
    ASSERT_EQ(reopened.OpenPath(zut, dialogs_), Outcome::Done);
    EXPECT_EQ(reopened.Story(), project_.Story());
    reopened.SetModified();
    ASSERT_EQ(reopened.Save(dialogs_), Outcome::Done);
    EXPECT_EQ(Contents(zut), zutBytes);
    EXPECT_EQ(Contents(story), storyBytes);
    EXPECT_TRUE(dialogs_.notices.isEmpty());
    EXPECT_TRUE(dialogs_.errors.isEmpty());
}

TEST_F(ShowProjectStoryTest, TheProjectFileIsTheSameWithOrWithoutDetails)
{
    dialogs_.saveAnswers = {Path("with"), Path("without")};
    ASSERT_EQ(project_.Save(dialogs_), Outcome::Done);
    ShowProject plain;
    plain.Pictures() = project_.Pictures();
    ASSERT_EQ(plain.Save(dialogs_), Outcome::Done);
    EXPECT_EQ(Contents(Path("with.zut")), Contents(Path("without.zut")));
    EXPECT_FALSE(QFileInfo::exists(Path("without.zut.story")));
    // What the project file alone holds opens as it did before details existed.
    const ProjectContent content = ParseProjectText(ReadTextFile(Path("with.zut")));
    EXPECT_EQ(content.pictures, project_.Pictures());
    EXPECT_EQ(content.effects, project_.EffectSelection());
}

TEST_F(ShowProjectStoryTest, SaveAsTakesTheDetailsAlongAndNewForgetsThem)
{
    dialogs_.saveAnswers = {Path("first"), Path("second")};
    ASSERT_EQ(project_.Save(dialogs_), Outcome::Done);
    ASSERT_EQ(project_.SaveAs(dialogs_), Outcome::Done);
    EXPECT_EQ(Contents(Path("second.zut.story")), Contents(Path("first.zut.story")));
    ASSERT_EQ(project_.New(dialogs_), Outcome::Done);
    EXPECT_TRUE(project_.Story().IsEmpty());
}

TEST_F(ShowProjectStoryTest, AProjectThatLosesItsDetailsLosesItsStoryFile)
{
    dialogs_.saveAnswers = {Path("show")};
    ASSERT_EQ(project_.Save(dialogs_), Outcome::Done);
    ASSERT_TRUE(QFileInfo::exists(Path("show.zut.story")));
    project_.Story() = ShowStory();
    ASSERT_EQ(project_.Save(dialogs_), Outcome::Done);
    EXPECT_FALSE(QFileInfo::exists(Path("show.zut.story")));
    ShowProject reopened;
    ASSERT_EQ(reopened.OpenPath(Path("show.zut"), dialogs_), Outcome::Done);
    EXPECT_TRUE(reopened.Story().IsEmpty());
}

TEST_F(ShowProjectStoryTest, ADamagedStoryIsNamedKeptAsItIsAndReplacedOnlyBySave)
{
    dialogs_.saveAnswers = {Path("show")};
    ASSERT_EQ(project_.Save(dialogs_), Outcome::Done);
    const QString story = Path("show.zut.story");
    QByteArray damaged = Contents(story);
    damaged.chop(damaged.size() / 3);
    Put(story, damaged);

    ShowProject reopened;
    ASSERT_EQ(reopened.OpenPath(Path("show.zut"), dialogs_), Outcome::Done);
    ASSERT_EQ(dialogs_.notices.size(), 1);
    EXPECT_TRUE(dialogs_.notices.first().contains(story));
    EXPECT_TRUE(dialogs_.notices.first().contains("not readable JSON"));
    EXPECT_EQ(reopened.Pictures(), project_.Pictures());
    EXPECT_FALSE(reopened.Modified());
    EXPECT_EQ(Contents(story), damaged);

    reopened.Story() = project_.Story();
    ASSERT_EQ(reopened.Save(dialogs_), Outcome::Done);
    EXPECT_EQ(StoryFile::Parse(Contents(story), reopened.Pictures()).story, project_.Story());
}

TEST_F(ShowProjectStoryTest, AStoryFileThatIsNoRegularFileIsNamedAndNotWrittenThrough)
{
    ASSERT_EQ(mkfifo(QFile::encodeName(Path("show.zut.story")).constData(), 0600), 0);
    dialogs_.saveAnswers = {Path("show")};
    ASSERT_EQ(project_.Save(dialogs_), Outcome::Failed);
    ASSERT_EQ(dialogs_.errors.size(), 1);
    EXPECT_TRUE(dialogs_.errors.first().contains("show.zut.story"));
    // Neither file is written when one of them cannot be.
    EXPECT_FALSE(QFileInfo::exists(Path("show.zut")));
    WriteTextFile(Path("show.zut"), project_.ProjectText());
    ShowProject reopened;
    ASSERT_EQ(reopened.OpenPath(Path("show.zut"), dialogs_), Outcome::Done);
    ASSERT_EQ(dialogs_.notices.size(), 1);
    EXPECT_TRUE(dialogs_.notices.first().contains("pipe"));
}

TEST_F(ShowProjectStoryTest, TheStoryFileIsOneOfTheShowsOwnFiles)
{
    dialogs_.saveAnswers = {Path("show")};
    ASSERT_EQ(project_.Save(dialogs_), Outcome::Done);
    EXPECT_EQ(project_.OwnFileRole(Path("show.zut.story")), QStringLiteral("the project's story file"));
}

}  // namespace
}  // namespace lumetta
