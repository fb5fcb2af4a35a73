// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzz_support.h"

#include <QGuiApplication>

namespace lumetta::fuzz {

void EnsureApplication()
{
    static int argc = 1;
    static char name[] = "lumetta-fuzz";
    static char *argv[] = {name, nullptr};
    if (!QGuiApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        new QGuiApplication(argc, argv);
    }
}

}  // namespace lumetta::fuzz
