// SPDX-License-Identifier: GPL-3.0-or-later
#include "show/standalone_builder.h"
#include "common/installed_files.h"
#include "common/replacement_file.h"
#include "common/same_file.h"

#include "media/picture_error.h"
#include "media/picture_extensions.h"
#include "show/input_file.h"
#include "show/project_file.h"
#include "show/show_project.h"
#include "show/standalone_show.h"
#include "show/story_file.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <limits>

namespace lumetta {

namespace {

constexpr qint64 kCopyChunk = qint64(1) << 20;

QString WithReason(const QString &message, const QString &reason)
{
    return reason.isEmpty() ? message : message + QLatin1String(": ") + reason;
}

QString AlreadyExistsMessage(const QString &path)
{
    return QStringLiteral("%1 already exists").arg(path);
}

// The show being written: a file beside the target, removed unless it takes the target's place.
class ShowOutput
{
public:
    explicit ShowOutput(const QString &target) : target_(target), replacement_(target)
    {
        if (!replacement_.Create())
            throw ProjectError(WithReason(CannotCreateFileMessage(target_), replacement_.ErrorString()));
        file_.setFileName(replacement_.Path());
        // Unbuffered, so that a failed write reports the system's reason (a full disk, a file
        // size limit) rather than a buffer's "Unknown error".
        if (!file_.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            Fail();
    }

    void Append(const QByteArray &bytes)
    {
        // A short write says nothing; the next one fails with the reason.
        for (qint64 done = 0; done < bytes.size();) {
            const qint64 written = file_.write(bytes.constData() + done, bytes.size() - done);
            if (written <= 0)
                Fail();
            done += written;
        }
    }

    // Copies a whole regular file in chunks; returns the number of bytes copied.
    qint64 AppendFile(const QString &path)
    {
        InputFile source(path);
        for (;;) {
            const QByteArray chunk = source.Read(kCopyChunk);
            if (chunk.isEmpty())
                return source.Size();
            Append(chunk);
        }
    }

    // Makes the file executable and puts it in the target's place.
    void Commit(StandaloneBuilder::ExistingTarget existing)
    {
        if (!file_.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                  | QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther
                                  | QFileDevice::ExeOther))
            Fail();
        file_.close();
        const bool refuse = existing == StandaloneBuilder::ExistingTarget::Refuse;
        if (replacement_.Commit(refuse ? ReplacementFile::Existing::Refuse : ReplacementFile::Existing::Replace))
            return;
        if (refuse && QFileInfo::exists(target_))
            throw ProjectError(AlreadyExistsMessage(target_));
        throw ProjectError(WithReason(CannotCreateFileMessage(target_), replacement_.ErrorString()));
    }

private:
    [[noreturn]] void Fail() { throw ProjectError(WithReason(CannotCreateFileMessage(target_), file_.errorString())); }

    QString target_;
    ReplacementFile replacement_;
    QFile file_;
};

// The picture a show stores for PATH, read from a regular file header first.
Picture LoadStoredPicture(const QString &path, PictureKind kind)
{
    InputFile file(path);
    try {
        return Picture::Read(file.Device(), file.Size(), kind, path);
    } catch (const PictureError &error) {
        throw ProjectError(error.Message());
    }
}

QByteArray StoredPicture(const QString &path)
{
    const std::optional<PictureKind> kind = StoredPictureKind(path);
    if (!kind)
        return {};
    try {
        return LoadStoredPicture(path, *kind).ToFileData();
    } catch (const PictureError &error) {
        throw ProjectError(error.Message());
    }
}

QByteArray StoredBackground(const QString &path)
{
    const std::optional<PictureKind> kind = StoredPictureKind(path);
    if (!kind)
        return {};
    try {
        return LoadStoredPicture(path, *kind).ToBmp();
    } catch (const PictureError &error) {
        throw ProjectError(error.Message());
    }
}

QString TooMuchForThePlayer(const QString &target, const QString &what, qint64 most)
{
    return WithReason(CannotCreateFileMessage(target),
                      QStringLiteral("the show would hold %1 where its player reads at most %2").arg(what).arg(most));
}

// Refuses, before anything is written, a show its player would refuse to read: the bounds of
// StandaloneShow::Read hold for writing too. The size list holds a line of at least three bytes
// for the project text, the background and each music file and picture.
void RefuseWhatNoPlayerReads(const ShowProject &project, const QByteArray &text, const QString &target)
{
    if (text.size() > StandaloneShow::kMaxProjectTextBytes)
        throw ProjectError(TooMuchForThePlayer(target, QStringLiteral("a project text of %1 bytes").arg(text.size()),
                                               StandaloneShow::kMaxProjectTextBytes));
    const qsizetype effects = project.EffectSelection().size();
    if (effects > StandaloneShow::kMaxEffectLines)
        throw ProjectError(TooMuchForThePlayer(target, QStringLiteral("%1 effect lines").arg(effects),
                                               StandaloneShow::kMaxEffectLines));
    const ShowSettings &settings = project.Settings();
    const qint64 items = 1 + (settings.BackgroundFromFile() ? 1 : 0) + project.Pictures().size()
                         + (settings.MusicOn() ? project.Playlist().size() : 0);
    if (items * 3 > StandaloneShow::kMaxSizeListBytes)
        throw ProjectError(TooMuchForThePlayer(target,
                                               QStringLiteral("a size list of at least %1 bytes").arg(items * 3),
                                               StandaloneShow::kMaxSizeListBytes));
}

}  // namespace

std::optional<PictureKind> StoredPictureKind(const QString &path)
{
    return AcceptedPictureKind(path);
}

QString StandaloneBuilder::DefaultStubPath()
{
    return InstalledFiles::ForThisProgram().StandalonePlayer();
}

StandaloneBuilder::StandaloneBuilder(QString stubPath) : stubPath_(std::move(stubPath))
{
}

std::optional<QString> StandaloneBuilder::TargetConflict(const ShowProject &project, const QString &target) const
{
    std::optional<QString> role = project.OwnFileRole(target);
    if (!role && SameFile(target, stubPath_))
        role = QStringLiteral("the player stub itself");
    if (!role)
        return std::nullopt;
    return WithReason(CannotCreateFileMessage(target), QStringLiteral("it is %1").arg(*role));
}

void StandaloneBuilder::MakeExe(const ShowProject &project, const QString &target, ExistingTarget existing)
{
    sizes_.clear();
    const QFileInfo targetInfo(target);
    if (const std::optional<QString> problem = ReplacementFile::TargetProblem(target))
        throw ProjectError(WithReason(CannotCreateFileMessage(target), *problem));
    if (const std::optional<QString> conflict = TargetConflict(project, target))
        throw ProjectError(*conflict);
    if (existing == ExistingTarget::Refuse && (targetInfo.exists() || targetInfo.isSymLink()))
        throw ProjectError(AlreadyExistsMessage(target));
    if (!QFileInfo::exists(stubPath_))
        throw ProjectError(WithReason(CannotOpenFileMessage(stubPath_), QStringLiteral("the player stub is missing")));

    const ShowSettings &settings = project.Settings();
    const QStringList &pictures = project.Pictures();
    const QStringList &playlist = project.Playlist();
    const QByteArray text = project.ProjectBytes();
    RefuseWhatNoPlayerReads(project, text, target);
    const int maximum = int(pictures.size() + playlist.size());
    int done = 0;
    const auto advance = [&] {
        ++done;
        if (progress_)
            progress_(done, maximum);
    };
    if (progress_)
        progress_(0, maximum);

    ShowOutput output(target);
    output.AppendFile(stubPath_);

    sizes_ << QString::number(text.size());
    output.Append(text);

    if (settings.BackgroundFromFile()) {
        const QByteArray background = StoredBackground(settings.BackgroundFile());
        sizes_ << QString::number(background.size());
        output.Append(background);
    }

    if (settings.MusicOn()) {
        for (const QString &track : playlist) {
            sizes_ << QString::number(output.AppendFile(track));
            advance();
        }
    }

    for (const QString &picture : pictures) {
        const QByteArray data = StoredPicture(picture);
        sizes_ << QString::number(data.size());
        output.Append(data);
        advance();
    }

    // Slide details go after the pictures, so a show without them keeps the layout it always had.
    if (const QByteArray story = StoryFile::Bytes(project.Story(), pictures); !story.isEmpty()) {
        sizes_ << QString::number(story.size());
        output.Append(story);
    }

    const QByteArray sizeList = EncodeLines(sizes_);
    if (sizeList.size() > StandaloneShow::kMaxSizeListBytes)
        throw ProjectError(TooMuchForThePlayer(target, QStringLiteral("a size list of %1 bytes").arg(sizeList.size()),
                                               StandaloneShow::kMaxSizeListBytes));
    output.Append(sizeList);
    QByteArray trailer(4, '\0');
    qToLittleEndian<qint32>(qint32(sizeList.size() + 4), trailer.data());
    output.Append(trailer);
    output.Commit(existing);
}

int BuildShowFile(const QString &projectPath, const QString &output, std::FILE *errors)
{
    StreamDialogs dialogs(errors);
    ShowProject project;
    if (project.OpenPath(QFileInfo(projectPath).absoluteFilePath(), dialogs) != ShowProject::Outcome::Done)
        return 1;
    // A show without pictures would only complain when started; --play refuses it so too.
    if (project.Pictures().isEmpty()) {
        dialogs.ShowError(NoPicturesMessage(projectPath));
        return 1;
    }
    try {
        StandaloneBuilder().MakeExe(project, output, StandaloneBuilder::ExistingTarget::Replace);
    } catch (const ProjectError &error) {
        dialogs.ShowError(error.Message());
        return 1;
    }
    return 0;
}

}  // namespace lumetta
