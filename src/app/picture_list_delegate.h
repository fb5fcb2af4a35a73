// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStyledItemDelegate>

namespace lumetta {

class ThumbnailLoader;

// One row of the picture list: the picture's number, its thumbnail and its file name, with the
// mark of a file that is missing, cannot be read or is damaged under the name.
class PictureListDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    explicit PictureListDelegate(ThumbnailLoader &thumbnails, QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    ThumbnailLoader &thumbnails_;
};

}  // namespace lumetta
