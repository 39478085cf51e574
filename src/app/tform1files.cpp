// The main window's file commands: deleting the selected input files.
#include "app/tform1.h"
#include "filetools/tform4.h"
#include "platform/paths.h"
#include "ui_tform1.h"

#include <QFile>
#include <QMenu>

namespace tessaly {

void TForm1::bDelSelClick()
{
    Ui::TForm1& ui = *m_ui;
    const QStringList names = ui.fBox->selectedNames();
    if (names.isEmpty() || !m_windows.deleteConfirm)
        return;
    QStringList doomed;
    for (const QString& name : names)
        doomed << paths::join(ui.fDir->folder(), name);
    TForm4& confirm = *m_windows.deleteConfirm;
    confirm.setQuestion(int(doomed.size()));
    if (m_services.dialogs.run(confirm) != QDialog::Accepted)
        return;
    // Results are not examined: a file that cannot go is simply still
    // there when the lists are read again.
    for (const QString& path : doomed) {
        if (confirm.toTrash())
            m_services.trash.moveToTrash(path);
        else
            QFile::remove(path);
    }
    ui.fBox->reread();
    ui.fNewBox->reread();
    ui.lbMFL->clear();
    ui.lMFL->setText(QStringLiteral("Source Files: 0"));
}

void TForm1::pm1Popup()
{
    m_pm1->findChild<QAction*>(QStringLiteral("DeleteSelectedFiles1"))
        ->setEnabled(m_ui->fBox->selectedCount() > 0);
}

}  // namespace tessaly
