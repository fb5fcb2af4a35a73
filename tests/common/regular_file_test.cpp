// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/regular_file.h"
#include "support/qstring_print.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace lumetta {
namespace {

class RegularFileTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

    QString Write(const QString &name, const QByteArray &bytes)
    {
        QFile file(dir_.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        return file.fileName();
    }

    QTemporaryDir dir_;
};

TEST_F(RegularFileTest, OpensARegularFileOrALinkToOne)
{
    const QString path = Write(QStringLiteral("a.mp3"), "0123456789");
    const QString link = dir_.filePath(QStringLiteral("link.mp3"));
    ASSERT_TRUE(QFile::link(path, link));
    for (const QString &name : {path, link}) {
        RegularFile file(name);
        ASSERT_TRUE(file.IsOpen()) << file.ErrorString().toStdString();
        EXPECT_EQ(file.ErrorString(), QString());
        EXPECT_EQ(file.Size(), 10);
        EXPECT_EQ(file.Device().readAll(), "0123456789");
        EXPECT_EQ(RegularFile::Problem(name), QString());
    }
}

// Each name a shared project may hold instead of a file: the check says what it really is, never
// waits (a pipe without a writer would block a plain open for ever) and never reads it.
TEST_F(RegularFileTest, RefusesWhatIsNoRegularFileSayingWhatItIs)
{
    const QString fifo = dir_.filePath(QStringLiteral("m.mp3"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString zero = dir_.filePath(QStringLiteral("zero.jpg"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    const QString socketPath = dir_.filePath(QStringLiteral("s.wav"));
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, QFile::encodeName(socketPath).constData(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(listener, reinterpret_cast<const sockaddr *>(&address), sizeof address), 0);
    const QString big = Write(QStringLiteral("big.mp3"), QByteArray(101, 'x'));
    const QString dangling = dir_.filePath(QStringLiteral("dangling.mp3"));
    ASSERT_TRUE(QFile::link(dir_.filePath(QStringLiteral("nothing")), dangling));
    const struct
    {
        QString path;
        qint64 maxBytes;
        const char *reason;
    } cases[] = {
        {fifo, 1000, "it is a pipe, not a regular file"},
        {zero, 1000, "it is a device, not a regular file"},
        {QStringLiteral("/dev/null"), 1000, "it is a device, not a regular file"},
        {socketPath, 1000, "it is a socket, not a regular file"},
        {dir_.path(), 1000, "it is a folder"},
        {dir_.filePath(QStringLiteral("missing.mp3")), 1000, "the file does not exist"},
        {dangling, 1000, "the file does not exist"},
        {QStringLiteral("http://127.0.0.1:9/x"), 1000, "the file does not exist"},
        {QStringLiteral("pipe:0"), 1000, "the file does not exist"},
        {Write(QStringLiteral("plain"), "x") + QStringLiteral("/under"), 1000, "Not a directory"},
        {QString(), 1000, "the file name is empty"},
        {big, 100, "the file is too large (101 bytes, at most 100)"},
    };
    for (const auto &c : cases) {
        RegularFile file(c.path, c.maxBytes);
        EXPECT_FALSE(file.IsOpen()) << c.path.toStdString();
        EXPECT_EQ(file.ErrorString(), QLatin1String(c.reason)) << c.path.toStdString();
        if (c.maxBytes > 101)
            EXPECT_EQ(RegularFile::Problem(c.path), QLatin1String(c.reason)) << c.path.toStdString();
    }
    ::close(listener);
}

TEST(RegularFileShownName, AnEmptyNameShowsAsTwoQuotes)
{
    EXPECT_EQ(RegularFile::ShownName(QStringLiteral("/music/a.mp3")), QStringLiteral("/music/a.mp3"));
    EXPECT_EQ(RegularFile::ShownName(QString()), QStringLiteral("\"\""));
}

}  // namespace
}  // namespace lumetta
