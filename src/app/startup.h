#pragma once

#include "platform/services.h"

#include <memory>

namespace tessaly {

class TForm1;
class TForm3;

// Every window of the program, made once at start-up in a fixed order and
// destroyed in the reverse order at the end.
class ApplicationWindows {
public:
    explicit ApplicationWindows(PlatformServices& services);
    ~ApplicationWindows();

    TForm1& mainWindow() { return *m_form1; }
    TForm3& duplicateWarning() { return *m_form3; }

private:
    std::unique_ptr<TForm1> m_form1;
    std::unique_ptr<TForm3> m_form3;
};

// Shows the splash for `splashMilliseconds`, makes the windows, frees the
// splash and runs the event loop until the main window closes.
int runApplication(PlatformServices& services, int splashMilliseconds);

}  // namespace tessaly
