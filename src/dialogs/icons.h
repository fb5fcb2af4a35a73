// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>

namespace lumetta {

// The program's button pictures: the desktop icon theme's, by their freedesktop names, with
// pictures of our own where the theme has none.
enum class IconId {
    App,
    Play,
    NewProject,
    Open,
    Save,
    SaveAs,
    Options,
    Help,
    Exit,
    Add,
    AddAll,
    Remove,
    Clear,
    Preview,
    FolderUp,
    Music,
    About,
    MakeShow,
    ExportVideo,
};

// The icon theme's name for ID and our own picture for it (a resource path).
struct IconNames
{
    const char *themeName;
    const char *fallback;
};
IconNames NamesOf(IconId id);

QIcon MakeIcon(IconId id);

}  // namespace lumetta
