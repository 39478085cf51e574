#pragma once

#include "platform/error.h"

#include <QString>
#include <QTreeView>

class QFontMetrics;
class QLabel;

namespace tessaly {

class FileListBox;
class FolderModel;

// Raised when a folder tree is asked for a folder of which no part exists.
class FolderNotFound : public Error {
public:
    explicit FolderNotFound(const QString& folder);
};

// A folder as it fits in `width` pixels: middle folders give way to "...",
// the last folder always stays ("/home/ann/.../2024/summer").
QString shortenFolder(const QString& folder, const QFontMetrics& metrics, int width);

// The tree of the file system's folders, hidden ones included, names that
// are not UTF-8 too (FolderModel). It reports its folder without a trailing
// separator (the root as "/"), with the exact bytes of its names
// (filenames.h), keeps a linked file list on that folder and a linked label
// showing it shortened to the tree's width.
class FolderTree : public QTreeView {
    Q_OBJECT
public:
    explicit FolderTree(QWidget* parent = nullptr);

    QString folder() const { return m_folder; }
    // Selects `path`, or the nearest existing folder above it. Throws
    // FolderNotFound when no part of the path exists.
    void setFolder(const QString& path);
    // Moves to the parent of the current folder; false at the root.
    bool selectParent();
    // Re-reads the folders and keeps the current one (or its nearest
    // existing parent when it has gone).
    void refresh();

    void setFileList(FileListBox* list);
    void setFolderLabel(QLabel* label);

signals:
    void folderChanged(const QString& folder);

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void applyFolder(const QString& folder);
    // Opens the tree down to the current folder and marks it.
    void showFolder();
    void updateLabel();

    FolderModel* m_model;
    QString m_folder;
    FileListBox* m_fileList = nullptr;
    QLabel* m_label = nullptr;
    // Set while the user's own click or key is handled: only then does a
    // new current row choose a folder.
    bool m_userAction = false;
    // The left button is down on the tree; showing the folder waits for its
    // release (m_showAfterRelease).
    bool m_buttonDown = false;
    bool m_showAfterRelease = false;
};

}  // namespace tessaly
