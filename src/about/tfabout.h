#pragma once

#include "platform/shell.h"

#include <QDialog>
#include <QString>
#include <memory>

class QTimer;

namespace Ui {
class TfAbout;
}

namespace tessaly {

// The pace of the About box's cycle; tests shorten it.
struct AboutTiming {
    int frameInterval = 24;     // milliseconds per frame of the fade
    int blendRate = 54;         // frames from the first picture to the second
    int pauseAfterFade = 1000;  // milliseconds between the fade and the text
    int scrollInterval = 30;    // milliseconds per pixel of scrolling text
};

// The lines that scroll through the About box.
QStringList aboutLines();

// The project's web page, as set when the program was built; empty when it
// has none, and then the About box shows no address.
QString projectHomepage();

// "About Tessaly": a picture that fades from day to night when the mouse
// enters it, then, after a pause, the version and distribution notice
// scrolling through the panel, then the picture again, ready for the next
// fade. Closing the box stops the cycle; it starts over at the picture.
class TfAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfAbout(ShellService& shell, const QString& homepage = projectHomepage(),
                     QWidget* parent = nullptr);
    ~TfAbout() override;

    void setTiming(const AboutTiming& timing);

protected:
    void hideEvent(QHideEvent* event) override;

private slots:
    void FadeFinished();
    void FadeWaitEnded();
    void SPStopPlay();
    void URLLabel1Click();

private:
    std::unique_ptr<Ui::TfAbout> m_ui;
    ShellService& m_shell;
    QString m_homepage;
    QTimer* m_pause;
};

}  // namespace tessaly
