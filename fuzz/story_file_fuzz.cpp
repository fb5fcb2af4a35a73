// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzz_support.h"
#include "show/story_file.h"

using namespace lumetta;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const QStringList kPictures = {QStringLiteral("/p/a.jpg"), QStringLiteral("/p/b.jpg"),
                                          QStringLiteral("/p/a.jpg")};
    const StoryFile::Reading reading = StoryFile::Parse(fuzz::Bytes(data, size), kPictures);
    // Whatever was read is written so that it reads back the same, and writes the same again.
    const QByteArray written = StoryFile::Bytes(reading.story, kPictures);
    if (written.isEmpty())
        return 0;
    const StoryFile::Reading again = StoryFile::Parse(written, kPictures);
    if (!again.problems.isEmpty() || !(again.story == reading.story)
        || StoryFile::Bytes(again.story, kPictures) != written)
        __builtin_trap();
    return 0;
}
