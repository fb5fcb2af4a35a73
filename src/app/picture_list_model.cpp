// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/picture_list_model.h"

#include "browse/thumbnail_loader.h"
#include "media/picture_extensions.h"

#include <QFileInfo>

#include <algorithm>

namespace lumetta {

bool IsPictureFileName(const QString &fileName)
{
    return HasAcceptedPictureExtension(fileName);
}

QString AddRefusal(const QString &fileName)
{
    if (!IsPictureFileName(fileName))
        return QStringLiteral("%1 is not added: only BMP, JPEG, GIF, PNG, WebP, TIFF, HEIC and AVIF files are shown")
            .arg(fileName);
    if (fileName.contains(u'\n') || fileName.contains(u'\r'))
        return QStringLiteral("%1 is not added: a project keeps one picture per line, and this name holds a line "
                              "break")
            .arg(QString(fileName).replace(u'\n', u' ').replace(u'\r', u' '));
    return QString();
}

bool IsAddablePictureName(const QString &fileName)
{
    return AddRefusal(fileName).isEmpty();
}

int UpDownArrows::Click(bool upArrow)
{
    position_ = std::int16_t(std::clamp(position_ + (upArrow ? 1 : -1), kMin, kMax));
    const int move = position_ > last_ ? -1 : position_ < last_ ? 1 : 0;
    last_ = position_;
    return move;
}

PictureListModel::PictureListModel(ThumbnailLoader *thumbnails, QObject *parent)
    : QAbstractListModel(parent),
      thumbnails_(thumbnails)
{
    if (!thumbnails_)
        return;
    connect(thumbnails_, &ThumbnailLoader::Ready, this, [this](const QString &path) {
        for (int row = 0; row < pictures_.size(); ++row)
            if (pictures_[row] == path)
                emit dataChanged(index(row), index(row), {Qt::ToolTipRole, MarkRole, Qt::DecorationRole});
    });
}

int PictureListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(pictures_.size());
}

QVariant PictureListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= pictures_.size())
        return {};
    const QString &path = pictures_[index.row()];
    switch (role) {
    case Qt::DisplayRole:
        return QFileInfo(path).fileName();
    case Qt::ToolTipRole: {
        const ThumbnailLoader::Thumbnail *thumbnail = thumbnails_ ? thumbnails_->Cached(path) : nullptr;
        if (!thumbnail || thumbnail->reason.isEmpty())
            return path;
        return path + QLatin1Char('\n') + thumbnail->reason;
    }
    case PathRole:
        return path;
    case NumberRole:
        return index.row() + 1;
    case DetailsRole:
        return details_.value(index.row());
    case MarkRole: {
        const ThumbnailLoader::Thumbnail *thumbnail = thumbnails_ ? thumbnails_->Cached(path) : nullptr;
        if (!thumbnail)
            return QString();
        switch (thumbnail->status) {
        case PictureReader::Status::Ok:
            return QString();
        case PictureReader::Status::Damaged:
            return QStringLiteral("damaged");
        case PictureReader::Status::Missing:
            return QStringLiteral("missing");
        case PictureReader::Status::Unreadable:
            return QStringLiteral("cannot be read");
        }
        return QString();
    }
    default:
        return {};
    }
}

Qt::ItemFlags PictureListModel::flags(const QModelIndex &index) const
{
    return QAbstractListModel::flags(index) | Qt::ItemIsDragEnabled;
}

void PictureListModel::SetPictures(const QStringList &pictures)
{
    if (pictures == pictures_)
        return;
    if (pictures.size() == pictures_.size()) {
        pictures_ = pictures;
        emit dataChanged(index(0), index(int(pictures_.size()) - 1));
        return;
    }
    beginResetModel();
    pictures_ = pictures;
    endResetModel();
}

}  // namespace lumetta

namespace lumetta {

void PictureListModel::SetDetails(const QStringList &summaries)
{
    if (summaries == details_)
        return;
    const qsizetype changed = std::min<qsizetype>(pictures_.size(), std::max(summaries.size(), details_.size()));
    details_ = summaries;
    if (changed > 0)
        emit dataChanged(index(0), index(int(changed) - 1), {DetailsRole});
}

}  // namespace lumetta
