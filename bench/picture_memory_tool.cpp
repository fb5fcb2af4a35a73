// SPDX-License-Identifier: GPL-3.0-or-later
// The peak memory of this process (VmHWM) after what the player, the preview pane or the folder
// panel does with picture files, for bench/crafted_pictures_memory.sh:
//   picture_memory_tool slide FILE...      prepares each file as a slide filling a full-HD screen, one
//                                          after another
//   picture_memory_tool preview FILE...    reads each file for the preview pane
//   picture_memory_tool thumbnails FOLDER  makes the thumbnails of every file in FOLDER at once
#include "browse/picture_reader.h"
#include "browse/thumbnail_loader.h"
#include "player/prepared_slide.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>
#include <cstring>

namespace {

long PeakMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong() / 1024;
    return -1;
}

void Report(const char *what, const QString &file, const QString &outcome)
{
    std::printf("%-10s %-28s peak %5ld MB  %s\n", what, qPrintable(QFileInfo(file).fileName()), PeakMegabytes(),
                qPrintable(outcome));
}

}  // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s slide|preview FILE... | thumbnails FOLDER\n", argv[0]);
        return 2;
    }
    const QStringList args = app.arguments().mid(2);
    if (std::strcmp(argv[1], "slide") == 0) {
        for (const QString &path : args) {
            const lumetta::PreparedSlide slide = lumetta::PrepareSlide(path, {QSize(1920, 1080), 100, true});
            Report("slide", path,
                   slide.error ? *slide.error
                               : QStringLiteral("%1 x %2").arg(slide.picture.width()).arg(slide.picture.height()));
        }
        return 0;
    }
    if (std::strcmp(argv[1], "preview") == 0) {
        for (const QString &path : args) {
            const lumetta::PictureReader::Result result = lumetta::PictureReader::ForPreview(path);
            Report("preview", path,
                   result.picture.IsNull() ? result.reason
                                           : QStringLiteral("%1 x %2").arg(result.picture.Width()).arg(result.picture.Height()));
        }
        return 0;
    }
    if (std::strcmp(argv[1], "thumbnails") == 0) {
        const QDir folder(args.first());
        lumetta::ThumbnailLoader loader(QSize(160, 120));
        const QStringList names = folder.entryList(QDir::Files, QDir::Name);
        for (const QString &name : names)
            loader.Find(folder.filePath(name));
        if (!loader.WaitUntilIdle(600000))
            return 1;
        int made = 0;
        for (const QString &name : names) {
            const auto *entry = loader.Cached(folder.filePath(name));
            made += entry && entry->status == lumetta::PictureReader::Status::Ok;
        }
        Report("thumbnails", args.first(), QStringLiteral("%1 of %2 made").arg(made).arg(names.size()));
        return 0;
    }
    std::fprintf(stderr, "unknown mode %s\n", argv[1]);
    return 2;
}
