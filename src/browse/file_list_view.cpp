// SPDX-License-Identifier: GPL-3.0-or-later
#include "browse/file_list_view.h"

#include "browse/thumbnail_delegate.h"
#include "browse/thumbnail_loader.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>

#include <algorithm>

namespace lumetta {

namespace {

constexpr int kGhostedRole = Qt::UserRole + 1;

class WaitCursor
{
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
};

QString WithSlash(const QString &path)
{
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

}  // namespace

// A row that keeps its entry, so sorting reads the same texts the comparison rules name.
class ExplorerItem : public QTreeWidgetItem
{
public:
    explicit ExplorerItem(const ExplorerEntry &entry) : entry_(entry)
    {
        setText(0, entry.caption);
        for (int column = 1; column < 5; ++column)
            setText(column, entry.subItems.value(column - 1));
        if (entry.subItems.value(KindItem) == QLatin1String("file"))
            setData(0, FileListView::kFilePathRole, entry.subItems.value(PathItem));
    }

    const ExplorerEntry &Entry() const { return entry_; }

    bool operator<(const QTreeWidgetItem &other) const override
    {
        const auto *explorer = static_cast<const FileListView *>(treeWidget());
        return CompareEntries(entry_, static_cast<const ExplorerItem &>(other).entry_, explorer->sortColumn_,
                              explorer->descending_)
               < 0;
    }

private:
    ExplorerEntry entry_;
};

namespace {

const ExplorerEntry &EntryOf(const QTreeWidgetItem *item)
{
    return static_cast<const ExplorerItem *>(item)->Entry();
}

}  // namespace

FileListView::FileListView(QWidget *parent) : QTreeWidget(parent)
{
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setColumnCount(5);
    SetColumn(0, QStringLiteral("Name"), 140, Qt::AlignLeft);
    SetColumn(1, QStringLiteral("Size"), 70, Qt::AlignRight);
    SetColumn(2, QStringLiteral("Type"), 90, Qt::AlignLeft);
    SetColumn(3, QStringLiteral("Modified"), 100, Qt::AlignLeft);
    SetColumn(4, QStringLiteral("Attributes"), 60, Qt::AlignLeft);
    header()->setSectionsClickable(true);
    connect(header(), &QHeaderView::sectionClicked, this, &FileListView::ColumnClick);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setDefaultDropAction(Qt::CopyAction);
    directory_ = WithSlash(QDir::homePath());
    Refresh();
}

void FileListView::SetThumbnails(ThumbnailLoader *thumbnails)
{
    setItemDelegateForColumn(0, new ThumbnailDelegate(*thumbnails, kFilePathRole, this));
    setIconSize(thumbnails->Bound());
    // Many thumbnails arrive at once; the repaints they ask for are merged into one.
    connect(thumbnails, &ThumbnailLoader::Ready, viewport(), qOverload<>(&QWidget::update));
}

QStringList FileListView::mimeTypes() const
{
    return {QStringLiteral("text/uri-list")};
}

QMimeData *FileListView::mimeData(const QList<QTreeWidgetItem *> &items) const
{
    // In list order, which is the order they are added in where they are dropped.
    QList<QTreeWidgetItem *> ordered = items;
    std::sort(ordered.begin(), ordered.end(), [this](QTreeWidgetItem *a, QTreeWidgetItem *b) {
        return indexOfTopLevelItem(a) < indexOfTopLevelItem(b);
    });
    QList<QUrl> urls;
    for (const QTreeWidgetItem *item : ordered)
        urls.append(QUrl::fromLocalFile(EntryOf(item).subItems[PathItem]));
    auto *data = new QMimeData;
    data->setUrls(urls);
    return data;
}

Qt::DropActions FileListView::supportedDropActions() const
{
    // A drag offers only copies, so no target can take a file away from its folder.
    return Qt::CopyAction;
}

void FileListView::SetColumn(int column, const QString &title, int width, Qt::Alignment alignment)
{
    headerItem()->setText(column, title);
    headerItem()->setTextAlignment(column, alignment | Qt::AlignVCenter);
    setColumnWidth(column, width);
}

void FileListView::SetDirectory(const QString &folder)
{
    if (folder == directory_)
        return;
    if (IsDrivesDirectory(folder)) {
        directory_ = folder;
    } else {
        const QFileInfo info(folder);
        if (folder.isEmpty() || !info.isDir() || !info.isReadable() || !info.isExecutable())
            return;
        directory_ = WithSlash(QDir::cleanPath(info.absoluteFilePath()));
    }
    Refresh();
    emit DirectoryChanged(directory_);
}

void FileListView::SetMask(const QString &mask)
{
    if (mask == mask_)
        return;
    mask_ = mask;
    Refresh();
}

void FileListView::SetFileType(FileTypes fileType)
{
    if (fileType == fileType_)
        return;
    fileType_ = fileType;
    Refresh();
}

void FileListView::Refresh()
{
    setUpdatesEnabled(false);
    const WaitCursor wait;
    clear();
    const QFileIconProvider icons;
    if (IsDrivesDirectory(directory_)) {
        SetColumn(1, QStringLiteral("Type"), 100, Qt::AlignLeft);
        SetColumn(2, QStringLiteral("Disk Size"), 100, Qt::AlignRight);
        SetColumn(3, QStringLiteral("Free Space"), 100, Qt::AlignRight);
        const QIcon drive = icons.icon(QAbstractFileIconProvider::Drive);
        for (const ExplorerEntry &entry : ListVolumes(MountedVolumes())) {
            auto *item = new ExplorerItem(entry);
            item->setIcon(0, drive);
            item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
            item->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
            addTopLevelItem(item);
        }
    } else {
        SetColumn(1, QStringLiteral("Size"), 70, Qt::AlignRight);
        SetColumn(2, QStringLiteral("Type"), 150, Qt::AlignLeft);
        SetColumn(3, QStringLiteral("Modified"), 110, Qt::AlignLeft);
        QList<QTreeWidgetItem *> items;
        // One icon per kind of name: asking the icon provider for each of thousands of files
        // would read their contents to guess their types.
        QHash<QString, QIcon> iconOf;
        for (const ExplorerEntry &entry : ListFolder(directory_, mask_, fileType_)) {
            auto *item = new ExplorerItem(entry);
            const QFileInfo info(entry.subItems[PathItem]);
            const QString kind =
                entry.subItems[KindItem] == QLatin1String("dir") ? QStringLiteral("/") : info.suffix().toLower();
            auto icon = iconOf.constFind(kind);
            if (icon == iconOf.constEnd())
                icon = iconOf.insert(kind, icons.icon(info));
            item->setIcon(0, *icon);
            item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
            items.append(item);
        }
        addTopLevelItems(items);
        // A new folder always comes sorted by name, whatever column was clicked before.
        sortColumn_ = 0;
        descending_ = false;
        SortEntries();
    }
    setUpdatesEnabled(true);
}

void FileListView::SortEntries()
{
    sortItems(sortColumn_, Qt::AscendingOrder);
}

void FileListView::ColumnClick(int column)
{
    if (column == sortColumn_) {
        descending_ = !descending_;
    } else {
        sortColumn_ = column;
        descending_ = true;
    }
    SortEntries();
}

void FileListView::GoUp()
{
    const QString parent = ParentDirectory(directory_);
    if (!parent.isEmpty())
        SetDirectory(parent);
}

int FileListView::SelectedCount() const
{
    const int selected = selectedItems().size();
    return selected > 0 ? selected : AllCount();
}

qint64 FileListView::SelectedSize() const
{
    qint64 total = 0;
    for (int i = 0; i < AllCount(); ++i) {
        if (IsItemSelected(i) && IsItemFile(i))
            total += QFileInfo(ItemPath(i)).size();
    }
    return total;
}

QString FileListView::SelectedFilenames() const
{
    QStringList paths;
    for (int i = 0; i < AllCount(); ++i) {
        if (IsItemSelected(i))
            paths.append(ItemPath(i));
    }
    return paths.join(QLatin1Char(';'));
}

FileListView::ObjectTypes FileListView::SelectedTypes() const
{
    ObjectTypes types;
    for (const QTreeWidgetItem *item : selectedItems()) {
        const QString kind = EntryOf(item).subItems[KindItem];
        types |= kind == QLatin1String("file")  ? FileObject
                 : kind == QLatin1String("dir") ? DirectoryObject
                                                : DiskObject;
    }
    return types;
}

QString FileListView::About() const
{
    return QStringLiteral("FileListView: folders, files and volumes with their icons");
}

QString FileListView::ItemFileName(int index) const
{
    return topLevelItem(index)->text(0);
}

QString FileListView::ItemPath(int index) const
{
    return EntryOf(topLevelItem(index)).subItems[PathItem];
}

bool FileListView::IsItemFile(int index) const
{
    return EntryOf(topLevelItem(index)).subItems[KindItem] == QLatin1String("file");
}

bool FileListView::IsItemSelected(int index) const
{
    return topLevelItem(index)->isSelected();
}

void FileListView::SetItemGhosted(int index, bool ghosted)
{
    QTreeWidgetItem *item = topLevelItem(index);
    item->setData(0, kGhostedRole, ghosted);
    const QBrush brush = ghosted ? palette().brush(QPalette::Disabled, QPalette::Text) : QBrush();
    for (int column = 0; column < columnCount(); ++column)
        item->setForeground(column, brush);
}

bool FileListView::IsItemGhosted(int index) const
{
    return topLevelItem(index)->data(0, kGhostedRole).toBool();
}

QTreeWidgetItem *FileListView::SelectedItem() const
{
    if (currentItem() && currentItem()->isSelected())
        return currentItem();
    for (int i = 0; i < AllCount(); ++i) {
        if (IsItemSelected(i))
            return topLevelItem(i);
    }
    return nullptr;
}

void FileListView::Click()
{
    if (const QTreeWidgetItem *item = SelectedItem())
        currentFile_ = EntryOf(item).subItems[PathItem];
    emit Clicked();
}

void FileListView::DblClick()
{
    emit DoubleClicked();
    const QTreeWidgetItem *item = SelectedItem();
    if (!item)
        return;
    const ExplorerEntry entry = EntryOf(item);
    if (entry.subItems[KindItem] == QLatin1String("file")) {
        if (contextAction_)
            QDesktopServices::openUrl(QUrl::fromLocalFile(entry.subItems[PathItem]));
    } else {
        SetDirectory(WithSlash(entry.subItems[PathItem]));
    }
}

void FileListView::mousePressEvent(QMouseEvent *event)
{
    QTreeWidgetItem *item = itemAt(event->position().toPoint());
    if (event->button() != Qt::RightButton || !contextMenu_ || !item) {
        QTreeWidget::mousePressEvent(event);
        return;
    }
    const QString path = EntryOf(item).subItems[PathItem];
    if (!SelectedFilenames().split(QLatin1Char(';')).contains(path))
        clearSelection();
    item->setSelected(true);
    setCurrentItem(item, 0, QItemSelectionModel::NoUpdate);
    Click();
    const QStringList paths =
        selectedItems().size() < 2 ? QStringList{currentFile_} : SelectedFilenames().split(QLatin1Char(';'));
    QMenu *menu = CreateContextMenu(paths, this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPosition().toPoint());
}

void FileListView::mouseReleaseEvent(QMouseEvent *event)
{
    QTreeWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        Click();
}

void FileListView::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTreeWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        DblClick();
}

bool FileListView::event(QEvent *event)
{
    // Enter on a selected item is a double click here, and Ctrl+Up goes up, even where a
    // window's shortcut claims the key.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if (((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && modifiers == Qt::NoModifier
             && SelectedItem())
            || (key->key() == Qt::Key_Up && modifiers == Qt::ControlModifier)) {
            event->accept();
            return true;
        }
    }
    return QTreeWidget::event(event);
}

void FileListView::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_Backspace || (event->key() == Qt::Key_Up && modifiers == Qt::ControlModifier))
        GoUp();
    else if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && SelectedItem())
        DblClick();
    const QTreeWidgetItem *before = currentItem();
    QTreeWidget::keyPressEvent(event);
    // Moving to another item with the keys counts as clicking it, so the keyboard previews too.
    if (currentItem() && currentItem() != before && currentItem()->isSelected())
        Click();
}

QMenu *FileListView::CreateContextMenu(const QStringList &paths, QWidget *parent)
{
    auto *menu = new QMenu(parent);
    menu->addAction(QStringLiteral("Open"), menu, [paths] {
        for (const QString &path : paths)
            QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    });
    menu->addAction(QStringLiteral("Open containing folder"), menu, [paths] {
        QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(paths.value(0)).absolutePath()));
    });
    menu->addAction(QStringLiteral("Copy path"), menu,
                    [paths] { QApplication::clipboard()->setText(paths.join(QLatin1Char('\n'))); });
    return menu;
}

}  // namespace lumetta
