// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line.h"

#include "common/licence.h"
#include "player/screen_numbers.h"
#include "show/version.h"

#include <QCommandLineParser>

namespace lumetta {

namespace {

// The options QApplication takes itself (it removes them before the program sees its
// arguments); they are accepted here so that they are not refused as unknown.
const struct
{
    const char *name;
    bool takesValue;
} kQtOptions[] = {
    {"platform", true},        {"platformpluginpath", true},
    {"platformtheme", true},   {"plugin", true},
    {"qwindowgeometry", true}, {"qwindowtitle", true},
    {"qwindowicon", true},     {"display", true},
    {"geometry", true},        {"style", true},
    {"stylesheet", true},      {"session", true},
    {"reverse", false},        {"nograb", false},
    {"dograb", false},         {"sync", false},
    {"widgetcount", false},
};

struct Parser
{
    QCommandLineParser parser;
    QCommandLineOption help = parser.addHelpOption();
    QCommandLineOption version = parser.addVersionOption();
    QCommandLineOption play{QStringLiteral("play"), QStringLiteral("Play FILE.zut full screen and end with the show.")};
    QCommandLineOption screen{QStringLiteral("screen"),
                              QStringLiteral("With --play: play on screen N (0 is the primary screen)."),
                              QStringLiteral("N")};
    QCommandLineOption build{QStringLiteral("build"),
                             QStringLiteral("Build FILE.zut into the self-running show OUTPUT; needs no display.")};

    Parser()
    {
        parser.setApplicationDescription(
            QStringLiteral("Lumetta makes slide shows with animated transitions from pictures.\n\n"
                           "  lumetta [FILE.zut]                 the editor, with FILE.zut opened\n"
                           "  lumetta --play [FILE.zut]          play a show full screen (the last project\n"
                           "                                     when no file is given)\n"
                           "  lumetta --play --screen N FILE.zut play it on screen N\n"
                           "  lumetta --build FILE.zut OUTPUT    build a self-running show\n"
                           "  lumetta --export FILE.zut OUT [--size WxH] [--fps N] [--seed N] [--slide-seconds S]\n"
                           "                 [--quality draft|good|best|lossless] [--force|-y]\n"
                           "                                     make a video (.mp4, .webm or .mkv)\n"
                           "  lumetta --web FILE.zut OUT.html [--max-size WxH] [--quality Q] [--force|-y]\n"
                           "                                     make a web page that plays the show"));
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.addOption(play);
        parser.addOption(screen);
        parser.addOption(build);
        for (const auto &qt : kQtOptions) {
            QCommandLineOption option(QLatin1String(qt.name));
            if (qt.takesValue)
                option.setValueName(QStringLiteral("value"));
            option.setFlags(QCommandLineOption::HiddenFromHelp);
            parser.addOption(option);
        }
        parser.addPositionalArgument(QStringLiteral("FILE.zut"), QStringLiteral("The project to open, play or build."),
                                     QStringLiteral("[FILE.zut]"));
        parser.addPositionalArgument(QStringLiteral("OUTPUT"), QStringLiteral("With --build: the show file to write."),
                                     QStringLiteral("[OUTPUT]"));
    }
};

}  // namespace

CommandLine CommandLine::Wrong(const QString &error)
{
    CommandLine line;
    line.mode_ = Mode::Usage;
    line.error_ = error;
    return line;
}

CommandLine CommandLine::Parse(const QStringList &arguments)
{
    Parser p;
    if (!p.parser.parse(arguments))
        return Wrong(p.parser.errorText());
    CommandLine line;
    if (p.parser.isSet(p.help) || p.parser.isSet(QStringLiteral("help-all"))) {
        line.mode_ = Mode::Help;
        return line;
    }
    if (p.parser.isSet(p.version)) {
        line.mode_ = Mode::Version;
        return line;
    }
    const QStringList files = p.parser.positionalArguments();
    const bool play = p.parser.isSet(p.play);
    const bool build = p.parser.isSet(p.build);
    if (play && build)
        return Wrong(QStringLiteral("--play and --build cannot be used together."));
    if (build) {
        if (files.size() != 2)
            return Wrong(QStringLiteral("--build needs FILE.zut and OUTPUT."));
        line.mode_ = Mode::Build;
        line.output_ = files[1];
    } else if (play) {
        // Without a file (a launcher's Play action) the last project plays.
        if (files.size() > 1)
            return Wrong(QStringLiteral("--play plays one FILE.zut."));
        line.mode_ = Mode::Play;
        if (p.parser.isSet(p.screen)) {
            line.screen_ = ParseScreenNumber(p.parser.value(p.screen));
            if (!line.screen_)
                return Wrong(
                    QStringLiteral("--screen needs a screen number from 0, not \"%1\".").arg(p.parser.value(p.screen)));
        }
    } else if (files.size() > 1) {
        return Wrong(QStringLiteral("The editor opens one project; %1 were given.").arg(files.size()));
    }
    if (p.parser.isSet(p.screen) && !play)
        return Wrong(QStringLiteral("--screen goes with --play."));
    if (!files.isEmpty())
        line.file_ = files[0];
    return line;
}

std::optional<QStringList> CommandLine::ExportArguments(const QStringList &arguments)
{
    return ArgumentsOfMode(arguments, QStringLiteral("export"));
}

std::optional<QStringList> CommandLine::WebArguments(const QStringList &arguments)
{
    return ArgumentsOfMode(arguments, QStringLiteral("web"));
}

std::optional<QStringList> CommandLine::ArgumentsOfMode(const QStringList &arguments, const QString &mode)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QLatin1String("--"))
            break;
        // Single-dash words read as long options, as everywhere else on this command line.
        if (argument == QLatin1String("--") + mode || argument == QLatin1Char('-') + mode) {
            QStringList rest = arguments.mid(1);
            rest.removeAt(i - 1);
            return rest;
        }
    }
    return std::nullopt;
}

QString CommandLine::HelpText()
{
    Parser p;
    QString text = p.parser.helpText();
    // The parser names the program after the application, which is not made yet.
    const qsizetype usage = text.indexOf(QLatin1String(" [options]"));
    if (usage >= 0)
        text.replace(0, usage, QStringLiteral("Usage: lumetta"));
    return text;
}

QString CommandLine::VersionText()
{
    return QString::fromStdString(lumetta::VersionText("lumetta", kProgramVersion));
}

}  // namespace lumetta
