// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace lumetta {

// The transition into a slide: one of the show's effects drawn at random (today's way), none,
// or one effect named by its stored name in the effect catalogue ("WipeLeft").
struct SlideTransition
{
    enum class Kind { Random, None, Effect };

    Kind kind = Kind::Random;
    QString effect;  // the stored name, for Kind::Effect

    static SlideTransition Named(const QString &name) { return {Kind::Effect, name}; }
    bool operator==(const SlideTransition &other) const = default;
};

}  // namespace lumetta
