#pragma once

#include <QList>
#include <QObject>

namespace Ui {
class TForm1;
}

namespace tessaly {

class Wizard;

// Page 3, "Thumbnail Options" (`tsTO`), reached in thumbnail mode only:
// resize speed, thumbnail size, keeping the aspect ratio, forcing the
// width or the height, and turning photos upright.
class ThumbnailPage : public QObject {
    Q_OBJECT
public:
    ThumbnailPage(Wizard& wizard, QObject* parent = nullptr);

    // The page's controls in reading order, the order of the Tab key.
    QList<QWidget*> tabOrder() const;

private slots:
    void cbRatioClick();
    void cbFWidthClick();
    void cbFHeightClick();
    void bBck2Click();
    void bNxt3Click();

private:
    Wizard& m_wizard;
    Ui::TForm1& m_ui;
};

}  // namespace tessaly
