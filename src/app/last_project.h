// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace lumetta {

// The project `lumetta --play` plays when started without a file (as a launcher's Play action
// starts it): the newest of the recent projects that is still a regular file, else the project
// the editor would reopen; empty when there is none. FOLDER holds the list files.
QString LastProject(const QString &folder);

}  // namespace lumetta
