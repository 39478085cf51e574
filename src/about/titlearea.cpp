#include "about/titlearea.h"

#include "about/helpdocument.h"
#include "about/helpwindow.h"
#include "about/tfabout.h"
#include "platform/paths.h"

#include <QAbstractButton>

namespace tessaly {

TitleArea::TitleArea(QWidget* mainWindow, const Buttons& buttons, PlatformServices& services)
    : QObject(mainWindow),
      m_mainWindow(mainWindow),
      m_services(services),
      m_helpFiles(helpFileCandidates(paths::programFolder()))
{
    m_reset.main = mainWindow;
    connect(buttons.sbAbout, &QAbstractButton::clicked, this, &TitleArea::sbAboutClick);
    connect(buttons.SpeedButton3, &QAbstractButton::clicked, this, &TitleArea::SpeedButton3Click);
    connect(buttons.sbDefaults, &QAbstractButton::clicked, this, &TitleArea::sbDefaultsClick);
}

TitleArea::~TitleArea() = default;

void TitleArea::setResetWindows(QWidget* htmlOptions, QWidget* outputLocation, QWidget* deletion,
                                std::function<bool(QWidget*, const QColor&)> setColour)
{
    m_reset.htmlOptions = htmlOptions;
    m_reset.outputLocation = outputLocation;
    m_reset.deletion = deletion;
    m_reset.setColour = std::move(setColour);
}

void TitleArea::sbAboutClick()
{
    if (!m_about) {
        m_ownAbout = std::make_unique<TfAbout>(m_services.shell, projectHomepage(), m_mainWindow);
        m_about = m_ownAbout.get();
    }
    m_services.dialogs.run(*m_about);
}

void TitleArea::SpeedButton3Click()
{
    // The help has a window of its own beside the main window, made on first
    // use; a missing help file is reported there and touches nothing else.
    if (!m_help)
        m_help = std::make_unique<HelpWindow>();
    m_help->openHelp(m_helpFiles);
}

void TitleArea::sbDefaultsClick()
{
    resetToDefaults(m_services.messages, m_mainWindow, m_reset);
}

}  // namespace tessaly
