// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace lumetta {

inline constexpr const char *kLicenceId = "GPL-3.0-or-later";
inline constexpr const char *kCopyrightLine = "Copyright (C) 2024 the Lumetta developers";
inline constexpr const char *kLicenceUrl = "https://www.gnu.org/licenses/gpl-3.0.html";

// What `PROGRAM --version` prints, in the GNU form: "PROGRAM (Lumetta XP) VERSION", then the
// copyright and licence lines.
inline std::string VersionText(const char *program, const char *version)
{
    return std::string(program) + " (Lumetta XP) " + version + "\n" + kCopyrightLine
           + "\nLicense GPL-3.0-or-later: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
             "This is free software: you are free to change and redistribute it.\n"
             "There is NO WARRANTY, to the extent permitted by law.\n";
}

}  // namespace lumetta
