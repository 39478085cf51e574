#include "app/tform1.h"

#include "app/confirmpage.h"
#include "app/helptexts.h"
#include "app/inputpage.h"
#include "app/outputpage.h"
#include "app/processingpage.h"
#include "app/thumbnailpage.h"
#include "platform/paths.h"
#include "settings/mainsettings.h"
#include "ui_tform1.h"
#include "widgets/windowplacement.h"

#include <QCloseEvent>
#include <QStyle>

namespace tessaly {

TForm1::TForm1(PlatformServices& services, IniFile settings, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_ui(std::make_unique<Ui::TForm1>()),
      m_services(services),
      m_settings(std::move(settings))
{
    m_ui->setupUi(this);
    setFixedSize(536, 453);
    centreOnScreen(*this);
    setUpUpperStrip();
    m_inputPage = new InputPage(*this, this);
    m_outputPage = new OutputPage(*this, this);
    m_thumbnailPage = new ThumbnailPage(*this, this);
    m_confirmPage = new ConfirmPage(*this, this);
    m_processingPage = new ProcessingPage(*this, this);
    connectTitleButtons();
    FormCreate();
}

TForm1::~TForm1()
{
    FormDestroy();
}

QMenu* TForm1::pm1() const
{
    return m_inputPage->pm1();
}

QMenu* TForm1::pm2() const
{
    return m_outputPage->pm2();
}

void TForm1::setBetweenFiles(std::function<void()> hook)
{
    m_processingPage->setBetweenFiles(std::move(hook));
}

// The upper strip: the mode label, the preview, the source list with the
// input folder's label, the help box, and the title-area buttons.
void TForm1::setUpUpperStrip()
{
    Ui::TForm1& ui = *m_ui;
    ui.lHH1->setText(texts::kHelpInput);
    ui.lHH2->setText(texts::kHelpOutput);
    ui.lHH3->setText(texts::kHelpThumbnails);
    ui.lHH4->setText(texts::kHelpConfirm);
    ui.lHH5->setText(texts::kHelpProcessing);

    // The input tree keeps the input list and the folder label of the strip
    // on its folder.
    ui.fDir->setFileList(ui.fBox);
    ui.fDir->setFolderLabel(ui.lDir);
    ui.fBox->attachServices(m_services.messages, m_services.shell);
    ui.fNewBox->attachServices(m_services.messages, m_services.shell);
    ui.fBox->setMultiSelect(true);
    ui.fBox->setMask(texts::kDefaultMask);

    QStyle* look = style();
    ui.sbDefaults->setIcon(look->standardIcon(QStyle::SP_DialogResetButton));
    ui.bRefreshView->setIcon(look->standardIcon(QStyle::SP_BrowserReload));
    ui.SpeedButton2->setIcon(look->standardIcon(QStyle::SP_DirOpenIcon));
    ui.sbAbout->setIcon(look->standardIcon(QStyle::SP_MessageBoxInformation));
    ui.SpeedButton3->setIcon(look->standardIcon(QStyle::SP_DialogHelpButton));
}

// The title-area buttons serve every page: reset to defaults (`sbDefaults`),
// refresh the lists (`bRefreshView`), launch the file manager
// (`SpeedButton2`), the About box (`sbAbout`) and help (`SpeedButton3`).
// Their handlers are wired here, and the preview of a clicked `lbMFL` entry
// with them.
void TForm1::connectTitleButtons() {}

void TForm1::FormCreate()
{
    try {
        Ui::TForm1& ui = *m_ui;
        ui.fDir->setFolder(paths::rootOfWorkingFolder());
        ui.fNewDir->setFolder(paths::rootOfWorkingFolder());
        for (QWidget* page : {ui.tsOFO, ui.tsCS, ui.tsTO, ui.tsP})
            ui.pcMain->setTabVisible(ui.pcMain->indexOf(page), false);
        m_job.SourceList.clear();
        ui.cbNameOption->setCurrentIndex(0);
        loadHelp(ui.lHH1->text());
        m_pictures = std::make_unique<WorkingPictures>();
        loadSettings();
    } catch (const FolderNotFound& missing) {
        showError(missing.message());
    } catch (const std::exception& error) {
        showError(QString::fromLocal8Bit(error.what()));
    }
    if (!m_pictures)
        m_pictures = std::make_unique<WorkingPictures>();
}

void TForm1::FormDestroy()
{
    try {
        saveSettings();
    } catch (const SettingsWriteError& error) {
        showError(error.message());
    } catch (const std::exception& error) {
        showError(QString::fromLocal8Bit(error.what()));
    }
    m_job.SourceList.clear();
    m_pictures.reset();
}

void TForm1::loadSettings()
{
    Ui::TForm1& ui = *m_ui;
    // A saved folder of which nothing is left raises the tree's error, which
    // ends the load here: the keys after it keep their defaults.
    ui.fDir->setFolder(readInputFolder(m_settings));
    ui.fNewDir->setFolder(readOutputFolder(m_settings));
    const ThumbnailSettings saved = readThumbnailSettings(m_settings);
    ui.rgResize->setItemIndex(indexOf(saved.resizeSpeed));
    ui.eWidth->setText(saved.thumbWidth);
    ui.eHeight->setText(saved.thumbHeight);
    ui.cbRatio->setChecked(saved.keepRatio);
    // Checking one force box clears the other, so Force Height wins a tie.
    ui.cbFWidth->setChecked(saved.forceWidth);
    ui.cbFHeight->setChecked(saved.forceHeight);
    if (saved.createAs)
        ui.cbConvert->setCurrentIndex(indexOf(*saved.createAs));
    if (saved.naming)
        ui.cbNameOption->setCurrentIndex(indexOf(*saved.naming));
    ui.ePreT->setText(saved.thumbQualifier);
    ui.tbJpg->setValue(saved.jpegQuality);
    ui.cbOverWrite->setChecked(saved.overwrite);
}

void TForm1::saveSettings()
{
    const Ui::TForm1& ui = *m_ui;
    MainSettings settings;
    settings.inputFolder = ui.fDir->folder();
    settings.outputFolder = ui.fNewDir->folder();
    settings.resizeSpeed = ui.rgResize->itemIndex() == 1 ? ResizeSpeed::Quality : ResizeSpeed::Fast;
    settings.thumbWidth = ui.eWidth->text();
    settings.thumbHeight = ui.eHeight->text();
    settings.keepRatio = ui.cbRatio->isChecked();
    settings.forceWidth = ui.cbFWidth->isChecked();
    settings.forceHeight = ui.cbFHeight->isChecked();
    settings.createAs = ui.cbConvert->currentText();
    settings.naming = namingOptionFromIndex(ui.cbNameOption->currentIndex());
    settings.thumbQualifier = ui.ePreT->text();
    settings.jpegQuality = ui.tbJpg->value();
    settings.overwrite = ui.cbOverWrite->isChecked();
    writeMainSettings(m_settings, settings);
}

void TForm1::showError(const QString& text)
{
    m_services.messages.error(this, text);
}

void TForm1::goToPage(WizardPage page)
{
    Ui::TForm1& ui = *m_ui;
    struct Step {
        QWidget* page;
        QLabel* help;
    };
    const Step steps[] = {
        {ui.tsIFS, ui.lHH1}, {ui.tsOFO, ui.lHH2}, {ui.tsTO, ui.lHH3}, {ui.tsCS, ui.lHH4}, {ui.tsP, ui.lHH5}};
    const Step& to = steps[int(page)];
    QTabWidget* pages = ui.pcMain;
    const int fromIndex = pages->currentIndex();
    const int toIndex = pages->indexOf(to.page);
    // The new tab is shown and made current before the old one is hidden, so
    // that the tab bar never passes through a third page.
    pages->setTabVisible(toIndex, true);
    pages->setTabEnabled(toIndex, true);
    to.page->setEnabled(true);
    pages->setCurrentIndex(toIndex);
    if (fromIndex != toIndex)
        pages->setTabVisible(fromIndex, false);
    loadHelp(to.help->text());
}

void TForm1::loadHelp(const QString& text)
{
    m_ui->mHelp->clear();
    m_ui->mHelp->setPlainText(texts::asDisplayText(text));
    m_ui->mHelp->moveCursor(QTextCursor::Start);
    m_ui->mHelp->ensureCursorVisible();
}

void TForm1::setMode(JobMode mode)
{
    m_job.mode = mode;
    m_outputPage->setUpForMode(mode);
    m_confirmPage->showThumbnailRows(mode == JobMode::Thumbnails);
}

void TForm1::showSourceList()
{
    m_ui->lbMFL->clear();
    m_ui->lbMFL->addItems(m_job.SourceList);
    m_ui->lMFL->setText(QStringLiteral("Source Files: %1").arg(m_job.SourceList.size()));
}

void TForm1::clearSourceListView()
{
    m_ui->lbMFL->clear();
    m_ui->lMFL->setText(QStringLiteral("Source Files: 0"));
}

void TForm1::startRun()
{
    m_processingPage->run();
}

void TForm1::closeEvent(QCloseEvent* event)
{
    // Closing during a run stops it after the file in hand, like Cancel.
    if (m_job.running)
        m_job.run.CancelRequested = true;
    QWidget::closeEvent(event);
}

}  // namespace tessaly
