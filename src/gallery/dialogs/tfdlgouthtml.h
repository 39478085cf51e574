#pragma once

#include "platform/services.h"
#include "settings/inifile.h"

#include <QDialog>
#include <memory>
#include <optional>

class QMenu;

namespace Ui {
class TfDlgOutHTML;
}

namespace tessaly {

class TForm4;

// Where a gallery goes: a folder (without a trailing separator, except the
// root) and the page's file name.
struct HtmlLocation {
    QString folder;
    QString fileName;
    // The folder and the name joined with one separator.
    QString path() const;
};

// "Specify location of HTML": the folder and file name of a gallery, with
// a little housekeeping on the HTML files already in the folder. The file
// name is kept in the settings file from one run of the program to the
// next; the folder starts at the folder of the last run's first output.
class TfDlgOutHTML : public QDialog {
    Q_OBJECT
public:
    TfDlgOutHTML(PlatformServices& services, IniFile settings, TForm4& confirm, QWidget* parent = nullptr);
    // Saves the file name to the settings file.
    ~TfDlgOutHTML() override;
    // Writes this window's share of the settings file; a failure is shown.
    // The program calls it when it closes its windows (ApplicationWindows::
    // close); destroying the window writes nothing.
    void FormDestroy();

    Ui::TfDlgOutHTML& form() { return *m_ui; }

    // Shows the dialog modally, starting at the folder of `firstOutputPath`
    // (the first file the last batch run wrote; empty keeps the folder of
    // the last showing). The chosen location, or nothing when cancelled.
    std::optional<HtmlLocation> ask(const QString& firstOutputPath);

    // The output path whose folder the next showing starts at.
    void setFirstOutputPath(const QString& path) { m_firstOutputPath = path; }
    HtmlLocation location() const;
    // Reads the folders and the file list again (the main window's
    // "Refresh Directory & File lists" ends here).
    void refreshFolders();

protected:
    void showEvent(QShowEvent* event) override;

private slots:
    void FormShow();
    void lbFilesClick();
    void lbFilesKeyDown();
    void BitBtn1Click();
    void OpeninNotepad1Click();
    void SelectAll1Click();
    void DeSelectAll1Click();
    void InvertSelection1Click();
    void DeleteSelectedFiles1Click();

private:
    void FormCreate();
    void pmPopup();

    std::unique_ptr<Ui::TfDlgOutHTML> m_ui;
    PlatformServices& m_services;
    IniFile m_settings;
    TForm4& m_confirm;
    QMenu* m_pm;
    QString m_firstOutputPath;
};

}  // namespace tessaly
