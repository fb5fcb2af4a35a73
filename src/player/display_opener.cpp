// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/display_opener.h"

#include <cstdio>
#include <cstdlib>

namespace lumetta {

namespace {

QByteArray programName;
QtMessageHandler previousHandler = nullptr;
QString firstPlatformWarning;

[[noreturn]] void ReportNoDisplay(const QString &reason)
{
    std::fprintf(stderr, "%s: cannot open a display: %s\n", programName.constData(), qPrintable(reason));
    std::fflush(stderr);
    // Qt's own objects are half made; nothing of ours needs tidying yet.
    std::_Exit(1);
}

// While the platform starts, its warnings are held back: the first one is the reason given when
// Qt then gives up, and the rest would only repeat it.
void StartupMessages(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    const bool platform = context.category && qstrncmp(context.category, "qt.qpa", 6) == 0;
    if (type == QtFatalMsg)
        ReportNoDisplay(firstPlatformWarning.isEmpty() ? message.section(u'\n', 0, 0) : firstPlatformWarning);
    if (platform) {
        // Qt tells the plugin it could not load as information, after the reason itself.
        if (firstPlatformWarning.isEmpty() && type != QtDebugMsg && type != QtInfoMsg)
            firstPlatformWarning = message.trimmed();
        return;
    }
    if (previousHandler)
        previousHandler(type, context, message);
}

}  // namespace

QString MissingDisplayReason(const QString &platform, const QString &x11Display, const QString &waylandDisplay)
{
    if (!platform.isEmpty() || !x11Display.isEmpty() || !waylandDisplay.isEmpty())
        return {};
    return QStringLiteral("neither DISPLAY nor WAYLAND_DISPLAY is set");
}

std::unique_ptr<QApplication> OpenDisplay(int &argc, char **argv, const char *program)
{
    programName = program;
    const QString missing =
        MissingDisplayReason(qEnvironmentVariable("QT_QPA_PLATFORM"), qEnvironmentVariable("DISPLAY"),
                             qEnvironmentVariable("WAYLAND_DISPLAY"));
    if (!missing.isEmpty())
        ReportNoDisplay(missing);
    previousHandler = qInstallMessageHandler(StartupMessages);
    auto application = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(previousHandler);
    // The platform started after all: what it warned of is still worth knowing.
    if (!firstPlatformWarning.isEmpty())
        qWarning("%s", qPrintable(firstPlatformWarning));
    return application;
}

}  // namespace lumetta
