// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>

#include <memory>

namespace lumetta {

// Makes the QApplication of a program that shows windows. Where no display can be opened it
// prints "PROGRAM: cannot open a display: REASON" on stderr and ends the process with status 1,
// in place of Qt's abort. Returns only with a working application.
std::unique_ptr<QApplication> OpenDisplay(int &argc, char **argv, const char *program);

// Why no display can be opened, told from QT_QPA_PLATFORM, DISPLAY and WAYLAND_DISPLAY before
// Qt tries: empty when a platform is named or a display is set.
QString MissingDisplayReason(const QString &platform, const QString &x11Display, const QString &waylandDisplay);

}  // namespace lumetta
