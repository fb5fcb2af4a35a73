// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzz_support.h"
#include "show/project_file.h"

using namespace lumetta;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QStringList lines = SplitLines(DecodeText(fuzz::Bytes(data, size)));
    try {
        const ProjectContent content = ParseProjectText(lines);
        // What was read must be written back without losing the lists.
        BuildProjectText(content.settings, content.pictures, content.effects, content.playlist.value_or(QStringList()));
    } catch (const ProjectError &) {
    }
    return 0;
}
