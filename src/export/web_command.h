// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

#include <cstdio>

namespace lumetta {

// `lumetta --web FILE.zut OUT.html [--max-size WxH] [--quality Q] [--force|-y]`: writes the
// project's show as one web page. `arguments` are those after "--web". Returns the exit status:
// 0 when written or `--help` has printed the help on `output`; 2 with the usage on `errors` for a
// wrong command line; 1 with a message on `errors` otherwise. What was left out, and a page over
// WebShowBuilder::kLargePageBytes, are named on `errors`.
int MakeWebShow(const QStringList &arguments, std::FILE *output = stdout, std::FILE *errors = stderr);

}  // namespace lumetta
