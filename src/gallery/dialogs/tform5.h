#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TForm5;
}

namespace tessaly {

// Explains the link options of the HTML Options dialog. The text can be
// scrolled and typed into; each showing starts from the original text.
class TForm5 : public QDialog {
    Q_OBJECT
public:
    explicit TForm5(QWidget* parent = nullptr);
    ~TForm5() override;

    Ui::TForm5& form() { return *m_ui; }
    static QString helpText();

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::TForm5> m_ui;
};

}  // namespace tessaly
