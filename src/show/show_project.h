// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "show/legacy_lines.h"
#include "show/show_settings.h"
#include "show/show_story.h"

#include <QString>
#include <QStringList>

#include <cstdio>
#include <optional>

namespace lumetta {

// "PATH holds no pictures to show": why a project without pictures is neither played nor built.
QString NoPicturesMessage(const QString &path);

// The answers the project operations need from the user; the main window shows real dialogs,
// tests answer directly.
class ProjectDialogs
{
public:
    enum class Answer { Yes, No, Cancel };

    virtual ~ProjectDialogs() = default;
    // A project file to open, or nullopt when cancelled.
    virtual std::optional<QString> AskOpenPath() = 0;
    // The name to save under (".zut" is appended unless it ends so), or nullopt when cancelled.
    virtual std::optional<QString> AskSaveName() = 0;
    // "PATH already exists. Do you want to replace it?"; true to replace it.
    virtual bool AskReplace(const QString &path) = 0;
    // "Do you want to save the project?"
    virtual Answer AskSaveProject() = 0;
    virtual void ShowError(const QString &message) = 0;
    // Something the user should know that stops nothing (a story file read only in part).
    virtual void ShowNotice(const QString &message) { ShowError(message); }
    // The first start's offer: "Play the demo show?"; only the editor's own dialogs ask.
    virtual bool AskPlayDemo() { return false; }
};

// The dialogs of a command-line run: nothing is asked (no file is chosen, no project saved) and
// each error is one line "lumetta: MESSAGE" on the stream.
class StreamDialogs : public ProjectDialogs
{
public:
    explicit StreamDialogs(std::FILE *errors) : errors_(errors) {}
    std::optional<QString> AskOpenPath() override { return std::nullopt; }
    std::optional<QString> AskSaveName() override { return std::nullopt; }
    bool AskReplace(const QString &) override { return false; }
    Answer AskSaveProject() override { return Answer::No; }
    void ShowError(const QString &message) override;

private:
    std::FILE *errors_;
};

// A show being edited: settings, picture list, effect selection and playlist, with the
// current project file and the modified flag. Windows edit the lists in place.
class ShowProject
{
public:
    enum class Outcome {
        Done,
        Cancelled,  // the user said no in a dialog; nothing changed
        Failed,  // an error was shown; nothing changed
        Skipped,  // nothing to do (Save with an empty picture list)
    };
    enum class FileState { Untitled, Opened, SavedAs };

    static QStringList StandardEffects();
    // The file a save dialog's NAME stands for: NAME itself when it ends in ".zut" (in any
    // letter case), else NAME with ".zut" appended.
    static QString ProjectFileName(const QString &name);

    ShowProject();

    ShowSettings &Settings() { return settings_; }
    const ShowSettings &Settings() const { return settings_; }
    QStringList &Pictures() { return pictures_; }
    const QStringList &Pictures() const { return pictures_; }
    QStringList &EffectSelection() { return effects_; }
    const QStringList &EffectSelection() const { return effects_; }
    QStringList &Playlist() { return playlist_; }
    const QStringList &Playlist() const { return playlist_; }
    // The slides' own details and the show-wide options kept in the story file beside the
    // project file; by position in the picture list.
    ShowStory &Story() { return story_; }
    const ShowStory &Story() const { return story_; }

    bool Modified() const { return modified_; }
    void SetModified(bool modified = true) { modified_ = modified; }

    const QString &OpenedPath() const { return openedPath_; }
    const QString &SavedName() const { return savedName_; }
    FileState State() const;
    // Where Save writes without asking: the opened path or the saved name's file; empty if none.
    QString SaveTarget() const;
    // What PATH is to the show when it is one of the show's own files, also under another name
    // through a link: "the project file itself", "the project's story file", "the show's
    // background picture", "one of the show's pictures" or "one of the show's music files";
    // nullopt for any other file. No writer puts its output there.
    std::optional<QString> OwnFileRole(const QString &path) const;
    // The resume list's line 1: the project file to reopen next time, or "No".
    QString ResumeEntry() const;

    // Window caption and application title as the project operations leave them.
    const QString &Caption() const { return caption_; }
    const QString &ApplicationTitle() const { return appTitle_; }

    QStringList ProjectText() const;
    // The project text as a project file holds it: the lines the opened file spelt in the old
    // code page as they were read, every other line UTF-8.
    QByteArray ProjectBytes() const;

    // The toolbar and menu commands. New and Open first offer to save a modified project and go
    // on only when it was saved or the user lets it go.
    Outcome New(ProjectDialogs &dialogs);
    Outcome Open(ProjectDialogs &dialogs);
    Outcome Save(ProjectDialogs &dialogs);
    Outcome SaveAs(ProjectDialogs &dialogs);

    // Open without the dialog (a file named on the command line, dropped or picked from the
    // recent projects), with the same offer to save first.
    Outcome OpenPath(const QString &path, ProjectDialogs &dialogs);
    // The start-up reopening of the last project: keeps the modified flag; a file that cannot be
    // read leaves the project untitled.
    Outcome Reopen(const QString &path, ProjectDialogs &dialogs);

    // The save question of a close request; true when the window may close.
    bool ConfirmClose(ProjectDialogs &dialogs);

private:
    // Asks whether a modified project is to be saved first; Done when the caller may go on.
    Outcome OfferToSave(ProjectDialogs &dialogs);
    // The save dialog, asking again for a name whose file exists and is not to be replaced.
    std::optional<QString> AskSaveName(ProjectDialogs &dialogs);
    Outcome ReadOpened(const QString &path, ProjectDialogs &dialogs);
    bool ReadInto(const QString &path, ProjectDialogs &dialogs);
    bool Write(const QString &path, ProjectDialogs &dialogs);
    void SetTitles(const QString &caption, const QString &name);
    void Reset();

    ShowSettings settings_;
    QStringList pictures_;
    QStringList effects_;
    QStringList playlist_;
    ShowStory story_;
    QString openedPath_;
    QString savedName_;
    QString caption_;
    QString appTitle_;
    bool modified_ = false;
    // The lines of the opened file that were not UTF-8, written back as they were read.
    LegacyLines legacy_;
};

}  // namespace lumetta
