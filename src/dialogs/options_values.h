// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "show/show_settings.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace lumetta {

// What the options dialog's controls hold during one opening, with the values they have when
// the dialog is created.
struct OptionsValues
{
    bool automaticAdvance = true;  // "Automatic after", else "Manual after keyboard/mouse input "
    int seconds = 1;
    bool fitToScreen = true;  // "Fit to screen", else "Do not stretch"
    int percent = 100;
    bool shadow = false;
    bool randomEffects = true;  // "Random effects", else "No effects (quick)"
    bool playMusic = false;
    bool repeatMusic = false;
    int viewerFilter = 0;  // entry of ViewerFilters()
    bool backgroundImage = false;  // "Background image", else "Background colors"
    ColorRef topColor = 0x00281800;
    ColorRef bottomColor = 0x00E891B6;
    QString backgroundFile = QStringLiteral("Select image");
    int placement = 0;  // "Tile", "Center", "Stretch"; -1 for no choice
    bool loop = false;
    bool showCaption = false;
    ColorRef captionColor = 0x800080;  // clPurple

    bool operator==(const OptionsValues &) const = default;
};

// A named file mask of the picture browser's filter choice.
struct ViewerFilter
{
    QString name;
    QString mask;  // masks joined by ";"
};
QList<ViewerFilter> ViewerFilters();

// The file dialog filters of the playlist's "Add" and of the background picture's browse button.
QString SoundFileFilter();
QString GraphicFileFilter();

// The words of line 7 for placement choices 0, 1, 2.
QStringList PlacementWords();

// Loads the controls from the settings. Values a line does not decide (an unknown effects word,
// an unknown placement, an unreadable colour, the caption colour under "No") stay as they were.
void LoadOptions(const ShowSettings &settings, OptionsValues &values);

// OK may write: colours are chosen, or the background picture file exists.
bool BackgroundChoiceValid(const OptionsValues &values);

// Writes the settings lines as OK does; music off also empties the playlist.
void WriteOptions(const OptionsValues &values, ShowSettings &settings, QStringList &playlist);

}  // namespace lumetta
