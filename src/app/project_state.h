// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/picture_selection.h"
#include "show/show_settings.h"
#include "show/show_story.h"

#include <QStringList>

namespace lumetta {

// Everything an edit of the project can change, with the selection that goes with it.
struct ProjectState
{
    QStringList pictures;
    ShowSettings settings;
    QStringList effects;
    QStringList playlist;
    ShowStory story;
    PictureSelection selection;

    // The same project, whatever is selected.
    bool SameProject(const ProjectState &other) const
    {
        return pictures == other.pictures && settings == other.settings && effects == other.effects
               && playlist == other.playlist && story == other.story;
    }
};

}  // namespace lumetta
