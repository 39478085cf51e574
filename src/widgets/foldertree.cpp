#include "widgets/foldertree.h"

#include "platform/paths.h"
#include "widgets/filelistbox.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>

namespace tessaly {

FolderNotFound::FolderNotFound(const QString& folder)
    : std::runtime_error("folder not found"), m_message(QStringLiteral("The %1 directory does not exist").arg(folder))
{
}

QString shortenFolder(const QString& folder, const QFontMetrics& metrics, int width)
{
    if (metrics.horizontalAdvance(folder) <= width)
        return folder;
    const QString sep = paths::separator;
    QStringList parts = folder.split(paths::separator, Qt::SkipEmptyParts);
    if (parts.size() < 2)
        return metrics.elidedText(folder, Qt::ElideMiddle, width);
    const QString first = sep + parts.front();
    // Drop middle folders one at a time, from the second on, until it fits.
    for (qsizetype dropped = 1; dropped < parts.size() - 1; ++dropped) {
        QString candidate = first + sep + QStringLiteral("...");
        for (qsizetype i = 1 + dropped; i < parts.size(); ++i)
            candidate += sep + parts[i];
        if (metrics.horizontalAdvance(candidate) <= width)
            return candidate;
    }
    const QString lastOnly = sep + QStringLiteral("...") + sep + parts.back();
    if (metrics.horizontalAdvance(lastOnly) <= width)
        return lastOnly;
    return metrics.elidedText(lastOnly, Qt::ElideLeft, width);
}

FolderTree::FolderTree(QWidget* parent) : QTreeView(parent), m_model(new QFileSystemModel(this))
{
    m_model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::Drives);
    m_model->setReadOnly(true);
    m_model->setRootPath(paths::root());
    setModel(m_model);
    for (int column = 1; column < m_model->columnCount(); ++column)
        hideColumn(column);
    header()->hide();
    setRootIndex(m_model->index(paths::root()).parent());
    setAccessibleName(QStringLiteral("Folders"));
    m_folder = paths::root();
    // The model reads folders in the background; once the folders on the
    // way to ours are read, the tree is opened down to it again.
    connect(m_model, &QFileSystemModel::directoryLoaded, this, [this] {
        if (m_revealPending)
            showFolder();
    });
    connect(m_model, &QFileSystemModel::layoutChanged, this, [this] {
        if (m_revealPending)
            showFolder();
    });
}

void FolderTree::setFolder(const QString& path)
{
    QString candidate = paths::normalFolder(QDir::cleanPath(path));
    if (!QFileInfo(candidate).isAbsolute())
        throw FolderNotFound(path);
    while (!QFileInfo(candidate).isDir()) {
        const QString parent = paths::folderOf(candidate);
        if (parent.isEmpty() || parent == candidate)
            throw FolderNotFound(path);
        candidate = parent;
    }
    applyFolder(candidate);
}

bool FolderTree::selectParent()
{
    if (m_folder == paths::root())
        return false;
    applyFolder(paths::folderOf(m_folder));
    return true;
}

void FolderTree::refresh()
{
    // QFileSystemModel watches the folders it has read; a fresh root path
    // makes it drop what it cached for folders it does not watch.
    m_model->setRootPath(QString());
    m_model->setRootPath(paths::root());
    setRootIndex(m_model->index(paths::root()).parent());
    try {
        setFolder(m_folder);
    } catch (const FolderNotFound&) {
        applyFolder(paths::root());
    }
}

void FolderTree::setFileList(FileListBox* list)
{
    m_fileList = list;
    if (m_fileList)
        m_fileList->setFolder(m_folder);
}

void FolderTree::setFolderLabel(QLabel* label)
{
    m_label = label;
    updateLabel();
}

void FolderTree::applyFolder(const QString& folder)
{
    const bool changed = folder != m_folder;
    m_folder = folder;
    m_revealPending = true;
    showFolder();
    if (m_fileList)
        m_fileList->setFolder(m_folder);
    updateLabel();
    if (changed)
        emit folderChanged(m_folder);
}

void FolderTree::showFolder()
{
    const QModelIndex index = m_model->index(m_folder);
    if (!index.isValid())
        return;
    for (QModelIndex parent = index.parent(); parent.isValid(); parent = parent.parent())
        expand(parent);
    expand(index);
    setCurrentIndex(index);
    scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void FolderTree::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTreeView::currentChanged(current, previous);
    // The file system model reads folders in the background and may move
    // the current row as it inserts and sorts; only the user's own clicks
    // and keys choose a folder.
    if (!m_userAction || !current.isValid())
        return;
    const QString picked = paths::normalFolder(m_model->filePath(current));
    if (!picked.isEmpty() && picked != m_folder)
        applyFolder(picked);
}

void FolderTree::mousePressEvent(QMouseEvent* event)
{
    // A right click opens the popup menu (through the context menu event
    // that follows the press) and leaves the folder as it is.
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    m_revealPending = false;
    m_userAction = true;
    QTreeView::mousePressEvent(event);
    m_userAction = false;
}

void FolderTree::keyPressEvent(QKeyEvent* event)
{
    m_revealPending = false;
    m_userAction = true;
    QTreeView::keyPressEvent(event);
    m_userAction = false;
}

void FolderTree::wheelEvent(QWheelEvent* event)
{
    m_revealPending = false;
    QTreeView::wheelEvent(event);
}

void FolderTree::resizeEvent(QResizeEvent* event)
{
    QTreeView::resizeEvent(event);
    updateLabel();
}

void FolderTree::updateLabel()
{
    if (!m_label)
        return;
    m_label->setText(shortenFolder(m_folder, m_label->fontMetrics(), width()));
    m_label->setToolTip(m_folder);
}

}  // namespace tessaly
