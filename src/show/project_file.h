// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "show/legacy_lines.h"
#include "show/show_settings.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <stdexcept>

namespace lumetta {

// A failure the user is told about in a message box; the operation stops where it was.
class ProjectError : public std::runtime_error
{
public:
    explicit ProjectError(const QString &message);
    const QString &Message() const { return message_; }

private:
    QString message_;
};

QString CannotOpenFileMessage(const QString &path);  // "Cannot open file %s"
QString CannotCreateFileMessage(const QString &path);  // "Cannot create file %s"

// Splits at CR, LF or CR LF. A line break at the very end closes the last line; it does not
// start an empty one.
QStringList SplitLines(QStringView text);

// Decodes file bytes: UTF-8 (a leading byte-order mark dropped), and, when the bytes are not
// all valid UTF-8, each line that is not in the Windows 8-bit code page older shows were
// written in (see LegacyLines).
QString DecodeText(const QByteArray &bytes);

// Every line followed by CR LF, the last one too, as UTF-8.
QByteArray EncodeLines(const QStringList &lines);

// Bounds on a text file read whole. A file beyond any of them is refused before its lines are
// built, so a damaged or hostile file cannot take memory far beyond what a real one needs.
struct TextFileLimits
{
    qint64 bytes;
    qsizetype lines;
    qsizetype lineBytes;  // without the line break
};

// Far above a show of a hundred thousand pictures; no path is 32 KiB long.
inline constexpr TextFileLimits kProjectFileLimits{qint64(16) << 20, 1'000'000, 32 * 1024};

// Whole file as lines, each decoded on its own (LegacyLines::Decode; LEGACY, when given, learns
// the lines spelt in the old code page). Throws ProjectError("Cannot open file PATH: REASON")
// for a file that cannot be read, is not a regular file or exceeds `limits`.
QStringList ReadTextFile(const QString &path, const TextFileLimits &limits = kProjectFileLimits,
                         LegacyLines *legacy = nullptr);

// The lines of a text file's BYTES, read as ReadTextFile reads them; throws ProjectError naming
// PATH when they exceed `limits`.
QStringList TextLines(const QByteArray &bytes, const TextFileLimits &limits, const QString &path,
                      LegacyLines *legacy = nullptr);

// Writes a new file and renames it over PATH, so a failure never leaves a half-written file;
// lines read in the old code page go back as they were read (LEGACY). Throws
// ProjectError("Cannot create file PATH: REASON") with the system's reason, for a PATH
// ReplacementFile::TargetProblem refuses, leaving it untouched, or, writing nothing, when the file
// would exceed LIMITS, which ReadTextFile applies when it reads it back.
void WriteTextFile(const QString &path, const QStringList &lines, const TextFileLimits &limits = kProjectFileLimits,
                   const LegacyLines &legacy = LegacyLines());

// The bytes WriteTextFile writes, after its checks of PATH and LIMITS (same errors).
QByteArray CheckedTextBytes(const QString &path, const QStringList &lines, const TextFileLimits &limits,
                            const LegacyLines &legacy);
// Throws ProjectError("Cannot create file PATH: REASON") for a PATH ReplacementFile::TargetProblem
// refuses.
void CheckWriteTarget(const QString &path);

struct FileBytes
{
    QString path;
    QByteArray bytes;
};
// Writes each file new beside its target and, once all are complete, renames them over their
// targets in order, so that files that belong together are replaced together and a failed
// write leaves every target as it was. Throws ProjectError("Cannot create file PATH: REASON").
void WriteFiles(const QList<FileBytes> &files);

inline constexpr const char *kTransMarker = "[TRANS]";
inline constexpr const char *kMusicMarker = "[MUSIC]";

// The project text: ten settings lines, pictures, "[TRANS]", effects, "[MUSIC]" and, when
// music is on, the playlist.
QStringList BuildProjectText(const ShowSettings &settings, const QStringList &pictures, const QStringList &effects,
                             const QStringList &playlist);

struct ProjectContent
{
    ShowSettings settings;
    QStringList pictures;
    QStringList effects;
    // Set only when the settings have music on; otherwise the current playlist stays.
    std::optional<QStringList> playlist;
};

// Reads a project text. Throws ProjectError("List index out of bounds (N)") when it has fewer
// than ten lines. The last marker lines count; a list whose markers are missing reads as empty.
ProjectContent ParseProjectText(const QStringList &lines);

}  // namespace lumetta
