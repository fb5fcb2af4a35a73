// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzz_support.h"
#include "show/list_files.h"
#include "show/project_file.h"

using namespace lumetta;

// The list files' text as ListFiles reads it, within its limits, and written back: in memory,
// as the file system around it is the system's and would cost more than the reading itself.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    try {
        const QStringList lines = TextLines(fuzz::Bytes(data, size), ListFiles::kLimits, QStringLiteral("dires.lst"));
        const QByteArray written = EncodeLines(lines);
        if (TextLines(written, ListFiles::kLimits, QStringLiteral("dires.lst")).size() < lines.size())
            std::abort();
    } catch (const ProjectError &) {
    }
    return 0;
}
