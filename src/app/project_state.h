#pragma once

#include "show/show_settings.h"

#include <QList>
#include <QStringList>

namespace lumetta {

// Which pictures of the list are selected, and which one has the focus (-1: none).
struct PictureSelection {
    QList<int> rows;
    int current = -1;

    bool operator==(const PictureSelection &other) const = default;
};

// Everything an edit of the project can change, with the selection that goes with it.
struct ProjectState {
    QStringList pictures;
    ShowSettings settings;
    QStringList effects;
    QStringList playlist;
    PictureSelection selection;

    // The same project, whatever is selected.
    bool SameProject(const ProjectState &other) const
    {
        return pictures == other.pictures && settings == other.settings && effects == other.effects
               && playlist == other.playlist;
    }
};

}  // namespace lumetta
