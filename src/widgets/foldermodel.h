#pragma once

#include <QAbstractItemModel>
#include <QCollator>
#include <QIcon>
#include <QSet>
#include <QString>
#include <QTimer>
#include <memory>
#include <vector>

class QFileSystemWatcher;

namespace tessaly {

// The file system's folders as a tree of one column: the root "/" is the
// only top-level row, and each folder's rows are its subfolders, hidden
// ones and links to folders included, sorted by name as people read it
// (numbers by value, letter case ignored).
//
// Folders are read with readdir by their bytes (filenames.h), so a name
// that is not UTF-8 is listed too: it is shown readably ("caf\xE9") and
// its path carries the exact bytes. QFileSystemModel cannot do this: QDir
// leaves such names out. A folder is read when the view opens it
// (fetchMore) or a path is looked up through it, once; refresh() reads
// again what has been read. A folder that cannot be read has no rows.
// Folders read are watched, so that folders made or removed by other
// programs show without a refresh (names that are not UTF-8 excepted:
// QFileSystemWatcher takes its paths through Qt's lossy encoding).
class FolderModel : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit FolderModel(QObject* parent = nullptr);
    ~FolderModel() override;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    // The row of the absolute folder `path` (as pathOf gives it), reading
    // the folders on the way down; invalid when it is not there. A folder
    // missing from a parent read earlier makes that parent be read again.
    QModelIndex indexOf(const QString& path);
    // The folder's path: the root as "/", others without a trailing
    // separator, with the exact bytes of the name (filenames.h).
    QString pathOf(const QModelIndex& index) const;

    // Reads again every folder read so far: gone folders leave with their
    // rows, new ones come in; the rows that stay keep their indexes.
    void refresh();

private:
    struct Node;
    struct Entry {
        QString name;     // exact, as decodeFileName gives it
        QString display;  // as people read it
    };

    Node* nodeOf(const QModelIndex& index) const;
    QModelIndex indexOf(Node* node) const;
    QString pathOf(const Node* node) const;
    // The subfolders of `path`, sorted.
    std::vector<Entry> readFolder(const QString& path) const;
    bool lessThan(const Entry& a, const Entry& b) const;
    // Brings the rows of `node` in line with its folder on disk.
    void reread(Node* node);
    void refreshBelow(Node* node);
    void renumber(Node* node, int from);
    // The node of `path` among the folders read; none when not read.
    Node* readNode(const QString& path) const;
    void watch(const QString& path);
    void forgetWatches(const Node* node);
    void rereadChanged();

    std::unique_ptr<Node> m_top;  // the invisible parent of "/"
    QCollator m_collator;
    QIcon m_folderIcon;
    QFileSystemWatcher* m_watcher;
    // Folders changed on disk, read again together after a short pause:
    // a run writing into a watched folder changes it once per file.
    QSet<QString> m_changed;
    QTimer m_changeDelay;
};

}  // namespace tessaly
