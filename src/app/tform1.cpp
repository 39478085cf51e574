#include "app/tform1.h"

#include "app/titlearea.h"
#include "app/confirmpage.h"
#include "app/helptexts.h"
#include "app/inputpage.h"
#include "app/outputpage.h"
#include "app/processingpage.h"
#include "app/thumbnailpage.h"
#include "batch/renamejournal.h"
#include "app/mainfiletools.h"
#include "platform/filenames.h"
#include "platform/paths.h"
#include "settings/mainsettings.h"
#include "ui_tform1.h"
#include "gallery/dialogs/tfdlgouthtml.h"
#include "widgets/windowplacement.h"

#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>
#include <QStyle>
#include <QTabBar>
#include <QToolButton>

namespace tessaly {

TForm1::TForm1(PlatformServices& services, IniFile settings, CompanionWindows& companions, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_ui(std::make_unique<Ui::TForm1>()),
      m_services(services),
      m_settings(std::move(settings)),
      m_windows(companions)
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
    setUpFileTools();
    setUpKeyboard();
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::setUpFileTools()
{
    Ui::TForm1& ui = *m_ui;
    m_fileTools = new MainFileTools(
        ui, pm1(), pm2(), [this]() -> TForm2& { return m_windows.previewWindow(); }, m_services, this);
    // "Refresh Directory & File lists" ends with the HTML output location's folders.
    m_fileTools->setOutputLocationRefresh([this] { m_windows.htmlLocation().refreshFolders(); });
    // A file renamed by hand keeps its place among the source files.
    connect(m_fileTools, &MainFileTools::fileRenamed, this, [this](const QString& from, const QString& to) {
        if (paths::folderOf(from) != paths::folderOf(to))
            return;
        const qsizetype at = m_job.SourceList.indexOf(paths::fileNameOf(from));
        if (at < 0)
            return;
        m_job.SourceList[at] = paths::fileNameOf(to);
        if (QListWidgetItem* shown = m_ui->lbMFL->item(int(at)))
            shown->setText(displayFileName(m_job.SourceList[at]));
    });
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
    ui.fDir->setAccessibleName(QStringLiteral("Input folders"));
    ui.fBox->setAccessibleName(QStringLiteral("Input files"));
    ui.fNewDir->setAccessibleName(QStringLiteral("Output folders"));
    ui.fNewBox->setAccessibleName(QStringLiteral("Output files"));
    ui.lbMFL->setAccessibleName(QStringLiteral("Source files"));
    ui.mHelp->setAccessibleName(QStringLiteral("Helpful hints"));

    // The desktop theme's icons where it has them, the style's otherwise.
    // (The style's own "help" icon is a move arrow in some styles, so help
    // falls back to the question mark.)
    QStyle* look = style();
    const struct {
        QToolButton* button;
        const char* themeName;
        QStyle::StandardPixmap fallback;
    } icons[] = {
        {ui.sbDefaults, "edit-undo", QStyle::SP_DialogResetButton},
        {ui.bRefreshView, "view-refresh", QStyle::SP_BrowserReload},
        {ui.SpeedButton2, "system-file-manager", QStyle::SP_DirOpenIcon},
        {ui.sbAbout, "help-about", QStyle::SP_MessageBoxInformation},
        {ui.SpeedButton3, "help-contents", QStyle::SP_MessageBoxQuestion},
    };
    for (const auto& entry : icons) {
        entry.button->setIcon(
            QIcon::fromTheme(QString::fromLatin1(entry.themeName), look->standardIcon(entry.fallback)));
        // Screen readers name a button without text by its hint.
        entry.button->setAccessibleName(entry.button->toolTip());
    }
}

// The title-area buttons serve every page: reset to defaults (`sbDefaults`),
// refresh the lists (`bRefreshView`), launch the file manager
// (`SpeedButton2`), the About box (`sbAbout`) and help (`SpeedButton3`).
// Their handlers are wired here, and the preview of a clicked `lbMFL` entry
// with them.
void TForm1::connectTitleButtons()
{
    Ui::TForm1& ui = *m_ui;
    m_titleArea = new TitleArea(this, ui, m_services);
}

// Tab follows the reading order: the upper strip, then each page's controls
// (only the shown page's can take the focus). The single tab of the page
// control is no stop of its own.
void TForm1::setUpKeyboard()
{
    Ui::TForm1& ui = *m_ui;
    ui.pcMain->setFocusPolicy(Qt::NoFocus);
    ui.pcMain->tabBar()->setFocusPolicy(Qt::NoFocus);
    ui.mHelp->setTabChangesFocus(true);
    QList<QWidget*> order = {ui.sbDefaults,   ui.bRefreshView, ui.SpeedButton2, ui.sbAbout,
                             ui.SpeedButton3, ui.lbMFL,        ui.mHelp};
    order << m_inputPage->tabOrder() << m_outputPage->tabOrder() << m_thumbnailPage->tabOrder()
          << m_confirmPage->tabOrder() << m_processingPage->tabOrder();
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    for (QAbstractButton* button : findChildren<QAbstractButton*>())
        if (qobject_cast<QPushButton*>(button) || qobject_cast<QToolButton*>(button))
            button->installEventFilter(this);
    setUpAccessKeys();
    ui.bNxt1->setFocus();
}

// Enter presses the focused button, as Space does (push buttons take Enter
// themselves only in dialogs). The key must have been sent to that button:
// an Enter another control passed on (a line edit's) presses nothing.
bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        auto* button = qobject_cast<QAbstractButton*>(watched);
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && button && button->hasFocus() &&
            button->isEnabled()) {
            button->click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// Alt and a letter of the caption presses a button of the page shown (a
// hidden page's buttons take no keys, so pages may share letters). Each
// letter is one of the caption's own, which shows it underlined.
void TForm1::setUpAccessKeys()
{
    Ui::TForm1& ui = *m_ui;
    const struct {
        QAbstractButton* button;
        QChar letter;
    } keys[] = {
        {ui.rbThumbs, u'T'},     {ui.rbRename, u'R'},    {ui.bSelAll, u'A'},     {ui.bDeSelAll, u'D'},
        {ui.bInvertSel, u'I'},   {ui.bDelSel, u'F'},     {ui.bRenInd, u'M'},     {ui.bNxt1, u'N'},
        {ui.rbRenameOnly, u'R'}, {ui.rbCpyCvrt, u'C'},   {ui.sbShowAll, u'A'},   {ui.sbShowGrafx, u'G'},
        {ui.bBck1, u'B'},        {ui.bNxt2, u'N'},       {ui.cbRatio, u'r'},     {ui.cbFWidth, u'W'},
        {ui.cbFHeight, u'H'},    {ui.cbUpright, u'u'},   {ui.bBck2, u'B'},       {ui.bNxt3, u'N'},
        {ui.bShowNames, u'S'},   {ui.cbOverWrite, u'O'}, {ui.bBck3, u'B'},       {ui.bGO, u'G'},
        {ui.bCancelOp, u'C'},    {ui.bStartOver, u'O'},  {ui.bHTML, u'H'},
    };
    for (const auto& key : keys) {
        QString caption = key.button->text();
        const qsizetype at = caption.indexOf(key.letter);
        if (at >= 0 && !caption.contains(u'&'))
            key.button->setText(caption.insert(at, u'&'));
    }
}

void TForm1::keyPressEvent(QKeyEvent* event)
{
    // Escape during a run is Cancel.
    if (event->key() == Qt::Key_Escape && m_job.running) {
        m_ui->bCancelOp->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TForm1::FormCreate()
{
    try {
        Ui::TForm1& ui = *m_ui;
        ui.fDir->setFolder(paths::startFolder());
        ui.fNewDir->setFolder(paths::startFolder());
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
    ui.cbUpright->setChecked(saved.autoOrient);
    ui.cbKeepInfo->setChecked(saved.keepMetadata);
    ui.cbKeepLocation->setChecked(saved.keepLocation);
    ui.cbKeepLocation->setEnabled(saved.keepMetadata);
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
    settings.autoOrient = ui.cbUpright->isChecked();
    settings.keepMetadata = ui.cbKeepInfo->isChecked();
    settings.keepLocation = ui.cbKeepLocation->isChecked();
    writeMainSettings(m_settings, settings);
}

QString TForm1::renameJournalFolder() const
{
    return journalFolderBeside(m_settings.path());
}

void TForm1::showError(const QString& text)
{
    m_services.messages.error(this, text);
}

void TForm1::goToPage(WizardPage page)
{
    Ui::TForm1& ui = *m_ui;
    // Each page opens with the focus on its way forward (Cancel while a run
    // goes), so that Enter moves on.
    struct Step {
        QWidget* page;
        QLabel* help;
        QWidget* forward;
    };
    const Step steps[] = {{ui.tsIFS, ui.lHH1, ui.bNxt1},
                          {ui.tsOFO, ui.lHH2, ui.bNxt2},
                          {ui.tsTO, ui.lHH3, ui.bNxt3},
                          {ui.tsCS, ui.lHH4, ui.bGO},
                          {ui.tsP, ui.lHH5, ui.bCancelOp}};
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
    to.forward->setFocus();
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
    // Names that are not UTF-8 are shown readably ("caf\xE9.jpg").
    for (const QString& name : m_job.SourceList)
        m_ui->lbMFL->addItem(displayFileName(name));
    m_ui->lMFL->setText(QStringLiteral("Source Files: %1").arg(m_job.SourceList.size()));
}

void TForm1::clearSourceListView()
{
    m_ui->lbMFL->clear();
    m_ui->lMFL->setText(QStringLiteral("Source Files: 0"));
}

void TForm1::startRun()
{
    // The run reads its options from the controls file by file: a reset in
    // the middle would give one batch two sets of options.
    m_ui->sbDefaults->setEnabled(false);
    const auto enableReset = qScopeGuard([this] { m_ui->sbDefaults->setEnabled(true); });
    m_processingPage->run();
}

void TForm1::closeEvent(QCloseEvent* event)
{
    // Closing during a run stops it after the file in hand, like Cancel.
    if (m_job.running)
        m_job.run.CancelRequested = true;
    QWidget::closeEvent(event);
    // Closing the main window ends the program: the other windows (help,
    // viewer, preview) close with it, so that the event loop ends and every
    // window writes its settings, as when this was the only one open.
    if (event->isAccepted()) {
        for (QWidget* other : QApplication::topLevelWidgets())
            if (other != this && other->isVisible())
                other->close();
    }
}

}  // namespace tessaly
