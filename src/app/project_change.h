// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/project_state.h"

#include <QUndoCommand>

namespace lumetta {

class ProjectEditor;

// One undoable edit: the project as it was before and as it is after. Edits with the same
// MERGE_KEY (>= 0) that follow each other become one step, as the letters of one typed caption do.
class ProjectChange : public QUndoCommand
{
public:
    ProjectChange(ProjectEditor &editor, const QString &text, ProjectState before, ProjectState after,
                  int mergeKey = -1);

    void undo() override;
    void redo() override;
    int id() const override { return mergeKey_; }
    bool mergeWith(const QUndoCommand *other) override;

private:
    int mergeKey_;
    ProjectEditor &editor_;
    ProjectState before_;
    ProjectState after_;
};

}  // namespace lumetta
