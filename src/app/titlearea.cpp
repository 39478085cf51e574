#include "app/titlearea.h"

#include "about/helpdocument.h"
#include "about/helpwindow.h"
#include "about/tfabout.h"
#include "platform/installlayout.h"
#include "platform/paths.h"
#include "ui_tform1.h"

#include <QAbstractButton>
#include <QIcon>
#include <QStyle>

namespace tessaly {

TitleArea::TitleArea(QWidget* mainWindow, const Ui::TForm1& ui, PlatformServices& services)
    : QObject(mainWindow),
      m_mainWindow(mainWindow),
      m_services(services),
      m_helpFiles(installlayout::helpFileCandidates(paths::programFolder(), kHelpDocument))
{
    m_reset.main = mainWindow;
    // Buttons that show only an icon: screen readers announce the hint.
    for (QAbstractButton* button : {ui.sbAbout, ui.SpeedButton3, ui.sbDefaults})
        if (button->accessibleName().isEmpty())
            button->setAccessibleName(button->toolTip());
    // The desktop theme's help icon; the style's own "help button" icon is
    // drawn as arrows by some styles, so the fallback is the question mark.
    ui.SpeedButton3->setIcon(QIcon::fromTheme(
        QStringLiteral("help-contents"), mainWindow->style()->standardIcon(QStyle::SP_TitleBarContextHelpButton)));
    connect(ui.sbAbout, &QAbstractButton::clicked, this, &TitleArea::sbAboutClick);
    connect(ui.SpeedButton3, &QAbstractButton::clicked, this, &TitleArea::SpeedButton3Click);
    connect(ui.sbDefaults, &QAbstractButton::clicked, this, &TitleArea::sbDefaultsClick);
}

TitleArea::~TitleArea() = default;

void TitleArea::setHtmlOptionsWindow(QWidget* htmlOptions, std::function<bool(QWidget*, const QColor&)> setColour)
{
    m_reset.htmlOptions = htmlOptions;
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
