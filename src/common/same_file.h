// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace lumetta {

// True when A and B name the same file: the same path, or the same file under another name
// through a link (symbolic or hard).
bool SameFile(const QString &a, const QString &b);

}  // namespace lumetta
