#pragma once

#include <QObject>
#include <functional>

namespace Ui {
class TForm1;
}

namespace tessaly {

class Wizard;

// Page 5, "Processing..." (`tsP`): one batch run with its counter and
// progress bar, Cancel while it goes, then how it ended with "OK!" (back to
// page 1) and "Do HTML!" (the gallery of the run's files).
class ProcessingPage : public QObject {
    Q_OBJECT
public:
    ProcessingPage(Wizard& wizard, QObject* parent = nullptr);

    // Runs the job over the source files, from GO until the run has ended.
    void run();
    // Called after each file, once the window has handled its pending events.
    void setBetweenFiles(std::function<void()> hook) { m_betweenFiles = std::move(hook); }

private slots:
    void bCancelOpClick();
    void bStartOverClick();

private:
    void showUpperStrip(bool shown);

    Wizard& m_wizard;
    Ui::TForm1& m_ui;
    std::function<void()> m_betweenFiles;
};

}  // namespace tessaly
