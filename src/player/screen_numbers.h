// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QScreen;

namespace lumetta {

// Screens by number as the command lines take them: 0 is the primary screen, then the others in
// the window system's order. nullptr when there is no such screen.
QScreen *ScreenByNumber(int number);

// The name a preference keeps for SCREEN: QScreen::name() ("Screen" when it has none), followed by
// " #N" (N from 1 in the window system's order) when several connected screens share that name,
// as separate X screens do.
QString ScreenChoiceName(const QScreen *screen);

// The connected screen whose ScreenChoiceName is NAME; nullptr when there is none.
QScreen *ScreenByName(const QString &name);

// Reads a screen number given on a command line; nullopt unless it is a whole number from 0.
std::optional<int> ParseScreenNumber(const QString &text);

}  // namespace lumetta
