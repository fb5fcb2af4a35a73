// SPDX-License-Identifier: GPL-3.0-or-later
// The standalone player: a copy of this program with a show appended plays that show full
// screen. Under a screen saver's name it also answers the screen saver's start-up arguments.
#include "common/licence.h"
#include "player/display_opener.h"
#include "player/player_window.h"
#include "player/screen_numbers.h"
#include "show/show_project.h"
#include "show/standalone_show.h"
#include "show/unpack_folder.h"
#include "show/version.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCursor>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <optional>

namespace {

// Screen saver hosts end their saver with a signal; the show then closes normally, so its
// unpacked files are removed.
volatile std::sig_atomic_t stopRequested = 0;

extern "C" void RequestStop(int)
{
    stopRequested = 1;
}

void Report(const QString &message)
{
    std::fprintf(stderr, "AEXE.tms: %s\n", qPrintable(message));
    const QString platform = QGuiApplication::platformName();
    if (platform != QLatin1String("offscreen") && platform != QLatin1String("minimal"))
        QMessageBox::critical(nullptr, QLatin1String(lumetta::kProgramName), message);
}

int PlayOwnShow(std::optional<int> screenNumber)
{
    const QString name = QCoreApplication::applicationFilePath();
    QFile self(QStringLiteral("/proc/self/exe"));
    if (!self.open(QIODevice::ReadOnly)) {
        Report(QStringLiteral("Cannot open file %1: %2").arg(name, self.errorString()));
        return 1;
    }
    // Folders of players that were killed before they could remove theirs.
    lumetta::UnpackFolder::RemoveStale();
    lumetta::ShowProject project;
    lumetta::UnpackFolder folder;
    try {
        const lumetta::StandaloneShow show = lumetta::StandaloneShow::Read(self, name);
        if (!folder.IsValid())
            throw lumetta::ProjectError(
                QStringLiteral("Cannot create a temporary folder: %1").arg(folder.ErrorString()));
        if (!show.ExtractTo(self, folder.Path(), project, [] { return stopRequested != 0; }))
            return 0;
    } catch (const lumetta::ProjectError &error) {
        // The partial show goes before the message, which may wait long for an answer.
        folder.Remove();
        Report(error.Message());
        return 1;
    }
    self.close();
    if (stopRequested)
        return 0;

    lumetta::PlayerWindow player;
    // A show handed to someone plays where they look: on the screen under the mouse pointer.
    QScreen *screen = screenNumber ? lumetta::ScreenByNumber(*screenNumber) : QGuiApplication::screenAt(QCursor::pos());
    if (screenNumber && !screen) {
        Report(QStringLiteral("There is no screen %1.").arg(*screenNumber));
        return 1;
    }
    player.SetScreen(screen);
    QTimer stopWatch;
    QObject::connect(&stopWatch, &QTimer::timeout, &player, [&player] {
        if (stopRequested)
            player.close();
    });
    stopWatch.start(100);
    const lumetta::PlayerWindow::StartResult result = player.PlayNow(project);
    player.WaitForMusicToFade();
    // The unpacked files go before any message box, which may wait long for an answer.
    folder.Remove();
    switch (result) {
    case lumetta::PlayerWindow::StartResult::Started:
        return 0;
    case lumetta::PlayerWindow::StartResult::NoPictures:
        Report(QStringLiteral("The slide show holds no pictures."));
        return 1;
    case lumetta::PlayerWindow::StartResult::Failed:
        Report(player.ErrorText());
        return 1;
    }
    return 1;
}

// Screen saver hosts write "-s" as well as "/s" (and "/c:1234", "-p 1234"); the parser takes the
// "/" form only, as "-s" would read as an unknown option.
QString ScreenSaverRequest(QString argument)
{
    if (argument.size() >= 2 && argument[0] == u'-' && QStringLiteral("scpSCP").contains(argument[1])
        && (argument.size() == 2 || argument[2] == u':'))
        argument[0] = u'/';
    return argument;
}

}  // namespace

int main(int argc, char *argv[])
{
    // Parsed before any application object, so that help and version need no display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << ScreenSaverRequest(QFile::decodeName(argv[i]));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A self-running Lumetta slide show: plays the show it holds full screen; Esc ends it.\n"
                       "Screen saver hosts' arguments are understood: /s (or none) shows the show, /c (settings)\n"
                       "and /p (preview) have nothing to offer and end at once; -s, -c and -p are the same."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption screen(
        QStringLiteral("screen"),
        QStringLiteral("Play on screen N (0 is the primary screen) instead of the one under "
                       "the mouse pointer."),
        QStringLiteral("N"));
    parser.addOption(screen);
    parser.addPositionalArgument(QStringLiteral("/s|/c|/p"), QStringLiteral("A screen saver host's request."),
                                 QStringLiteral("[/s | /c | /p]"));
    const QString name = QFileInfo(arguments.value(0, QStringLiteral("AEXE.tms"))).fileName();
    const auto usage = [&parser, &name] {
        QString text = parser.helpText();
        const qsizetype options = text.indexOf(QLatin1String(" [options]"));
        return options < 0 ? text : text.replace(0, options, QStringLiteral("Usage: ") + name);
    };
    const auto refuse = [&](const QString &error) {
        std::fprintf(stderr, "%s: %s\n\n%s", qPrintable(name), qPrintable(error), qPrintable(usage()));
        return 2;
    };
    if (!parser.parse(arguments))
        return refuse(parser.errorText());
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        std::fputs(qPrintable(usage()), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::fputs(lumetta::VersionText(qPrintable(name), lumetta::kProgramVersion).c_str(), stdout);
        return 0;
    }
    const QStringList requests = parser.positionalArguments();
    if (!requests.isEmpty()) {
        const QString request = requests[0].toLower();
        if (request.startsWith(QLatin1String("/c")) || request.startsWith(QLatin1String("/p")))
            return 0;
        if (request != QLatin1String("/s") || requests.size() > 1)
            return refuse(
                QStringLiteral("unknown argument %1 (use /s, /c or /p; -s, -c or -p)").arg(requests.join(u' ')));
    }
    std::optional<int> screenNumber;
    if (parser.isSet(screen)) {
        screenNumber = lumetta::ParseScreenNumber(parser.value(screen));
        if (!screenNumber)
            return refuse(
                QStringLiteral("--screen needs a screen number from 0, not \"%1\"").arg(parser.value(screen)));
    }
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        std::signal(signal, RequestStop);
    // Unpacking past a file size limit reports the failed write instead of ending silently.
    std::signal(SIGXFSZ, SIG_IGN);
    const std::unique_ptr<QApplication> app = lumetta::OpenDisplay(argc, argv, qPrintable(name));
    QApplication::setApplicationName(QStringLiteral("Lumetta"));
    return PlayOwnShow(screenNumber);
}
