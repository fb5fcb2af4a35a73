// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace lumetta {
inline constexpr const char *kProgramName = "Lumetta XP";
inline constexpr const char *kProgramVersion = "3.51";
inline constexpr const char *kMainCaption = "Lumetta XP 3.51";
// The program's pages and support address (Web and Help menus, about box).
inline constexpr const char *kHomePage = "https://lumetta.sourceforge.io/";
inline constexpr const char *kBackgroundsPage = "https://lumetta.sourceforge.io/backgrounds.html";
inline constexpr const char *kSupportMail = "mailto:support@lumetta.sourceforge.io?subject=Lumetta%20XP%203.51";
}  // namespace lumetta
