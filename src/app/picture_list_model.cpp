#include "app/picture_list_model.h"

#include "media/picture_extensions.h"

#include <QFileInfo>

#include <algorithm>

namespace lumetta {

bool IsPictureFileName(const QString &fileName)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return dot >= 0 && acceptedPictureExtensions().contains(QStringView(fileName).mid(dot));
}

int UpDownArrows::Click(bool upArrow)
{
    position_ = std::int16_t(std::clamp(position_ + (upArrow ? 1 : -1), kMin, kMax));
    const int move = position_ > last_ ? -1 : position_ < last_ ? 1 : 0;
    last_ = position_;
    return move;
}

PictureListModel::PictureListModel(QStringList &pictures, QObject *parent)
    : QAbstractListModel(parent), pictures_(pictures)
{
}

int PictureListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(pictures_.size());
}

QVariant PictureListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= pictures_.size())
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return pictures_[index.row()];
    return {};
}

void PictureListModel::Reload()
{
    beginResetModel();
    endResetModel();
}

void PictureListModel::Append(const QString &path)
{
    const int row = int(pictures_.size());
    beginInsertRows(QModelIndex(), row, row);
    pictures_.append(path);
    endInsertRows();
}

void PictureListModel::RemoveRows(QList<int> rows)
{
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (int row : rows) {
        if (row < 0 || row >= pictures_.size())
            continue;
        beginRemoveRows(QModelIndex(), row, row);
        pictures_.removeAt(row);
        endRemoveRows();
    }
}

void PictureListModel::Clear()
{
    beginResetModel();
    pictures_.clear();
    endResetModel();
}

int PictureListModel::Move(int row, int direction)
{
    const int target = row + direction;
    if (pictures_.size() < 2 || row < 0 || row >= pictures_.size() || target < 0 ||
        target >= pictures_.size())
        return -1;
    pictures_.swapItemsAt(row, target);
    emit dataChanged(index(std::min(row, target)), index(std::max(row, target)));
    return target;
}

}  // namespace lumetta
