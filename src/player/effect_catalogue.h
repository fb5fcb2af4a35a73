// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The program's effect catalogue: 22 configured effects, numbers 0 to 20 offered to the user and
// 21 a flicker-free cut that is never chosen. The player and the transition selection dialog
// each hold their own copy, a TTransitionList named "Trans".
namespace lumetta {

class TTransitionList;

constexpr int kEffectCatalogueSize = 22;
constexpr int kOfferedEffectCount = 21;

// Fills Trans (which should be empty) with the catalogue; AbortOnEscape is set on every effect
// (the dialog's copy lets Escape end a preview, the player's does not). Effects are owned by Trans.
void LoadEffectCatalogue(TTransitionList &trans, bool abortOnEscape);

// The names the dialog lists for effects 0 to 20; empty for any other number.
QString EffectDisplayName(int number);
QStringList EffectDisplayNames();

// The component names of effects 0 to 20, which story files store; and the number of the effect
// stored as NAME (exactly so), or nullopt.
QStringList EffectStoredNames();
std::optional<int> EffectNumberOfStoredName(const QString &name);

// The "Standart set" preset in ascending order.
QList<int> StandardEffectSet();

// One line per catalogue entry: NUMBER, component, class, display name (the description for the
// entry without one) and Milliseconds, separated by tabs.
QStringList EffectCatalogueListing(const TTransitionList &trans);

}  // namespace lumetta
