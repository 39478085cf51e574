#include "app/processingpage.h"

#include "app/windowrun.h"
#include "app/wizard.h"
#include "batch/runs.h"
#include "platform/services.h"
#include "ui_tform1.h"

#include <QApplication>

namespace tessaly {

ProcessingPage::ProcessingPage(Wizard& wizard, QObject* parent) : QObject(parent), m_wizard(wizard), m_ui(wizard.form())
{
    Ui::TForm1& ui = m_ui;
    ui.bCancelOp->setColors(Qt::black, Qt::black);
    connect(ui.bCancelOp, &QPushButton::clicked, this, &ProcessingPage::bCancelOpClick);
    connect(ui.bStartOver, &QPushButton::clicked, this, &ProcessingPage::bStartOverClick);
    // "Do HTML!" (`bHTML`) is wired here too once the gallery run lands.
    for (GradientButton* button : {ui.bCancelOp, ui.bStartOver, ui.bHTML})
        useWizardHoverColours(button);
}

void ProcessingPage::showUpperStrip(bool shown)
{
    Ui::TForm1& ui = m_ui;
    for (QWidget* strip :
         {static_cast<QWidget*>(ui.lDir), static_cast<QWidget*>(ui.lbMFL), static_cast<QWidget*>(ui.lMFL),
          static_cast<QWidget*>(ui.Bevel1), static_cast<QWidget*>(ui.Image1), static_cast<QWidget*>(ui.Label3)})
        strip->setVisible(shown);
}

void ProcessingPage::run()
{
    Ui::TForm1& ui = m_ui;
    JobState& job = m_wizard.job();
    const int count = int(job.SourceList.size());
    m_wizard.goToPage(WizardPage::Processing);
    job.run.CancelRequested = false;
    showUpperStrip(false);
    ui.Image1->clear();
    ui.lProc->setText(QStringLiteral("1 of %1").arg(count));
    job.run.ProcessedFiles.resize(std::size_t(count));
    QApplication::processEvents();

    const bool thumbnailMode = job.mode == JobMode::Thumbnails;
    WindowJob source(ui, thumbnailMode);
    WindowRunView view(ui, m_wizard.services().messages, m_wizard.dialogParent(), m_betweenFiles);
    RunContext context{source, view, job.run, m_wizard.workingPictures(), job.SourceList};
    job.running = true;
    const RunOutcome outcome = runBatch(context);
    job.running = false;

    ui.bCancelOp->hide();
    ui.bStartOver->show();
    ui.bHTML->show();
    ui.lDoHTM->show();
    ui.lDone->setText(outcome.completionText);
    ui.lDone->show();
    ui.pBar->hide();
    ui.bStartOver->setFocus();
}

void ProcessingPage::bCancelOpClick()
{
    m_wizard.job().run.CancelRequested = true;
}

void ProcessingPage::bStartOverClick()
{
    Ui::TForm1& ui = m_ui;
    m_wizard.goToPage(WizardPage::InputFiles);
    m_wizard.job().SourceList.clear();
    ui.pBar->show();
    ui.pBar->setValue(0);
    ui.lDone->hide();
    ui.Bevel1->show();
    ui.Image1->show();
    ui.Label3->show();
    ui.bCancelOp->show();
    ui.bStartOver->hide();
    ui.bHTML->hide();
    ui.lDoHTM->hide();
    ui.lDir->show();
    ui.lbMFL->show();
    ui.lMFL->show();
    m_wizard.clearSourceListView();
}

}  // namespace tessaly
