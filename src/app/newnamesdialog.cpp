#include "app/newnamesdialog.h"

#include "batch/dryrun.h"
#include "platform/paths.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace tessaly {

namespace {

enum Column { SourceColumn, NewNameColumn, SizeColumn, NoteColumn, ColumnCount };

QTableWidgetItem* cell(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

}  // namespace

QString newNamesSummary(const DryRunResult& plan, int sourceCount)
{
    if (plan.incomplete)
        return QStringLiteral("The run would stop at file %1 of %2: %3")
            .arg(plan.files.size())
            .arg(sourceCount)
            .arg(plan.message);
    if (sourceCount == 1)
        return QStringLiteral("The file would be processed. Nothing has been written yet.");
    return QStringLiteral("All %1 files would be processed. Nothing has been written yet.").arg(sourceCount);
}

NewNamesDialog::NewNamesDialog(const DryRunResult& plan, int sourceCount, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("NewNamesDialog"));
    setWindowTitle(QStringLiteral("New Names"));

    // The folder the new names go to; every output of a run shares it.
    auto* folder = new QLabel(this);
    folder->setObjectName(QStringLiteral("lNewFolder"));
    if (!plan.files.empty())
        folder->setText(QStringLiteral("New names in ") + paths::folderOf(plan.files.front().outputPath));
    folder->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_table = new QTableWidget(int(plan.files.size()), ColumnCount, this);
    m_table->setObjectName(QStringLiteral("tvNewNames"));
    m_table->setAccessibleName(QStringLiteral("Source files and their new names"));
    m_table->setHorizontalHeaderLabels(
        {QStringLiteral("Source File"), QStringLiteral("New Name"), QStringLiteral("Size"), QStringLiteral("Note")});
    m_table->verticalHeader()->hide();
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setTabKeyNavigation(false);
    m_table->setWordWrap(false);
    for (int row = 0; row < int(plan.files.size()); ++row) {
        const PlannedFile& file = plan.files[std::size_t(row)];
        m_table->setItem(row, SourceColumn, cell(paths::fileNameOf(file.sourcePath)));
        m_table->setItem(row, NewNameColumn, cell(paths::fileNameOf(file.outputPath)));
        m_table->setItem(
            row, SizeColumn,
            cell(file.size ? QStringLiteral("%1 x %2").arg(file.size->width).arg(file.size->height) : QString()));
        m_table->setItem(row, NoteColumn, cell(effectText(file.effect)));
    }
    // Renames have no size: the column goes.
    const bool sized =
        std::any_of(plan.files.begin(), plan.files.end(), [](const PlannedFile& f) { return bool(f.size); });
    m_table->setColumnHidden(SizeColumn, !sized);
    m_table->resizeColumnsToContents();
    m_table->horizontalHeader()->setStretchLastSection(true);
    if (m_table->rowCount() > 0)
        m_table->setCurrentCell(0, SourceColumn);

    m_summary = new QLabel(newNamesSummary(plan, sourceCount), this);
    m_summary->setObjectName(QStringLiteral("lNewNamesSummary"));
    m_summary->setWordWrap(true);
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse);

    // Close is the default button: Enter closes, as Escape does.
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* close = buttons->button(QDialogButtonBox::Close);
    close->setObjectName(QStringLiteral("bCloseNames"));
    close->setDefault(true);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(folder);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_summary);
    layout->addWidget(buttons);
    resize(560, 360);
    m_table->setFocus();
}

}  // namespace tessaly
