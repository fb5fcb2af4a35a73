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
        Motion,  // on or off, a preset, or rectangles moved in the preview
        MotionEasing,  // for the slides that move
    };

    Field field = Field::CaptionText;
    QString text;  // caption text or font family
    // Size, the position, edge or easing as its enumerator's value, or the motion's gesture (the
    // drag or run of keys that moved a rectangle).
    int number = 0;
    QColor colour;
    std::optional<int> durationMs;  // none: the show's interval
    SlideTransition transition;
    std::optional<SlideMotion> motion;

    void ApplyTo(SlideDetails &details) const;
    // The undo step's name.
    QString UndoText() const;
    // Edits of one field follow each other as one undo step (typing a caption letter by letter);
    // a motion's, only within one gesture.
    int MergeKey() const;
};

// What the picture list notes about a slide's own details ("caption, 6 s, Wipe left"); empty for
// a slide without any.
QString SlideDetailsSummary(const SlideDetails &details);

}  // namespace lumetta
