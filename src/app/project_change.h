// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/project_state.h"

#include <QUndoCommand>

namespace lumetta {

class ProjectEditor;

// One undoable edit: the project as it was before and as it is after.
class ProjectChange : public QUndoCommand
{
public:
    ProjectChange(ProjectEditor &editor, const QString &text, ProjectState before, ProjectState after);

    void undo() override;
    void redo() override;

private:
    ProjectEditor &editor_;
    ProjectState before_;
    ProjectState after_;
};

}  // namespace lumetta
