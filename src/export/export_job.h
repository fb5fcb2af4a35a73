// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/export_settings.h"
#include "export/video_exporter.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <memory>

class QThread;

namespace lumetta {

class ShowProject;

// A video export running off the GUI thread; reports through signals on the GUI thread.
class ExportJob : public QObject
{
    Q_OBJECT

public:
    ExportJob(const ShowProject &project, const ExportSettings &settings, const QString &target,
              QObject *parent = nullptr);
    // Cancels a running export and waits for it (the target stays as it was).
    ~ExportJob() override;

    // Prepares on the GUI thread, then renders and encodes on a thread of its own. A failure to
    // start is reported through Finished too.
    void Start();
    void Cancel();
    bool Running() const { return running_; }

    // Seconds left at the pace so far, or -1 while unknown.
    static int SecondsLeft(qint64 elapsedMs, std::int64_t done, std::int64_t expected);

signals:
    // Frames encoded, frames expected and the seconds left (-1 while unknown).
    void Progress(qint64 done, qint64 expected, int secondsLeft);
    void Warning(const QString &message);
    void Finished(lumetta::VideoExporter::Outcome outcome, const QString &message);

private:
    void Report(qint64 done, qint64 expected);

    std::unique_ptr<VideoExporter> exporter_;
    QThread *thread_ = nullptr;
    QElapsedTimer clock_;
    qint64 lastReportMs_ = -1000;
    bool running_ = false;
};

}  // namespace lumetta
