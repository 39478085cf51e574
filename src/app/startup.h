#pragma once

#include "app/startselection.h"
#include "app/wizard.h"
#include "platform/services.h"
#include "settings/inifile.h"

#include <memory>

namespace tessaly {

class TForm1;
class TForm3;
class TForm4;

// Every window of the program, made once at start-up in a fixed order and
// destroyed in the reverse order at the end.
class ApplicationWindows final : public CompanionWindows {
public:
    ApplicationWindows(PlatformServices& services, const IniFile& settings);
    ~ApplicationWindows();

    TForm1& mainWindow() { return *m_form1; }
    TForm3& duplicateWarning() override { return *m_form3; }
    TForm4& deleteConfirm() override { return *m_form4; }
    // Destroys the windows now, in the reverse order of their creation.
    void destroy();

private:
    std::unique_ptr<TForm1> m_form1;
    std::unique_ptr<TForm3> m_form3;
    std::unique_ptr<TForm4> m_form4;
};

// Shows the splash for `splashMilliseconds`, makes the windows, opens the
// main window at `start` (when it names a folder), frees the splash and runs
// the event loop until the main window closes.
int runApplication(PlatformServices& services, const IniFile& settings, int splashMilliseconds,
                   const StartSelection& start = {});

}  // namespace tessaly
