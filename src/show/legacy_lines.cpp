// SPDX-License-Identifier: GPL-3.0-or-later
#include "show/legacy_lines.h"

#include <QSet>
#include <QStringDecoder>

#include <algorithm>

namespace lumetta {

namespace {

const QByteArrayView kByteOrderMark("\xEF\xBB\xBF");

// The Windows 8-bit code page; Latin-1 for the five bytes it leaves undefined.
QString DecodeOldCodePage(QByteArrayView bytes)
{
    QStringDecoder decoder("windows-1252", QStringDecoder::Flag::Stateless);
    if (decoder.isValid()) {
        QString text = decoder.decode(bytes);
        if (!decoder.hasError())
            return text;
    }
    return QString::fromLatin1(bytes);
}

// Valid UTF-8, a byte-order mark included: one at the start of a line is part of the line (the
// file's own was taken off before the lines were split).
QString DecodeUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

// The lines of BYTES as views, without their breaks.
QList<QByteArrayView> SplitBytes(QByteArrayView bytes)
{
    QList<QByteArrayView> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.append(bytes.sliced(start, i - start));
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines.append(bytes.sliced(start));
    return lines;
}

}  // namespace

QString LegacyLines::DecodeLine(QByteArrayView bytes)
{
    return bytes.isValidUtf8() ? DecodeUtf8(bytes) : DecodeOldCodePage(bytes);
}

QStringList LegacyLines::Decode(QByteArrayView bytes, LegacyLines *legacy)
{
    if (bytes.startsWith(kByteOrderMark))
        bytes = bytes.sliced(kByteOrderMark.size());
    const QList<QByteArrayView> raw = SplitBytes(bytes);
    QStringList lines;
    lines.reserve(raw.size());
    QSet<QString> oldSpelt;
    for (const QByteArrayView line : raw) {
        if (line.isValidUtf8()) {
            lines.append(DecodeUtf8(line));
        } else {
            lines.append(DecodeOldCodePage(line));
            oldSpelt.insert(lines.last());
        }
    }
    if (legacy) {
        legacy->forms_.clear();
        for (qsizetype i = 0; i < lines.size() && !oldSpelt.isEmpty(); ++i)
            if (oldSpelt.contains(lines[i]))
                legacy->forms_[lines[i]].append(raw[i].toByteArray());
    }
    return lines;
}

QByteArray LegacyLines::Encode(const QStringList &lines) const
{
    QByteArray bytes;
    QHash<QString, qsizetype> written;
    for (const QString &line : lines) {
        const auto forms = forms_.constFind(line);
        if (forms == forms_.cend()) {
            bytes += line.toUtf8();
        } else {
            qsizetype &count = written[line];
            bytes += forms->at(std::min(count, forms->size() - 1));
            ++count;
        }
        bytes += "\r\n";
    }
    return bytes;
}

}  // namespace lumetta
