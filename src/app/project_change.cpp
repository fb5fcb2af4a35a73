// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/project_change.h"

#include "app/project_editor.h"

namespace lumetta {

ProjectChange::ProjectChange(ProjectEditor &editor, const QString &text, ProjectState before, ProjectState after)
    : QUndoCommand(text),
      editor_(editor),
      before_(std::move(before)),
      after_(std::move(after))
{
}

void ProjectChange::undo()
{
    editor_.Apply(before_);
}

void ProjectChange::redo()
{
    editor_.Apply(after_);
}

}  // namespace lumetta
