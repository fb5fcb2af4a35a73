// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace lumetta {

// The program's own preferences for playing shows, kept in "preferences.ini" beside the list
// files: they belong to this computer (its screens), not to a show, so no project file holds them.
class PlayPreferences
{
public:
    static constexpr const char *kFileName = "preferences.ini";

    explicit PlayPreferences(const QString &folder);

    QString Path() const;

    // The name of the screen shows play on; empty for the screen the main window is on.
    QString ScreenName() const;
    // False, with the reason in ErrorText(), when the file cannot be written.
    bool SetScreenName(const QString &name);
    const QString &ErrorText() const { return errorText_; }

private:
    QString folder_;
    QString errorText_;
};

}  // namespace lumetta
