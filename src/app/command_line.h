// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace lumetta {

// What the arguments of `lumetta` ask for. Parsed before any application object exists, so
// --help, --version and --build need no display.
class CommandLine
{
public:
    enum class Mode {
        Edit,  // the editor, with File opened when given
        Play,  // --play FILE
        Build,  // --build FILE OUTPUT
        Help,  // --help: print HelpText() and end with 0
        Version,  // --version: print VersionText() and end with 0
        Usage,  // a wrong command line: print ErrorText() and HelpText() on stderr, end with 2
    };

    // ARGUMENTS as the program got them, the program's name first.
    static CommandLine Parse(const QStringList &arguments);

    // With `--export` anywhere among ARGUMENTS (the program's name first) before a "--": the
    // other arguments, without the program's name, for the exporter's own parser; else nullopt.
    static std::optional<QStringList> ExportArguments(const QStringList &arguments);
    // The same for `--web`.
    static std::optional<QStringList> WebArguments(const QStringList &arguments);

    static QString HelpText();
    static QString VersionText();

    Mode RunMode() const { return mode_; }
    const QString &File() const { return file_; }
    const QString &Output() const { return output_; }
    const QString &ErrorText() const { return error_; }
    // With --play: the screen by number (0 the primary one), when given.
    std::optional<int> Screen() const { return screen_; }

private:
    static CommandLine Wrong(const QString &error);
    // ARGUMENTS without the program's name and "--MODE" when that stands before any "--".
    static std::optional<QStringList> ArgumentsOfMode(const QStringList &arguments, const QString &mode);

    Mode mode_ = Mode::Edit;
    QString file_;
    QString output_;
    QString error_;
    std::optional<int> screen_;
};

}  // namespace lumetta
