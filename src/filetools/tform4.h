#pragma once

#include "settings/inifile.h"

#include <QDialog>
#include <memory>

namespace Ui {
class TForm4;
}

namespace tessaly {

class MessageService;

// Asks before files are deleted, and whether they go to the trash (a
// choice kept in the settings file). Yes accepts, No (or Escape) rejects.
class TForm4 : public QDialog {
    Q_OBJECT
public:
    TForm4(MessageService& messages, IniFile settings, QWidget* parent = nullptr);
    ~TForm4() override;
    // Writes this window's share of the settings file; a failure is shown.
    // The program calls it when it closes its windows (ApplicationWindows::
    // close); destroying the window writes nothing.
    void FormDestroy();

    Ui::TForm4& form() { return *m_ui; }
    void setQuestion(int fileCount);
    bool toTrash() const;

    // Shows the help text about the trash choice.
    void Image1Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();

    std::unique_ptr<Ui::TForm4> m_ui;
    MessageService& m_messages;
    IniFile m_settings;
};

}  // namespace tessaly
