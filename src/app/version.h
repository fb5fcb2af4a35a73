#pragma once

namespace lumetta {
inline constexpr const char *kProgramName = "Lumetta XP";
inline constexpr const char *kProgramVersion = "3.51";
inline constexpr const char *kMainCaption = "Lumetta XP 3.51";
}  // namespace lumetta
