// SPDX-License-Identifier: GPL-3.0-or-later
#include "browse/thumbnail_delegate.h"

#include "browse/thumbnail_loader.h"
#include "media/picture.h"

namespace lumetta {

ThumbnailDelegate::ThumbnailDelegate(ThumbnailLoader &thumbnails, int pathRole, QObject *parent)
    : QStyledItemDelegate(parent),
      thumbnails_(thumbnails),
      pathRole_(pathRole)
{
}

void ThumbnailDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.column() != 0)
        return;
    option->decorationSize = thumbnails_.Bound();
    const QString path = index.data(pathRole_).toString();
    if (path.isEmpty() || !PictureKindOf(path))
        return;
    const ThumbnailLoader::Thumbnail *thumbnail = thumbnails_.Find(path);
    if (thumbnail && !thumbnail->pixmap.isNull())
        option->icon = QIcon(thumbnail->pixmap);
}

}  // namespace lumetta
