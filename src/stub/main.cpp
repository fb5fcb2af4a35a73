// The standalone player: a copy of this program with a show appended plays that show full
// screen. Under a screen saver's name it also answers the screen saver's start-up arguments.
#include "show/show_project.h"
#include "show/standalone_show.h"
#include "show/unpack_folder.h"
#include "show/version.h"
#include "player/player_window.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QTimer>

#include <csignal>
#include <cstdio>

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

int PlayOwnShow()
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
            throw lumetta::ProjectError(QStringLiteral("Cannot create a temporary folder: %1").arg(folder.ErrorString()));
        show.ExtractTo(self, folder.Path(), project);
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

}  // namespace

int main(int argc, char *argv[])
{
    // Screen saver arguments, with "/" or "-": "s" (or none) shows the show; "c" (settings) and
    // "p" (preview in a small window) have nothing to offer, so they end quietly.
    if (argc > 1) {
        QByteArray argument = QByteArray(argv[1]).toLower();
        if (argument.startsWith('-'))
            argument[0] = '/';
        if (argument.startsWith("/c") || argument.startsWith("/p"))
            return 0;
        if (argument != "/s") {
            std::fprintf(stderr, "AEXE.tms: unknown argument %s (use /s, /c or /p; -s, -c or -p)\n", argv[1]);
            return 2;
        }
    }
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        std::signal(signal, RequestStop);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lumetta"));
    return PlayOwnShow();
}
