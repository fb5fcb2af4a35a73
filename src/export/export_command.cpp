// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/export_command.h"

#include "export/video_exporter.h"
#include "show/show_project.h"

#include <QElapsedTimer>
#include <QFileInfo>

#include <unistd.h>

#include <atomic>
#include <optional>

namespace lumetta {

namespace {

const char kUsage[] = "usage: lumetta --export FILE.zut OUT [--size WxH] [--fps N] [--seed N] "
                      "[--slide-seconds S] [--quality draft|good|best|lossless]\n";

std::optional<QSize> ParseSize(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('x'));
    if (parts.size() != 2)
        return std::nullopt;
    bool wide = false, high = false;
    const int width = parts[0].toInt(&wide);
    const int height = parts[1].toInt(&high);
    if (!wide || !high)
        return std::nullopt;
    return QSize(width, height);
}

void Print(std::FILE *errors, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), errors);
    std::fflush(errors);
}

QString Clock(int seconds)
{
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace

int ExportProjectFile(const QStringList &arguments, std::FILE *errors)
{
    ExportSettings settings;
    QStringList files;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (!argument.startsWith(QLatin1String("--"))) {
            files << argument;
            continue;
        }
        if (i + 1 >= arguments.size()) {
            Print(errors, QStringLiteral("%1 needs a value\n").arg(argument) + QLatin1String(kUsage));
            return 1;
        }
        const QString value = arguments.at(++i);
        bool ok = false;
        if (argument == QLatin1String("--size")) {
            const std::optional<QSize> size = ParseSize(value);
            ok = size.has_value();
            if (ok)
                settings.size = *size;
        } else if (argument == QLatin1String("--fps")) {
            settings.fps = value.toInt(&ok);
        } else if (argument == QLatin1String("--seed")) {
            settings.seed = value.toUInt(&ok);
        } else if (argument == QLatin1String("--slide-seconds")) {
            settings.slideSeconds = value.toDouble(&ok);
            ok = ok && settings.slideSeconds > 0 && settings.slideSeconds <= 3600;
        } else if (argument == QLatin1String("--quality")) {
            const std::optional<ExportQuality> quality = QualityFromText(value);
            ok = quality.has_value();
            if (ok)
                settings.quality = *quality;
        } else {
            Print(errors, QStringLiteral("Unknown option %1\n").arg(argument) + QLatin1String(kUsage));
            return 1;
        }
        if (!ok) {
            Print(errors, QStringLiteral("Bad value \"%1\" for %2\n").arg(value, argument) + QLatin1String(kUsage));
            return 1;
        }
    }
    if (files.size() != 2) {
        Print(errors, QLatin1String(kUsage));
        return 1;
    }

    StreamDialogs dialogs(errors);
    ShowProject project;
    if (project.OpenPath(QFileInfo(files[0]).absoluteFilePath(), dialogs) != ShowProject::Outcome::Done)
        return 1;
    VideoExporter exporter(project, settings, files[1]);
    if (const std::optional<QString> problem = exporter.Prepare()) {
        Print(errors, *problem + QLatin1Char('\n'));
        return 1;
    }
    const bool terminal = isatty(fileno(errors));
    QElapsedTimer clock;
    clock.start();
    qint64 lastLine = -1000;
    // Warnings come from the rendering thread, progress from the encoding thread.
    std::atomic<bool> lineShown = false;
    // Progress lines overwrite each other; a warning starts on a line of its own.
    exporter.SetWarningHandler([&](const QString &message) {
        Print(errors, (lineShown ? QStringLiteral("\n") : QString()) + QStringLiteral("warning: ") + message
                          + QLatin1Char('\n'));
        lineShown = false;
    });
    if (terminal) {
        exporter.SetProgressHandler([&](std::int64_t done, std::int64_t expected) {
            const qint64 now = clock.elapsed();
            if (done < expected && now - lastLine < 250)
                return;
            lastLine = now;
            QString line = QStringLiteral("\rExporting %1: %2% (%3/%4 frames)")
                               .arg(QFileInfo(files[1]).fileName())
                               .arg(int(done * 100 / std::max<std::int64_t>(expected, 1)))
                               .arg(done)
                               .arg(expected);
            if (now > 500 && done > 0 && done < expected)
                line += QStringLiteral(", %1 left").arg(Clock(int(now * (expected - done) / done / 1000)));
            Print(errors, line + QStringLiteral("   "));
            lineShown = true;
        });
    }
    const VideoExporter::Outcome outcome = exporter.Run();
    if (lineShown)
        Print(errors, QStringLiteral("\n"));
    if (outcome != VideoExporter::Outcome::Done) {
        Print(errors, exporter.ErrorText() + QLatin1Char('\n'));
        return 1;
    }
    return 0;
}

}  // namespace lumetta
