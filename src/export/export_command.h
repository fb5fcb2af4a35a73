// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

#include <cstdio>

namespace lumetta {

// `lumetta --export FILE.zut OUT [--size WxH] [--fps N] [--seed N] [--slide-seconds S]
// [--quality draft|good|best|lossless]`: writes the project's show as a video. `arguments` are
// those after "--export". Returns the exit status: 0 when the video is written or `--help` has
// printed the help on `output`; 2 with the usage on `errors` for a wrong command line; 1 with a
// message on `errors` otherwise. A progress line goes to `errors` when it is a terminal.
int ExportProjectFile(const QStringList &arguments, std::FILE *output = stdout, std::FILE *errors = stderr);

}  // namespace lumetta
