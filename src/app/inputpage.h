#pragma once

#include <QList>
#include <QObject>

class QAction;
class QMenu;

namespace Ui {
class TForm1;
}

namespace tessaly {

class Wizard;

// Page 1, "Input File Selection" (`tsIFS`): the input folder and its files,
// the file mask, the choice between thumbnails and rename/copy/convert, the
// selection buttons, deleting files, and the popup menu `pm1` of the input
// tree and list, whose last item undoes the folder's last rename run.
// "Next =>" checks the selection and leaves for page 2.
class InputPage : public QObject {
    Q_OBJECT
public:
    InputPage(Wizard& wizard, QObject* parent = nullptr);

    // The page's controls in reading order, the order of the Tab key.
    QList<QWidget*> tabOrder() const;

    QMenu* pm1() const { return m_pm1; }

private slots:
    void tsIFSShow();
    void fDirChange();
    void rbThumbsClick();
    void cbMaskChange();
    void bSelAllClick();
    void bDeSelAllClick();
    void bInvertSelClick();
    void bNxt1Click();
    void bDelSelClick();
    void pm1Popup();
    void UndoLastRename1Click();

private:
    void buildPopupMenu();
    void connectControls();

    Wizard& m_wizard;
    Ui::TForm1& m_ui;
    QMenu* m_pm1 = nullptr;
    QAction* m_undoRename = nullptr;
};

}  // namespace tessaly
