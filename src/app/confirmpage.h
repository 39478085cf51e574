#pragma once

#include <QList>
#include <QObject>

namespace Ui {
class TForm1;
}

namespace tessaly {

class Wizard;

// Page 4, "Confirm Selections" (`tsCS`): the job repeated in words, rebuilt
// from the other pages' controls each time the page is shown, the JPEG
// quality, the overwrite box, and GO. "Show new names..." lists the names
// the run would give before anything is written.
class ConfirmPage : public QObject {
    Q_OBJECT
public:
    ConfirmPage(Wizard& wizard, QObject* parent = nullptr);

    // The page's controls in reading order, the order of the Tab key.
    QList<QWidget*> tabOrder() const;

    // Shows the summary's thumbnail rows (resize speed and size) in
    // thumbnail mode and hides them otherwise.
    void showThumbnailRows(bool shown);

private slots:
    void tsCSShow();
    void tbJpgChange();
    void bBck3Click();
    void bGOClick();
    void bShowNamesClick();

private:
    void setSentence(const QString& text);
    void fitSentence();

    Wizard& m_wizard;
    Ui::TForm1& m_ui;
};

}  // namespace tessaly
