// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/export_command.h"

#include "common/termination_signals.h"
#include "export/command_output.h"
#include "export/export_job.h"
#include "export/video_exporter.h"
#include "show/show_project.h"

#include <QCommandLineParser>
#include <QEventLoop>
#include <QFileInfo>

#include <unistd.h>

#include <cstring>
#include <optional>

namespace lumetta {

namespace {

// The command line of `lumetta --export`.
struct ExportOptions
{
    QCommandLineParser parser;
    QCommandLineOption help = parser.addHelpOption();
    QCommandLineOption size{QStringLiteral("size"),
                            QStringLiteral("The video's size (1920x1080; 1080x1920 portrait, 1080x1080 square); "
                                           "odd sides are rounded down to even."),
                            QStringLiteral("WxH")};
    QCommandLineOption fps{QStringLiteral("fps"),
                           QStringLiteral("Frames a second (30): a whole number, a fraction such as 30000/1001 or "
                                          "a decimal such as 29.97."),
                           QStringLiteral("N")};
    QCommandLineOption seed{QStringLiteral("seed"), QStringLiteral("Seeds the effects' choices: the same video again."),
                            QStringLiteral("N")};
    QCommandLineOption slideSeconds{QStringLiteral("slide-seconds"),
                                    QStringLiteral("How long a slide of a manual show stays (5)."),
                                    QStringLiteral("S")};
    QCommandLineOption quality{QStringLiteral("quality"),
                               QStringLiteral("draft, good (the default), best or lossless."), QStringLiteral("Q")};
    QCommandLineOption force{{QStringLiteral("force"), QStringLiteral("y")},
                             QStringLiteral("Replace OUT when it exists (never a read-only file nor one of the "
                                            "show's own files).")};

    ExportOptions()
    {
        parser.setApplicationDescription(
            QStringLiteral("Writes the show of FILE.zut as a video; the extension of OUT (.mp4, .webm or .mkv) picks "
                           "the container. Needs no display."));
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.addOptions({size, fps, seed, slideSeconds, quality, force});
        parser.addPositionalArgument(QStringLiteral("FILE.zut"), QStringLiteral("The project to export."));
        parser.addPositionalArgument(QStringLiteral("OUT"), QStringLiteral("The video file to write."));
    }

    QString HelpText() const { return CommandHelpText(parser, QStringLiteral("lumetta --export")); }
};

// What the arguments ask for: a video, the help, or nothing (with the reason in `error`).
struct ExportRequest
{
    bool help = false;
    QString error;
    QString project;
    QString target;
    ExportSettings settings;
    // What was changed to make a video of the asked settings.
    QStringList notes;
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
        const std::optional<FrameRate> fps = FrameRate::FromText(value);
        ok = fps.has_value();
        if (ok)
            settings.fps = *fps;
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
    if (const std::optional<QString> note = RoundToEvenSize(request.settings.size))
        request.notes << *note;
    request.settings.existing =
        o.parser.isSet(o.force) ? ReplacementFile::Existing::Replace : ReplacementFile::Existing::Refuse;
    return request;
}


QString Clock(int seconds)
{
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

// Runs the export on a thread of its own while this one waits for its end or for a signal,
// which cancels it through the job's own path, so an interrupted export leaves nothing behind. A
// progress line goes to ERRORS when it is a terminal. The exit status: 0, 1, or 128 plus the
// number of the signal that stopped it.
int RunExport(const ShowProject &project, const ExportSettings &settings, const QString &target, std::FILE *errors)
{
    const bool terminal = isatty(fileno(errors));
    // Progress lines overwrite each other; a warning starts on a line of its own.
    bool lineShown = false;
    std::optional<VideoExporter::Outcome> outcome;
    QString message;
    int stoppedBy = 0;
    QEventLoop loop;
    ExportJob job(project, settings, target);
    const TerminationSignals terminations;
    QObject::connect(&terminations, &TerminationSignals::Received, &job, [&](int signalNumber) {
        if (stoppedBy == 0)
            stoppedBy = signalNumber;
        job.Cancel();
    });
    QObject::connect(&job, &ExportJob::Warning, &job, [&](const QString &warning) {
        PrintText(errors, (lineShown ? QStringLiteral("\n") : QString()) + QStringLiteral("warning: ") + warning
                          + QLatin1Char('\n'));
        lineShown = false;
    });
    if (terminal) {
        QObject::connect(&job, &ExportJob::Progress, &job, [&](qint64 done, qint64 expected, int secondsLeft) {
            QString line = QStringLiteral("\rExporting %1: %2% (%3/%4 frames)")
                               .arg(QFileInfo(target).fileName())
                               .arg(int(done * 100 / std::max<qint64>(expected, 1)))
                               .arg(done)
                               .arg(expected);
            if (secondsLeft >= 0 && done < expected)
                line += QStringLiteral(", %1 left").arg(Clock(secondsLeft));
            PrintText(errors, line + QStringLiteral("   "));
            lineShown = true;
        });
    }
    QObject::connect(&job, &ExportJob::Finished, &job, [&](VideoExporter::Outcome ended, const QString &text) {
        outcome = ended;
        message = text;
        loop.quit();
    });
    job.Start();
    if (!outcome)
        loop.exec();
    if (lineShown)
        PrintText(errors, QStringLiteral("\n"));
    if (*outcome == VideoExporter::Outcome::Cancelled && stoppedBy != 0) {
        PrintText(errors, QStringLiteral("lumetta --export: stopped by signal %1 (%2); %3 was not written\n")
                          .arg(stoppedBy)
                          .arg(QString::fromLocal8Bit(strsignal(stoppedBy)), target));
        return TerminationSignals::ExitStatus(stoppedBy);
    }
    if (*outcome != VideoExporter::Outcome::Done) {
        PrintText(errors, message + QLatin1Char('\n'));
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
        PrintText(output, options.HelpText());
        return 0;
    }
    if (!request.error.isEmpty()) {
        PrintText(errors, QStringLiteral("lumetta --export: %1\n\n").arg(request.error) + options.HelpText());
        return 2;
    }
    for (const QString &note : request.notes)
        PrintText(errors, QStringLiteral("lumetta --export: note: %1\n").arg(note));
    StreamDialogs dialogs(errors);
    ShowProject project;
    if (project.OpenPath(QFileInfo(request.project).absoluteFilePath(), dialogs) != ShowProject::Outcome::Done)
        return 1;
    if (const std::optional<QString> problem = VideoExporter::TargetProblem(project, request.target)) {
        PrintText(errors, *problem + QLatin1Char('\n'));
        return 1;
    }
    const QFileInfo target(request.target);
    if (request.settings.existing == ReplacementFile::Existing::Refuse && (target.exists() || target.isSymLink())) {
        PrintText(errors, QStringLiteral("lumetta --export: %1 already exists; --force (or -y) replaces it\n")
                          .arg(request.target));
        return 1;
    }
    return RunExport(project, request.settings, request.target, errors);
}

}  // namespace lumetta
