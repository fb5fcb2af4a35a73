#include "app/version.h"

#include <QApplication>
#include <QMainWindow>
#include <cstdio>
#include <cstring>

int main(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("%s %s\n", lumetta::kProgramName, lumetta::kProgramVersion);
            return 0;
        }
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lumetta"));
    QMainWindow window;
    window.setWindowTitle(QString::fromLatin1(lumetta::kMainCaption));
    window.showMaximized();
    return app.exec();
}
