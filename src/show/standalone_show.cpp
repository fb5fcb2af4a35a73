// SPDX-License-Identifier: GPL-3.0-or-later
#include "show/standalone_show.h"

#include "show/project_layout.h"
#include "show/show_project.h"
#include "show/story_file.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QIODevice>
#include <QtEndian>

namespace lumetta {

namespace {

constexpr qint64 kCopyChunk = qint64(1) << 20;
// Eighteen decimal digits always fit in a 64-bit size.
constexpr int kMaxSizeDigits = 18;

// "1 picture", "12 pictures".
QString Counted(qsizetype count, const char *singular, const char *plural)
{
    return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? singular : plural));
}

[[noreturn]] void Refuse(const QString &name, const QString &reason)
{
    throw ProjectError(QStringLiteral("%1 holds no valid slide show: %2").arg(name, reason));
}

QByteArray ReadAt(QIODevice &file, qint64 offset, qint64 size, const QString &name)
{
    if (!file.seek(offset))
        Refuse(name, file.errorString());
    QByteArray bytes = file.read(size);
    if (bytes.size() != size)
        Refuse(name, QStringLiteral("the file cannot be read"));
    return bytes;
}

// The size list: lines of decimal digits, each ended by CR LF. Nothing else is accepted.
QList<qint64> ParseSizeList(const QByteArray &bytes, qint64 fileSize, const QString &name)
{
    QList<qint64> sizes;
    qsizetype i = 0;
    while (i < bytes.size()) {
        qint64 value = 0;
        int digits = 0;
        while (i < bytes.size() && bytes[i] >= '0' && bytes[i] <= '9') {
            if (++digits > kMaxSizeDigits)
                Refuse(name, QStringLiteral("a block size is too long"));
            value = value * 10 + (bytes[i] - '0');
            ++i;
        }
        if (digits == 0 || i + 1 >= bytes.size() || bytes[i] != '\r' || bytes[i + 1] != '\n')
            Refuse(name, QStringLiteral("the size list is damaged"));
        i += 2;
        if (value > fileSize)
            Refuse(name, QStringLiteral("a block size of %1 bytes exceeds the file").arg(value));
        sizes.append(value);
    }
    if (sizes.isEmpty())
        Refuse(name, QStringLiteral("the size list is empty"));
    return sizes;
}

// The file name part of a stored path, safe to create inside a folder of ours.
QString SafeFileName(const QString &path, const QString &fallback)
{
    const qsizetype cut = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    const QString name = path.mid(cut + 1);
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return fallback;
    return name;
}

// The unpacked files of one kind: each goes into the first numbered folder that holds no file of
// its name yet, so equal names never collide, and a show of many pictures makes few folders
// (removing a hundred thousand folders takes the file system minutes).
class ItemFolders
{
public:
    ItemFolders(const QString &folder, const QString &kind) : root_(folder + u'/' + kind), kind_(kind) {}

    QString PathFor(const QString &stored)
    {
        const QString name = SafeFileName(stored, kind_);
        const int number = taken_[name]++;
        const QString dir = root_ + u'/' + QString::number(number);
        if (number == made_) {
            if (!QDir().mkpath(dir))
                throw ProjectError(CannotCreateFileMessage(dir));
            ++made_;
        }
        return dir + u'/' + name;
    }

private:
    QString root_;
    QString kind_;
    QHash<QString, int> taken_;
    int made_ = 0;
};

}  // namespace

StandaloneShow StandaloneShow::Read(QIODevice &file, const QString &name)
{
    if (file.isSequential())
        Refuse(name, QStringLiteral("the file cannot be read at random"));
    const qint64 fileSize = file.size();
    if (fileSize < 4)
        Refuse(name, QStringLiteral("the file is too short"));

    const QByteArray trailer = ReadAt(file, fileSize - 4, 4, name);
    const qint64 trailerValue = qFromLittleEndian<qint32>(trailer.constData());
    const qint64 listSize = trailerValue - 4;
    if (listSize < 3 || trailerValue > fileSize || listSize > kMaxSizeListBytes)
        Refuse(name, QStringLiteral("the trailer holds %1, which fits no size list").arg(trailerValue));
    const qint64 listStart = fileSize - 4 - listSize;
    const QList<qint64> sizes = ParseSizeList(ReadAt(file, listStart, listSize, name), fileSize, name);

    qint64 total = 0;
    for (qint64 size : sizes) {
        total += size;
        if (total > listStart)
            Refuse(name, QStringLiteral("the blocks are larger than the file"));
    }

    StandaloneShow show;
    qint64 offset = listStart - total;
    const auto next = [&](qsizetype index) {
        const Block block{offset, sizes[index]};
        offset += block.size;
        return block;
    };

    show.project_ = next(0);
    if (show.project_.size > kMaxProjectTextBytes)
        Refuse(name, QStringLiteral("the project text is too long"));
    const QString text = DecodeText(ReadAt(file, show.project_.offset, show.project_.size, name));

    // The sections are counted before a line is kept, so a text of millions of lines that the
    // size list does not back is refused without holding them.
    const ProjectLayout layout = ProjectLayout::Of(text);
    if (layout.lineCount < ShowSettings::kLineCount)
        Refuse(name, QStringLiteral("the project text has %1 lines where the settings alone take %2")
                         .arg(layout.lineCount)
                         .arg(ShowSettings::kLineCount));
    ProjectContent &content = show.content_;
    content.settings.LoadFrom(layout.Lines(text, 0, ShowSettings::kLineCount));
    const bool background = content.settings.BackgroundFromFile();
    const qsizetype musicCount = content.settings.MusicOn() ? layout.MusicCount() : 0;
    const qsizetype pictureCount = layout.PictureCount();
    const qsizetype blocks = sizes.size() - 1;
    const qsizetype ownBlocks = (background ? 1 : 0) + musicCount;
    if (ownBlocks > blocks)
        Refuse(name, QStringLiteral("the show needs %1 for its background and music but the file holds %2")
                         .arg(Counted(ownBlocks, "file", "files"), Counted(blocks, "block", "blocks")));
    // One block more than the lists name, a JSON object: the slide details, after the pictures.
    const qint64 lastSize = sizes.last();
    const bool story =
        pictureCount + 1 == blocks - ownBlocks && lastSize > 0 && ReadAt(file, listStart - lastSize, 1, name) == "{";
    if (pictureCount != blocks - ownBlocks && !story)
        Refuse(name, QStringLiteral("the picture list names %1 but the file holds %2")
                         .arg(Counted(pictureCount, "picture", "pictures"))
                         .arg(blocks - ownBlocks));
    if (layout.EffectCount() > kMaxEffectLines)
        Refuse(name, QStringLiteral("the effect selection has %1 lines where a show has at most %2")
                         .arg(layout.EffectCount())
                         .arg(kMaxEffectLines));

    content.pictures = layout.Lines(text, ShowSettings::kLineCount, pictureCount);
    content.effects = layout.Lines(text, layout.EffectsStart(), layout.EffectCount());
    if (content.settings.MusicOn())
        content.playlist = layout.Lines(text, layout.MusicStart(), musicCount);

    qsizetype index = 1;
    if (background)
        show.background_ = next(index++);
    for (qsizetype i = 0; i < musicCount; ++i)
        show.music_.append(next(index++));
    for (qsizetype i = 0; i < pictureCount; ++i)
        show.pictures_.append(next(index++));
    if (story) {
        show.story_ = next(index++);
        if (show.story_->size > StoryFile::kMaximumBytes)
            Refuse(name,
                   QStringLiteral("the slide details are larger than %1 MiB").arg(StoryFile::kMaximumBytes >> 20));
    }
    return show;
}

void StandaloneShow::ExtractBlock(QIODevice &file, const Block &block, const QString &path)
{
    if (block.offset < 0 || block.size < 0 || block.offset > file.size() - block.size)
        throw ProjectError(QStringLiteral("A block lies outside the show file"));
    QFile out(path);
    // Unbuffered, so that a failed write reports why (a full disk, a file size limit).
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
        throw ProjectError(CannotCreateFileMessage(path) + QLatin1String(": ") + out.errorString());
    if (!file.seek(block.offset))
        throw ProjectError(file.errorString());
    QByteArray chunk;
    for (qint64 left = block.size; left > 0;) {
        chunk = file.read(std::min(left, kCopyChunk));
        if (chunk.isEmpty())
            throw ProjectError(QStringLiteral("The show file cannot be read: %1").arg(file.errorString()));
        // A short write is retried, so that a failing one tells why.
        for (qint64 done = 0; done < chunk.size();) {
            const qint64 written = out.write(chunk.constData() + done, chunk.size() - done);
            if (written <= 0)
                throw ProjectError(CannotCreateFileMessage(path) + QLatin1String(": ") + out.errorString());
            done += written;
        }
        left -= chunk.size();
    }
    if (!out.flush())
        throw ProjectError(CannotCreateFileMessage(path) + QLatin1String(": ") + out.errorString());
}

bool StandaloneShow::ExtractTo(QIODevice &file, const QString &folder, ShowProject &project,
                               const std::function<bool()> &stopped) const
{
    const auto stop = [&stopped] { return stopped && stopped(); };
    project.Settings() = content_.settings;
    project.EffectSelection() = content_.effects;
    project.Pictures().clear();
    project.Playlist().clear();
    project.Story() = ShowStory();
    // The details name the pictures as the builder's project did; the slides stay in that order.
    if (story_)
        project.Story() = StoryFile::Parse(ReadAt(file, story_->offset, story_->size, QStringLiteral("the show file")),
                                           content_.pictures)
                              .story;

    if (background_) {
        ShowSettings &settings = project.Settings();
        if (background_->size == 0) {
            settings.Put(ShowSettings::BackgroundKindLine, QStringLiteral("Color"));
            settings.Put(ShowSettings::BackgroundLine, QStringLiteral("clBlack_clBlack"));
        } else {
            const QString path = folder + QLatin1String("/background.bmp");
            ExtractBlock(file, *background_, path);
            settings.Put(ShowSettings::BackgroundLine, path);
        }
    }

    const QStringList tracks = content_.playlist.value_or(QStringList());
    ItemFolders musicFolders(folder, QStringLiteral("music"));
    for (qsizetype i = 0; i < music_.size(); ++i) {
        if (stop())
            return false;
        const QString path = musicFolders.PathFor(tracks[i]);
        ExtractBlock(file, music_[i], path);
        project.Playlist().append(path);
    }
    ItemFolders pictureFolders(folder, QStringLiteral("pictures"));
    for (qsizetype i = 0; i < pictures_.size(); ++i) {
        if (stop())
            return false;
        const QString path = pictureFolders.PathFor(content_.pictures[i]);
        ExtractBlock(file, pictures_[i], path);
        project.Pictures().append(path);
    }
    return true;
}

}  // namespace lumetta
