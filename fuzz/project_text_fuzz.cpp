// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzz_support.h"
#include "show/project_file.h"

using namespace lumetta;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = fuzz::Bytes(data, size);
    const QStringList lines = SplitLines(DecodeText(bytes));
    // Read line by line, the text is written back byte for byte, but for its line breaks.
    LegacyLines legacy;
    const QStringList decoded = LegacyLines::Decode(bytes, &legacy);
    if (decoded != lines)
        __builtin_trap();
    QByteArray withBreaks = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    withBreaks.replace("\r\n", "\n").replace('\r', '\n');
    if (!withBreaks.isEmpty() && !withBreaks.endsWith('\n'))
        withBreaks += '\n';
    if (legacy.Encode(decoded).replace("\r\n", "\n") != withBreaks)
        __builtin_trap();
    try {
        const ProjectContent content = ParseProjectText(lines);
        // What was read must be written back without losing the lists.
        BuildProjectText(content.settings, content.pictures, content.effects, content.playlist.value_or(QStringList()));
    } catch (const ProjectError &) {
    }
    return 0;
}
