#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class THRFPrmpt;
}

namespace tessaly {

// Asks whether links to the original pictures should be switched on, which
// a frames gallery needs, and in which link mode. Yes accepts, No gives
// `No`, Cancel, Escape and closing reject.
class THRFPrmpt : public QDialog {
    Q_OBJECT
public:
    enum Answer { Cancel = QDialog::Rejected, Yes = QDialog::Accepted, No = 2 };

    explicit THRFPrmpt(QWidget* parent = nullptr);
    ~THRFPrmpt() override;

    Ui::THRFPrmpt& form() { return *m_ui; }

    // What the local and the relative mode put in the field. The explicit
    // mode always offers "http://".
    void setSourceFolder(const QString& folder) { m_sourceFolder = folder; }
    void setRelativePrefix(const QString& prefix) { m_relativePrefix = prefix; }
    // Puts `prefix` in the field, then selects `mode`; a changed mode fills
    // the field with its own prefix.
    void prepare(const QString& prefix, int mode);
    int linkMode() const;

private:
    void FormCreate();
    void rgHREFClick(int index);

    std::unique_ptr<Ui::THRFPrmpt> m_ui;
    QString m_explicitPrefix;
    QString m_relativePrefix;
    QString m_sourceFolder;
};

}  // namespace tessaly
