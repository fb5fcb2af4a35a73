// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/export_job.h"

#include <QThread>

namespace lumetta {

namespace {
// Progress reaches the GUI at most this often.
constexpr qint64 kReportIntervalMs = 100;
}  // namespace

ExportJob::ExportJob(const ShowProject &project, const ExportSettings &settings, const QString &target, QObject *parent)
    : QObject(parent),
      exporter_(std::make_unique<VideoExporter>(project, settings, target))
{
    exporter_->SetWarningHandler([this](const QString &message) {
        QMetaObject::invokeMethod(
            this, [this, message] { emit Warning(message); }, Qt::QueuedConnection);
    });
    exporter_->SetProgressHandler([this](std::int64_t done, std::int64_t expected) {
        // Called on the encoding thread: only the GUI thread's copy of the clock is read there.
        QMetaObject::invokeMethod(
            this, [this, done, expected] { Report(done, expected); }, Qt::QueuedConnection);
    });
}

ExportJob::~ExportJob()
{
    if (thread_) {
        exporter_->Cancel();
        thread_->wait();
        delete thread_;
    }
}

int ExportJob::SecondsLeft(qint64 elapsedMs, std::int64_t done, std::int64_t expected)
{
    if (done <= 0 || elapsedMs < 500 || expected <= done)
        return done >= expected && done > 0 ? 0 : -1;
    return int((elapsedMs * (expected - done) / done + 999) / 1000);
}

void ExportJob::Report(qint64 done, qint64 expected)
{
    if (!running_)
        return;
    const qint64 now = clock_.elapsed();
    if (done < expected && now - lastReportMs_ < kReportIntervalMs)
        return;
    lastReportMs_ = now;
    emit Progress(done, expected, SecondsLeft(now, done, expected));
}

void ExportJob::Start()
{
    if (running_ || thread_)
        return;
    if (const std::optional<QString> problem = exporter_->Prepare()) {
        emit Finished(VideoExporter::Outcome::Failed, *problem);
        return;
    }
    running_ = true;
    clock_.start();
    emit Progress(0, exporter_->ExpectedFrames(), -1);
    thread_ = QThread::create([this] {
        const VideoExporter::Outcome outcome = exporter_->Run();
        const QString message = exporter_->ErrorText();
        QMetaObject::invokeMethod(
            this,
            [this, outcome, message] {
                running_ = false;
                thread_->wait();
                delete thread_;
                thread_ = nullptr;
                emit Finished(outcome, message);
            },
            Qt::QueuedConnection);
    });
    thread_->start();
}

void ExportJob::Cancel()
{
    exporter_->Cancel();
}

}  // namespace lumetta
