#pragma once

#include "batch/processedfiles.h"
#include "imaging/workingpictures.h"
#include "platform/services.h"

#include <QStringList>
#include <QWidget>
#include <memory>

class QLabel;
class QMenu;

namespace Ui {
class TForm1;
}

namespace tessaly {

// Which job the wizard is gathering: decided each time page 1 is left.
enum class JobMode { Thumbnails, RenameCopyConvert };

// The main window: the upper strip with the preview, the source list and the
// help box, and the five-page wizard whose controls hold the job's choices.
class TForm1 : public QWidget {
    Q_OBJECT
public:
    explicit TForm1(PlatformServices& services, QWidget* parent = nullptr);
    ~TForm1() override;

    Ui::TForm1& form() { return *m_ui; }
    QMenu* pm1() const { return m_pm1; }
    QMenu* pm2() const { return m_pm2; }

    // The names of the selected source files, in the order of the input list.
    const QStringList& SourceList() const { return m_sourceList; }
    JobMode mode() const { return m_mode; }

    // Run state, kept until the next GO.
    bool CancelRequested = false;
    int ProcessedCount = 0;
    int maxThumbSize = 0;
    ProcessedFileTable ProcessedFiles;

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

    std::unique_ptr<Ui::TForm1> m_ui;
    PlatformServices& m_services;
    QMenu* m_pm1 = nullptr;
    QMenu* m_pm2 = nullptr;
    QStringList m_sourceList;
    JobMode m_mode = JobMode::Thumbnails;
    std::unique_ptr<WorkingPictures> m_pictures;
};

}  // namespace tessaly
