// SPDX-License-Identifier: GPL-3.0-or-later
#include "show/show_project.h"

#include "common/same_file.h"
#include "show/project_file.h"
#include "show/story_file.h"
#include "show/version.h"

#include <QFile>
#include <QFileInfo>

namespace lumetta {

namespace {

const QString kZut = QStringLiteral(".zut");

// The shortest project the program writes: the settings and the two marker lines.
constexpr int kShortestProject = ShowSettings::kLineCount + 2;

QString TooFewLinesMessage(const QString &path, qsizetype lines)
{
    return QStringLiteral("Cannot open file %1: it holds %2 %3 where a project needs at least %4")
        .arg(path)
        .arg(lines)
        .arg(lines == 1 ? QStringLiteral("line") : QStringLiteral("lines"))
        .arg(kShortestProject);
}

// The caption's name for a project file: its file name without the ".zut".
QString ProjectStem(const QString &path)
{
    QString stem = QFileInfo(path).fileName();
    stem.chop(kZut.size());
    return stem;
}

}  // namespace

QString NoPicturesMessage(const QString &path)
{
    return QStringLiteral("%1 holds no pictures to show").arg(path);
}

void StreamDialogs::ShowError(const QString &message)
{
    std::fprintf(errors_, "lumetta: %s\n", qPrintable(message));
}

QStringList ShowProject::StandardEffects()
{
    return {QStringLiteral("1"),  QStringLiteral("2"),  QStringLiteral("4"),  QStringLiteral("6"),
            QStringLiteral("9"),  QStringLiteral("11"), QStringLiteral("12"), QStringLiteral("13"),
            QStringLiteral("14"), QStringLiteral("15"), QStringLiteral("17"), QStringLiteral("19"),
            QStringLiteral("20")};
}

ShowProject::ShowProject()
    : effects_(StandardEffects()),
      caption_(QLatin1String(kMainCaption)),
      appTitle_(QLatin1String(kProgramName))
{
}

ShowProject::FileState ShowProject::State() const
{
    if (!openedPath_.isEmpty())
        return FileState::Opened;
    if (!savedName_.isEmpty())
        return FileState::SavedAs;
    return FileState::Untitled;
}

QString ShowProject::ProjectFileName(const QString &name)
{
    return name.endsWith(kZut, Qt::CaseInsensitive) ? name : name + kZut;
}

std::optional<QString> ShowProject::OwnFileRole(const QString &path) const
{
    const QString project = SaveTarget();
    if (!project.isEmpty() && SameFile(path, project))
        return QStringLiteral("the project file itself");
    if (!project.isEmpty() && SameFile(path, StoryFile::PathFor(project)))
        return QStringLiteral("the project's story file");
    if (settings_.BackgroundFromFile() && SameFile(path, settings_.BackgroundFile()))
        return QStringLiteral("the show's background picture");
    for (const QString &picture : pictures_)
        if (SameFile(path, picture))
            return QStringLiteral("one of the show's pictures");
    // The playlist stays the user's also while the music is off.
    for (const QString &track : playlist_)
        if (SameFile(path, track))
            return QStringLiteral("one of the show's music files");
    return std::nullopt;
}

QString ShowProject::SaveTarget() const
{
    if (!openedPath_.isEmpty())
        return openedPath_;
    if (!savedName_.isEmpty())
        return ProjectFileName(savedName_);
    return {};
}

QString ShowProject::ResumeEntry() const
{
    const QString target = SaveTarget();
    return target.isEmpty() ? QStringLiteral("No") : target;
}

QStringList ShowProject::ProjectText() const
{
    return BuildProjectText(settings_, pictures_, effects_, playlist_);
}

QByteArray ShowProject::ProjectBytes() const
{
    return legacy_.Encode(ProjectText());
}

void ShowProject::SetTitles(const QString &caption, const QString &name)
{
    caption_ = caption + name;
    appTitle_ = name + QLatin1String(" - ") + QLatin1String(kProgramName);
}

void ShowProject::Reset()
{
    caption_ = QStringLiteral("Lumetta XP - Untitled project");
    pictures_.clear();
    story_ = ShowStory();
    settings_.FillDefaults(ShowSettings::Defaults::Start);
    openedPath_.clear();
    savedName_.clear();
}

bool ShowProject::ReadInto(const QString &path, ProjectDialogs &dialogs)
{
    ProjectContent content;
    LegacyLines legacy;
    try {
        const QStringList lines = ReadTextFile(path, kProjectFileLimits, &legacy);
        if (lines.size() < ShowSettings::kLineCount)
            throw ProjectError(TooFewLinesMessage(path, lines.size()));
        content = ParseProjectText(lines);
    } catch (const ProjectError &error) {
        dialogs.ShowError(error.Message());
        return false;
    }
    const QString storyPath = StoryFile::PathFor(path);
    StoryFile::Reading story = StoryFile::Read(storyPath, content.pictures);
    settings_ = content.settings;
    pictures_ = content.pictures;
    effects_ = content.effects;
    if (content.playlist)
        playlist_ = *content.playlist;
    story_ = std::move(story.story);
    legacy_ = legacy;
    // The project opens with what could be read; the file is left alone until the next save.
    if (!story.problems.isEmpty())
        dialogs.ShowNotice(StoryFile::Notice(storyPath, story.problems));
    return true;
}

bool ShowProject::Write(const QString &path, ProjectDialogs &dialogs)
{
    const QString storyPath = StoryFile::PathFor(path);
    try {
        QList<FileBytes> files{{path, CheckedTextBytes(path, ProjectText(), kProjectFileLimits, legacy_)}};
        CheckWriteTarget(storyPath);
        if (QByteArray story = StoryFile::Bytes(story_, pictures_); !story.isEmpty())
            files.append({storyPath, std::move(story)});
        WriteFiles(files);
        // A project without details keeps no story file, which would give its slides old ones.
        if (files.size() == 1 && QFileInfo(storyPath).isFile() && !QFile::remove(storyPath))
            throw ProjectError(
                QStringLiteral("Cannot remove file %1, which holds slide details the project no longer has")
                    .arg(storyPath));
    } catch (const ProjectError &error) {
        dialogs.ShowError(error.Message());
        return false;
    }
    return true;
}

ShowProject::Outcome ShowProject::OfferToSave(ProjectDialogs &dialogs)
{
    if (pictures_.isEmpty() || !modified_)
        return Outcome::Done;
    switch (dialogs.AskSaveProject()) {
    case ProjectDialogs::Answer::Cancel:
        return Outcome::Cancelled;
    case ProjectDialogs::Answer::Yes:
        // Only a save that really happened lets the project go.
        return Save(dialogs);
    case ProjectDialogs::Answer::No:
        break;
    }
    return Outcome::Done;
}

std::optional<QString> ShowProject::AskSaveName(ProjectDialogs &dialogs)
{
    for (;;) {
        const std::optional<QString> name = dialogs.AskSaveName();
        if (!name)
            return std::nullopt;
        // The dialog asked about the name it returned; the file really written may be another.
        const QString target = ProjectFileName(*name);
        if (!QFileInfo::exists(target) || dialogs.AskReplace(target))
            return name;
    }
}

ShowProject::Outcome ShowProject::New(ProjectDialogs &dialogs)
{
    if (const Outcome offered = OfferToSave(dialogs); offered != Outcome::Done)
        return offered;
    Reset();
    return Outcome::Done;
}

ShowProject::Outcome ShowProject::Open(ProjectDialogs &dialogs)
{
    if (const Outcome offered = OfferToSave(dialogs); offered != Outcome::Done)
        return offered;
    const std::optional<QString> path = dialogs.AskOpenPath();
    if (!path)
        return Outcome::Cancelled;
    return ReadOpened(*path, dialogs);
}

ShowProject::Outcome ShowProject::OpenPath(const QString &path, ProjectDialogs &dialogs)
{
    if (const Outcome offered = OfferToSave(dialogs); offered != Outcome::Done)
        return offered;
    return ReadOpened(path, dialogs);
}

ShowProject::Outcome ShowProject::ReadOpened(const QString &path, ProjectDialogs &dialogs)
{
    if (!ReadInto(path, dialogs))
        return Outcome::Failed;
    modified_ = false;
    openedPath_ = path;
    savedName_.clear();
    SetTitles(QStringLiteral("Lumetta XP - "), ProjectStem(path));
    return Outcome::Done;
}

ShowProject::Outcome ShowProject::Reopen(const QString &path, ProjectDialogs &dialogs)
{
    // A path that could not be read is no save target: Save would write there unseen.
    if (!ReadInto(path, dialogs))
        return Outcome::Failed;
    openedPath_ = path;
    savedName_.clear();
    SetTitles(QStringLiteral("Lumetta XP - "), ProjectStem(path));
    return Outcome::Done;
}

ShowProject::Outcome ShowProject::Save(ProjectDialogs &dialogs)
{
    if (pictures_.isEmpty())
        return Outcome::Skipped;
    QString target = SaveTarget();
    std::optional<QString> newName;
    if (target.isEmpty()) {
        newName = AskSaveName(dialogs);
        if (!newName)
            return Outcome::Cancelled;
        target = ProjectFileName(*newName);
    }
    if (!Write(target, dialogs))
        return Outcome::Failed;
    if (newName) {
        savedName_ = *newName;
        SetTitles(QStringLiteral("Lumetta XP - "), ProjectStem(target));
    }
    modified_ = false;
    return Outcome::Done;
}

ShowProject::Outcome ShowProject::SaveAs(ProjectDialogs &dialogs)
{
    if (pictures_.isEmpty())
        return Outcome::Skipped;
    const std::optional<QString> name = AskSaveName(dialogs);
    if (!name) {
        // Even a cancelled Save As forgets the opened file: the next Save asks for a name.
        openedPath_.clear();
        return Outcome::Cancelled;
    }
    const QString target = ProjectFileName(*name);
    if (!Write(target, dialogs))
        return Outcome::Failed;
    savedName_ = *name;
    openedPath_.clear();
    modified_ = false;
    SetTitles(QStringLiteral("Lumetta XP - "), ProjectStem(target));
    return Outcome::Done;
}

bool ShowProject::ConfirmClose(ProjectDialogs &dialogs)
{
    return OfferToSave(dialogs) == Outcome::Done;
}

}  // namespace lumetta
