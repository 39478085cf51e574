#pragma once

#include "app/startselection.h"
#include "app/wizard.h"
#include "platform/services.h"
#include "settings/inifile.h"

#include <memory>

namespace tessaly {

class TForm1;
class TForm2;
class TForm3;
class TForm4;
class TfAbout;
class TForm5;
class TForm6;
class TfDlgOutHTML;
class TfHTM;
class THRFPrmpt;
class ScreenFitter;

// Every window of the program, made once at start-up in a fixed order and
// destroyed in the reverse order at the end. The main window, made first,
// is handed this object and asks it for the others when it uses them.
class ApplicationWindows final : public CompanionWindows {
public:
    ApplicationWindows(PlatformServices& services, const IniFile& settings);
    ~ApplicationWindows();

    TForm1& mainWindow() { return *m_form1; }
    TForm2& previewWindow() override { return *m_form2; }
    TForm3& duplicateWarning() override { return *m_form3; }
    TForm4& deleteConfirm() override { return *m_form4; }
    TfHTM& htmlViewer() override { return *m_htm; }
    TfAbout& aboutBox() { return *m_about; }
    TfDlgOutHTML& htmlLocation() override { return *m_dlgOutHtml; }
    TForm6& htmlOptions() override { return *m_form6; }
    TForm5& linkHelp() { return *m_form5; }
    // What closing the program does: each window that keeps settings writes
    // them (FormDestroy), then every window is destroyed, both in the
    // reverse order of their creation.
    void close();
    // Destroys the windows now, in the reverse order of their creation,
    // without writing their settings.
    void destroy();

private:
    static std::unique_ptr<ScreenFitter> installScreenFitter();

    // Fits each window to its screen when it is shown; it outlives them.
    std::unique_ptr<ScreenFitter> m_fitter;
    std::unique_ptr<TForm1> m_form1;
    std::unique_ptr<TForm2> m_form2;
    std::unique_ptr<TForm3> m_form3;
    std::unique_ptr<TForm4> m_form4;
    std::unique_ptr<TfHTM> m_htm;
    std::unique_ptr<TfAbout> m_about;
    std::unique_ptr<TForm6> m_form6;
    std::unique_ptr<TForm5> m_form5;
    std::unique_ptr<TfDlgOutHTML> m_dlgOutHtml;
    std::unique_ptr<THRFPrmpt> m_hrefPrompt;
};

// Shows the splash for `splashMilliseconds`, makes the windows, opens the
// main window at `start` (when it names a folder), frees the splash and runs
// the event loop until the main window closes.
int runApplication(PlatformServices& services, const IniFile& settings, int splashMilliseconds,
                   const StartSelection& start = {});

}  // namespace tessaly
