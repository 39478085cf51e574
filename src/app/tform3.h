#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TForm3;
}

namespace tessaly {

// The warning about two selected files whose names differ only in their
// type: OK goes on, Cancel (or closing) goes back to the file selection.
class TForm3 : public QDialog {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);
    ~TForm3() override;

    Ui::TForm3& form() { return *m_ui; }
    void setNames(const QString& first, const QString& second);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();

    std::unique_ptr<Ui::TForm3> m_ui;
};

}  // namespace tessaly
