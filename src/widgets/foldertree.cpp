#include "widgets/foldertree.h"

#include "platform/filenames.h"
#include "platform/fileops.h"
#include "platform/paths.h"
#include "widgets/filelistbox.h"
#include "widgets/foldermodel.h"

#include <QDir>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>

namespace tessaly {

FolderNotFound::FolderNotFound(const QString& folder)
    : Error(QStringLiteral("The %1 directory does not exist").arg(folder))
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

FolderTree::FolderTree(QWidget* parent) : QTreeView(parent), m_model(new FolderModel(this))
{
    setModel(m_model);
    header()->hide();
    // Every row is one line of text beside the folder icon; the view then
    // lays out a folder of thousands of subfolders without measuring each.
    setUniformRowHeights(true);
    setAccessibleName(QStringLiteral("Folders"));
    m_folder = paths::root();
}

void FolderTree::setFolder(const QString& path)
{
    // Checked by the path's bytes (isFolder): QFileInfo would look for
    // another name where a name is not UTF-8.
    QString candidate = paths::normalFolder(QDir::cleanPath(path));
    if (!candidate.startsWith(paths::separator))
        throw FolderNotFound(path);
    while (!isFolder(candidate)) {
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
    m_model->refresh();
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
    showFolder();
    if (m_fileList)
        m_fileList->setFolder(m_folder);
    updateLabel();
    if (changed)
        emit folderChanged(m_folder);
}

void FolderTree::showFolder()
{
    // While the button that chose the folder is down, the rows stay where
    // they are: expanding or scrolling now would put another row under the
    // pointer for the release to highlight. The release shows the folder.
    if (m_buttonDown) {
        m_showAfterRelease = true;
        return;
    }
    const QModelIndex index = m_model->indexOf(m_folder);
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
    // Rows that go on a refresh move the current row too; only the user's
    // own clicks and keys choose a folder.
    if (!m_userAction || !current.isValid())
        return;
    const QString picked = m_model->pathOf(current);
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
    m_userAction = true;
    m_buttonDown = event->button() == Qt::LeftButton;
    QTreeView::mousePressEvent(event);
    m_userAction = false;
}

void FolderTree::mouseMoveEvent(QMouseEvent* event)
{
    // Moving with the button down drags no selection over other rows: the
    // highlighted row is always the chosen folder.
    if (event->buttons() & Qt::LeftButton) {
        event->accept();
        return;
    }
    QTreeView::mouseMoveEvent(event);
}

void FolderTree::mouseReleaseEvent(QMouseEvent* event)
{
    QTreeView::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    m_buttonDown = false;
    if (m_showAfterRelease) {
        m_showAfterRelease = false;
        showFolder();
    }
}

void FolderTree::keyPressEvent(QKeyEvent* event)
{
    m_userAction = true;
    QTreeView::keyPressEvent(event);
    m_userAction = false;
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
    const QString shown = displayFileName(m_folder);
    m_label->setText(shortenFolder(shown, m_label->fontMetrics(), width()));
    m_label->setToolTip(shown);
}

}  // namespace tessaly
