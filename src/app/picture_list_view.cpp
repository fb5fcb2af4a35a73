// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/picture_list_view.h"

#include "app/picture_list_model.h"

#include <QCoreApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QPainter>

#include <algorithm>

namespace lumetta {

namespace {

// True for a local file with an accepted picture name, or a local folder.
bool IsAddable(const QUrl &url)
{
    if (!url.isLocalFile())
        return false;
    const QFileInfo info(url.toLocalFile());
    return info.isDir() || IsAddablePictureName(info.fileName());
}

}  // namespace

PictureListView::PictureListView(QWidget *parent) : QListView(parent)
{
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(false);
    setDragDropMode(QAbstractItemView::DragDrop);
}

QList<int> PictureListView::SelectedRows() const
{
    QList<int> rows;
    for (const QModelIndex &index : selectionModel()->selectedIndexes())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

int PictureListView::DropRow(const QPoint &pos) const
{
    const QModelIndex index = indexAt(pos);
    if (!index.isValid())
        return model() ? model()->rowCount() : 0;
    const QRect rect = visualRect(index);
    return pos.y() < rect.center().y() ? index.row() : index.row() + 1;
}

QByteArray PictureListView::Identity() const
{
    // Unique to this view in this process: another list's rows are other pictures.
    return QByteArray::number(QCoreApplication::applicationPid()) + '-' + QByteArray::number(quintptr(this), 16);
}

QMimeData *PictureListView::RowsMimeData(const QList<int> &rows) const
{
    QByteArray text = Identity() + ':';
    for (int i = 0; i < rows.size(); ++i)
        text += (i ? "," : "") + QByteArray::number(rows[i]);
    auto *data = new QMimeData;
    data->setData(QLatin1String(kRowsMimeType), text);
    return data;
}

std::optional<QList<int>> PictureListView::OwnRows(const QMimeData *data) const
{
    const QByteArray text = data->data(QLatin1String(kRowsMimeType));
    const qsizetype colon = text.indexOf(':');
    if (colon < 0 || text.left(colon) != Identity())
        return std::nullopt;
    QList<int> rows;
    for (const QByteArray &part : text.mid(colon + 1).split(',')) {
        bool ok = false;
        const int row = part.toInt(&ok);
        if (ok)
            rows.append(row);
    }
    return rows;
}

void PictureListView::startDrag(Qt::DropActions)
{
    const QList<int> rows = SelectedRows();
    if (rows.isEmpty())
        return;
    auto *drag = new QDrag(this);
    drag->setMimeData(RowsMimeData(rows));
    // Only the list's own drop moves anything, and it does so through RowsDropped.
    drag->exec(Qt::MoveAction, Qt::MoveAction);
    SetDropRow(-1);
}

Qt::DropAction PictureListView::Accepts(const QDropEvent *event) const
{
    const QMimeData *data = event->mimeData();
    if (data->hasFormat(QLatin1String(kRowsMimeType)))
        return OwnRows(data) ? Qt::MoveAction : Qt::IgnoreAction;
    const QList<QUrl> urls = data->urls();
    if (std::any_of(urls.cbegin(), urls.cend(), IsAddable))
        return Qt::CopyAction;
    return Qt::IgnoreAction;
}

void PictureListView::dragEnterEvent(QDragEnterEvent *event)
{
    FollowDrag(event);
}

void PictureListView::dragMoveEvent(QDragMoveEvent *event)
{
    FollowDrag(event);
}

void PictureListView::FollowDrag(QDragMoveEvent *event)
{
    // What the list does not take (a project file) goes on to the window.
    const Qt::DropAction action = Accepts(event);
    if (action == Qt::IgnoreAction) {
        event->ignore();
        return;
    }
    event->setDropAction(action);
    event->accept();
    SetDropRow(DropRow(event->position().toPoint()));
}

void PictureListView::dragLeaveEvent(QDragLeaveEvent *event)
{
    SetDropRow(-1);
    event->accept();
}

void PictureListView::dropEvent(QDropEvent *event)
{
    SetDropRow(-1);
    const Qt::DropAction action = Accepts(event);
    if (action == Qt::IgnoreAction) {
        event->ignore();
        return;
    }
    event->setDropAction(action);
    event->accept();
    const int row = DropRow(event->position().toPoint());
    if (action == Qt::MoveAction)
        emit RowsDropped(*OwnRows(event->mimeData()), row);
    else
        emit UrlsDropped(event->mimeData()->urls(), row);
}

void PictureListView::SetDropRow(int row)
{
    if (row == dropRow_)
        return;
    dropRow_ = row;
    viewport()->update();
}

void PictureListView::paintEvent(QPaintEvent *event)
{
    QListView::paintEvent(event);
    if (dropRow_ < 0 || !model())
        return;
    const int count = model()->rowCount();
    int y = 0;
    if (count > 0) {
        const QRect rect = visualRect(model()->index(std::min(dropRow_, count - 1), 0));
        y = dropRow_ < count ? rect.top() : rect.bottom() + 1;
    }
    QPainter painter(viewport());
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.drawLine(0, y, viewport()->width(), y);
}

}  // namespace lumetta
