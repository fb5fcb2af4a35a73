// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/export_command.h"

#include "export/video_exporter.h"
#include "show/show_project.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFileInfo>

#include <unistd.h>

#include <atomic>
#include <optional>

namespace lumetta {

namespace {

// The command line of `lumetta --export`.
struct ExportOptions
{
    QCommandLineParser parser;
    QCommandLineOption help = parser.addHelpOption();
    QCommandLineOption size{QStringLiteral("size"), QStringLiteral("The video's size (1920x1080)."),
                            QStringLiteral("WxH")};
    QCommandLineOption fps{QStringLiteral("fps"), QStringLiteral("Frames a second (30)."), QStringLiteral("N")};
    QCommandLineOption seed{QStringLiteral("seed"), QStringLiteral("Seeds the effects' choices: the same video again."),
                            QStringLiteral("N")};
    QCommandLineOption slideSeconds{QStringLiteral("slide-seconds"),
                                    QStringLiteral("How long a slide of a manual show stays (5)."),
                                    QStringLiteral("S")};
    QCommandLineOption quality{QStringLiteral("quality"),
                               QStringLiteral("draft, good (the default), best or lossless."), QStringLiteral("Q")};

    ExportOptions()
    {
        parser.setApplicationDescription(
            QStringLiteral("Writes the show of FILE.zut as a video; the extension of OUT (.mp4, .webm or .mkv) picks "
                           "the container. Needs no display."));
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.addOptions({size, fps, seed, slideSeconds, quality});
        parser.addPositionalArgument(QStringLiteral("FILE.zut"), QStringLiteral("The project to export."));
        parser.addPositionalArgument(QStringLiteral("OUT"), QStringLiteral("The video file to write."));
    }

    QString HelpText() const
    {
        QString text = parser.helpText();
        // The parser names the program after the running executable.
        const qsizetype usage = text.indexOf(QLatin1String(" [options]"));
        if (usage >= 0)
            text.replace(0, usage, QStringLiteral("Usage: lumetta --export"));
        return text;
    }
};

// What the arguments ask for: a video, the help, or nothing (with the reason in `error`).
struct ExportRequest
{
    bool help = false;
    QString error;
    QString project;
    QString target;
    ExportSettings settings;
};

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

// Reads OPTION's value into SETTINGS; false when it is no value of the option's kind.
bool ReadValue(const ExportOptions &o, const QCommandLineOption &option, ExportSettings &settings)
{
    const QString value = o.parser.value(option);
    bool ok = false;
    if (&option == &o.size) {
        const std::optional<QSize> size = ParseSize(value);
        ok = size.has_value();
        if (ok)
            settings.size = *size;
    } else if (&option == &o.fps) {
        settings.fps = value.toInt(&ok);
    } else if (&option == &o.seed) {
        settings.seed = value.toUInt(&ok);
    } else if (&option == &o.slideSeconds) {
        settings.slideSeconds = value.toDouble(&ok);
        ok = ok && settings.slideSeconds > 0 && settings.slideSeconds <= 3600;
    } else if (&option == &o.quality) {
        const std::optional<ExportQuality> quality = QualityFromText(value);
        ok = quality.has_value();
        if (ok)
            settings.quality = *quality;
    }
    return ok;
}

ExportRequest ParseArguments(ExportOptions &o, const QStringList &arguments)
{
    ExportRequest request;
    if (!o.parser.parse(QStringList{QStringLiteral("lumetta")} + arguments)) {
        request.error = o.parser.errorText();
        return request;
    }
    if (o.parser.isSet(o.help)) {
        request.help = true;
        return request;
    }
    for (const QCommandLineOption *option : {&o.size, &o.fps, &o.seed, &o.slideSeconds, &o.quality}) {
        if (o.parser.isSet(*option) && !ReadValue(o, *option, request.settings)) {
            request.error =
                QStringLiteral("Bad value \"%1\" for --%2.").arg(o.parser.value(*option), option->names().constFirst());
            return request;
        }
    }
    const QStringList files = o.parser.positionalArguments();
    if (files.size() != 2) {
        request.error = QStringLiteral("--export needs FILE.zut and OUT.");
        return request;
    }
    request.project = files[0];
    request.target = files[1];
    return request;
}

void Print(std::FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

QString Clock(int seconds)
{
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

// Runs the prepared export, with a progress line on ERRORS when it is a terminal; the exit status.
int RunExport(VideoExporter &exporter, const QString &target, std::FILE *errors)
{
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
                               .arg(QFileInfo(target).fileName())
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

}  // namespace

int ExportProjectFile(const QStringList &arguments, std::FILE *output, std::FILE *errors)
{
    ExportOptions options;
    const ExportRequest request = ParseArguments(options, arguments);
    if (request.help) {
        Print(output, options.HelpText());
        return 0;
    }
    if (!request.error.isEmpty()) {
        Print(errors, QStringLiteral("lumetta --export: %1\n\n").arg(request.error) + options.HelpText());
        return 2;
    }
    StreamDialogs dialogs(errors);
    ShowProject project;
    if (project.OpenPath(QFileInfo(request.project).absoluteFilePath(), dialogs) != ShowProject::Outcome::Done)
        return 1;
    VideoExporter exporter(project, request.settings, request.target);
    if (const std::optional<QString> problem = exporter.Prepare()) {
        Print(errors, *problem + QLatin1Char('\n'));
        return 1;
    }
    return RunExport(exporter, request.target, errors);
}

}  // namespace lumetta
