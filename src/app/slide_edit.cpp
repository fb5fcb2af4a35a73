// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/slide_edit.h"

#include "player/effect_catalogue.h"

#include <QLocale>

namespace lumetta {

void SlideEdit::ApplyTo(SlideDetails &details) const
{
    StoryCaption &caption = details.caption;
    switch (field) {
    case Field::CaptionText:
        caption.text = text;
        break;
    case Field::CaptionFont:
        caption.font = text;
        break;
    case Field::CaptionSize:
        caption.size = std::clamp(number, StoryCaption::kMinimumSize, StoryCaption::kMaximumSize);
        break;
    case Field::CaptionColour:
        caption.colour = colour.toRgb();
        break;
    case Field::CaptionPosition:
        caption.position = StoryCaption::Position(std::clamp(number, 0, 2));
        break;
    case Field::CaptionEdge:
        caption.edge = StoryCaption::Edge(std::clamp(number, 0, 1));
        break;
    case Field::Duration:
        details.durationMs = durationMs;
        break;
    case Field::Transition:
        details.transition = transition;
        break;
    case Field::Motion:
        details.motion = motion;
        break;
    case Field::MotionEasing:
        if (details.motion)
            details.motion->easing = SlideMotion::Easing(std::clamp(number, 0, 1));
        break;
    }
}

int SlideEdit::MergeKey() const
{
    // Past every field's own key, one for each gesture.
    constexpr int kGestureKeys = 16;
    return field == Field::Motion ? kGestureKeys + number : int(field);
}

QString SlideEdit::UndoText() const
{
    switch (field) {
    case Field::CaptionText:
        return QStringLiteral("Type a caption");
    case Field::Duration:
        return QStringLiteral("Change the slide's time");
    case Field::Transition:
        return QStringLiteral("Change the transition");
    case Field::Motion:
    case Field::MotionEasing:
        return QStringLiteral("Change the motion");
    default:
        return QStringLiteral("Change the caption's look");
    }
}

QString SlideDetailsSummary(const SlideDetails &details)
{
    QStringList parts;
    if (!details.caption.text.trimmed().isEmpty())
        parts << QStringLiteral("caption");
    if (details.durationMs)
        parts << QLocale::c().toString(*details.durationMs / 1000.0, 'g', 6) + QStringLiteral(" s");
    switch (details.transition.kind) {
    case SlideTransition::Kind::Random:
        break;
    case SlideTransition::Kind::None:
        parts << QStringLiteral("no transition");
        break;
    case SlideTransition::Kind::Effect: {
        const std::optional<int> number = EffectNumberOfStoredName(details.transition.effect);
        parts << (number ? EffectDisplayName(*number) : details.transition.effect);
        break;
    }
    }
    if (details.motion)
        parts << QStringLiteral("motion");
    if (parts.isEmpty() && !details.IsEmpty())
        parts << QStringLiteral("details");
    return parts.join(QStringLiteral(", "));
}

}  // namespace lumetta
