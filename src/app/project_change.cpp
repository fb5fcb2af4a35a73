// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/project_change.h"

#include "app/project_editor.h"

namespace lumetta {

ProjectChange::ProjectChange(ProjectEditor &editor, const QString &text, ProjectState before, ProjectState after,
                             int mergeKey)
    : QUndoCommand(text),
      mergeKey_(mergeKey),
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

namespace lumetta {

bool ProjectChange::mergeWith(const QUndoCommand *other)
{
    const auto *next = static_cast<const ProjectChange *>(other);
    // Only the same slides, edited one after the other.
    if (next->before_.selection.rows != after_.selection.rows || !next->before_.SameProject(after_))
        return false;
    after_ = next->after_;
    return true;
}

}  // namespace lumetta
