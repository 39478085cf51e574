#pragma once

#include "platform/services.h"
#include "app/resetdefaults.h"

#include <QObject>
#include <QStringList>
#include <memory>

class QWidget;

namespace Ui {
class TForm1;
}

namespace tessaly {

class HelpWindow;
class TfAbout;

// The About, help and reset buttons of the main window's title area, wired
// to the About box, the help window and the reset to defaults.
class TitleArea : public QObject {
    Q_OBJECT
public:
    // `mainWindow` holds the form `ui` with the buttons and is where the
    // reset starts; its controls are the main window's share of the reset.
    TitleArea(QWidget* mainWindow, const Ui::TForm1& ui, PlatformServices& services);
    ~TitleArea() override;

    // The About box made at start-up; without one, the first click makes it.
    void setAboutBox(TfAbout* about) { m_about = about; }
    // The dialogs the reset reaches into besides the main window, each
    // handed over when it is made; `setColour` sets one of the HTML Options
    // dialog's colour buttons.
    void setHtmlOptionsWindow(QWidget* htmlOptions, std::function<bool(QWidget*, const QColor&)> setColour);
    void setOutputLocationWindow(QWidget* outputLocation) { m_reset.outputLocation = outputLocation; }
    void setDeletionWindow(QWidget* deletion) { m_reset.deletion = deletion; }
    // Where the help button looks for the help file, most likely first.
    void setHelpFiles(const QStringList& candidates) { m_helpFiles = candidates; }

    TfAbout* aboutBox() const { return m_about; }
    HelpWindow* helpWindow() const { return m_help.get(); }

private slots:
    void sbAboutClick();
    void SpeedButton3Click();
    void sbDefaultsClick();

private:
    QWidget* m_mainWindow;
    PlatformServices& m_services;
    TfAbout* m_about = nullptr;
    std::unique_ptr<TfAbout> m_ownAbout;
    std::unique_ptr<HelpWindow> m_help;
    QStringList m_helpFiles;
    ResetWindows m_reset;
};

}  // namespace tessaly
