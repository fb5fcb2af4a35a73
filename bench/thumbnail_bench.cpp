// SPDX-License-Identifier: GPL-3.0-or-later
// Thumbnails of a folder of large JPEGs, made as the editor makes them:
//   thumbnail_bench make DIR COUNT WIDTH HEIGHT   writes COUNT photo-like JPEGs into DIR
//   thumbnail_bench loader DIR                    times the thumbnail loader over every picture
//   thumbnail_bench gui DIR                       shows DIR in the folder panel, scrolls through it
//                                                 while it fills in, and reports how long the GUI
//                                                 thread was busy at a time
#include "browse/file_list_view.h"
#include "browse/thumbnail_loader.h"
#include "jpeg_sample.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

// Thumbnails as the main window makes them.
const QSize kBound(48, 36);

QStringList Pictures(const QString &folder)
{
    QStringList paths;
    for (const QString &name : QDir(folder).entryList({QStringLiteral("*.jpg")}, QDir::Files, QDir::Name))
        paths << QDir(folder).filePath(name);
    return paths;
}

int Make(const QString &folder, int count, int width, int height)
{
    QDir().mkpath(folder);
    // One encoding, many files: every file is read and decoded on its own all the same.
    const QByteArray jpeg = makeSampleJpeg(width, height);
    for (int i = 0; i < count; ++i) {
        QFile file(QDir(folder).filePath(QStringLiteral("photo-%1.jpg").arg(i, 4, 10, QLatin1Char('0'))));
        if (!file.open(QIODevice::WriteOnly) || file.write(jpeg) != jpeg.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
            return 1;
        }
    }
    std::printf("%d files of %lld bytes\n", count, static_cast<long long>(jpeg.size()));
    return 0;
}

int TimeLoader(const QString &folder)
{
    const QStringList paths = Pictures(folder);
    lumetta::ThumbnailLoader loader(kBound);
    QElapsedTimer clock;
    clock.start();
    for (const QString &path : paths)
        loader.Find(path);
    if (!loader.WaitUntilIdle(600000))
        return 1;
    const double ms = clock.nsecsElapsed() / 1e6;
    int damaged = 0;
    for (const QString &path : paths)
        damaged += !loader.Cached(path) || loader.Cached(path)->status != lumetta::PictureReader::Status::Ok;
    std::printf("loader: %lld thumbnails in %.0f ms (%.1f ms each, %d threads), %d not made\n",
                static_cast<long long>(paths.size()), ms, ms / paths.size(), QThread::idealThreadCount(), damaged);
    return damaged ? 1 : 0;
}

// The GUI thread's processor time so far, in milliseconds.
double ThreadMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// How long the GUI thread goes without answering: a 1 ms timer records the gaps between its
// ticks. A gap is the work done in between plus the time other threads held the processors;
// the GUI thread's own processor time within it is the work alone.
class BusyWatch : public QObject
{
public:
    BusyWatch()
    {
        probe_.setTimerType(Qt::PreciseTimer);
        connect(&probe_, &QTimer::timeout, this, [this] {
            const double gap = clock_.nsecsElapsed() / 1e6;
            const double cpu = ThreadMilliseconds();
            longestGap_ = std::max(longestGap_, gap);
            longestBusy_ = std::max(longestBusy_, cpu - cpu_);
            gapsOver_ += gap > 30;
            busyOver_ += cpu - cpu_ > 30;
            ++ticks_;
            clock_.start();
            cpu_ = cpu;
        });
        clock_.start();
        cpu_ = ThreadMilliseconds();
        probe_.start(1);
    }
    double longestGap_ = 0;
    double longestBusy_ = 0;
    int gapsOver_ = 0;
    int busyOver_ = 0;
    int ticks_ = 0;

private:
    QTimer probe_;
    QElapsedTimer clock_;
    double cpu_ = 0;
};

int WatchGui(const QString &folder)
{
    const int count = int(Pictures(folder).size());
    lumetta::ThumbnailLoader loader(kBound, qApp->devicePixelRatio());
    lumetta::FileListView view;
    view.resize(321, 700);
    view.SetMask(QStringLiteral("*.BMP;*.JPG;*.JPEG;*.GIF"));
    view.SetThumbnails(&loader);
    view.show();
    QElapsedTimer listing;
    listing.start();
    view.SetDirectory(folder);
    const double listingMs = listing.nsecsElapsed() / 1e6;
    // Again, now that the type and icon databases are loaded.
    listing.start();
    view.Refresh();
    const double relistingMs = listing.nsecsElapsed() / 1e6;

    BusyWatch busy;
    QElapsedTimer clock;
    clock.start();
    // A user scrolling down a page every half second while the thumbnails come in.
    QTimer scroll;
    QObject::connect(&scroll, &QTimer::timeout, &view, [&] {
        QScrollBar *bar = view.verticalScrollBar();
        bar->setValue(bar->value() + bar->pageStep());
    });
    scroll.start(500);
    QTimer done;
    QObject::connect(&done, &QTimer::timeout, &view, [&] {
        int made = 0;
        for (int i = 0; i < view.AllCount(); ++i)
            made += loader.Cached(view.ItemPath(i)) != nullptr;
        if (made == count && loader.Pending() == 0)
            QCoreApplication::quit();
    });
    done.start(50);
    QTimer::singleShot(600000, qApp, &QCoreApplication::quit);
    QCoreApplication::exec();
    std::printf("gui: %d thumbnails in %.0f ms while scrolling; listing the folder %.1f ms first, %.1f ms again\n"
                "gui: %d ticks; longest GUI-thread work between ticks %.1f ms (%d over 30 ms); "
                "longest wall-clock gap %.1f ms (%d over 30 ms)\n",
                count, clock.nsecsElapsed() / 1e6, listingMs, relistingMs, busy.ticks_, busy.longestBusy_,
                busy.busyOver_, busy.longestGap_, busy.gapsOver_);
    return 0;
}

}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc == 6 && std::strcmp(argv[1], "make") == 0)
        return Make(QString::fromLocal8Bit(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]));
    if (argc == 3 && std::strcmp(argv[1], "loader") == 0)
        return TimeLoader(QString::fromLocal8Bit(argv[2]));
    if (argc == 3 && std::strcmp(argv[1], "gui") == 0)
        return WatchGui(QString::fromLocal8Bit(argv[2]));
    std::fprintf(stderr, "usage: %s make DIR COUNT WIDTH HEIGHT | loader DIR | gui DIR\n", argv[0]);
    return 2;
}
