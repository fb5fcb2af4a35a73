// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QListView>
#include <QUrl>

#include <optional>

class QMimeData;

namespace lumetta {

// The picture list's view. Dragging selected pictures moves them within the list; files and
// folders dropped from outside are offered for adding. The view changes nothing itself: it says
// what was dropped and where, and the window makes the change.
class PictureListView : public QListView
{
    Q_OBJECT
public:
    // The rows being dragged, as text "VIEW:2,5,6", where VIEW names the view they belong to.
    static constexpr const char *kRowsMimeType = "application/x-lumetta-picture-rows";

    explicit PictureListView(QWidget *parent = nullptr);

    // The selected rows in order and the row with the focus.
    QList<int> SelectedRows() const;
    // Where a drop at POS (viewport coordinates) inserts: before the row under it, or after it
    // when POS is in its lower half; the row count below the last row.
    int DropRow(const QPoint &pos) const;
    // What a drag of ROWS of this view carries.
    QMimeData *RowsMimeData(const QList<int> &rows) const;

signals:
    void RowsDropped(const QList<int> &rows, int row);
    void UrlsDropped(const QList<QUrl> &urls, int row);

protected:
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // The drop action this view takes for EVENT, or IgnoreAction.
    Qt::DropAction Accepts(const QDropEvent *event) const;
    // Takes or refuses a drag entering or moving over the view and shows where it would drop.
    void FollowDrag(QDragMoveEvent *event);
    // The rows a drag from this view carries; nullopt for any other data.
    std::optional<QList<int>> OwnRows(const QMimeData *data) const;
    QByteArray Identity() const;
    void SetDropRow(int row);

    int dropRow_ = -1;  // where the drop indicator is shown; -1: nowhere
};

}  // namespace lumetta
