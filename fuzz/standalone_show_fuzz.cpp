// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzz_support.h"
#include "show/project_file.h"
#include "show/standalone_show.h"

#include <QBuffer>

#include <cstdlib>

using namespace lumetta;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QBuffer file;
    file.setData(fuzz::Bytes(data, size));
    file.open(QIODevice::ReadOnly);
    try {
        const StandaloneShow show = StandaloneShow::Read(file, QStringLiteral("fuzz"));
        // Every block a show accepts lies inside the file, in order, before the size list.
        qint64 end = show.DataStart();
        QList<StandaloneShow::Block> blocks{show.ProjectBlock()};
        if (show.Background())
            blocks << *show.Background();
        blocks << show.Music() << show.Pictures();
        for (const StandaloneShow::Block &block : blocks) {
            if (block.offset != end || block.size < 0 || block.offset + block.size > file.size())
                std::abort();
            end += block.size;
        }
        // The sections counted without splitting the text are those the project parser takes.
        const StandaloneShow::Block project = show.ProjectBlock();
        const QByteArray text = fuzz::Bytes(data + project.offset, std::size_t(project.size));
        const ProjectContent parsed = ParseProjectText(SplitLines(DecodeText(text)));
        const ProjectContent &content = show.Content();
        if (parsed.settings != content.settings || parsed.pictures != content.pictures
            || parsed.effects != content.effects || parsed.playlist != content.playlist)
            std::abort();
    } catch (const ProjectError &) {
    }
    return 0;
}
