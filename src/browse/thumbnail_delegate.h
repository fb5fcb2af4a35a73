// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStyledItemDelegate>

namespace lumetta {

class ThumbnailLoader;

// Draws a picture file's thumbnail as the icon of its first column while the row is painted,
// so only rows on screen are ever asked for; until it is made the row keeps its own icon.
class ThumbnailDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    // PATH_ROLE holds an item's full path in the first column.
    ThumbnailDelegate(ThumbnailLoader &thumbnails, int pathRole, QObject *parent = nullptr);

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    ThumbnailLoader &thumbnails_;
    int pathRole_;
};

}  // namespace lumetta
