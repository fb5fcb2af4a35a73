// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line.h"
#include "app/last_project.h"
#include "app/main_window.h"
#include "common/termination_signals.h"
#include "export/export_command.h"
#include "export/web_command.h"
#include "player/display_opener.h"
#include "player/play_file.h"
#include "show/list_files.h"
#include "show/standalone_builder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QStringList>

#include <csignal>
#include <cstdio>

namespace {

QStringList Arguments(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QFile::decodeName(argv[i]);
    return arguments;
}

void Print(std::FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

}  // namespace

int main(int argc, char *argv[])
{
    using lumetta::CommandLine;
    // Past a file size limit a write then fails with EFBIG, which the writer reports, instead of
    // the signal ending the program without a word.
    std::signal(SIGXFSZ, SIG_IGN);
    // `--export` has options of its own (size, frame rate, seed, quality), read by the exporter.
    if (CommandLine::ExportArguments(Arguments(argc, argv))) {
        // Frames are composed without a window, so no display is used, even where one is set
        // but cannot be reached.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        // Qt has taken its own options out by now.
        return lumetta::ExportProjectFile(CommandLine::ExportArguments(QApplication::arguments()).value_or(QStringList()));
    }
    // `--web` too, and it needs no display either.
    if (CommandLine::WebArguments(Arguments(argc, argv))) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        return lumetta::MakeWebShow(CommandLine::WebArguments(QApplication::arguments()).value_or(QStringList()));
    }
    // Parsed before any application object, so that help, version and a wrong command line
    // need no display.
    const CommandLine command = CommandLine::Parse(Arguments(argc, argv));
    switch (command.RunMode()) {
    case CommandLine::Mode::Help:
        Print(stdout, CommandLine::HelpText());
        return 0;
    case CommandLine::Mode::Version:
        Print(stdout, CommandLine::VersionText());
        return 0;
    case CommandLine::Mode::Usage:
        Print(stderr, QStringLiteral("lumetta: %1\n\n").arg(command.ErrorText()) + CommandLine::HelpText());
        return 2;
    case CommandLine::Mode::Build: {
        QCoreApplication app(argc, argv);
        return lumetta::BuildShowFile(command.File(), command.Output());
    }
    case CommandLine::Mode::Play:
    case CommandLine::Mode::Edit:
        break;
    }
    const std::unique_ptr<QApplication> app = lumetta::OpenDisplay(argc, argv, "lumetta");
    QApplication::setApplicationName(QStringLiteral("Lumetta"));
    // Ties the windows to io.sourceforge.lumetta.desktop: its name and icon in task bars and docks.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.sourceforge.lumetta"));
    if (command.RunMode() == CommandLine::Mode::Play) {
        QString file = command.File();
        if (file.isEmpty())
            file = lumetta::LastProject(lumetta::ListFiles::DefaultFolder());
        if (file.isEmpty())
            file = QFileDialog::getOpenFileName(nullptr, QStringLiteral("Play a Slide Show"), QDir::homePath(),
                                                QStringLiteral("Lumetta slide shows (*.zut)"));
        if (file.isEmpty()) {
            Print(stderr, QStringLiteral("lumetta: no slide show was chosen to play\n"));
            return 1;
        }
        return lumetta::PlayProjectFile(file, stderr, command.Screen());
    }
    // A signal (the end of the session, `kill`) ends the editor as quitting does: the windows
    // close, so a running video export is cancelled and its unfinished file removed.
    const lumetta::TerminationSignals terminations;
    QObject::connect(&terminations, &lumetta::TerminationSignals::Received, app.get(), [](int signalNumber) {
        QCoreApplication::exit(lumetta::TerminationSignals::ExitStatus(signalNumber));
    });
    lumetta::MainWindow window;
    if (!command.File().isEmpty())
        window.SetStartupFile(command.File());
    window.showMaximized();
    return app->exec();
}
