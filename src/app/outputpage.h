#pragma once

#include "app/wizardrules.h"

#include <QObject>

class QMenu;

namespace Ui {
class TForm1;
}

namespace tessaly {

class Wizard;

// Page 2, "Ouput File Options" (`tsOFO`): rename in place or copy/convert,
// the output folder and its files, the output type, the qualifier, the
// sequence text and the naming option, and the popup menu `pm2` of the
// output tree and list. Which of its controls show depends on the mode.
class OutputPage : public QObject {
    Q_OBJECT
public:
    OutputPage(Wizard& wizard, QObject* parent = nullptr);

    QMenu* pm2() const { return m_pm2; }
    // Sets the page up as page 1 is left in `mode`: the controls of the
    // mode, the sequence field of the naming option, and the output folder
    // starting at the input folder.
    void setUpForMode(JobMode mode);

private slots:
    void tsOFOShow();
    void fNewDirChange();
    void rbRenameOnlyClick();
    void cbNameOptionChange();
    void sbShowAllClick();
    void sbShowGrafxClick();
    void SpeedButton1Click();
    void bBck1Click();
    void bNxt2Click();

private:
    void buildPopupMenu();
    void connectControls();
    void applyVisibility(const ModeVisibility& shown);
    bool renamingInPlace() const;

    Wizard& m_wizard;
    Ui::TForm1& m_ui;
    QMenu* m_pm2 = nullptr;
};

}  // namespace tessaly
