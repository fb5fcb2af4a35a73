#include "show/show_project.h"

#include "show/project_file.h"
#include "show/version.h"

#include <QFileInfo>

namespace lumetta {

namespace {

const QString kZut = QStringLiteral(".zut");

}  // namespace

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

QString ShowProject::SaveTarget() const
{
    if (!openedPath_.isEmpty())
        return openedPath_;
    if (!savedName_.isEmpty())
        return savedName_ + kZut;
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

void ShowProject::SetTitles(const QString &caption, const QString &name)
{
    caption_ = caption + name;
    appTitle_ = name + QLatin1String(" - ") + QLatin1String(kProgramName);
}

void ShowProject::Reset()
{
    caption_ = QStringLiteral("Lumetta XP - Untitled project");
    pictures_.clear();
    settings_.FillDefaults(ShowSettings::Defaults::Start);
    openedPath_.clear();
    savedName_.clear();
}

bool ShowProject::ReadInto(const QString &path, ProjectDialogs &dialogs)
{
    ProjectContent content;
    try {
        content = ParseProjectText(ReadTextFile(path));
    } catch (const ProjectError &error) {
        dialogs.ShowError(error.Message());
        return false;
    }
    settings_ = content.settings;
    pictures_ = content.pictures;
    effects_ = content.effects;
    if (content.playlist)
        playlist_ = *content.playlist;
    return true;
}

bool ShowProject::Write(const QString &path, ProjectDialogs &dialogs)
{
    try {
        WriteTextFile(path, ProjectText());
    } catch (const ProjectError &error) {
        dialogs.ShowError(error.Message());
        return false;
    }
    return true;
}

ShowProject::Outcome ShowProject::New(ProjectDialogs &dialogs)
{
    if (!pictures_.isEmpty() && modified_) {
        switch (dialogs.AskSaveProject()) {
        case ProjectDialogs::Answer::Cancel:
            return Outcome::Cancelled;
        case ProjectDialogs::Answer::Yes:
            // Only a save that really happened lets the project go.
            if (const Outcome saved = Save(dialogs); saved != Outcome::Done)
                return saved;
            break;
        case ProjectDialogs::Answer::No:
            break;
        }
    }
    Reset();
    return Outcome::Done;
}

ShowProject::Outcome ShowProject::Open(ProjectDialogs &dialogs)
{
    const std::optional<QString> path = dialogs.AskOpenPath();
    if (!path)
        return Outcome::Cancelled;
    return OpenPath(*path, dialogs);
}

ShowProject::Outcome ShowProject::OpenPath(const QString &path, ProjectDialogs &dialogs)
{
    if (!ReadInto(path, dialogs))
        return Outcome::Failed;
    modified_ = false;
    openedPath_ = path;
    savedName_.clear();
    QString stem = QFileInfo(path).fileName();
    stem.chop(4);
    SetTitles(QStringLiteral("Lumetta XP- "), stem);
    return Outcome::Done;
}

ShowProject::Outcome ShowProject::Reopen(const QString &path, ProjectDialogs &dialogs)
{
    openedPath_ = path;
    savedName_.clear();
    if (!ReadInto(path, dialogs))
        return Outcome::Failed;
    QString stem = QFileInfo(path).fileName();
    stem.chop(4);
    SetTitles(QStringLiteral("Lumetta XP - "), stem);
    return Outcome::Done;
}

ShowProject::Outcome ShowProject::Save(ProjectDialogs &dialogs)
{
    if (pictures_.isEmpty())
        return Outcome::Skipped;
    QString target = SaveTarget();
    QString newName;
    if (target.isEmpty()) {
        const std::optional<QString> name = dialogs.AskSaveName();
        if (!name)
            return Outcome::Cancelled;
        newName = *name;
        target = newName + kZut;
    }
    if (!Write(target, dialogs))
        return Outcome::Failed;
    if (!newName.isEmpty())
        savedName_ = newName;
    modified_ = false;
    return Outcome::Done;
}

ShowProject::Outcome ShowProject::SaveAs(ProjectDialogs &dialogs)
{
    if (pictures_.isEmpty())
        return Outcome::Skipped;
    const std::optional<QString> name = dialogs.AskSaveName();
    if (!name) {
        // The original forgets the opened file even here; the next Save asks for a name.
        openedPath_.clear();
        return Outcome::Cancelled;
    }
    if (!Write(*name + kZut, dialogs))
        return Outcome::Failed;
    savedName_ = *name;
    openedPath_.clear();
    modified_ = false;
    SetTitles(QStringLiteral("Lumetta XP - "), QFileInfo(*name).fileName());
    return Outcome::Done;
}

bool ShowProject::ConfirmClose(ProjectDialogs &dialogs)
{
    if (pictures_.isEmpty() || !modified_)
        return true;
    switch (dialogs.AskSaveProject()) {
    case ProjectDialogs::Answer::Yes:
        return Save(dialogs) == Outcome::Done;
    case ProjectDialogs::Answer::No:
        return true;
    case ProjectDialogs::Answer::Cancel:
        break;
    }
    return false;
}

}  // namespace lumetta
