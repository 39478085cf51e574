#include "widgets/foldermodel.h"

#include "platform/filenames.h"
#include "platform/paths.h"

#include <QFileIconProvider>
#include <QFileSystemWatcher>
#include <QSet>
#include <QStringList>
#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <utility>

namespace tessaly {

struct FolderModel::Node {
    QString name;
    QString display;
    Node* parent = nullptr;
    int row = 0;
    bool read = false;
    std::vector<std::unique_ptr<Node>> children;
};

namespace {

bool isDotOrDotDot(const char* name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

}  // namespace

FolderModel::FolderModel(QObject* parent)
    : QAbstractItemModel(parent), m_top(std::make_unique<Node>()),
      m_folderIcon(QFileIconProvider().icon(QFileIconProvider::Folder)), m_watcher(new QFileSystemWatcher(this))
{
    m_changeDelay.setSingleShot(true);
    m_changeDelay.setInterval(100);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, [this](const QString& path) {
        m_changed.insert(path);
        m_changeDelay.start();
    });
    connect(&m_changeDelay, &QTimer::timeout, this, &FolderModel::rereadChanged);
    // The order QFileSystemModel gives its rows, which users know: numbers
    // by value where the locale's collation allows, letter case ignored.
    m_collator.setNumericMode(true);
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
    auto root = std::make_unique<Node>();
    root->name = paths::root();
    root->display = paths::root();
    root->parent = m_top.get();
    m_top->read = true;
    m_top->children.push_back(std::move(root));
}

FolderModel::~FolderModel() = default;

FolderModel::Node* FolderModel::nodeOf(const QModelIndex& index) const
{
    return index.isValid() ? static_cast<Node*>(index.internalPointer()) : m_top.get();
}

QModelIndex FolderModel::indexOf(Node* node) const
{
    return node == m_top.get() ? QModelIndex() : createIndex(node->row, 0, node);
}

QModelIndex FolderModel::index(int row, int column, const QModelIndex& parent) const
{
    const Node* node = nodeOf(parent);
    if (column != 0 || row < 0 || row >= int(node->children.size()))
        return {};
    return createIndex(row, 0, node->children[size_t(row)].get());
}

QModelIndex FolderModel::parent(const QModelIndex& child) const
{
    if (!child.isValid())
        return {};
    return indexOf(nodeOf(child)->parent);
}

int FolderModel::rowCount(const QModelIndex& parent) const
{
    if (parent.column() > 0)
        return 0;
    return int(nodeOf(parent)->children.size());
}

int FolderModel::columnCount(const QModelIndex&) const
{
    return 1;
}

QVariant FolderModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const Node* node = nodeOf(index);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole: return node->display;
    case Qt::DecorationRole: return m_folderIcon;
    default: return {};
    }
}

Qt::ItemFlags FolderModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

bool FolderModel::hasChildren(const QModelIndex& parent) const
{
    // A folder not read yet may have subfolders; reading every folder just
    // to know would stat the whole disk.
    const Node* node = nodeOf(parent);
    return !node->read || !node->children.empty();
}

bool FolderModel::canFetchMore(const QModelIndex& parent) const
{
    return !nodeOf(parent)->read;
}

void FolderModel::fetchMore(const QModelIndex& parent)
{
    Node* node = nodeOf(parent);
    if (!node->read)
        reread(node);
}

QString FolderModel::pathOf(const QModelIndex& index) const
{
    return index.isValid() ? pathOf(nodeOf(index)) : QString();
}

QString FolderModel::pathOf(const Node* node) const
{
    QStringList names;
    for (; node->parent != m_top.get(); node = node->parent)
        names.prepend(node->name);
    return paths::root() + names.join(paths::separator);
}

QModelIndex FolderModel::indexOf(const QString& path)
{
    if (!path.startsWith(paths::separator))
        return {};
    Node* node = m_top->children.front().get();
    for (const QString& name : path.split(paths::separator, Qt::SkipEmptyParts)) {
        const auto find = [&] {
            const auto& children = node->children;
            const auto found = std::find_if(children.cbegin(), children.cend(),
                                            [&](const std::unique_ptr<Node>& child) { return child->name == name; });
            return found == children.cend() ? nullptr : found->get();
        };
        const bool readBefore = node->read;
        if (!readBefore)
            reread(node);
        Node* child = find();
        if (!child && readBefore) {
            // Made since the folder was read.
            reread(node);
            child = find();
        }
        if (!child)
            return {};
        node = child;
    }
    return indexOf(node);
}

void FolderModel::refresh()
{
    refreshBelow(m_top->children.front().get());
}

FolderModel::Node* FolderModel::readNode(const QString& path) const
{
    if (!path.startsWith(paths::separator))
        return nullptr;
    Node* node = m_top->children.front().get();
    for (const QString& name : path.split(paths::separator, Qt::SkipEmptyParts)) {
        const auto& children = node->children;
        const auto found = std::find_if(children.cbegin(), children.cend(),
                                        [&](const std::unique_ptr<Node>& child) { return child->name == name; });
        if (found == children.cend())
            return nullptr;
        node = found->get();
    }
    return node->read ? node : nullptr;
}

void FolderModel::watch(const QString& path)
{
    if (!hasRawBytes(path) && !m_watcher->directories().contains(path))
        m_watcher->addPath(path);
}

void FolderModel::forgetWatches(const Node* node)
{
    if (!node->read)
        return;
    if (const QString path = pathOf(node); !hasRawBytes(path))
        m_watcher->removePath(path);
    for (const auto& child : node->children)
        forgetWatches(child.get());
}

void FolderModel::rereadChanged()
{
    const QSet<QString> changed = std::exchange(m_changed, {});
    for (const QString& path : changed)
        if (Node* node = readNode(path))
            reread(node);
}

void FolderModel::refreshBelow(Node* node)
{
    if (!node->read)
        return;
    reread(node);
    for (const auto& child : node->children)
        refreshBelow(child.get());
}

bool FolderModel::lessThan(const Entry& a, const Entry& b) const
{
    if (const int folded = m_collator.compare(a.display, b.display); folded != 0)
        return folded < 0;
    // Names equal but for case keep a fixed order, upper case first; two
    // names shown alike ("caf\xE9" written out, and the byte) by their bytes.
    if (const int exact = QString::compare(a.display, b.display, Qt::CaseSensitive); exact != 0)
        return exact < 0;
    return a.name < b.name;
}

std::vector<FolderModel::Entry> FolderModel::readFolder(const QString& path) const
{
    std::vector<Entry> entries;
    DIR* dir = ::opendir(encodeFileName(path).constData());
    if (!dir)
        return entries;
    while (const dirent* entry = ::readdir(dir)) {
        if (isDotOrDotDot(entry->d_name))
            continue;
        // The entry's type says "folder" for most without a stat; links
        // (followed) and file systems that leave the type out need one.
        bool folder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat info {};
            folder = ::fstatat(::dirfd(dir), entry->d_name, &info, 0) == 0 && S_ISDIR(info.st_mode);
        }
        if (!folder)
            continue;
        const QString name = decodeFileName(QByteArray(entry->d_name));
        entries.push_back({name, displayFileName(name)});
    }
    ::closedir(dir);
    std::sort(entries.begin(), entries.end(), [this](const Entry& a, const Entry& b) { return lessThan(a, b); });
    return entries;
}

void FolderModel::renumber(Node* node, int from)
{
    for (size_t row = size_t(from); row < node->children.size(); ++row)
        node->children[row]->row = int(row);
}

void FolderModel::reread(Node* node)
{
    const QString path = pathOf(node);
    const std::vector<Entry> entries = readFolder(path);
    node->read = true;
    watch(path);
    const QModelIndex parent = indexOf(node);
    auto& children = node->children;
    const bool hadRows = !children.empty();

    QSet<QString> present;
    present.reserve(qsizetype(entries.size()));
    for (const Entry& entry : entries)
        present.insert(entry.name);
    // Gone folders leave in runs of neighbouring rows, from the end so that
    // the rows before keep their numbers.
    for (int last = int(children.size()) - 1; last >= 0; --last) {
        if (present.contains(children[size_t(last)]->name))
            continue;
        int first = last;
        while (first > 0 && !present.contains(children[size_t(first - 1)]->name))
            --first;
        beginRemoveRows(parent, first, last);
        for (int row = first; row <= last; ++row)
            forgetWatches(children[size_t(row)].get());
        children.erase(children.begin() + first, children.begin() + last + 1);
        renumber(node, first);
        endRemoveRows();
        last = first;
    }

    // The rows left are in the order of `entries` (both sorted alike), so
    // new folders go in between them in runs.
    QSet<QString> kept;
    kept.reserve(qsizetype(children.size()));
    for (const auto& child : children)
        kept.insert(child->name);
    size_t row = 0;
    for (size_t at = 0; at < entries.size();) {
        if (kept.contains(entries[at].name)) {
            ++at;
            ++row;
            continue;
        }
        size_t end = at;
        while (end < entries.size() && !kept.contains(entries[end].name))
            ++end;
        beginInsertRows(parent, int(row), int(row + (end - at)) - 1);
        std::vector<std::unique_ptr<Node>> added;
        added.reserve(end - at);
        for (; at < end; ++at) {
            auto child = std::make_unique<Node>();
            child->name = entries[at].name;
            child->display = entries[at].display;
            child->parent = node;
            added.push_back(std::move(child));
        }
        const auto count = added.size();
        children.insert(children.begin() + qsizetype(row), std::make_move_iterator(added.begin()),
                        std::make_move_iterator(added.end()));
        renumber(node, int(row));
        endInsertRows();
        row += count;
    }
    // A view keeps whether a row has children from when it laid the row
    // out, and no rows come or go to tell it a folder is empty after all
    // (or that an empty one has rows now): the row's data change does.
    if (parent.isValid() && (children.empty() || !hadRows))
        emit dataChanged(parent, parent);
}

}  // namespace tessaly
