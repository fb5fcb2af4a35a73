#include "app/main_window.h"
#include "export/export_command.h"
#include "show/standalone_builder.h"
#include "show/version.h"
#include "player/play_file.h"

#include <QApplication>
#include <QFile>
#include <cstdio>
#include <cstring>

int main(int argc, char *argv[])
{
    const char *projectFile = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("%s %s\n", lumetta::kProgramName, lumetta::kProgramVersion);
            return 0;
        }
        if (argv[i][0] != '-' && !projectFile)
            projectFile = argv[i];
    }
    if (argc > 1 && std::strcmp(argv[1], "--build") == 0) {
        if (argc != 4) {
            std::fprintf(stderr, "usage: lumetta --build FILE.zut OUTPUT\n");
            return 1;
        }
        // No window is needed, so no display either.
        QCoreApplication app(argc, argv);
        return lumetta::BuildShowFile(QFile::decodeName(argv[2]), QFile::decodeName(argv[3]));
    }
    if (argc > 1 && std::strcmp(argv[1], "--export") == 0) {
        // Frames are composed without a window, so no display is needed.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
            && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        return lumetta::ExportProjectFile(QApplication::arguments().mid(2));
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lumetta"));
    if (argc >= 2 && std::strcmp(argv[1], "--play") == 0) {
        if (argc == 3)
            return lumetta::PlayProjectFile(QFile::decodeName(argv[2]));
        std::fprintf(stderr, "usage: lumetta --play FILE.zut\n");
        return 1;
    }
    lumetta::MainWindow window;
    if (projectFile)
        window.SetStartupFile(QString::fromLocal8Bit(projectFile));
    window.showMaximized();
    return app.exec();
}
