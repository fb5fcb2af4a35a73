// SPDX-License-Identifier: GPL-3.0-or-later
#include "show/legacy_lines.h"
#include "support/qstring_print.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace lumetta {
namespace {

const QString kCafe = QString::fromUtf8("caf\xC3\xA9");

TEST(LegacyLines, EachLineIsDecodedOnItsOwn)
{
    const struct
    {
        QByteArray bytes;
        QStringList lines;
    } cases[] = {
        {"caf\xC3\xA9\r\ncaf\xE9\r\n", {kCafe, kCafe}},
        {"\xEF\xBB\xBF"
         "a\nb",
         {"a", "b"}},
        {"a\r\rb\r\n", {"a", "", "b"}},
        {"\x93quoted\x94 \x80", {QString::fromUtf8("\xE2\x80\x9Cquoted\xE2\x80\x9D \xE2\x82\xAC")}},
        // The five bytes the code page leaves undefined read as Latin-1.
        {"x\x81y", {QString::fromUtf8("x\xC2\x81y")}},
        {"", {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(LegacyLines::Decode(c.bytes), c.lines) << c.bytes.toStdString();
    EXPECT_EQ(LegacyLines::DecodeLine("caf\xE9"), kCafe);
}

TEST(LegacyLines, UnchangedLinesAreWrittenAsTheyWereRead)
{
    const QByteArray file = "/p/caf\xC3\xA9.jpg\r\n/p/caf\xE9.jpg\r\n/p/plain.jpg\r\n/p/caf\xE9.jpg\r\n";
    LegacyLines legacy;
    QStringList lines = LegacyLines::Decode(file, &legacy);
    EXPECT_FALSE(legacy.IsEmpty());
    EXPECT_EQ(lines[0], lines[1]);
    EXPECT_EQ(legacy.Encode(lines), file);

    // Moved or copied lines keep their spellings in order; new lines are UTF-8.
    lines.move(3, 0);
    lines.append(QString::fromUtf8("/p/\xC3\xA9t\xC3\xA9.jpg"));
    lines.append(lines[1]);
    EXPECT_EQ(legacy.Encode(lines),
              QByteArray("/p/caf\xC3\xA9.jpg\r\n/p/caf\xE9.jpg\r\n/p/caf\xE9.jpg\r\n/p/plain.jpg\r\n"
                         "/p/\xC3\xA9t\xC3\xA9.jpg\r\n/p/caf\xE9.jpg\r\n"));
}

TEST(LegacyLines, AFileAllInUtf8RemembersNothing)
{
    LegacyLines legacy;
    EXPECT_EQ(LegacyLines::Decode("caf\xC3\xA9\r\n", &legacy), QStringList{kCafe});
    EXPECT_TRUE(legacy.IsEmpty());
    EXPECT_EQ(legacy.Encode({kCafe, "b"}), QByteArray("caf\xC3\xA9\r\nb\r\n"));
}

// Whatever the bytes, decoding and encoding again gives them back, but for line breaks (CR LF
// each) and a leading byte-order mark.
TEST(LegacyLines, AnyBytesComeBackButForTheirBreaks)
{
    const char alphabet[] = {'a', '\r', '\n', '\xC3', '\xA9', '\xE9', '\xEF', '\xBB', '\xBF', '\x80', '\xFF', '\x81'};
    QRandomGenerator random(27);
    for (int round = 0; round < 5000; ++round) {
        QByteArray bytes;
        for (int i = int(random.bounded(40)); i > 0; --i)
            bytes += alphabet[random.bounded(int(sizeof alphabet))];
        LegacyLines legacy;
        const QStringList lines = LegacyLines::Decode(bytes, &legacy);
        QByteArray expected = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
        expected.replace("\r\n", "\n").replace('\r', '\n');
        if (!expected.isEmpty() && !expected.endsWith('\n'))
            expected += '\n';
        ASSERT_EQ(legacy.Encode(lines).replace("\r\n", "\n"), expected) << bytes.toHex().toStdString();
    }
}

}  // namespace
}  // namespace lumetta
