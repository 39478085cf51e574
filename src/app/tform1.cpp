#include "app/tform1.h"

#include "app/helptexts.h"
#include "platform/paths.h"
#include "settings/mainsettings.h"
#include "ui_tform1.h"

#include <QButtonGroup>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QStyle>

namespace tessaly {

namespace {

const QColor kGreen(0, 128, 0);

}  // namespace

TForm1::TForm1(PlatformServices& services, IniFile settings, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      m_ui(std::make_unique<Ui::TForm1>()),
      m_services(services),
      m_settings(std::move(settings))
{
    m_ui->setupUi(this);
    setFixedSize(536, 453);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    setUpControls();
    buildPopupMenus();
    connectHandlers();
    FormCreate();
}

TForm1::~TForm1()
{
    FormDestroy();
}

void TForm1::setUpControls()
{
    Ui::TForm1& ui = *m_ui;
    ui.lHH1->setText(texts::kHelpInput);
    ui.lHH2->setText(texts::kHelpOutput);
    ui.lHH3->setText(texts::kHelpThumbnails);
    ui.lHH4->setText(texts::kHelpConfirm);
    ui.lHH5->setText(texts::kHelpProcessing);
    ui.Label16->setText(texts::kNamingHelp);
    ui.Label8->setText(texts::kResizeSpeedNote);
    ui.Label10->setText(texts::kAspectRatioNote);

    ui.rgResize->setItems({QStringLiteral("Fast Resize"), QStringLiteral("Quality Resize")});
    ui.rgResize->setItemIndex(1);

    ui.fDir->setFileList(ui.fBox);
    ui.fDir->setFolderLabel(ui.lDir);
    ui.fNewDir->setFileList(ui.fNewBox);
    ui.fBox->attachServices(m_services.messages, m_services.shell);
    ui.fNewBox->attachServices(m_services.messages, m_services.shell);
    ui.fBox->setMultiSelect(true);
    ui.fNewBox->setMultiSelect(false);
    ui.fBox->setMask(texts::kDefaultMask);
    ui.fNewBox->setMask(texts::kDefaultMask);
    ui.fNewDir->setAccessibleName(QStringLiteral("Output folders"));
    ui.fNewBox->setAccessibleName(QStringLiteral("Output files"));
    ui.fBox->setAccessibleName(QStringLiteral("Input files"));
    ui.fDir->setAccessibleName(QStringLiteral("Input folders"));
    ui.lbMFL->setAccessibleName(QStringLiteral("Source files"));
    ui.mHelp->setAccessibleName(QStringLiteral("Helpful hints"));

    // The two mask buttons form one group: exactly one of them is down.
    auto* maskButtons = new QButtonGroup(this);
    maskButtons->addButton(ui.sbShowAll);
    maskButtons->addButton(ui.sbShowGrafx);

    ui.bGO->setColors(kGreen, kGreen);
    ui.bCancelOp->setColors(Qt::black, Qt::black);

    QStyle* look = style();
    ui.sbDefaults->setIcon(look->standardIcon(QStyle::SP_DialogResetButton));
    ui.bRefreshView->setIcon(look->standardIcon(QStyle::SP_BrowserReload));
    ui.SpeedButton2->setIcon(look->standardIcon(QStyle::SP_DirOpenIcon));
    ui.sbAbout->setIcon(look->standardIcon(QStyle::SP_MessageBoxInformation));
    ui.SpeedButton3->setIcon(look->standardIcon(QStyle::SP_DialogHelpButton));
}

void TForm1::buildPopupMenus()
{
    auto add = [](QMenu* menu, const char* name, const QString& text) {
        QAction* action = menu->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    m_pm1 = new QMenu(this);
    m_pm1->setObjectName(QStringLiteral("pm1"));
    add(m_pm1, "Next2", QStringLiteral("Next"));
    m_pm1->addSeparator();
    add(m_pm1, "CreateNewDirectory1", QStringLiteral("Create New Directory"));
    add(m_pm1, "RefreshDirectory1", QStringLiteral("Refresh Directory"));
    add(m_pm1, "RemoveDirectory1", QStringLiteral("Remove Directory"));
    m_pm1->addSeparator();
    add(m_pm1, "SelectAll1", QStringLiteral("Select All"));
    add(m_pm1, "InvertSelection2", QStringLiteral("DeSelect All"));
    add(m_pm1, "InvertSelection1", QStringLiteral("Invert Selection"));
    m_pm1->addSeparator();
    add(m_pm1, "DeleteSelectedFiles1", QStringLiteral("Delete Selected Files"));
    m_pm1->addSeparator();
    add(m_pm1, "RotateImage90degreeclockwise1", QStringLiteral("Rotate Image 90 degrees clockwise"));
    add(m_pm1, "RotateImage90degreescounterclockwise1",
        QStringLiteral("Rotate Image 90 degrees counter clockwise"));
    m_pm1->addSeparator();
    add(m_pm1, "LauchExplorer1", QStringLiteral("Launch Explorer"));
    m_pm1->addSeparator();
    QAction* exit2 = add(m_pm1, "Exit2", QStringLiteral("Exit"));

    m_pm2 = new QMenu(this);
    m_pm2->setObjectName(QStringLiteral("pm2"));
    add(m_pm2, "Back1", QStringLiteral("Back"));
    add(m_pm2, "Next1", QStringLiteral("Next"));
    m_pm2->addSeparator();
    add(m_pm2, "CreateNewDirectory2", QStringLiteral("Create New Directory"));
    add(m_pm2, "RefreshDirectory2", QStringLiteral("Refresh Directory"));
    add(m_pm2, "RemoveDirectory2", QStringLiteral("Remove Directory"));
    m_pm2->addSeparator();
    add(m_pm2, "LaunchExplorer1", QStringLiteral("Launch Explorer"));
    m_pm2->addSeparator();
    QAction* exit1 = add(m_pm2, "Exit1", QStringLiteral("Exit"));

    // Exit ends the program the way closing the window does, so the windows
    // are destroyed (and save their settings) in the same order.
    connect(exit1, &QAction::triggered, this, &QWidget::close);
    connect(exit2, &QAction::triggered, this, &QWidget::close);
    // Menu items that stand for a button run that button's own handler.
    connect(m_pm1->findChild<QAction*>(QStringLiteral("Next2")), &QAction::triggered, this,
            &TForm1::bNxt1Click);
    connect(m_pm2->findChild<QAction*>(QStringLiteral("Back1")), &QAction::triggered, this,
            &TForm1::bBck1Click);
    connect(m_pm2->findChild<QAction*>(QStringLiteral("Next1")), &QAction::triggered, this,
            &TForm1::bNxt2Click);
    connect(m_pm1->findChild<QAction*>(QStringLiteral("SelectAll1")), &QAction::triggered, this,
            &TForm1::bSelAllClick);
    connect(m_pm1->findChild<QAction*>(QStringLiteral("InvertSelection2")), &QAction::triggered,
            this, &TForm1::bDeSelAllClick);
    connect(m_pm1->findChild<QAction*>(QStringLiteral("InvertSelection1")), &QAction::triggered,
            this, &TForm1::bInvertSelClick);
    connect(m_pm1->findChild<QAction*>(QStringLiteral("DeleteSelectedFiles1")), &QAction::triggered,
            this, &TForm1::bDelSelClick);
    connect(m_pm1, &QMenu::aboutToShow, this, &TForm1::pm1Popup);

    const auto attach = [](QWidget* widget, QMenu* menu) {
        widget->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(widget, &QWidget::customContextMenuRequested, menu,
                         [widget, menu](const QPoint& at) { menu->popup(widget->mapToGlobal(at)); });
    };
    attach(m_ui->fDir, m_pm1);
    attach(m_ui->fBox, m_pm1);
    attach(m_ui->fNewDir, m_pm2);
    attach(m_ui->fNewBox, m_pm2);
}

void TForm1::connectHandlers()
{
    Ui::TForm1& ui = *m_ui;
    connect(ui.pcMain, &QTabWidget::currentChanged, this, &TForm1::pageShown);
    connect(ui.fDir, &FolderTree::folderChanged, this, &TForm1::fDirChange);
    connect(ui.fNewDir, &FolderTree::folderChanged, this, &TForm1::fNewDirChange);
    connect(ui.bDelSel, &QPushButton::clicked, this, &TForm1::bDelSelClick);
    connect(ui.fBox, &FileListBox::deletePressed, this, [this] {
        if (m_ui->fBox->selectedCount() > 0)
            bDelSelClick();
    });
    connectWizard();
}

void TForm1::FormCreate()
{
    try {
        Ui::TForm1& ui = *m_ui;
        ui.fDir->setFolder(paths::rootOfWorkingFolder());
        ui.fNewDir->setFolder(paths::rootOfWorkingFolder());
        for (QWidget* page : {ui.tsOFO, ui.tsCS, ui.tsTO, ui.tsP})
            ui.pcMain->setTabVisible(ui.pcMain->indexOf(page), false);
        m_sourceList.clear();
        ui.cbNameOption->setCurrentIndex(0);
        loadHelp(ui.lHH1);
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
    m_sourceList.clear();
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

void TForm1::goToPage(QWidget* page, QLabel* helpLabel)
{
    QTabWidget* pages = m_ui->pcMain;
    const int from = pages->currentIndex();
    const int to = pages->indexOf(page);
    // The new tab is shown and made current before the old one is hidden, so
    // that the tab bar never passes through a third page.
    pages->setTabVisible(to, true);
    pages->setTabEnabled(to, true);
    page->setEnabled(true);
    pages->setCurrentIndex(to);
    if (from != to)
        pages->setTabVisible(from, false);
    loadHelp(helpLabel);
}

void TForm1::loadHelp(QLabel* helpLabel)
{
    m_ui->mHelp->clear();
    m_ui->mHelp->setPlainText(texts::asDisplayText(helpLabel->text()));
    m_ui->mHelp->moveCursor(QTextCursor::Start);
    m_ui->mHelp->ensureCursorVisible();
}

void TForm1::fillSourceList()
{
    m_sourceList = m_ui->fBox->selectedNames();
    m_ui->lbMFL->clear();
    m_ui->lbMFL->addItems(m_sourceList);
    m_ui->lMFL->setText(QStringLiteral("Source Files: %1").arg(m_sourceList.size()));
}

void TForm1::pageShown(int index)
{
    QWidget* page = m_ui->pcMain->widget(index);
    if (page == m_ui->tsIFS)
        tsIFSShow();
    else if (page == m_ui->tsOFO)
        tsOFOShow();
    else if (page == m_ui->tsCS)
        tsCSShow();
}

void TForm1::tsIFSShow()
{
    m_ui->fBox->setFocusedIndex(0);
}

void TForm1::fDirChange()
{
    m_ui->fBox->setFocusedIndex(0);
}

void TForm1::tsOFOShow()
{
    m_ui->fNewBox->setFocusedIndex(0);
}

void TForm1::fNewDirChange()
{
    m_ui->fNewBox->setFocusedIndex(0);
}

}  // namespace tessaly
