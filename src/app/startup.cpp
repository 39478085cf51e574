#include "app/startup.h"

#include "about/tfabout.h"
#include "about/tfsplasher.h"
#include "app/titlearea.h"
#include "app/tform1.h"
#include "app/tform3.h"
#include "filetools/tform2.h"
#include "filetools/tform4.h"
#include "gallery/dialogs/colorpickerreset.h"
#include "gallery/dialogs/tform5.h"
#include "gallery/dialogs/tform6.h"
#include "gallery/dialogs/thrfprmpt.h"
#include "gallery/dialogs/tfdlgouthtml.h"
#include "viewer/tfhtm.h"
#include "widgets/windowplacement.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QThread>

namespace tessaly {

// The windows are made in the program's start-up order: main window,
// preview, duplicate warning, deletion confirmation, HTML viewer, About box,
// HTML Options, its link help, HTML output location, HREF prompt.
ApplicationWindows::ApplicationWindows(PlatformServices& services, const IniFile& settings)
    : m_fitter(installScreenFitter()),
      m_form1(std::make_unique<TForm1>(services, settings, *this)),
      m_form2(std::make_unique<TForm2>(m_form1.get())),
      m_form3(std::make_unique<TForm3>(m_form1.get())),
      m_form4(std::make_unique<TForm4>(services.messages, settings, m_form1.get())),
      // A window of its own beside the main window, which it never blocks.
      m_htm(std::make_unique<TfHTM>(services, m_form1.get())),
      m_about(std::make_unique<TfAbout>(services.shell, projectHomepage(), m_form1.get())),
      m_form6(std::make_unique<TForm6>(services, settings, nullptr, m_form1.get())),
      m_form5(std::make_unique<TForm5>(m_form6.get())),
      m_dlgOutHtml(std::make_unique<TfDlgOutHTML>(services, settings, *m_form4, m_form1.get())),
      m_hrefPrompt(std::make_unique<THRFPrmpt>(m_form6.get()))
{
    m_form6->setCompanions(m_form5.get(), m_hrefPrompt.get());
    m_form1->titleArea().setAboutBox(m_about.get());
    m_form1->titleArea().setDeletionWindow(m_form4.get());
    m_form1->titleArea().setOutputLocationWindow(m_dlgOutHtml.get());
    m_form1->titleArea().setHtmlOptionsWindow(m_form6.get(), setColorPicker);
}

std::unique_ptr<ScreenFitter> ApplicationWindows::installScreenFitter()
{
    auto fitter = std::make_unique<ScreenFitter>();
    QApplication::instance()->installEventFilter(fitter.get());
    return fitter;
}

ApplicationWindows::~ApplicationWindows()
{
    destroy();
}

void ApplicationWindows::close()
{
    if (!m_form1)
        return;
    m_dlgOutHtml->FormDestroy();
    m_form6->FormDestroy();
    m_form4->FormDestroy();
    m_form1->FormDestroy();
    destroy();
}

void ApplicationWindows::destroy()
{
    m_hrefPrompt.reset();
    m_dlgOutHtml.reset();
    m_form5.reset();
    m_form6.reset();
    m_about.reset();
    m_htm.reset();
    m_form4.reset();
    m_form3.reset();
    m_form2.reset();
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
    const int status = QApplication::exec();
    windows.close();
    return status;
}

}  // namespace tessaly
