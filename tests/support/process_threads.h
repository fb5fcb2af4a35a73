// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDir>

namespace testsupport {

// The threads this process runs now, as the kernel lists them.
inline int ProcessThreadCount()
{
    return int(QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}

}  // namespace testsupport
