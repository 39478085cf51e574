#pragma once

#include <QObject>

namespace Ui {
class TForm1;
}

namespace tessaly {

class Wizard;

// Page 3, "Thumbnail Options" (`tsTO`), reached in thumbnail mode only:
// resize speed, thumbnail size, keeping the aspect ratio and forcing the
// width or the height.
class ThumbnailPage : public QObject {
    Q_OBJECT
public:
    ThumbnailPage(Wizard& wizard, QObject* parent = nullptr);

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
