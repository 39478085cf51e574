#include "app/startup.h"

#include "about/tfsplasher.h"
#include "app/tform1.h"
#include "app/tform3.h"
#include "filetools/tform4.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QThread>

namespace tessaly {

ApplicationWindows::ApplicationWindows(PlatformServices& services, const IniFile& settings)
    : m_form1(std::make_unique<TForm1>(services, settings, *this)),
      m_form3(std::make_unique<TForm3>(m_form1.get())),
      m_form4(std::make_unique<TForm4>(services.messages, settings, m_form1.get()))
{
}

ApplicationWindows::~ApplicationWindows()
{
    destroy();
}

void ApplicationWindows::destroy()
{
    // Reverse order of creation: each window saves its settings as it goes.
    m_form4.reset();
    m_form3.reset();
    m_form1.reset();
}

int runApplication(PlatformServices& services, const IniFile& settings, int splashMilliseconds,
                   const StartSelection& start)
{
    auto splash = std::make_unique<TfSplasher>();
    splash->show();
    QApplication::processEvents();
    // The splash stays up for the whole wait; painting requests that arrive
    // meanwhile are served so that it never shows as a blank frame.
    QDeadlineTimer wait(splashMilliseconds);
    while (!wait.hasExpired()) {
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
        QThread::msleep(10);
    }
    splash->repaint();

    ApplicationWindows windows(services, settings);
    applyStartSelection(windows.mainWindow(), start);
    splash->hide();
    splash.reset();

    windows.mainWindow().show();
    return QApplication::exec();
}

}  // namespace tessaly
