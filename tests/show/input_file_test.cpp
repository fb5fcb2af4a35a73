// SPDX-License-Identifier: GPL-3.0-or-later
#include "show/input_file.h"
#include "show/project_file.h"
#include "support/qstring_print.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace lumetta {
namespace {

class InputFileTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

    QString Write(const QString &name, const QByteArray &data)
    {
        QFile file(dir_.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(data) == data.size());
        return file.fileName();
    }

    // The message of opening PATH, or an empty text when it opens.
    static QString Refusal(const QString &path, qint64 maxBytes = InputFile::kMaxBytes)
    {
        try {
            InputFile file(path, maxBytes);
        } catch (const ProjectError &error) {
            return error.Message();
        }
        return {};
    }

    QTemporaryDir dir_;
};

TEST_F(InputFileTest, ReadsARegularFileInPiecesUpToItsSize)
{
    const QString path = Write("a.wav", "0123456789");
    InputFile file(path);
    EXPECT_EQ(file.Size(), 10);
    EXPECT_EQ(file.Read(4), "0123");
    EXPECT_EQ(file.Read(100), "456789");
    EXPECT_EQ(file.Read(4), "");
    EXPECT_EQ(InputFile(path).Read(100), "0123456789");

    // A file that grows while it is copied is copied as it was when opened.
    InputFile growing(path);
    QFile more(path);
    ASSERT_TRUE(more.open(QIODevice::Append));
    more.write("abc");
    more.close();
    EXPECT_EQ(growing.Read(100), "0123456789");
}

TEST_F(InputFileTest, RefusesWhatIsNoRegularFileOfBoundedSize)
{
    const QString fifo = dir_.filePath("pipe.mp3");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString zero = dir_.filePath("zero.mp3");
    ASSERT_TRUE(QFile::link("/dev/zero", zero));
    const QString big = Write("big.mp3", QByteArray(101, 'x'));
    const struct
    {
        QString path;
        qint64 maxBytes;
        QString reason;
    } cases[] = {
        {fifo, InputFile::kMaxBytes, "it is a pipe, not a regular file"},
        {zero, InputFile::kMaxBytes, "it is a device, not a regular file"},
        {"/dev/null", InputFile::kMaxBytes, "it is a device, not a regular file"},
        {dir_.path(), InputFile::kMaxBytes, "it is a folder"},
        {dir_.filePath("missing.mp3"), InputFile::kMaxBytes, "the file does not exist"},
        {big, 100, "the file is too large (101 bytes, at most 100)"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Refusal(c.path, c.maxBytes), CannotOpenFileMessage(c.path) + ": " + c.reason);
    EXPECT_EQ(Refusal(big, 101), QString());
}

TEST_F(InputFileTest, FollowsALinkToARegularFile)
{
    const QString path = Write("real.jpg", "JPEG");
    ASSERT_TRUE(QFile::link(path, dir_.filePath("link.jpg")));
    EXPECT_EQ(InputFile(dir_.filePath("link.jpg")).Read(100), "JPEG");
}

}  // namespace
}  // namespace lumetta
