#pragma once

#include "app/wizardrules.h"
#include "batch/runinterfaces.h"
#include "imaging/workingpictures.h"
#include "platform/services.h"
#include "settings/inifile.h"

#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>

class QLabel;
class QMenu;

namespace Ui {
class TForm1;
}

namespace tessaly {

// The main window: the upper strip with the preview, the source list and the
// help box, and the five-page wizard whose controls hold the job's choices.
class TForm3;
class TForm4;

// The windows the main window calls on; all are made at start-up.
struct CompanionWindows {
    TForm3* duplicateWarning = nullptr;
    TForm4* deleteConfirm = nullptr;
};

class TForm1 : public QWidget {
    Q_OBJECT
public:
    TForm1(PlatformServices& services, IniFile settings, QWidget* parent = nullptr);
    ~TForm1() override;

    Ui::TForm1& form() { return *m_ui; }
    void setCompanions(const CompanionWindows& windows) { m_windows = windows; }
    QMenu* pm1() const { return m_pm1; }
    QMenu* pm2() const { return m_pm2; }

    // The names of the selected source files, in the order of the input list.
    const QStringList& SourceList() const { return m_sourceList; }
    JobMode mode() const { return m_mode; }

    // The state of the current or last run, kept until the next GO.
    RunState& runState() { return m_run; }
    // The hook a test or the window itself uses between files of a run.
    void setBetweenFiles(std::function<void()> hook) { m_betweenFiles = std::move(hook); }

    WorkingPictures& workingPictures() { return *m_pictures; }

    // Hides the tab of the page shown, shows, enables and activates `page`,
    // and loads the help text of `helpLabel` into the help box.
    void goToPage(QWidget* page, QLabel* helpLabel);
    void loadHelp(QLabel* helpLabel);

    // Refills the source list and `lbMFL` from the selection of `fBox`.
    void fillSourceList();

    void tsIFSShow();
    void fDirChange();
    void tsOFOShow();
    void fNewDirChange();

    // Wizard navigation and checks.
    void bNxt1Click();
    void bBck1Click();
    void bNxt2Click();
    void bBck2Click();
    void bNxt3Click();
    void bBck3Click();
    void bGOClick();
    void bCancelOpClick();
    void bStartOverClick();
    void rbThumbsClick();
    void rbRenameOnlyClick();
    void cbMaskChange();
    void bSelAllClick();
    void bDeSelAllClick();
    void bInvertSelClick();
    void sbShowAllClick();
    void sbShowGrafxClick();
    void cbNameOptionChange();
    void SpeedButton1Click();
    void cbRatioClick();
    void cbFWidthClick();
    void cbFHeightClick();
    void tbJpgChange();
    void tsCSShow();

    // File tools.
    void bDelSelClick();
    void pm1Popup();

private:
    void FormCreate();
    void FormDestroy();
    void setUpControls();
    void buildPopupMenus();
    void connectHandlers();
    void loadSettings();
    void saveSettings();
    void pageShown(int index);
    void showError(const QString& text);
    void connectWizard();
    void applyVisibility(const ModeVisibility& shown);
    void showThumbnailSummaryRows(bool shown);
    bool renamingInPlace() const;

    std::unique_ptr<Ui::TForm1> m_ui;
    PlatformServices& m_services;
    IniFile m_settings;
    QMenu* m_pm1 = nullptr;
    QMenu* m_pm2 = nullptr;
    QStringList m_sourceList;
    JobMode m_mode = JobMode::Thumbnails;
    std::unique_ptr<WorkingPictures> m_pictures;
    CompanionWindows m_windows;
    RunState m_run;
    bool m_running = false;
    std::function<void()> m_betweenFiles;

protected:
    void closeEvent(QCloseEvent* event) override;
};

}  // namespace tessaly
