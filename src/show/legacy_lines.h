// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace lumetta {

// Text files are UTF-8, but shows written on Windows spell their lines in its 8-bit code page,
// and one file may mix both. Each line is decoded on its own; the lines that were not UTF-8 are
// remembered with their bytes, so that writing the lines back gives every unchanged line the
// very bytes it was read as, and a path keeps naming the file it named.
class LegacyLines
{
public:
    // Decodes BYTES line by line (split at CR, LF or CR LF, a leading byte-order mark dropped):
    // a line that is valid UTF-8 as UTF-8, any other in the Windows 8-bit code page. LEGACY,
    // when given, learns the bytes of the lines of the second kind.
    static QStringList Decode(QByteArrayView bytes, LegacyLines *legacy = nullptr);
    // One line (or any text without line breaks), decoded as Decode decodes a line.
    static QString DecodeLine(QByteArrayView bytes);

    // LINES as a text file: each line followed by CR LF, the last one too; a line read from the
    // old code page (or a copy of it) as the bytes it was read as, any other as UTF-8.
    QByteArray Encode(const QStringList &lines) const;

    bool IsEmpty() const { return forms_.isEmpty(); }

private:
    // The bytes of every line whose text was read at least once from the old code page, in
    // reading order: the n-th line of that text written gets the n-th form read (the last form
    // once they run out), so a text read once as UTF-8 and once in the old page keeps both.
    QHash<QString, QList<QByteArray>> forms_;
};

}  // namespace lumetta
