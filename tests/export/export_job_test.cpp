// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/export_job.h"

#include "export/show_files.h"
#include "show/show_project.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace lumetta;

namespace {

ExportSettings Tiny()
{
    ExportSettings settings;
    settings.size = {64, 48};
    settings.fps = 10;
    settings.seed = 3;
    settings.quality = ExportQuality::Lossless;
    return settings;
}

ShowProject Show(int pictures)
{
    const QString red = testshows::WriteSolidBmp(QStringLiteral("red.bmp"), {20, 10}, Qt::red);
    return testshows::MakeShow(QStringList(pictures, red), 2, QStringLiteral("clBlack"), {QStringLiteral("11")});
}

}  // namespace

TEST(ExportJob, SecondsLeftAtThePaceSoFar)
{
    const struct
    {
        qint64 elapsed;
        std::int64_t done, expected;
        int left;
    } cases[] = {
        {1000, 10, 30, 2}, {1000, 15, 30, 1}, {2000, 1, 4, 6},   {1000, 0, 30, -1},
        {100, 10, 30, -1}, {5000, 30, 30, 0}, {1500, 10, 11, 1},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ExportJob::SecondsLeft(c.elapsed, c.done, c.expected), c.left) << c.elapsed << " " << c.done;
}

TEST(ExportJob, RunsOffTheGuiThreadAndReportsProgress)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("job.mkv"));
    ExportJob job(Show(2), Tiny(), target);
    QSignalSpy progress(&job, &ExportJob::Progress);
    QSignalSpy finished(&job, &ExportJob::Finished);
    job.Start();
    EXPECT_TRUE(job.Running());
    ASSERT_TRUE(finished.wait(30000));
    EXPECT_EQ(finished.at(0).at(0).value<VideoExporter::Outcome>(), VideoExporter::Outcome::Done);
    EXPECT_FALSE(job.Running());
    ASSERT_GE(progress.size(), 2);
    EXPECT_EQ(progress.last().at(0).toLongLong(), 40);
    EXPECT_EQ(progress.last().at(1).toLongLong(), 40);
    EXPECT_TRUE(QFileInfo::exists(target));
}

TEST(ExportJob, CancelStopsTheExportAndWritesNothing)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("job.mkv"));
    ExportJob job(Show(50), Tiny(), target);
    QSignalSpy finished(&job, &ExportJob::Finished);
    QObject::connect(&job, &ExportJob::Progress, &job, [&job](qint64 done) {
        if (done > 0)
            job.Cancel();
    });
    job.Start();
    ASSERT_TRUE(finished.wait(30000));
    EXPECT_EQ(finished.at(0).at(0).value<VideoExporter::Outcome>(), VideoExporter::Outcome::Cancelled);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST(ExportJob, AJobThatCannotStartSaysWhy)
{
    ExportJob job(Show(1), Tiny(), QStringLiteral("/tmp/show.avi"));
    QSignalSpy finished(&job, &ExportJob::Finished);
    job.Start();
    ASSERT_EQ(finished.size(), 1);
    EXPECT_EQ(finished.at(0).at(0).value<VideoExporter::Outcome>(), VideoExporter::Outcome::Failed);
    EXPECT_TRUE(finished.at(0).at(1).toString().contains(QStringLiteral("show.avi")));
    EXPECT_FALSE(job.Running());
}

TEST(ExportJob, DestroyingARunningJobCancelsIt)
{
    QTemporaryDir dir;
    {
        ExportJob job(Show(50), Tiny(), dir.filePath(QStringLiteral("gone.mkv")));
        job.Start();
    }
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}
