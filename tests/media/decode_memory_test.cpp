// SPDX-License-Identifier: GPL-3.0-or-later
// Small files that claim huge pictures: a decode takes memory in proportion to its file or is
// refused, a PNG is scaled while it is read, and decodes on several threads share one pool.

#include "media/decode_reservation.h"
#include "media/picture.h"
#include "media/picture_error.h"
#include "support/picture_files.h"

#include <QFileInfo>
#include <QtEndian>

#include <gtest/gtest.h>
#include <zlib.h>

#include <atomic>
#include <functional>
#include <optional>
#include <thread>

using namespace lumetta;
using namespace testpictures;

namespace {

constexpr std::int64_t kMiB = std::int64_t(1) << 20;
constexpr int kHuge = 16384;

QByteArray BigEndian32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

QByteArray PngChunk(const QByteArray &type, const QByteArray &data)
{
    const QByteArray typed = type + data;
    return BigEndian32(quint32(data.size())) + typed
           + BigEndian32(quint32(crc32(0, reinterpret_cast<const Bytef *>(typed.constData()), uInt(typed.size()))));
}

// Zlib data of `length` zero bytes, made from one compressed megabyte repeated: a full flush
// leaves each piece independent of what came before.
QByteArray ZlibZeros(std::int64_t length)
{
    const auto rawDeflate = [](std::int64_t bytes, int flush) {
        z_stream stream{};
        deflateInit2(&stream, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY);
        QByteArray in(qsizetype(bytes), '\0');
        QByteArray out(qsizetype(deflateBound(&stream, uLong(bytes)) + 64), '\0');
        stream.next_in = reinterpret_cast<Bytef *>(in.data());
        stream.avail_in = uInt(in.size());
        stream.next_out = reinterpret_cast<Bytef *>(out.data());
        stream.avail_out = uInt(out.size());
        deflate(&stream, flush);
        out.truncate(qsizetype(stream.total_out));
        deflateEnd(&stream);
        return out;
    };
    const QByteArray piece = rawDeflate(kMiB, Z_FULL_FLUSH);
    QByteArray data("\x78\xDA", 2);
    data += piece.repeated(qsizetype(length / kMiB));
    data += rawDeflate(length % kMiB, Z_FINISH);
    // Adler-32 of zeros: the first sum stays 1, the second counts the bytes.
    return data + BigEndian32(quint32((length % 65521) << 16 | 1));
}

// A PNG of zero samples: black, or transparent where it has alpha.
QByteArray FlatPng(int width, int height, int depth, int colourType, bool interlaced = false)
{
    const int channels = colourType == 6 ? 4 : colourType == 2 ? 3 : 1;
    QByteArray header = BigEndian32(quint32(width)) + BigEndian32(quint32(height));
    header += char(depth);
    header += char(colourType);
    header += QByteArray(2, '\0');
    header += char(interlaced ? 1 : 0);
    const auto rowsBytes = [&](int columns, int rows) {
        return columns > 0 && rows > 0 ? rows * (1 + (std::int64_t(columns) * channels * depth + 7) / 8) : 0;
    };
    std::int64_t length = rowsBytes(width, height);
    if (interlaced) {
        // Adam7's seven passes, each a smaller picture of its own rows.
        const int passes[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                  {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
        length = 0;
        for (const auto &pass : passes)
            length += rowsBytes((width - pass[0] + pass[2] - 1) / pass[2], (height - pass[1] + pass[3] - 1) / pass[3]);
    }
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + PngChunk("IHDR", header) + PngChunk("IDAT", ZlibZeros(length))
           + PngChunk("IEND", {});
}

// An 8-bit RLE BMP whose data ends at once: every pixel is palette entry 0.
QByteArray EmptyRleBmp(int width, int height)
{
    QByteArray info(40 + 256 * 4, '\0');
    auto *bytes = reinterpret_cast<uchar *>(info.data());
    qToLittleEndian<quint32>(40, bytes);
    qToLittleEndian<qint32>(width, bytes + 4);
    qToLittleEndian<qint32>(height, bytes + 8);
    qToLittleEndian<quint16>(1, bytes + 12);
    qToLittleEndian<quint16>(8, bytes + 14);
    qToLittleEndian<quint32>(1, bytes + 16);
    qToLittleEndian<quint32>(2, bytes + 20);
    qToLittleEndian<quint32>(256, bytes + 32);
    const QByteArray pixels("\x00\x01", 2);
    QByteArray file("BM");
    QByteArray rest(12, '\0');
    qToLittleEndian<quint32>(quint32(14 + info.size() + pixels.size()), rest.data());
    qToLittleEndian<quint32>(quint32(14 + info.size()), rest.data() + 8);
    return file + rest + info + pixels;
}

QByteArray DotOnAHugeScreen()
{
    return MakeGif(kHuge, kHuge, {qRgb(0, 0, 0), qRgb(255, 255, 255)}, {GifFrame{0, 0, 1, 1, {1}, false, -1}});
}

TEST(DecodeReservation, TheBudgetGrowsWithTheFileAboveAFloor)
{
    const struct
    {
        std::int64_t fileBytes;
        std::int64_t budget;
    } cases[] = {
        {0, DecodeReservation::kBaseBudget},
        {29, DecodeReservation::kBaseBudget},
        {28 * kMiB, DecodeReservation::kBaseBudget},
        {28 * kMiB + 1, 448 * kMiB + 16},
        {100 * kMiB, 1600 * kMiB},
    };
    for (const auto &c : cases)
        EXPECT_EQ(DecodeReservation::BudgetFor(c.fileBytes), c.budget) << c.fileBytes;
}

TEST(DecodeReservation, MoreThanTheBudgetIsRefusedNamingTheFileAndTheCost)
{
    const QString file = QStringLiteral("/photos/claims.png");
    EXPECT_NO_THROW(DecodeReservation(DecodeReservation::kBaseBudget, 1000, file));
    try {
        DecodeReservation reservation(DecodeReservation::kBaseBudget + 1, 1000, file);
        FAIL() << "a decode over the budget was let through";
    } catch (const PictureError &error) {
        EXPECT_EQ(error.File(), file);
        EXPECT_TRUE(error.Reason().contains(QStringLiteral("too large"))) << error.Reason().toStdString();
        EXPECT_TRUE(error.Reason().contains(QStringLiteral("449 MB"))) << error.Reason().toStdString();
        EXPECT_TRUE(error.Reason().contains(QStringLiteral("at most 448 MB"))) << error.Reason().toStdString();
    }
    EXPECT_EQ(DecodeReservation::Reserved(), 0);
}

TEST(DecodeReservation, DecodesOnSeveralThreadsWaitForRoomInThePool)
{
    const std::int64_t large = 300 * kMiB;
    const std::int64_t fileBytes = 100 * kMiB;
    std::atomic<bool> secondHolds = false;
    std::thread second;
    {
        const DecodeReservation first(large, fileBytes, QStringLiteral("first"));
        second = std::thread([&] {
            const DecodeReservation reservation(large, fileBytes, QStringLiteral("second"));
            secondHolds = true;
        });
        // However long the second waits, it cannot hold its share while the first does.
        for (int i = 0; i < 20; ++i) {
            std::this_thread::yield();
            EXPECT_FALSE(secondHolds);
            EXPECT_LE(DecodeReservation::Reserved(), DecodeReservation::kPoolBytes);
        }
    }
    second.join();
    EXPECT_TRUE(secondHolds);
    // One larger than the pool takes the whole pool, and waits for nothing once it is free.
    EXPECT_NO_THROW(DecodeReservation(DecodeReservation::kPoolBytes * 2, 1000 * kMiB, QStringLiteral("big")));
    EXPECT_EQ(DecodeReservation::Reserved(), 0);
}

struct CraftedCase
{
    const char *name;
    std::function<QByteArray()> make;
    // What a full-HD slide and a 4096-square preview of it give: a size, or refused.
    QSize slide;
    QSize preview;
};

TEST(CraftedPictures, AreShownAtTheirSizeWithinTheBudgetOrRefused)
{
    const QSize screen(1920, 1080);
    const QSize bound(4096, 4096);
    const CraftedCase cases[] = {
        // Read row by row and scaled as it is read: never whole in memory.
        {"flat8.png", [] { return FlatPng(kHuge, kHuge, 8, 0); }, screen, bound},
        // Qt reads 16-bit and interlaced pictures whole: more than a small file may take.
        {"flat16.png", [] { return FlatPng(8192, 8192, 16, 2); }, {}, {}},
        {"interlaced.png", [] { return FlatPng(kHuge, kHuge, 8, 6, true); }, {}, {}},
        // Decoded as palette indices (256 MB), then too large to turn into colours.
        {"dot.gif", DotOnAHugeScreen, {}, {}},
        {"empty.bmp", [] { return EmptyRleBmp(kHuge, kHuge); }, {}, {}},
        // Small enough to decode whole.
        {"flat16-small.png", [] { return FlatPng(2048, 2048, 16, 2); }, screen, QSize(2048, 2048)},
    };
    for (const CraftedCase &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = WriteTemp(QString::fromLatin1(c.name), c.make());
        ASSERT_LT(QFileInfo(path).size(), 2 * kMiB);
        std::optional<Picture> picture;
        try {
            picture = Picture::Load(path);
        } catch (const PictureError &error) {
            // Only a decode over the budget may refuse, and then the slide and preview would too.
            EXPECT_TRUE(error.Reason().contains(QStringLiteral("too large"))) << error.Reason().toStdString();
            EXPECT_FALSE(c.slide.isValid());
            continue;
        }
        if (c.slide.isValid()) {
            EXPECT_EQ(picture->Scaled(c.slide).size(), c.slide);
            const Picture preview = picture->ReducedWithin(bound);
            EXPECT_EQ(preview.size(), c.preview);
            EXPECT_TRUE(preview.IsDecoded());
        } else {
            EXPECT_THROW(picture->Scaled(screen), PictureError);
            EXPECT_THROW(picture->ReducedWithin(bound), PictureError);
        }
        EXPECT_EQ(DecodeReservation::Reserved(), 0);
    }
}

TEST(CraftedPictures, AWholeDecodeOfAHugePngIsRefusedWhereAScaledOneIsNot)
{
    const Picture picture = Picture::Load(WriteTemp(QStringLiteral("whole.png"), FlatPng(kHuge, kHuge, 8, 0)));
    EXPECT_EQ(picture.Scaled(QSize(160, 120)).size(), QSize(160, 120));
    EXPECT_THROW(picture.DecodeNow(), PictureError);
    EXPECT_FALSE(picture.IsDecoded());
}

}  // namespace
