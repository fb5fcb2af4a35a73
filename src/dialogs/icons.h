#pragma once

#include <QIcon>

namespace lumetta {

// The program's own button pictures, drawn in code so they look the same with or without an
// icon theme on the desktop.
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
    ArrowUp,
    ArrowDown,
    Music,
    About,
    MakeShow,
};

QIcon MakeIcon(IconId id);

}  // namespace lumetta
