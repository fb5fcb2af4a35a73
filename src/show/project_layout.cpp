// SPDX-License-Identifier: GPL-3.0-or-later
#include "show/project_layout.h"

#include "show/project_file.h"
#include "show/show_settings.h"

namespace lumetta {

namespace {

// Calls visit(index, line) for each line as SplitLines cuts them (at CR, LF or CR LF) until it
// returns false.
template <class Visit>
void ForEachLine(QStringView text, Visit visit)
{
    qsizetype start = 0;
    qsizetype index = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        if (!visit(index++, text.mid(start, i - start)))
            return;
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        visit(index, text.mid(start));
}

}  // namespace

ProjectLayout ProjectLayout::Of(QStringView text)
{
    ProjectLayout layout;
    qsizetype lastTrans = -1;
    qsizetype lastMusic = -1;
    ForEachLine(text, [&](qsizetype index, QStringView line) {
        if (line == QLatin1String(kTransMarker))
            lastTrans = index;
        else if (line == QLatin1String(kMusicMarker))
            lastMusic = index;
        layout.lineCount = index + 1;
        return true;
    });
    const qsizetype first = ShowSettings::kLineCount;
    layout.trans = lastTrans >= first ? lastTrans : -1;
    layout.music = lastMusic >= first && lastMusic >= layout.trans ? lastMusic : -1;
    return layout;
}

qsizetype ProjectLayout::PictureCount() const
{
    return trans >= 0 ? trans - ShowSettings::kLineCount : 0;
}

qsizetype ProjectLayout::EffectCount() const
{
    return trans >= 0 && music >= 0 ? music - trans - 1 : 0;
}

qsizetype ProjectLayout::MusicCount() const
{
    return music >= 0 ? lineCount - music - 1 : 0;
}

QStringList ProjectLayout::Lines(QStringView text, qsizetype first, qsizetype count)
{
    QStringList lines;
    if (count <= 0)
        return lines;
    lines.reserve(count);
    ForEachLine(text, [&](qsizetype index, QStringView line) {
        if (index >= first)
            lines.append(line.toString());
        return lines.size() < count;
    });
    return lines;
}

}  // namespace lumetta
