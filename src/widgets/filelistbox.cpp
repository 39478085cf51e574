#include "widgets/filelistbox.h"

#include "platform/filenames.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "platform/shell.h"

#include <QDir>
#include <QKeyEvent>

namespace tessaly {

namespace {

// "*.*" stands for every file, as it does on the desktops these masks come
// from; as a wildcard it would ask for a dot in the name ("README" has none).
QString listingMask(const QString& mask)
{
    QStringList patterns = mask.split(u';');
    for (QString& pattern : patterns)
        if (pattern.trimmed() == QLatin1String("*.*"))
            pattern = QStringLiteral("*");
    return patterns.join(u';');
}

}  // namespace

FileListBox::FileListBox(QWidget* parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setAccessibleName(QStringLiteral("Files"));
    connect(this, &QListWidget::itemDoubleClicked, this, &FileListBox::openItem);
}

void FileListBox::attachServices(MessageService& messages, ShellService& shell)
{
    m_messages = &messages;
    m_shell = &shell;
}

void FileListBox::setFolder(const QString& folder)
{
    m_folder = folder;
    reread();
}

void FileListBox::setMask(const QString& mask)
{
    m_mask = mask;
    reread();
}

void FileListBox::setMultiSelect(bool multi)
{
    setSelectionMode(multi ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
}

void FileListBox::reread()
{
    clear();
    for (const QString& name : listMatchingFiles(m_folder, listingMask(m_mask))) {
        // A name wider than the list is cut at the list's edge; the tooltip
        // shows it whole. A name that is not UTF-8 is shown readably and
        // kept exactly beside.
        auto* entry = new QListWidgetItem(displayFileName(name), this);
        entry->setData(Qt::UserRole, name);
        entry->setToolTip(displayFileName(name));
    }
}

QStringList FileListBox::names() const
{
    QStringList result;
    for (int row = 0; row < count(); ++row)
        result << nameAt(row);
    return result;
}

QString FileListBox::nameAt(int row) const
{
    if (row < 0 || row >= count())
        return {};
    const QVariant name = item(row)->data(Qt::UserRole);
    return name.isValid() ? name.toString() : item(row)->text();
}

QStringList FileListBox::selectedNames() const
{
    QStringList result;
    for (int row = 0; row < count(); ++row)
        if (item(row)->isSelected())
            result << nameAt(row);
    return result;
}

int FileListBox::selectedCount() const
{
    int selected = 0;
    for (int row = 0; row < count(); ++row)
        selected += item(row)->isSelected() ? 1 : 0;
    return selected;
}

bool FileListBox::isItemSelected(int row) const
{
    return row >= 0 && row < count() && item(row)->isSelected();
}

void FileListBox::setItemSelected(int row, bool selected)
{
    if (row >= 0 && row < count())
        item(row)->setSelected(selected);
}

void FileListBox::markAll(Mark how)
{
    if (count() == 0)
        return;
    const QItemSelection all(model()->index(0, 0), model()->index(count() - 1, 0));
    switch (how) {
    case Mark::Selected: selectionModel()->select(all, QItemSelectionModel::Select); break;
    case Mark::Unselected: selectionModel()->select(all, QItemSelectionModel::Deselect); break;
    case Mark::Inverted: selectionModel()->select(all, QItemSelectionModel::Toggle); break;
    }
}

int FileListBox::focusedIndex() const
{
    return currentIndex().isValid() ? currentIndex().row() : -1;
}

void FileListBox::setFocusedIndex(int row)
{
    if (row < 0 || row >= count())
        return;
    if (selectionMode() == QAbstractItemView::SingleSelection)
        setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    else
        setCurrentRow(row, QItemSelectionModel::NoUpdate);
}

QString FileListBox::pathOf(int row) const
{
    if (row < 0 || row >= count())
        return {};
    return paths::join(m_folder, nameAt(row));
}

QString FileListBox::focusedSelectedPath() const
{
    const int row = focusedIndex();
    return isItemSelected(row) ? pathOf(row) : QString();
}

void FileListBox::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete) {
        emit deletePressed();
        return;
    }
    QListWidget::keyPressEvent(event);
}

void FileListBox::openItem(QListWidgetItem* item)
{
    if (!item || !m_shell)
        return;
    if (!m_shell->openFile(pathOf(row(item))) && m_messages)
        m_messages->show(this, QStringLiteral("Could not open file."), MessageIcon::Information, MessageButtons::Ok);
}

}  // namespace tessaly
