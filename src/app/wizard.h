#pragma once

#include "app/wizardrules.h"
#include "batch/runinterfaces.h"

#include <QStringList>

class QWidget;

namespace Ui {
class TForm1;
}

namespace tessaly {

class GradientButton;
class TForm2;
class TForm3;
class TForm4;
class TForm6;
class TfDlgOutHTML;
class TfHTM;
class WorkingPictures;
struct PlatformServices;

// The pages of the main window's page control, in their order.
enum class WizardPage { InputFiles, OutputOptions, ThumbnailOptions, Confirm, Processing };

// The windows the main window calls on. They are made after it (the
// start-up order is fixed, and a new settings file's sections follow it), so
// the main window holds this and asks for a window when it uses it; by then
// every one exists.
class CompanionWindows {
public:
    virtual TForm2& previewWindow() = 0;
    virtual TForm3& duplicateWarning() = 0;
    virtual TForm4& deleteConfirm() = 0;
    // The HTML viewer, output location dialog and HTML Options of "Do HTML!".
    virtual TfHTM& htmlViewer() = 0;
    virtual TfDlgOutHTML& htmlLocation() = 0;
    virtual TForm6& htmlOptions() = 0;

protected:
    ~CompanionWindows() = default;
};

// The job state the main window keeps for its pages: the mode fixed when
// page 1 is left, the selected files and the state of the current or last
// run. The job's choices themselves live in the pages' controls.
struct JobState {
    JobMode mode = JobMode::Thumbnails;
    QStringList SourceList;
    RunState run;
    bool running = false;
};

// What a wizard page sees of the main window. Each page owns its controls'
// handlers and rules; the window holds the job state, the upper strip and
// the moves between pages.
class Wizard {
public:
    virtual Ui::TForm1& form() = 0;
    // The window that message boxes and dialogs belong to.
    virtual QWidget* dialogParent() = 0;
    virtual PlatformServices& services() = 0;
    virtual CompanionWindows& companions() = 0;
    virtual JobState& job() = 0;
    virtual WorkingPictures& workingPictures() = 0;
    // Where rename runs keep their journals (beside the settings file), so
    // that the last rename of a folder can be undone.
    virtual QString renameJournalFolder() const = 0;

    // Hides the tab of the page shown; shows, enables and activates `page`;
    // loads its help text into the help box.
    virtual void goToPage(WizardPage page) = 0;
    // Fixes the job's mode as page 1 is left and sets the later pages up
    // for it (the output page's controls, the summary's thumbnail rows).
    virtual void setMode(JobMode mode) = 0;
    // Shows the job's source files in the upper strip ("Source Files: n").
    virtual void showSourceList() = 0;
    // Empties the upper strip's list ("Source Files: 0"); the job keeps its files.
    virtual void clearSourceListView() = 0;
    // GO: runs the job on the processing page.
    virtual void startRun() = 0;
    // An error box, for failures the user cannot act on.
    virtual void showError(const QString& text) = 0;

protected:
    ~Wizard() = default;
};

// Hover colours of the wizard's gradient buttons: lime over grey while the
// mouse is over the button, grey when it leaves. GO goes lime over green.
void useWizardHoverColours(GradientButton* button);
void useGoHoverColours(GradientButton* button);

}  // namespace tessaly
