// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/replacement_file.h"
#include "show/show_project.h"

#include <QByteArray>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace lumetta {

struct WebShowOptions
{
    // Pictures larger than this are scaled down to fit (never up).
    QSize maxSize{2560, 1440};
    // JPEG and WebP quality, 1 to 100.
    int quality = 85;
};

// A show as one self-contained web page: the pictures (upright, scaled down, as JPEG or, with
// transparency, WebP), the background picture, the music the browsers play as it is, the
// settings, the effect catalogue as the transition core's plain settings, the transition core in
// WebAssembly and the page's player script, under a Content-Security-Policy that lets nothing in
// from outside.
class WebShowBuilder
{
public:
    // Pages from this size on are worth a warning: slow to open and to copy.
    static constexpr qint64 kLargePageBytes = qint64(200) * 1000 * 1000;

    enum class Outcome { Done, Cancelled, Failed };

    WebShowBuilder(const ShowProject &project, const WebShowOptions &options);

    // Why the page cannot be written at TARGET: not named .html or .htm, a target no writer takes
    // (ReplacementFile::TargetProblem), or one of the show's own files; nullopt when it can.
    static std::optional<QString> TargetProblem(const ShowProject &project, const QString &target);

    // Makes the page. PROGRESS is told (done, total) after each file and cancels by returning
    // false. Pictures and music that cannot go in are left out and named in Notes(); a show with
    // no picture left fails, with the reason in Error().
    Outcome Build(const std::function<bool(int done, int total)> &progress = {});

    const QByteArray &Page() const { return page_; }
    const QStringList &Notes() const { return notes_; }
    const QString &Error() const { return error_; }

    // Writes PAGE to TARGET through a replacement file, so nothing partial is ever left; the
    // reason when it cannot.
    static std::optional<QString> Write(const QByteArray &page, const QString &target,
                                        ReplacementFile::Existing existing);

private:
    // A copy: the builder may run on a worker thread while the editor changes its project.
    ShowProject project_;
    WebShowOptions options_;
    QByteArray page_;
    QStringList notes_;
    QString error_;
};

}  // namespace lumetta
