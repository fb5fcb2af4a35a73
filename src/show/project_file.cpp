// SPDX-License-Identifier: GPL-3.0-or-later
#include "show/project_file.h"

#include "common/regular_file.h"
#include "common/replacement_file.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <memory>
#include <vector>

namespace lumetta {

ProjectError::ProjectError(const QString &message) : std::runtime_error(message.toStdString()), message_(message)
{
}

QString CannotOpenFileMessage(const QString &path)
{
    return QStringLiteral("Cannot open file %1").arg(RegularFile::ShownName(path));
}

QString CannotCreateFileMessage(const QString &path)
{
    return QStringLiteral("Cannot create file %1").arg(RegularFile::ShownName(path));
}

QStringList SplitLines(QStringView text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.mid(start, i - start).toString());
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start).toString());
    return lines;
}

QString DecodeText(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    // Breaks become LF; a break at the end stays, so the text splits into the same lines.
    const QString lines = LegacyLines::Decode(bytes).join(u'\n');
    return bytes.endsWith('\r') || bytes.endsWith('\n') ? lines + u'\n' : lines;
}

QByteArray EncodeLines(const QStringList &lines)
{
    return LegacyLines().Encode(lines);
}

namespace {

[[noreturn]] void RefuseText(const QString &path, const QString &reason)
{
    throw ProjectError(CannotOpenFileMessage(path) + QLatin1String(": ") + reason);
}

// A file is checked against the limits when read; a text about to be written is checked
// against the same limits, so nothing is written that could not be read back.
enum class Check { Reading, Writing };

QString TooLargeReason(const TextFileLimits &limits, Check check)
{
    const QString size = limits.bytes % (1 << 20) == 0 ? QStringLiteral("%1 MiB").arg(limits.bytes >> 20)
                                                       : QStringLiteral("%1 bytes").arg(limits.bytes);
    return (check == Check::Reading ? QStringLiteral("the file is larger than %1")
                                    : QStringLiteral("the file would be larger than %1"))
        .arg(size);
}

// Why BYTES exceed LIMITS, or an empty text. Counts lines as SplitLines will make them,
// stopping at the first one over the limits.
QString LimitProblem(const QByteArray &bytes, const TextFileLimits &limits, Check check)
{
    if (bytes.size() > limits.bytes)
        return TooLargeReason(limits, check);
    const bool reading = check == Check::Reading;
    const char *text = bytes.constData();
    const qsizetype size = bytes.size();
    qsizetype lines = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= size; ++i) {
        const bool end = i == size;
        if (!end && text[i] != '\r' && text[i] != '\n')
            continue;
        if (end && i == start)
            break;
        if (i - start > limits.lineBytes)
            return (reading ? QStringLiteral("line %1 is longer than %2 bytes")
                            : QStringLiteral("line %1 would be longer than %2 bytes"))
                .arg(lines + 1)
                .arg(limits.lineBytes);
        if (++lines > limits.lines)
            return (reading ? QStringLiteral("the file has more than %1 lines")
                            : QStringLiteral("the file would have more than %1 lines"))
                .arg(limits.lines);
        if (!end && text[i] == '\r' && i + 1 < size && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    return {};
}

}  // namespace

QStringList ReadTextFile(const QString &path, const TextFileLimits &limits, LegacyLines *legacy)
{
    RegularFile file(path);
    if (!file.IsOpen())
        RefuseText(path, file.ErrorString());
    if (file.Size() > limits.bytes)
        RefuseText(path, TooLargeReason(limits, Check::Reading));
    // In pieces, so a file that grows while it is read still stops at the limit.
    constexpr qint64 kPiece = 1 << 16;
    QByteArray bytes;
    for (QByteArray piece; !(piece = file.Device().read(kPiece)).isEmpty();) {
        if (bytes.size() + piece.size() > limits.bytes)
            RefuseText(path, TooLargeReason(limits, Check::Reading));
        bytes += piece;
    }
    if (file.Device().error() != QFileDevice::NoError)
        RefuseText(path, file.Device().errorString());
    return TextLines(bytes, limits, path, legacy);
}

QStringList TextLines(const QByteArray &bytes, const TextFileLimits &limits, const QString &path, LegacyLines *legacy)
{
    if (const QString problem = LimitProblem(bytes, limits, Check::Reading); !problem.isEmpty())
        RefuseText(path, problem);
    return LegacyLines::Decode(bytes, legacy);
}

QByteArray CheckedTextBytes(const QString &path, const QStringList &lines, const TextFileLimits &limits,
                            const LegacyLines &legacy)
{
    CheckWriteTarget(path);
    const QByteArray bytes = legacy.Encode(lines);
    if (const QString problem = LimitProblem(bytes, limits, Check::Writing); !problem.isEmpty())
        throw ProjectError(CannotCreateFileMessage(path) + QLatin1String(": ") + problem
                           + QStringLiteral(", which could not be opened again"));
    return bytes;
}

void CheckWriteTarget(const QString &path)
{
    // QSaveFile would rename its file over a pipe or a device, or write through a link to one.
    if (const std::optional<QString> problem = ReplacementFile::TargetProblem(path))
        throw ProjectError(CannotCreateFileMessage(path) + QLatin1String(": ") + *problem);
}

void WriteFiles(const QList<FileBytes> &files)
{
    std::vector<std::unique_ptr<QSaveFile>> written;
    for (const FileBytes &content : files) {
        auto file = std::make_unique<QSaveFile>(content.path);
        // Unbuffered and written until done: a short write (a full disk) says nothing, the next
        // one fails with the system's reason.
        qint64 done = -1;
        if (file->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
            done = 0;
            for (qint64 step = 0; done < content.bytes.size(); done += step) {
                step = file->write(content.bytes.constData() + done, content.bytes.size() - done);
                if (step <= 0)
                    break;
            }
        }
        if (done != content.bytes.size()) {
            const QString reason = file->errorString();
            file->cancelWriting();
            throw ProjectError(CannotCreateFileMessage(content.path) + QLatin1String(": ") + reason);
        }
        written.push_back(std::move(file));
    }
    // Every file is complete before the first takes its target's place.
    for (std::size_t i = 0; i < written.size(); ++i) {
        if (!written[i]->commit())
            throw ProjectError(CannotCreateFileMessage(files[qsizetype(i)].path) + QLatin1String(": ")
                               + written[i]->errorString());
    }
}

void WriteTextFile(const QString &path, const QStringList &lines, const TextFileLimits &limits,
                   const LegacyLines &legacy)
{
    WriteFiles({{path, CheckedTextBytes(path, lines, limits, legacy)}});
}

QStringList BuildProjectText(const ShowSettings &settings, const QStringList &pictures, const QStringList &effects,
                             const QStringList &playlist)
{
    QStringList text;
    for (int i = 0; i < ShowSettings::kLineCount; ++i)
        text.append(settings.Get(i));
    text += pictures;
    text.append(QLatin1String(kTransMarker));
    text += effects;
    text.append(QLatin1String(kMusicMarker));
    if (settings.MusicOn())
        text += playlist;
    return text;
}

ProjectContent ParseProjectText(const QStringList &lines)
{
    ProjectContent content;
    if (!content.settings.LoadFrom(lines))
        throw ProjectError(QStringLiteral("List index out of bounds (%1)").arg(lines.size()));

    // Markers count only below the settings, and music only after the transitions: other
    // places belong to no section this program writes.
    const qsizetype kFirst = ShowSettings::kLineCount;
    qsizetype trans = lines.lastIndexOf(QLatin1String(kTransMarker));
    if (trans < kFirst)
        trans = -1;
    qsizetype music = lines.lastIndexOf(QLatin1String(kMusicMarker));
    if (music < kFirst || music < trans)
        music = -1;

    if (trans >= 0)
        content.pictures = lines.mid(kFirst, trans - kFirst);
    if (trans >= 0 && music >= 0)
        content.effects = lines.mid(trans + 1, music - trans - 1);
    if (content.settings.MusicOn())
        content.playlist = music >= 0 ? lines.mid(music + 1) : QStringList();
    return content;
}

}  // namespace lumetta
