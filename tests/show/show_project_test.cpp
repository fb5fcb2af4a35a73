// SPDX-License-Identifier: GPL-3.0-or-later
#include "show/show_project.h"

#include "show/project_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "support/scripted_dialogs.h"

namespace lumetta {
namespace {

using Outcome = ShowProject::Outcome;
using FileState = ShowProject::FileState;
using Answer = ProjectDialogs::Answer;

class ShowProjectTest : public ::testing::Test
{
protected:
    QString Path(const QString &name) const { return dir_.filePath(name); }

    // A project file on disk with the given pictures, effects and music line.
    QString MakeProjectFile(const QString &name, const QStringList &pictures, const QStringList &effects,
                            const char *music = "No music", const QStringList &playlist = {})
    {
        ShowSettings settings;
        settings.Put(ShowSettings::MusicLine, QLatin1String(music));
        settings.Put(ShowSettings::AdvanceLine, QStringLiteral("9"));
        const QString path = Path(name);
        WriteTextFile(path, BuildProjectText(settings, pictures, effects, playlist));
        return path;
    }

    void Edit()
    {
        project_.Pictures() << "/p/new.jpg";
        project_.SetModified();
    }

    QTemporaryDir dir_;
    ShowProject project_;
    ScriptedDialogs dialogs_;
};

TEST_F(ShowProjectTest, StartsUntitledWithTheStandardEffectSet)
{
    EXPECT_EQ(project_.State(), FileState::Untitled);
    EXPECT_EQ(project_.EffectSelection(),
              QStringList({"1", "2", "4", "6", "9", "11", "12", "13", "14", "15", "17", "19", "20"}));
    EXPECT_EQ(project_.Settings(), ShowSettings());
    EXPECT_FALSE(project_.Modified());
    EXPECT_EQ(project_.Caption(), QLatin1String("Lumetta XP 3.51"));
    EXPECT_EQ(project_.ApplicationTitle(), QLatin1String("Lumetta XP"));
    EXPECT_EQ(project_.ResumeEntry(), QLatin1String("No"));
}

TEST_F(ShowProjectTest, OpenReadsEverythingAndSetsTheOpenCaption)
{
    project_.Playlist() << "/m/old.mp3";
    const QString path = MakeProjectFile("trip.zut", {"/p/1.jpg", "/p/2.jpg"}, {"3", "5"});
    project_.SetModified();
    dialogs_.openAnswers = {path};
    EXPECT_EQ(project_.Open(dialogs_), Outcome::Done);
    EXPECT_EQ(project_.Pictures(), QStringList({"/p/1.jpg", "/p/2.jpg"}));
    EXPECT_EQ(project_.EffectSelection(), QStringList({"3", "5"}));
    EXPECT_EQ(project_.Playlist(), QStringList({"/m/old.mp3"}));  // music off keeps it
    EXPECT_EQ(project_.Settings().Get(ShowSettings::AdvanceLine), QLatin1String("9"));
    EXPECT_FALSE(project_.Modified());
    EXPECT_EQ(project_.State(), FileState::Opened);
    EXPECT_EQ(project_.OpenedPath(), path);
    EXPECT_EQ(project_.Caption(), QLatin1String("Lumetta XP - trip"));
    EXPECT_EQ(project_.ApplicationTitle(), QLatin1String("trip - Lumetta XP"));
    EXPECT_EQ(project_.ResumeEntry(), path);
}

TEST_F(ShowProjectTest, OpenWithMusicReplacesThePlaylist)
{
    project_.Playlist() << "/m/old.mp3";
    dialogs_.openAnswers = {MakeProjectFile("m.zut", {"/p/1.jpg"}, {}, "NoRepeat", {"/m/a.wav", "/m/b.mp3"})};
    ASSERT_EQ(project_.Open(dialogs_), Outcome::Done);
    EXPECT_EQ(project_.Playlist(), QStringList({"/m/a.wav", "/m/b.mp3"}));
    EXPECT_TRUE(project_.EffectSelection().isEmpty());
}

TEST_F(ShowProjectTest, OpenCancelledChangesNothing)
{
    Edit();
    dialogs_.openAnswers = {std::nullopt};
    EXPECT_EQ(project_.Open(dialogs_), Outcome::Cancelled);
    EXPECT_EQ(project_.Pictures(), QStringList({"/p/new.jpg"}));
    EXPECT_TRUE(project_.Modified());
    EXPECT_EQ(project_.Caption(), QLatin1String("Lumetta XP 3.51"));
}

TEST_F(ShowProjectTest, OpenOfABadFileReportsAndKeepsTheProjectWhole)
{
    const QString good = MakeProjectFile("good.zut", {"/p/1.jpg"}, {"2"});
    dialogs_.openAnswers = {good};
    ASSERT_EQ(project_.Open(dialogs_), Outcome::Done);
    Edit();
    const QString shortFile = Path("short.zut");
    WriteTextFile(shortFile, {"2", "80", "Random"});
    const QString missing = Path("missing.zut");
    const struct
    {
        QString path;
        QString message;
    } cases[] = {
        {shortFile, "Cannot open file " + shortFile + ": it holds 3 lines where a project needs at least 12"},
        {missing, "Cannot open file " + missing + ": the file does not exist"},
    };
    for (const auto &c : cases) {
        dialogs_.saveQuestionAnswers = {Answer::No};
        dialogs_.openAnswers = {c.path};
        dialogs_.errors.clear();
        EXPECT_EQ(project_.Open(dialogs_), Outcome::Failed);
        EXPECT_EQ(dialogs_.errors, QStringList({c.message}));
        EXPECT_EQ(project_.Pictures(), QStringList({"/p/1.jpg", "/p/new.jpg"}));
        EXPECT_EQ(project_.EffectSelection(), QStringList({"2"}));
        EXPECT_EQ(project_.Settings().Get(ShowSettings::AdvanceLine), QLatin1String("9"));
        EXPECT_EQ(project_.OpenedPath(), good);
        EXPECT_TRUE(project_.Modified());
        EXPECT_EQ(project_.Caption(), QLatin1String("Lumetta XP - good"));
    }
}

TEST_F(ShowProjectTest, SaveWithAnEmptyListDoesNothing)
{
    EXPECT_EQ(project_.Save(dialogs_), Outcome::Skipped);
    EXPECT_EQ(project_.SaveAs(dialogs_), Outcome::Skipped);
    EXPECT_TRUE(dialogs_.asked.isEmpty());
    EXPECT_TRUE(dialogs_.errors.isEmpty());
}

TEST_F(ShowProjectTest, SaveOfAnUntitledProjectAsksAndAppendsZut)
{
    Edit();
    dialogs_.saveAnswers = {Path("holiday")};
    EXPECT_EQ(project_.Save(dialogs_), Outcome::Done);
    EXPECT_EQ(dialogs_.asked, QStringList({"save"}));
    EXPECT_TRUE(QFileInfo::exists(Path("holiday.zut")));
    EXPECT_EQ(ReadTextFile(Path("holiday.zut")), project_.ProjectText());
    EXPECT_EQ(project_.State(), FileState::SavedAs);
    EXPECT_EQ(project_.SavedName(), Path("holiday"));
    EXPECT_FALSE(project_.Modified());
    EXPECT_EQ(project_.Caption(), QLatin1String("Lumetta XP - holiday"));  // the caption names what was saved
    EXPECT_EQ(project_.ResumeEntry(), Path("holiday.zut"));
}

TEST_F(ShowProjectTest, CancelledSaveWritesNothingAndStaysModified)
{
    Edit();
    dialogs_.saveAnswers = {std::nullopt};
    EXPECT_EQ(project_.Save(dialogs_), Outcome::Cancelled);
    EXPECT_TRUE(project_.Modified());
    EXPECT_EQ(project_.State(), FileState::Untitled);
    EXPECT_TRUE(QDir(dir_.path()).isEmpty());
}

TEST_F(ShowProjectTest, FailedSaveReportsAndStaysModified)
{
    Edit();
    QFile blocker(Path("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    dialogs_.saveAnswers = {Path("file/sub")};
    EXPECT_EQ(project_.Save(dialogs_), Outcome::Failed);
    EXPECT_EQ(dialogs_.errors, QStringList({"Cannot create file " + Path("file/sub.zut") + ": Not a directory"}));
    EXPECT_TRUE(project_.Modified());
    EXPECT_EQ(project_.State(), FileState::Untitled);
}

// Save never puts the project over a pipe or a device, even when told to replace it.
TEST_F(ShowProjectTest, SaveRefusesAPipeOrADeviceAndLeavesItAlone)
{
    const QString pipe = Path("pipe.zut");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
    const QString device = Path("null.zut");
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), device));
    for (const QString &target : {pipe, device}) {
        Edit();
        ScriptedDialogs dialogs;
        dialogs.saveAnswers = {target};
        dialogs.replaceAnswers = {true};
        EXPECT_EQ(project_.SaveAs(dialogs), Outcome::Failed);
        EXPECT_EQ(dialogs.errors, QStringList{"Cannot create file " + target + ": it is not a regular file"});
        EXPECT_TRUE(project_.Modified());
    }
    struct stat info = {};
    ASSERT_EQ(::lstat(QFile::encodeName(pipe).constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    ASSERT_EQ(::stat("/dev/null", &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode));
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
              (QStringList{QStringLiteral("null.zut"), QStringLiteral("pipe.zut")}));
}

// Every row and move of the project-file state table, through the operations.
TEST_F(ShowProjectTest, StateTable)
{
    const QString opened = MakeProjectFile("opened.zut", {"/p/1.jpg"}, {"1"});
    dialogs_.openAnswers = {opened};
    ASSERT_EQ(project_.Open(dialogs_), Outcome::Done);
    ASSERT_EQ(project_.State(), FileState::Opened);

    // Opened: Save writes to the opened path without asking.
    Edit();
    EXPECT_EQ(project_.Save(dialogs_), Outcome::Done);
    EXPECT_TRUE(dialogs_.asked.filter("save").isEmpty());
    EXPECT_EQ(ReadTextFile(opened).size(), 15);

    // A cancelled Save As forgets the opened path: Opened -> Untitled, flag as it was.
    Edit();
    dialogs_.saveAnswers = {std::nullopt};
    EXPECT_EQ(project_.SaveAs(dialogs_), Outcome::Cancelled);
    EXPECT_EQ(project_.State(), FileState::Untitled);
    EXPECT_TRUE(project_.Modified());
    EXPECT_EQ(project_.Caption(), QLatin1String("Lumetta XP - opened"));

    // Untitled: Save asks; here the user names it, so it becomes Saved as.
    dialogs_.asked.clear();
    dialogs_.saveAnswers = {Path("named")};
    EXPECT_EQ(project_.Save(dialogs_), Outcome::Done);
    EXPECT_EQ(dialogs_.asked, QStringList({"save"}));
    EXPECT_EQ(project_.State(), FileState::SavedAs);

    // Saved as: Save writes saved name + ".zut" again, no question.
    Edit();
    dialogs_.asked.clear();
    EXPECT_EQ(project_.Save(dialogs_), Outcome::Done);
    EXPECT_TRUE(dialogs_.asked.isEmpty());
    EXPECT_EQ(ReadTextFile(Path("named.zut")), project_.ProjectText());

    // A cancelled Save As leaves Saved as unchanged.
    dialogs_.saveAnswers = {std::nullopt};
    EXPECT_EQ(project_.SaveAs(dialogs_), Outcome::Cancelled);
    EXPECT_EQ(project_.State(), FileState::SavedAs);

    // New -> Untitled.
    EXPECT_EQ(project_.New(dialogs_), Outcome::Done);
    EXPECT_EQ(project_.State(), FileState::Untitled);
    EXPECT_TRUE(project_.OpenedPath().isEmpty());
    EXPECT_TRUE(project_.SavedName().isEmpty());
}

TEST_F(ShowProjectTest, SaveAsWritesAndTitlesWithTheNameAsTyped)
{
    dialogs_.openAnswers = {MakeProjectFile("first.zut", {"/p/1.jpg"}, {"1"})};
    ASSERT_EQ(project_.Open(dialogs_), Outcome::Done);
    project_.SetModified();
    dialogs_.saveAnswers = {Path("copy")};
    EXPECT_EQ(project_.SaveAs(dialogs_), Outcome::Done);
    EXPECT_EQ(ReadTextFile(Path("copy.zut")), project_.ProjectText());
    EXPECT_EQ(project_.State(), FileState::SavedAs);
    EXPECT_FALSE(project_.Modified());
    EXPECT_EQ(project_.Caption(), QLatin1String("Lumetta XP - copy"));
    EXPECT_EQ(project_.ApplicationTitle(), QLatin1String("copy - Lumetta XP"));

    // Save right after Save As writes the same file again.
    project_.Pictures() << "/p/2.jpg";
    dialogs_.asked.clear();
    EXPECT_EQ(project_.Save(dialogs_), Outcome::Done);
    EXPECT_TRUE(dialogs_.asked.isEmpty());
    EXPECT_EQ(ReadTextFile(Path("copy.zut")).size(), 15);
}

TEST_F(ShowProjectTest, SaveAfterACancelledSaveAsOfAnOpenedProjectAsks)
{
    dialogs_.openAnswers = {MakeProjectFile("o.zut", {"/p/1.jpg"}, {})};
    ASSERT_EQ(project_.Open(dialogs_), Outcome::Done);
    dialogs_.saveAnswers = {std::nullopt, std::nullopt};
    project_.SaveAs(dialogs_);
    dialogs_.asked.clear();
    EXPECT_EQ(project_.Save(dialogs_), Outcome::Cancelled);
    EXPECT_EQ(dialogs_.asked, QStringList({"save"}));
}

TEST_F(ShowProjectTest, NewOfAnUnmodifiedProjectResetsWithoutAsking)
{
    dialogs_.openAnswers = {MakeProjectFile("o.zut", {"/p/1.jpg"}, {"7"}, "NoRepeat", {"/m/x.mp3"})};
    ASSERT_EQ(project_.Open(dialogs_), Outcome::Done);
    EXPECT_EQ(project_.New(dialogs_), Outcome::Done);
    EXPECT_TRUE(dialogs_.asked.filter("question").isEmpty());
    EXPECT_TRUE(project_.Pictures().isEmpty());
    EXPECT_EQ(project_.Settings(), ShowSettings());
    EXPECT_EQ(project_.EffectSelection(), QStringList({"7"}));
    EXPECT_EQ(project_.Playlist(), QStringList({"/m/x.mp3"}));
    EXPECT_EQ(project_.Caption(), QLatin1String("Lumetta XP - Untitled project"));
    EXPECT_EQ(project_.ApplicationTitle(), QLatin1String("o - Lumetta XP"));
}

TEST_F(ShowProjectTest, NewOfAModifiedProjectFollowsTheAnswer)
{
    const struct
    {
        const char *what;
        Answer answer;
        std::optional<QString> saveName;
        Outcome outcome;
        bool reset;
        bool written;
    } cases[] = {
        {"cancel", Answer::Cancel, std::nullopt, Outcome::Cancelled, false, false},
        {"no", Answer::No, std::nullopt, Outcome::Done, true, false},
        {"yes, save cancelled", Answer::Yes, std::nullopt, Outcome::Cancelled, false, false},
        {"yes, save failed", Answer::Yes, QString("/nonexistent-folder/x"), Outcome::Failed, false, false},
        {"yes, saved", Answer::Yes, QString("saved"), Outcome::Done, true, true},
    };
    for (const auto &c : cases) {
        ShowProject p;
        ScriptedDialogs d;
        p.Pictures() << "/p/a.jpg";
        p.SetModified();
        d.saveQuestionAnswers = {c.answer};
        d.saveAnswers = {c.saveName && !c.saveName->startsWith('/') ? Path(*c.saveName) : c.saveName};
        EXPECT_EQ(p.New(d), c.outcome) << c.what;
        EXPECT_EQ(d.asked.first(), QLatin1String("question")) << c.what;
        EXPECT_EQ(p.Pictures().isEmpty(), c.reset) << c.what;
        EXPECT_EQ(p.Caption() == QLatin1String("Lumetta XP - Untitled project"), c.reset) << c.what;
        EXPECT_EQ(QFileInfo::exists(Path("saved.zut")), c.written) << c.what;
    }
}

TEST_F(ShowProjectTest, ReopenUsesTheBlankCaptionAndKeepsTheFlag)
{
    const QString path = MakeProjectFile("last.zut", {"/p/1.jpg"}, {"2"});
    project_.SetModified();
    EXPECT_EQ(project_.Reopen(path, dialogs_), Outcome::Done);
    EXPECT_TRUE(project_.Modified());
    EXPECT_EQ(project_.Caption(), QLatin1String("Lumetta XP - last"));
    EXPECT_EQ(project_.ApplicationTitle(), QLatin1String("last - Lumetta XP"));
    EXPECT_EQ(project_.OpenedPath(), path);
}

TEST_F(ShowProjectTest, FailedReopenRemembersNoPath)
{
    const QString path = Path("gone.zut");
    EXPECT_EQ(project_.Reopen(path, dialogs_), Outcome::Failed);
    EXPECT_EQ(dialogs_.errors, QStringList({"Cannot open file " + path + ": the file does not exist"}));
    EXPECT_TRUE(project_.Pictures().isEmpty());
    EXPECT_EQ(project_.Settings(), ShowSettings());
    EXPECT_EQ(project_.Caption(), QLatin1String("Lumetta XP 3.51"));
    EXPECT_EQ(project_.State(), FileState::Untitled);
    EXPECT_EQ(project_.ResumeEntry(), QLatin1String("No"));
    // Save asks for a name instead of writing to the missing file unseen.
    Edit();
    dialogs_.saveAnswers = {std::nullopt};
    EXPECT_EQ(project_.Save(dialogs_), Outcome::Cancelled);
    EXPECT_EQ(dialogs_.asked, QStringList({"save"}));
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST_F(ShowProjectTest, FilesTooShortForAProjectAreNamedWithTheirLineCount)
{
    const struct
    {
        QStringList lines;
        QString message;  // empty: read
    } cases[] = {
        {{}, "it holds 0 lines where a project needs at least 12"},
        {{"2"}, "it holds 1 line where a project needs at least 12"},
        {QStringList(9, "x"), "it holds 9 lines where a project needs at least 12"},
        {ShowSettings().Lines(), ""},  // no markers: read as a project without pictures
    };
    for (const auto &c : cases) {
        const QString path = Path("short.zut");
        WriteTextFile(path, c.lines);
        dialogs_.errors.clear();
        const Outcome outcome = project_.OpenPath(path, dialogs_);
        if (c.message.isEmpty()) {
            EXPECT_EQ(outcome, Outcome::Done);
            EXPECT_TRUE(dialogs_.errors.isEmpty());
        } else {
            EXPECT_EQ(outcome, Outcome::Failed);
            EXPECT_EQ(dialogs_.errors, QStringList({"Cannot open file " + path + ": " + c.message}));
        }
    }
}

TEST_F(ShowProjectTest, ProjectFileNameAppendsZutOnlyWhenMissing)
{
    const struct
    {
        const char *name;
        const char *file;
    } cases[] = {
        {"/p/show", "/p/show.zut"},       {"/p/show.zut", "/p/show.zut"},
        {"/p/show.ZUT", "/p/show.ZUT"},   {"/p/my show.zut", "/p/my show.zut"},
        {"/p/show.zu", "/p/show.zu.zut"}, {"/p/show.zut.bak", "/p/show.zut.bak.zut"},
        {"/p/.zut", "/p/.zut"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ShowProject::ProjectFileName(c.name), QLatin1String(c.file)) << c.name;
}

TEST_F(ShowProjectTest, SaveWritesTheFileTheDialogNamedAndAsksBeforeReplacingIt)
{
    const struct
    {
        const char *what;
        const char *typed;
        bool exists;  // the file really written exists before
        QList<bool> replies;  // answers to the replace question
        bool written;
    } cases[] = {
        {"typed with the extension", "show.zut", false, {}, true},
        {"an existing file picked", "my show.zut", true, {true}, true},
        {"an existing file kept", "my show.zut", true, {false}, false},
        {"typed without the extension of an existing file", "keep", true, {true}, true},
        {"the same, kept", "keep", true, {false}, false},
    };
    for (const auto &c : cases) {
        QTemporaryDir folder;
        const QString typed = folder.filePath(QLatin1String(c.typed));
        const QString file = ShowProject::ProjectFileName(typed);
        const QStringList onlyFile = c.exists || c.written ? QStringList({QFileInfo(file).fileName()}) : QStringList();
        for (bool saveAs : {false, true}) {
            QFile::remove(file);
            if (c.exists)
                WriteTextFile(file, {"old project"});
            ShowProject p;
            ScriptedDialogs d;
            p.Pictures() << "/p/a.jpg";
            p.SetModified();
            d.saveAnswers = {typed, std::nullopt};
            d.replaceAnswers.assign(c.replies.begin(), c.replies.end());
            const Outcome outcome = saveAs ? p.SaveAs(d) : p.Save(d);
            EXPECT_EQ(outcome, c.written ? Outcome::Done : Outcome::Cancelled) << c.what;
            EXPECT_EQ(d.replaceAsked, c.exists ? QStringList({file}) : QStringList()) << c.what;
            EXPECT_EQ(ReadTextFile(file) == p.ProjectText(), c.written) << c.what;
            EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), onlyFile) << c.what;
            EXPECT_EQ(p.Modified(), !c.written) << c.what;
            if (c.written) {
                EXPECT_EQ(p.SaveTarget(), file) << c.what;
                EXPECT_EQ(p.ResumeEntry(), file) << c.what;
            }
            if (saveAs && c.written) {
                EXPECT_EQ(p.Caption(), "Lumetta XP - " + QFileInfo(file).completeBaseName()) << c.what;
            }
        }
    }
}

TEST_F(ShowProjectTest, KeepingAnExistingFileAsksForAnotherName)
{
    WriteTextFile(Path("taken.zut"), {"old"});
    Edit();
    dialogs_.saveAnswers = {Path("taken"), Path("free")};
    dialogs_.replaceAnswers = {false};
    EXPECT_EQ(project_.Save(dialogs_), Outcome::Done);
    EXPECT_EQ(dialogs_.asked, QStringList({"save", "replace", "save"}));
    EXPECT_EQ(ReadTextFile(Path("taken.zut")), QStringList({"old"}));
    EXPECT_EQ(ReadTextFile(Path("free.zut")), project_.ProjectText());
}

TEST_F(ShowProjectTest, OpenOfAModifiedProjectAsksFirstAndGoesOnAsNewDoes)
{
    const QString other = MakeProjectFile("other.zut", {"/p/o.jpg"}, {"4"});
    const struct
    {
        const char *what;
        Answer answer;
        std::optional<QString> saveName;
        Outcome outcome;
        bool opened;
        bool saved;
    } cases[] = {
        {"cancel", Answer::Cancel, std::nullopt, Outcome::Cancelled, false, false},
        {"no", Answer::No, std::nullopt, Outcome::Done, true, false},
        {"yes, save cancelled", Answer::Yes, std::nullopt, Outcome::Cancelled, false, false},
        {"yes, save failed", Answer::Yes, QString("/nonexistent-folder/x"), Outcome::Failed, false, false},
        {"yes, saved", Answer::Yes, QString("mine"), Outcome::Done, true, true},
    };
    for (bool withDialog : {true, false}) {
        for (const auto &c : cases) {
            QFile::remove(Path("mine.zut"));
            ShowProject p;
            ScriptedDialogs d;
            p.Pictures() << "/p/a.jpg";
            p.SetModified();
            d.saveQuestionAnswers = {c.answer};
            d.saveAnswers = {c.saveName && !c.saveName->startsWith('/') ? Path(*c.saveName) : c.saveName};
            d.openAnswers = {other};
            const Outcome outcome = withDialog ? p.Open(d) : p.OpenPath(other, d);
            EXPECT_EQ(outcome, c.outcome) << c.what;
            EXPECT_EQ(d.asked.first(), QLatin1String("question")) << c.what;
            EXPECT_EQ(d.asked.contains("open"), withDialog && c.opened) << c.what;
            EXPECT_EQ(p.Pictures(), c.opened ? QStringList({"/p/o.jpg"}) : QStringList({"/p/a.jpg"})) << c.what;
            EXPECT_EQ(p.Modified(), !c.opened) << c.what;
            EXPECT_EQ(QFileInfo::exists(Path("mine.zut")), c.saved) << c.what;
        }
    }
}

TEST_F(ShowProjectTest, OpenOfAnUnmodifiedOrEmptyProjectAsksNothing)
{
    const QString other = MakeProjectFile("other.zut", {"/p/o.jpg"}, {"4"});
    project_.SetModified();  // modified but empty: nothing to lose
    EXPECT_EQ(project_.OpenPath(other, dialogs_), Outcome::Done);
    EXPECT_EQ(project_.OpenPath(other, dialogs_), Outcome::Done);
    EXPECT_TRUE(dialogs_.asked.isEmpty());
}

TEST_F(ShowProjectTest, OpenCaptionDropsTheLastFourCharacters)
{
    dialogs_.openAnswers = {MakeProjectFile("show.txt", {"/p/1.jpg"}, {})};
    ASSERT_EQ(project_.Open(dialogs_), Outcome::Done);
    EXPECT_EQ(project_.Caption(), QLatin1String("Lumetta XP - show"));
}

TEST_F(ShowProjectTest, CloseAsksOnlyForAModifiedNonEmptyProject)
{
    EXPECT_TRUE(project_.ConfirmClose(dialogs_));
    project_.SetModified();
    EXPECT_TRUE(project_.ConfirmClose(dialogs_));
    EXPECT_TRUE(dialogs_.asked.isEmpty());

    const struct
    {
        const char *what;
        Answer answer;
        std::optional<QString> saveName;
        bool closes;
    } cases[] = {
        {"cancel", Answer::Cancel, std::nullopt, false},
        {"no", Answer::No, std::nullopt, true},
        {"yes, save cancelled", Answer::Yes, std::nullopt, false},
        {"yes, saved", Answer::Yes, QString("closing"), true},
    };
    for (const auto &c : cases) {
        ShowProject p;
        ScriptedDialogs d;
        p.Pictures() << "/p/a.jpg";
        p.SetModified();
        d.saveQuestionAnswers = {c.answer};
        d.saveAnswers = {c.saveName ? std::optional<QString>(Path(*c.saveName)) : std::nullopt};
        EXPECT_EQ(p.ConfirmClose(d), c.closes) << c.what;
        EXPECT_EQ(d.asked.first(), QLatin1String("question")) << c.what;
    }
    EXPECT_TRUE(QFileInfo::exists(Path("closing.zut")));
}

}  // namespace
}  // namespace lumetta

namespace lumetta {
namespace {

// A project holding TEXT (lines, each ended by CR LF) as its file's bytes.
QByteArray ProjectBytes(const QList<QByteArray> &lines)
{
    QByteArray bytes;
    for (const QByteArray &line : lines)
        bytes += line + "\r\n";
    return bytes;
}

// A project written on Windows and edited here mixes a UTF-8 path with one in the old code
// page: each reads as what it names, and saving gives every unchanged line its own bytes back.
TEST_F(ShowProjectTest, MixedEncodingsSurviveOpenAndSave)
{
    QList<QByteArray> lines;
    for (const QString &setting : ShowSettings::DefaultLines(ShowSettings::Defaults::Start))
        lines << setting.toUtf8();
    lines << "/photos/\xC3\xA9t\xC3\xA9.jpg"
          << "/photos/caf\xE9.jpg"
          << "[TRANS]"
          << "3"
          << "[MUSIC]";
    const QByteArray original = ProjectBytes(lines);
    const QString path = Path(QStringLiteral("mixed.zut"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(original) == original.size());
    file.close();

    ASSERT_EQ(project_.OpenPath(path, dialogs_), Outcome::Done);
    EXPECT_EQ(project_.Pictures(), QStringList({QString::fromUtf8("/photos/\xC3\xA9t\xC3\xA9.jpg"),
                                                QString::fromUtf8("/photos/caf\xC3\xA9.jpg")}));
    Edit();
    project_.Pictures().removeLast();
    ASSERT_EQ(project_.Save(dialogs_), Outcome::Done);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), original);
    file.close();

    // A changed project: the new line is UTF-8, every other line keeps its bytes.
    project_.Pictures().prepend(QString::fromUtf8("/photos/na\xC3\xAFve.jpg"));
    ASSERT_EQ(project_.Save(dialogs_), Outcome::Done);
    lines.insert(ShowSettings::kLineCount, "/photos/na\xC3\xAFve.jpg");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), ProjectBytes(lines));
    EXPECT_EQ(project_.ProjectBytes(), ProjectBytes(lines));
}

// Nothing is saved that Open would refuse: at the reader's limits the project saves and opens
// again; one byte, line or line length past them, Save says why and the old file stays.
TEST_F(ShowProjectTest, SaveRefusesWhatOpenWouldRefuse)
{
    const QString path = MakeProjectFile(QStringLiteral("limits.zut"), {"/p/old.jpg"}, {"1"});
    ASSERT_EQ(project_.OpenPath(path, dialogs_), Outcome::Done);
    const qsizetype fixedBytes = EncodeLines(project_.ProjectText()).size() - QByteArray("/p/old.jpg\r\n").size();
    const qint64 limit = kProjectFileLimits.bytes;

    // Pictures of 1000-byte lines and one to fill the rest, for a file of TOTAL bytes.
    const auto picturesFillingTo = [&](qint64 total) {
        QStringList pictures;
        qint64 left = total - fixedBytes;
        const QString long1000 = QStringLiteral("/p/") + QString(1000 - 2 - 7, u'a') + QStringLiteral(".jpg");
        while (left > 2000) {
            pictures << long1000;
            left -= 1000;
        }
        pictures << QStringLiteral("/p/") + QString(left - 2 - 7, u'b') + QStringLiteral(".jpg");
        return pictures;
    };
    const QStringList manyLines = [] {
        QStringList pictures;
        // Ten settings lines, "[TRANS]", one effect and "[MUSIC]" besides the pictures.
        for (qsizetype i = 0; i < kProjectFileLimits.lines - ShowSettings::kLineCount - 4; ++i)
            pictures << QStringLiteral("/p/%1").arg(i);
        return pictures;
    }();
    const QString longestLine = QStringLiteral("/p/") + QString(kProjectFileLimits.lineBytes - 3, u'c');
    const struct
    {
        const char *what;
        QStringList pictures;
        const char *refusal;  // null: saved
    } cases[] = {
        {"16 MiB", picturesFillingTo(limit), nullptr},
        {"16 MiB and a byte", picturesFillingTo(limit + 1),
         "the file would be larger than 16 MiB, which could not be opened again"},
        {"a million lines", manyLines + QStringList{"/p/last"}, nullptr},
        {"a million lines and one", manyLines + QStringList{"/p/last", "/p/more"},
         "the file would have more than 1000000 lines, which could not be opened again"},
        {"the longest line", {longestLine}, nullptr},
        {"a line a byte longer",
         {longestLine + u'c'},
         "line 11 would be longer than 32768 bytes, which could not be opened again"},
    };
    for (const auto &c : cases) {
        project_.SetModified(false);
        ASSERT_EQ(project_.OpenPath(MakeProjectFile(QStringLiteral("limits.zut"), {"/p/old.jpg"}, {"1"}), dialogs_),
                  Outcome::Done);
        const QByteArray before = [&] {
            QFile file(path);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }();
        dialogs_.errors.clear();
        project_.Pictures() = c.pictures;
        project_.SetModified();
        if (!c.refusal) {
            EXPECT_EQ(project_.Save(dialogs_), Outcome::Done) << c.what;
            EXPECT_EQ(dialogs_.errors, QStringList()) << c.what;
            ShowProject reopened;
            EXPECT_EQ(reopened.OpenPath(path, dialogs_), Outcome::Done) << c.what;
            EXPECT_EQ(reopened.Pictures().size(), c.pictures.size()) << c.what;
            EXPECT_EQ(QFileInfo(path).size(), EncodeLines(project_.ProjectText()).size()) << c.what;
            if (c.pictures.first().startsWith(QLatin1String("/p/aaa")))
                EXPECT_EQ(QFileInfo(path).size(), limit);
        } else {
            EXPECT_EQ(project_.Save(dialogs_), Outcome::Failed) << c.what;
            EXPECT_EQ(dialogs_.errors, QStringList({"Cannot create file " + path + ": " + c.refusal})) << c.what;
            EXPECT_TRUE(project_.Modified()) << c.what;
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_EQ(file.readAll(), before) << c.what;
        }
    }
}

}  // namespace
}  // namespace lumetta
