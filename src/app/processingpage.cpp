#include "app/processingpage.h"

#include "app/windowrun.h"
#include "app/wizard.h"
#include "batch/renamejournal.h"
#include "batch/runs.h"
#include "gallery/dialogs/galleryrun.h"
#include "gallery/dialogs/tform6.h"
#include "platform/services.h"
#include "ui_tform1.h"
#include "gallery/dialogs/tfdlgouthtml.h"
#include "viewer/tfhtm.h"
#include "viewer/viewerpagesink.h"

#include <QApplication>
#include <algorithm>

namespace tessaly {

namespace {

// The gallery run's windows: the output location dialog, starting at the
// folder of the run's first output, and the viewer, which takes the first
// page into its editor.
class WindowGalleryRun final : public GalleryRunWindows {
public:
    WindowGalleryRun(TfDlgOutHTML& location, TfHTM& viewer, QString firstOutputPath)
        : m_location(location), m_viewer(viewer), m_sink(viewer), m_firstOutputPath(std::move(firstOutputPath))
    {
    }
    std::optional<PageLocation> chooseLocation() override
    {
        const std::optional<HtmlLocation> chosen = m_location.ask(m_firstOutputPath);
        if (!chosen)
            return std::nullopt;
        return PageLocation{chosen->folder, chosen->fileName};
    }
    void clearBrowseFile() override { m_viewer.clearBrowseFile(); }
    PageSink& pageSink() override { return m_sink; }
    void showGallery(const GalleryResult& result) override { m_sink.finish(result); }

private:
    TfDlgOutHTML& m_location;
    TfHTM& m_viewer;
    ViewerPageSink m_sink;
    QString m_firstOutputPath;
};

}  // namespace

ProcessingPage::ProcessingPage(Wizard& wizard, QObject* parent) : QObject(parent), m_wizard(wizard), m_ui(wizard.form())
{
    Ui::TForm1& ui = m_ui;
    ui.bCancelOp->setColors(Qt::black, Qt::black);
    connect(ui.bCancelOp, &QPushButton::clicked, this, &ProcessingPage::bCancelOpClick);
    connect(ui.bStartOver, &QPushButton::clicked, this, &ProcessingPage::bStartOverClick);
    connect(ui.bHTML, &QPushButton::clicked, this, &ProcessingPage::bHTMLClick);
    for (GradientButton* button : {ui.bCancelOp, ui.bStartOver, ui.bHTML})
        useWizardHoverColours(button);
}

QList<QWidget*> ProcessingPage::tabOrder() const
{
    const Ui::TForm1& ui = m_ui;
    return {ui.bStartOver, ui.bCancelOp, ui.bHTML};
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
    // A rename run records each rename, so that "Undo Last Rename" can give
    // the names back however the run ends.
    RenameJournal journal(m_wizard.renameJournalFolder(), source.inputFolder());
    if (chooseRun(source) == RunKindChosen::Rename)
        context.journal = &journal;
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

// The gallery of the last run's first ProcessedCount files; the run's
// state stays as it is, so one run can give several galleries.
void ProcessingPage::bHTMLClick()
{
    const RunState& run = m_wizard.job().run;
    const std::size_t count = std::min(std::size_t(std::max(run.ProcessedCount, 0)), run.ProcessedFiles.size());
    const ProcessedFileTable shown(run.ProcessedFiles.begin(), run.ProcessedFiles.begin() + std::ptrdiff_t(count));
    CompanionWindows& windows = m_wizard.companions();
    WindowGalleryRun gallery(windows.htmlLocation(), windows.htmlViewer(),
                             run.ProcessedFiles.empty() ? QString() : run.ProcessedFiles.front().OutputPath);
    PlatformServices& services = m_wizard.services();
    runGallery(m_wizard.dialogParent(), gallery, windows.htmlOptions(), services.dialogs, services.messages, shown,
               run.maxThumbSize);
}

}  // namespace tessaly
