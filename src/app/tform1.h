#pragma once

#include "app/wizard.h"
#include "imaging/workingpictures.h"
#include "platform/services.h"
#include "settings/inifile.h"

#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>

class QMenu;

namespace Ui {
class TForm1;
}

namespace tessaly {

class ConfirmPage;
class InputPage;
class MainFileTools;
class OutputPage;
class ProcessingPage;
class ThumbnailPage;
class TitleArea;

// The main window: a thin shell around the five wizard pages. It holds the
// job state (the selected files, the mode, the run state), the upper strip
// (banner, preview, source list, help box and the title-area buttons), the
// window's share of the settings file, and the moves between pages. Each
// page's controls, handlers and rules live in the page's own class:
//
//   InputPage       tsIFS  files, mask, mode, selection, deletion, manual
//                          rename (bRenInd), popup menu pm1 and its items
//   OutputPage      tsOFO  output folder, type, naming, popup menu pm2
//   ThumbnailPage   tsTO   resize speed and thumbnail size
//   ConfirmPage     tsCS   the summary, JPEG quality, overwrite, GO
//   ProcessingPage  tsP    the run, Cancel, "OK!" and "Do HTML!" (bHTML)
//
// The title-area buttons (reset, refresh, file manager, About, help) and
// the preview of a clicked source file are wired in connectTitleButtons().
class TForm1 : public QWidget, private Wizard {
    Q_OBJECT
public:
    // `companions` is asked for the other windows only when they are used:
    // they are made after this one.
    TForm1(PlatformServices& services, IniFile settings, CompanionWindows& companions, QWidget* parent = nullptr);
    ~TForm1() override;
    // Writes this window's share of the settings file; a failure is shown.
    // The program calls it when it closes its windows (ApplicationWindows::
    // close); destroying the window writes nothing.
    void FormDestroy();

    Ui::TForm1& form() override { return *m_ui; }
    QMenu* pm1() const;
    QMenu* pm2() const;

    // The names of the selected source files, in the order of the input list.
    const QStringList& SourceList() const { return m_job.SourceList; }
    JobMode mode() const { return m_job.mode; }
    // The state of the current or last run, kept until the next GO.
    const RunState& runState() const { return m_job.run; }
    // Called between the files of a run, after the window's pending events.
    void setBetweenFiles(std::function<void()> hook);
    // The About, help and reset buttons; start-up hands it the About box and
    // the dialogs the reset reaches into.
    TitleArea& titleArea() { return *m_titleArea; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What the pages see of the window.
    QWidget* dialogParent() override { return this; }
    PlatformServices& services() override { return m_services; }
    CompanionWindows& companions() override { return m_windows; }
    JobState& job() override { return m_job; }
    WorkingPictures& workingPictures() override { return *m_pictures; }
    QString renameJournalFolder() const override;
    void goToPage(WizardPage page) override;
    void setMode(JobMode mode) override;
    void showSourceList() override;
    void clearSourceListView() override;
    void startRun() override;
    void showError(const QString& text) override;

    void FormCreate();
    void setUpUpperStrip();
    void connectTitleButtons();
    void setUpKeyboard();
    void setUpAccessKeys();
    void setUpFileTools();
    void loadHelp(const QString& text);
    void loadSettings();
    void saveSettings();

    std::unique_ptr<Ui::TForm1> m_ui;
    PlatformServices& m_services;
    IniFile m_settings;
    CompanionWindows& m_windows;
    JobState m_job;
    std::unique_ptr<WorkingPictures> m_pictures;

    // The pages, in the order of the page control.
    InputPage* m_inputPage = nullptr;
    OutputPage* m_outputPage = nullptr;
    ThumbnailPage* m_thumbnailPage = nullptr;
    ConfirmPage* m_confirmPage = nullptr;
    ProcessingPage* m_processingPage = nullptr;
    MainFileTools* m_fileTools = nullptr;
    TitleArea* m_titleArea = nullptr;
};

}  // namespace tessaly
