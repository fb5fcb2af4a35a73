#pragma once

#include <QAbstractListModel>
#include <QStringList>

#include <cstdint>

namespace lumetta {

// True when the name ends in one of the accepted forms of acceptedPictureExtensions(): ".jpg",
// ".JPG", ".jpeg", ".JPEG", ".gif", ".GIF", ".bmp", ".BMP", ".png", ".PNG", ... (exact case:
// ".Jpg" is not a picture here).
bool IsPictureFileName(const QString &fileName);

// The up-down control beside "Preview": position -2000..2000 without wrapping. A click
// counts as a move only when it changed the position.
class UpDownArrows
{
public:
    static constexpr int kMin = -2000;
    static constexpr int kMax = 2000;

    int Position() const { return position_; }
    // Returns -1 to move the current picture up, +1 to move it down, 0 for no move.
    int Click(bool upArrow);

private:
    std::int16_t position_ = 0;
    std::int16_t last_ = 0;
};

// The picture list as the list view shows it: the project's own list, edited in place.
class PictureListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    explicit PictureListModel(QStringList &pictures, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    // The list was replaced as a whole (Open, New).
    void Reload();
    void Append(const QString &path);
    // Deletes the given rows (numbered as before the call).
    void RemoveRows(QList<int> rows);
    void Clear();
    // Exchanges the entry at ROW with its neighbour in DIRECTION (-1 up, +1 down); the new row
    // of the moved entry, or -1 when it cannot move.
    int Move(int row, int direction);

private:
    QStringList &pictures_;
};

}  // namespace lumetta
