#pragma once

#include <QDialog>
#include <memory>

class QPixmap;

namespace Ui {
class TForm2;
}

namespace tessaly {

// The preview window: one picture at full size, without scaling, its image
// information as hint. It is made once at start-up, shown without blocking
// the main window, and keeps its picture while hidden. Its caption names the
// file of the last picture previewed. A click on the picture (or Escape)
// closes it.
class TForm2 : public QDialog {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);
    ~TForm2() override;

    Ui::TForm2& form() { return *m_ui; }

    // Replaces the picture and the hint, sizes the client area to the
    // picture, places the window 5 pixels from the screen's left and top
    // edges and shows it.
    void showPicture(const QPixmap& picture, const QString& hint);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void Image1Click();

private:
    std::unique_ptr<Ui::TForm2> m_ui;
};

}  // namespace tessaly
