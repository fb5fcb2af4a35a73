#include "show/standalone_builder.h"
#include "common/installed_files.h"

#include "show/project_file.h"
#include "show/show_project.h"
#include "media/picture_error.h"
#include "media/picture_extensions.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QtEndian>

#include <cerrno>
#include <cstdio>
#include <cstring>
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

// The show being written: a temporary file beside the target, removed unless it is renamed.
class ShowOutput
{
public:
    explicit ShowOutput(const QString &target)
        : target_(target),
          file_(QFileInfo(target).absolutePath() + QLatin1String("/.") + QFileInfo(target).fileName() +
                QLatin1String(".XXXXXX"))
    {
        if (!file_.open())
            throw ProjectError(WithReason(CannotCreateFileMessage(target_), file_.errorString()));
    }

    void Append(const QByteArray &bytes)
    {
        if (file_.write(bytes) != bytes.size())
            Fail();
    }

    // Copies a whole file in chunks; returns the number of bytes copied.
    qint64 AppendFile(const QString &path)
    {
        QFile source(path);
        if (QFileInfo(path).isDir())
            throw ProjectError(WithReason(CannotOpenFileMessage(path), QStringLiteral("it is a folder")));
        if (!source.open(QIODevice::ReadOnly))
            throw ProjectError(WithReason(CannotOpenFileMessage(path), source.errorString()));
        QByteArray chunk(kCopyChunk, Qt::Uninitialized);
        qint64 total = 0;
        for (;;) {
            const qint64 got = source.read(chunk.data(), chunk.size());
            if (got < 0)
                throw ProjectError(WithReason(CannotOpenFileMessage(path), source.errorString()));
            if (got == 0)
                return total;
            if (file_.write(chunk.constData(), got) != got)
                Fail();
            total += got;
        }
    }

    // Makes the file executable and puts it in the target's place.
    void Commit(StandaloneBuilder::ExistingTarget existing)
    {
        if (!file_.flush())
            Fail();
        if (!file_.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                  QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                  QFileDevice::ExeOther))
            Fail();
        if (existing == StandaloneBuilder::ExistingTarget::Refuse) {
            // Renaming a temporary file never replaces an existing one.
            if (!file_.rename(target_)) {
                if (QFileInfo::exists(target_))
                    throw ProjectError(AlreadyExistsMessage(target_));
                Fail();
            }
            file_.setAutoRemove(false);
            return;
        }
        file_.close();
        if (std::rename(QFile::encodeName(file_.fileName()).constData(), QFile::encodeName(target_).constData()) != 0)
            throw ProjectError(WithReason(CannotCreateFileMessage(target_), QString::fromLocal8Bit(std::strerror(errno))));
        file_.setAutoRemove(false);
    }

private:
    [[noreturn]] void Fail()
    {
        throw ProjectError(WithReason(CannotCreateFileMessage(target_), file_.errorString()));
    }

    QString target_;
    QTemporaryFile file_;
};

QByteArray StoredPicture(const QString &path)
{
    const std::optional<PictureKind> kind = StoredPictureKind(path);
    if (!kind)
        return {};
    try {
        return Picture::load(path).toFileData();
    } catch (const PictureError &error) {
        throw ProjectError(error.message());
    }
}

QByteArray StoredBackground(const QString &path)
{
    if (!StoredPictureKind(path))
        return {};
    try {
        return Picture::load(path).toBmp();
    } catch (const PictureError &error) {
        throw ProjectError(error.message());
    }
}

}  // namespace

std::optional<PictureKind> StoredPictureKind(const QString &path)
{
    return acceptedPictureKind(path);
}

QString StandaloneBuilder::DefaultStubPath()
{
    return InstalledFiles::ForThisProgram().StandalonePlayer();
}

StandaloneBuilder::StandaloneBuilder(QString stubPath) : stubPath_(std::move(stubPath)) {}

void StandaloneBuilder::MakeExe(const ShowProject &project, const QString &target, ExistingTarget existing)
{
    sizes_.clear();
    const QFileInfo targetInfo(target);
    if (targetInfo.isDir())
        throw ProjectError(WithReason(CannotCreateFileMessage(target), QStringLiteral("it is a folder")));
    if (existing == ExistingTarget::Refuse && (targetInfo.exists() || targetInfo.isSymLink()))
        throw ProjectError(AlreadyExistsMessage(target));
    if (!QFileInfo::exists(stubPath_))
        throw ProjectError(WithReason(CannotOpenFileMessage(stubPath_), QStringLiteral("the player stub is missing")));
    if (targetInfo.exists() && targetInfo.canonicalFilePath() == QFileInfo(stubPath_).canonicalFilePath())
        throw ProjectError(WithReason(CannotCreateFileMessage(target), QStringLiteral("it is the player stub itself")));

    const ShowSettings &settings = project.Settings();
    const QStringList &pictures = project.Pictures();
    const QStringList &playlist = project.Playlist();
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

    const QByteArray text = EncodeLines(project.ProjectText());
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

    const QByteArray sizeList = EncodeLines(sizes_);
    if (sizeList.size() > std::numeric_limits<qint32>::max() - 4)
        throw ProjectError(WithReason(CannotCreateFileMessage(target), QStringLiteral("the show has too many items")));
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
    try {
        StandaloneBuilder().MakeExe(project, output, StandaloneBuilder::ExistingTarget::Replace);
    } catch (const ProjectError &error) {
        dialogs.ShowError(error.Message());
        return 1;
    }
    return 0;
}

}  // namespace lumetta
