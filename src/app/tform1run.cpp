// GO and Cancel: the processing page around one batch run.
#include "app/tform1.h"
#include "app/windowrun.h"
#include "batch/runs.h"
#include "ui_tform1.h"

#include <QApplication>
#include <QCloseEvent>

namespace tessaly {

void TForm1::bGOClick()
{
    Ui::TForm1& ui = *m_ui;
    const int count = int(m_sourceList.size());
    goToPage(ui.tsP, ui.lHH5);
    m_run.CancelRequested = false;
    for (QWidget* strip : {static_cast<QWidget*>(ui.lDir), static_cast<QWidget*>(ui.lbMFL),
                           static_cast<QWidget*>(ui.lMFL), static_cast<QWidget*>(ui.Bevel1),
                           static_cast<QWidget*>(ui.Image1), static_cast<QWidget*>(ui.Label3)})
        strip->hide();
    ui.Image1->clear();
    ui.lProc->setText(QStringLiteral("1 of %1").arg(count));
    m_run.ProcessedFiles.resize(std::size_t(count));
    QApplication::processEvents();

    const bool thumbnailMode = m_mode == JobMode::Thumbnails;
    WindowJob job(ui, thumbnailMode);
    WindowRunView view(ui, m_services.messages, this, m_betweenFiles);
    RunContext run{job, view, m_run, *m_pictures, m_sourceList};
    m_running = true;
    const RunOutcome outcome = runBatch(run);
    m_running = false;

    ui.bCancelOp->hide();
    ui.bStartOver->show();
    ui.bHTML->show();
    ui.lDoHTM->show();
    ui.lDone->setText(outcome.completionText);
    ui.lDone->show();
    ui.pBar->hide();
    ui.bStartOver->setFocus();
}

void TForm1::bCancelOpClick()
{
    m_run.CancelRequested = true;
}

void TForm1::closeEvent(QCloseEvent* event)
{
    // Closing during a run stops it after the file in hand, like Cancel.
    if (m_running)
        m_run.CancelRequested = true;
    QWidget::closeEvent(event);
}

}  // namespace tessaly
