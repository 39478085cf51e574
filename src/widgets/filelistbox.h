#pragma once

#include "platform/filelisting.h"

#include <QListWidget>
#include <QStringList>

namespace tessaly {

class MessageService;
class ShellService;

// The files of one folder that match a mask, one name per line, with single
// or multiple selection. A double-click opens the file in the program the
// desktop has for it.
class FileListBox : public QListWidget {
    Q_OBJECT
public:
    explicit FileListBox(QWidget* parent = nullptr);

    void attachServices(MessageService& messages, ShellService& shell);

    QString folder() const { return m_folder; }
    void setFolder(const QString& folder);
    QString mask() const { return m_mask; }
    void setMask(const QString& mask);
    void setMultiSelect(bool multi);
    // Reads the folder again; the selection is dropped.
    void reread();

    // Names as they are on disk (filenames.h); the list shows them readably.
    QStringList names() const;
    QString nameAt(int row) const;
    // The selected names from the top of the list to the bottom.
    QStringList selectedNames() const;
    int selectedCount() const;
    bool isItemSelected(int row) const;
    void setItemSelected(int row, bool selected);
    // Selects every item, none, or turns each item's selection over, as one
    // range: item by item, Qt keeps one range per item, and every later
    // question about the selection walks them all (a minute for Select All
    // in a folder of 20,000 pictures).
    enum class Mark { Selected, Unselected, Inverted };
    void markAll(Mark how);

    // The item with the focus mark, -1 when none.
    int focusedIndex() const;
    // Moves the focus mark; in a single-selection list the selection follows.
    void setFocusedIndex(int row);

    // The full path of the focused item when it is selected, otherwise empty.
    QString focusedSelectedPath() const;
    QString pathOf(int row) const;

signals:
    // The Delete key was pressed in the list.
    void deletePressed();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void openItem(QListWidgetItem* item);

    QString m_folder;
    QString m_mask = QStringLiteral("*.*");
    MessageService* m_messages = nullptr;
    ShellService* m_shell = nullptr;
};

}  // namespace tessaly
