// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/web_command.h"

#include "export/command_output.h"
#include "export/web_show_builder.h"
#include "show/show_project.h"

#include <QCommandLineParser>
#include <QFileInfo>

namespace lumetta {

namespace {

struct WebOptions
{
    QCommandLineParser parser;
    QCommandLineOption help = parser.addHelpOption();
    QCommandLineOption maxSize{QStringLiteral("max-size"),
                               QStringLiteral("Pictures larger than this are scaled down to fit (2560x1440)."),
                               QStringLiteral("WxH")};
    QCommandLineOption quality{QStringLiteral("quality"), QStringLiteral("JPEG and WebP quality, 1 to 100 (85)."),
                               QStringLiteral("Q")};
    QCommandLineOption force{{QStringLiteral("force"), QStringLiteral("y")},
                             QStringLiteral("Replace OUT.html when it exists (never a read-only file nor one of the "
                                            "show's own files).")};

    WebOptions()
    {
        parser.setApplicationDescription(QStringLiteral(
            "Writes the show of FILE.zut as one web page that plays it in any browser, with its pictures, music "
            "and transitions inside. Needs no display."));
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.addOptions({maxSize, quality, force});
        parser.addPositionalArgument(QStringLiteral("FILE.zut"), QStringLiteral("The project."));
        parser.addPositionalArgument(QStringLiteral("OUT.html"), QStringLiteral("The page to write."));
    }

    QString HelpText() const { return CommandHelpText(parser, QStringLiteral("lumetta --web")); }
};


// The options' values; the reason when one is wrong.
std::optional<QString> ReadOptions(const WebOptions &o, WebShowOptions &options)
{
    if (o.parser.isSet(o.maxSize)) {
        const QStringList parts = o.parser.value(o.maxSize).split(QLatin1Char('x'));
        bool wide = false, high = false;
        const int width = parts.size() == 2 ? parts[0].toInt(&wide) : 0;
        const int height = parts.size() == 2 ? parts[1].toInt(&high) : 0;
        if (!wide || !high || width < 16 || height < 16 || width > 16384 || height > 16384)
            return QStringLiteral("--max-size needs WxH, each side 16 to 16384");
        options.maxSize = QSize(width, height);
    }
    if (o.parser.isSet(o.quality)) {
        bool ok = false;
        options.quality = o.parser.value(o.quality).toInt(&ok);
        if (!ok || options.quality < 1 || options.quality > 100)
            return QStringLiteral("--quality needs a number from 1 to 100");
    }
    return std::nullopt;
}

}  // namespace

int MakeWebShow(const QStringList &arguments, std::FILE *output, std::FILE *errors)
{
    WebOptions o;
    const auto wrong = [&](const QString &error) {
        PrintText(errors, QStringLiteral("lumetta --web: %1\n\n").arg(error) + o.HelpText());
        return 2;
    };
    if (!o.parser.parse(QStringList{QStringLiteral("lumetta")} + arguments))
        return wrong(o.parser.errorText());
    if (o.parser.isSet(o.help)) {
        PrintText(output, o.HelpText());
        return 0;
    }
    const QStringList files = o.parser.positionalArguments();
    if (files.size() != 2)
        return wrong(QStringLiteral("FILE.zut and OUT.html are needed"));
    WebShowOptions options;
    if (const std::optional<QString> problem = ReadOptions(o, options))
        return wrong(*problem);
    const QString &target = files[1];

    StreamDialogs dialogs(errors);
    ShowProject project;
    if (project.OpenPath(QFileInfo(files[0]).absoluteFilePath(), dialogs) != ShowProject::Outcome::Done)
        return 1;
    if (const std::optional<QString> problem = WebShowBuilder::TargetProblem(project, target)) {
        PrintText(errors, *problem + QLatin1Char('\n'));
        return 1;
    }
    const QFileInfo targetInfo(target);
    const bool force = o.parser.isSet(o.force);
    if (!force && (targetInfo.exists() || targetInfo.isSymLink())) {
        PrintText(errors, QStringLiteral("lumetta --web: %1 already exists; --force (or -y) replaces it\n").arg(target));
        return 1;
    }
    WebShowBuilder builder(project, options);
    const WebShowBuilder::Outcome outcome = builder.Build();
    for (const QString &note : builder.Notes())
        PrintText(errors, QStringLiteral("lumetta --web: %1\n").arg(note));
    if (outcome != WebShowBuilder::Outcome::Done) {
        PrintText(errors, QStringLiteral("lumetta --web: %1\n").arg(builder.Error()));
        return 1;
    }
    if (builder.Page().size() >= WebShowBuilder::kLargePageBytes)
        PrintText(errors, QStringLiteral("lumetta --web: warning: the page takes %1 MB; browsers open it slowly\n")
                          .arg(builder.Page().size() / 1000000));
    if (const std::optional<QString> problem = WebShowBuilder::Write(
            builder.Page(), target, force ? ReplacementFile::Existing::Replace : ReplacementFile::Existing::Refuse)) {
        PrintText(errors, *problem + QLatin1Char('\n'));
        return 1;
    }
    return 0;
}

}  // namespace lumetta
