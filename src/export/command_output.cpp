// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/command_output.h"

#include <QCommandLineParser>

namespace lumetta {

void PrintText(std::FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

QString CommandHelpText(const QCommandLineParser &parser, const QString &command)
{
    QString text = parser.helpText();
    // The parser names the program after the running executable.
    const qsizetype usage = text.indexOf(QLatin1String(" [options]"));
    if (usage >= 0)
        text.replace(0, usage, QStringLiteral("Usage: ") + command);
    return text;
}

}  // namespace lumetta
