// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstdio>

class QCommandLineParser;

// What the writing commands (`lumetta --export`, `lumetta --web`) print.
namespace lumetta {

// TEXT on STREAM at once, in the locale's encoding.
void PrintText(std::FILE *stream, const QString &text);

// PARSER's help with its usage line naming COMMAND ("lumetta --web") instead of the executable.
QString CommandHelpText(const QCommandLineParser &parser, const QString &command);

}  // namespace lumetta
