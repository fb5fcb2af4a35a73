// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractListModel>
#include <QStringList>

#include <cstdint>

namespace lumetta {

class ThumbnailLoader;

// True when the name ends in one of AcceptedPictureExtensions(), in any letter case.
bool IsPictureFileName(const QString &fileName);

// A picture name the list can take: an accepted extension and no line break, which a project
// file, one path per line, could not hold.
bool IsAddablePictureName(const QString &fileName);

// Why the file FILENAME cannot be added to the list, for the status bar; empty when it can.
QString AddRefusal(const QString &fileName);

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

// The picture list as the list view shows it: each picture's file name, its full path as tool
// tip, and in roles of their own the full path, the picture's number and, once its thumbnail
// was tried, a mark for a file that is missing, cannot be read or is damaged.
class PictureListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Role {
        PathRole = Qt::UserRole + 1,
        NumberRole,  // 1 for the first picture
        MarkRole,  // "missing", "cannot be read", "damaged" or empty
        DetailsRole,  // what the slide has of its own ("caption, 6 s"), or empty
    };

    // THUMBNAILS tells what is wrong with a file; nullptr: nothing is told.
    explicit PictureListModel(ThumbnailLoader *thumbnails = nullptr, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    const QStringList &Pictures() const { return pictures_; }
    // Shows PICTURES instead of the list shown.
    void SetPictures(const QStringList &pictures);
    // The slides' own details as the list notes them, by row; rows past the end have none.
    void SetDetails(const QStringList &summaries);

private:
    ThumbnailLoader *thumbnails_;
    QStringList pictures_;
    QStringList details_;
};

}  // namespace lumetta
