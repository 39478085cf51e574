#pragma once

#include "batch/processedfiles.h"
#include "gallery/galleryoptions.h"
#include "platform/services.h"
#include "settings/inifile.h"

#include <QDialog>
#include <memory>

namespace Ui {
class TForm6;
}

namespace tessaly {

class ColorChooser;
class TForm5;
class THRFPrmpt;

// The HTML Options dialog: every gallery option, held in its controls from
// start-up to exit (read from the settings file when it is made, written
// when it is destroyed). OK from either page accepts; Cancel, Escape and
// closing reject, and keep whatever was changed for the next showing.
class TForm6 : public QDialog {
    Q_OBJECT
public:
    // Without a chooser the colour buttons open the desktop's colour dialog.
    TForm6(PlatformServices& services, IniFile settings, ColorChooser* colors = nullptr, QWidget* parent = nullptr);
    ~TForm6() override;
    // Writes this window's share of the settings file; a failure is shown.
    // The program calls it when it closes its windows (ApplicationWindows::
    // close); destroying the window writes nothing.
    void FormDestroy();

    Ui::TForm6& form() { return *m_ui; }
    // The help window and the frames prompt, made after this dialog.
    void setCompanions(TForm5* help, THRFPrmpt* prompt);

    // The page folder and the entries of the gallery about to be made; the
    // link prefixes are worked out from them each time the dialog is shown.
    void setGallery(const QString& htmlFolder, const ProcessedFileTable& entries);

    // The options as the controls hold them, the two prefixes as their
    // fields show them.
    GalleryOptions options() const;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setOptions(const GalleryOptions& options);
    void applyDependentControls();

    void FormCreate();
    void FormShow();
    void PageControl1Change(int index);
    void rgHREFClick(int index);
    void rgIMGClick(int index);
    void cbHREFClick(bool checked);
    void eHREFExit();
    void eIMGExit();
    void eBorderEnter();
    void BitBtn1Click();
    void bOKClick();
    void cbUseTableClick(bool checked);
    void cbFramesClick(bool checked);

    std::unique_ptr<Ui::TForm6> m_ui;
    PlatformServices& m_services;
    IniFile m_settings;
    TForm5* m_help = nullptr;
    THRFPrmpt* m_prompt = nullptr;
    // Made on first use when no companions were handed in.
    std::unique_ptr<TForm5> m_ownHelp;
    std::unique_ptr<THRFPrmpt> m_ownPrompt;

    QString m_htmlFolder;
    QString m_sourceFolder;  // with its trailing separator
    QString m_outputFolder;  // with its trailing separator

    QString m_explicitOriginalPrefix;
    QString m_explicitThumbPrefix;
    QString m_relativeOriginalPrefix;
    QString m_relativeThumbPrefix;
    bool m_layoutPageSeen = false;
};

}  // namespace tessaly
