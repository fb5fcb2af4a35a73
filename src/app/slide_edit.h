// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "show/slide_details.h"

#include <QColor>
#include <QString>

#include <optional>

namespace lumetta {

// One change the slide panel makes to every selected slide: a field and its new value.
struct SlideEdit
{
    enum class Field {
        CaptionText,
        CaptionFont,
        CaptionSize,
        CaptionColour,
        CaptionPosition,
        CaptionEdge,
        Duration,
        Transition,
    };

    Field field = Field::CaptionText;
    QString text;  // caption text or font family
    int number = 0;  // size, or the position or edge as its enumerator's value
    QColor colour;
    std::optional<int> durationMs;  // none: the show's interval
    SlideTransition transition;

    void ApplyTo(SlideDetails &details) const;
    // The undo step's name.
    QString UndoText() const;
    // Edits of one field follow each other as one undo step (typing a caption letter by letter).
    int MergeKey() const { return int(field); }
};

// What the picture list notes about a slide's own details ("caption, 6 s, Wipe left"); empty for
// a slide without any.
QString SlideDetailsSummary(const SlideDetails &details);

}  // namespace lumetta
