// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/project_state.h"

#include <QObject>
#include <QUndoStack>

#include <functional>

namespace lumetta {

class ShowProject;

// Every edit of a project's picture list and options, as steps that can be undone and redone.
// An edit that changes nothing records nothing. The project's modified flag follows the undo
// history: it is clear exactly when the history stands where the project was last opened,
// started or saved.
class ProjectEditor : public QObject
{
    Q_OBJECT
public:
    explicit ProjectEditor(ShowProject &project, QObject *parent = nullptr);
    ~ProjectEditor() override;

    QUndoStack &History() { return history_; }
    // The project as it is now, with SELECTION.
    ProjectState Current(const PictureSelection &selection) const;

    // Each returns true when it changed the project. SELECTION is the list's selection before.
    // Inserts PATHS before ROW (-1: at the end); the inserted pictures become the selection when
    // SELECT_INSERTED is set.
    bool InsertPictures(const QStringList &paths, int row, const PictureSelection &selection, bool selectInserted);
    bool RemovePictures(const PictureSelection &selection);
    bool ClearPictures(const PictureSelection &selection);
    // The move arrows: exchanges the focused picture with its neighbour above (-1) or below (+1);
    // the moved picture takes the focus and stays selected, its neighbour loses its mark.
    bool ExchangeCurrent(int direction, const PictureSelection &selection);
    // Moves every selected picture one place up (-1) or down (+1), unless one is at that end.
    bool MoveSelected(int direction, const PictureSelection &selection);
    // Moves the pictures at ROWS, in their order, to stand before ROW of the list as it is.
    bool MovePictures(const QList<int> &rows, int row, const PictureSelection &selection);
    // Changes the details of the slides at ROWS with CHANGE, as one step named TEXT; steps of
    // one MERGE_KEY (>= 0) on the same slides in a row merge into one.
    bool ChangeSlides(const QList<int> &rows, const std::function<void(SlideDetails &)> &change,
                      const PictureSelection &selection, const QString &text, int mergeKey = -1);
    // The show-wide "fit the show to the music".
    bool SetFitToMusic(bool fit, const PictureSelection &selection);
    // The show-wide gentle motion of slides without their own.
    bool SetGentleMotion(bool gentle, const PictureSelection &selection);
    // Records what the options dialog changed since BEFORE.
    bool RecordOptions(const ProjectState &before);

    // The project was opened or started anew: nothing to undo, nothing modified.
    void Restart();
    // Call after a project command: a project saved meanwhile marks the history's place.
    void Sync();

signals:
    // An edit, undo or redo gave the project STATE; the picture list shows it.
    void Applied(const ProjectState &state);
    void ModifiedChanged(bool modified);

private:
    friend class ProjectChange;

    void Apply(const ProjectState &state);
    bool Record(const QString &text, const ProjectState &before, const ProjectState &after, int mergeKey = -1);
    // Records a show-wide change of the story as TEXT.
    bool ChangeStory(const std::function<void(ShowStory &)> &change, const PictureSelection &selection,
                     const QString &text);
    // Puts the pictures of BEFORE in the order of ORDER (old rows) and maps the selection.
    ProjectState Reordered(const ProjectState &before, const QList<int> &order) const;

    ShowProject &project_;
    QUndoStack history_;
};

}  // namespace lumetta
