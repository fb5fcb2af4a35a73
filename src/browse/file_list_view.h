// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "browse/explorer_listing.h"

#include <QFlags>
#include <QStringList>
#include <QTreeWidget>

class QMenu;
class QMimeData;

namespace lumetta {

class ThumbnailLoader;

// The list of one folder's contents, or of the mounted volumes ("DRIVES"), with icons, masks,
// attribute filtering, folders first and sorting by column clicks. Double click (or Enter) opens
// a folder or volume; Backspace and Ctrl+Up go up. Items are dragged out as file URLs, to be
// copied, never moved.
class FileListView : public QTreeWidget
{
    Q_OBJECT
public:
    enum ObjectType { FileObject = 0x1, DirectoryObject = 0x2, DiskObject = 0x4 };
    Q_DECLARE_FLAGS(ObjectTypes, ObjectType)

    // The full path of a file item, in its first column (folders and volumes have none).
    static constexpr int kFilePathRole = Qt::UserRole + 2;

    explicit FileListView(QWidget *parent = nullptr);

    // Shows the thumbnails of picture files in place of their icons; the rows grow to their size.
    void SetThumbnails(ThumbnailLoader *thumbnails);

    // The folder shown, with its trailing "/", or "DRIVES" in the letter case it was set with.
    QString Directory() const { return directory_; }
    // Shows folder (made absolute) or the volume list; the same text again, or a folder that does
    // not exist or cannot be read, changes nothing.
    void SetDirectory(const QString &folder);

    QString Mask() const { return mask_; }
    void SetMask(const QString &mask);
    void SetFileType(FileTypes fileType);

    // A right click on an item offers Open, Open containing folder and Copy path.
    bool ContextMenu() const { return contextMenu_; }
    void SetContextMenu(bool on) { contextMenu_ = on; }
    // A double click on a file opens it with the desktop's default application.
    void SetContextAction(bool on) { contextAction_ = on; }

    void SetShowColumnHeaders(bool on) { setHeaderHidden(!on); }

    // Number of selected items, or of all items when none is selected.
    int SelectedCount() const;
    int AllCount() const { return topLevelItemCount(); }
    // Sum of the sizes of the selected files, looked up by their full paths.
    qint64 SelectedSize() const;
    // Full paths of the selected items in list order, joined by ";".
    QString SelectedFilenames() const;
    ObjectTypes SelectedTypes() const;
    QString About() const;

    // Full path of the item last clicked.
    QString CurrentFile() const { return currentFile_; }

    void GoUp();
    // Lists the directory again.
    void Refresh();

    // Items in list order.
    QString ItemFileName(int index) const;
    QString ItemPath(int index) const;
    bool IsItemFile(int index) const;
    bool IsItemSelected(int index) const;
    // The "already taken" mark: the item is drawn greyed until the list is refilled.
    void SetItemGhosted(int index, bool ghosted);
    bool IsItemGhosted(int index) const;

    // Sorting as a click on a column header does: the current column toggles the order, another
    // column becomes the sort column in descending order.
    void ColumnClick(int column);
    int SortColumn() const { return sortColumn_; }
    bool SortDescending() const { return descending_; }

    // The menu a right click shows for paths (Open, Open containing folder, Copy path).
    static QMenu *CreateContextMenu(const QStringList &paths, QWidget *parent);

signals:
    // After a click: CurrentFile names the clicked item.
    void Clicked();
    // On a double click (or Enter), before a folder or volume is opened.
    void DoubleClicked();
    void DirectoryChanged(const QString &directory);

protected:
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QList<QTreeWidgetItem *> &items) const override;
    Qt::DropActions supportedDropActions() const override;
    bool event(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    friend class ExplorerItem;

    QTreeWidgetItem *SelectedItem() const;
    void Click();
    void DblClick();
    void SortEntries();
    void SetColumn(int column, const QString &title, int width, Qt::Alignment alignment);

    QString directory_;
    QString mask_ = QStringLiteral("*.*");
    FileTypes fileType_;
    bool contextMenu_ = false;
    bool contextAction_ = false;
    QString currentFile_;
    int sortColumn_ = 0;
    bool descending_ = true;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(FileListView::ObjectTypes)

}  // namespace lumetta
