#pragma once

#include <QDialog>

class QLabel;
class QTableWidget;

namespace tessaly {

struct DryRunResult;

// "Show new names...": the names the run would give, worked out by the dry
// run that `tessaly-batch --dry-run` prints. One row per source file in
// order: its name, the name it would get, the size written (thumbnails and
// conversions) and what the run's checks say of it; below, whether the run
// would go through or where it would stop. Nothing here writes.
class NewNamesDialog : public QDialog {
public:
    NewNamesDialog(const DryRunResult& plan, int sourceCount, QWidget* parent = nullptr);

    QTableWidget* table() const { return m_table; }
    QLabel* summary() const { return m_summary; }

private:
    QTableWidget* m_table = nullptr;
    QLabel* m_summary = nullptr;
};

// The sentence under the list: "All 5 files would be processed." or "The run
// would stop at file 3 of 5: " and the message the run would show.
QString newNamesSummary(const DryRunResult& plan, int sourceCount);

}  // namespace tessaly
