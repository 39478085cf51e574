#include "app/outputpage.h"

#include "app/helptexts.h"
#include "app/wizard.h"
#include "batch/jobchecks.h"
#include "platform/services.h"
#include "ui_tform1.h"

#include <QButtonGroup>
#include <QMenu>

namespace tessaly {

namespace {

// The sequence field serves the naming options that number the files; a
// typed-over list (no option) keeps it in view.
bool showsSequenceField(int namingIndex)
{
    const std::optional<NamingOption> naming = namingOptionFromIndex(namingIndex);
    return !naming || usesSequence(*naming);
}

}  // namespace

OutputPage::OutputPage(Wizard& wizard, QObject* parent) : QObject(parent), m_wizard(wizard), m_ui(wizard.form())
{
    m_ui.Label16->setText(texts::kNamingHelp);
    m_ui.fNewDir->setFileList(m_ui.fNewBox);
    m_ui.fNewBox->setMultiSelect(false);
    m_ui.fNewBox->setMask(texts::kDefaultMask);
    // The two mask buttons form one group: exactly one of them is down.
    auto* maskButtons = new QButtonGroup(this);
    maskButtons->addButton(m_ui.sbShowAll);
    maskButtons->addButton(m_ui.sbShowGrafx);
    buildPopupMenu();
    connectControls();
}

void OutputPage::buildPopupMenu()
{
    QWidget* window = m_wizard.dialogParent();
    m_pm2 = new QMenu(window);
    m_pm2->setObjectName(QStringLiteral("pm2"));
    const auto add = [this](const char* name, const QString& text) {
        QAction* action = m_pm2->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    QAction* back = add("Back1", QStringLiteral("Back"));
    QAction* next = add("Next1", QStringLiteral("Next"));
    m_pm2->addSeparator();
    add("CreateNewDirectory2", QStringLiteral("Create New Directory"));
    add("RefreshDirectory2", QStringLiteral("Refresh Directory"));
    add("RemoveDirectory2", QStringLiteral("Remove Directory"));
    m_pm2->addSeparator();
    add("LaunchExplorer1", QStringLiteral("Launch Explorer"));
    m_pm2->addSeparator();
    QAction* exit = add("Exit1", QStringLiteral("Exit"));

    // Items that stand for a button run that button's own handler; Exit
    // closes the window as the title bar does.
    connect(back, &QAction::triggered, this, &OutputPage::bBck1Click);
    connect(next, &QAction::triggered, this, &OutputPage::bNxt2Click);
    connect(exit, &QAction::triggered, window, &QWidget::close);

    for (QWidget* widget : {static_cast<QWidget*>(m_ui.fNewDir), static_cast<QWidget*>(m_ui.fNewBox)}) {
        widget->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(widget, &QWidget::customContextMenuRequested, m_pm2,
                [this, widget](const QPoint& at) { m_pm2->popup(widget->mapToGlobal(at)); });
    }
}

void OutputPage::connectControls()
{
    Ui::TForm1& ui = m_ui;
    connect(ui.pcMain, &QTabWidget::currentChanged, this, [this](int index) {
        if (m_ui.pcMain->widget(index) == m_ui.tsOFO)
            tsOFOShow();
    });
    connect(ui.fNewDir, &FolderTree::folderChanged, this, &OutputPage::fNewDirChange);
    connect(ui.rbRenameOnly, &QRadioButton::toggled, this, &OutputPage::rbRenameOnlyClick);
    // `activated` comes from the user only, never from a program selection.
    connect(ui.cbNameOption, &QComboBox::activated, this, &OutputPage::cbNameOptionChange);
    connect(ui.sbShowAll, &QToolButton::clicked, this, &OutputPage::sbShowAllClick);
    connect(ui.sbShowGrafx, &QToolButton::clicked, this, &OutputPage::sbShowGrafxClick);
    connect(ui.SpeedButton1, &QToolButton::clicked, this, &OutputPage::SpeedButton1Click);
    connect(ui.bBck1, &QPushButton::clicked, this, &OutputPage::bBck1Click);
    connect(ui.bNxt2, &QPushButton::clicked, this, &OutputPage::bNxt2Click);
    useWizardHoverColours(ui.bBck1);
    useWizardHoverColours(ui.bNxt2);
}

void OutputPage::setUpForMode(JobMode mode)
{
    Ui::TForm1& ui = m_ui;
    ui.l6->hide();
    // Only the field is hidden here; its label "Seq #" follows the user's
    // changes of the naming list alone.
    ui.eSeq->setVisible(showsSequenceField(ui.cbNameOption->currentIndex()));
    applyVisibility(visibilityFor(mode, mode == JobMode::RenameCopyConvert && ui.rbRenameOnly->isChecked()));
    try {
        ui.fNewDir->setFolder(ui.fDir->folder());
    } catch (const FolderNotFound& missing) {
        m_wizard.showError(missing.message());
    }
}

bool OutputPage::renamingInPlace() const
{
    return m_wizard.job().mode == JobMode::RenameCopyConvert && m_ui.rbRenameOnly->isChecked();
}

void OutputPage::applyVisibility(const ModeVisibility& shown)
{
    Ui::TForm1& ui = m_ui;
    ui.rbRenameOnly->setVisible(shown.renameChoice);
    ui.rbCpyCvrt->setVisible(shown.renameChoice);
    ui.cbConvert->setVisible(shown.convertType);
    ui.Label7->setVisible(shown.convertType);
    ui.fNewDir->setVisible(shown.outputFolder);
    ui.fNewBox->setVisible(shown.outputFolder);
    ui.sbShowAll->setVisible(shown.maskButtons);
    ui.sbShowGrafx->setVisible(shown.maskButtons);
    // The overwrite box stands on the confirmation page but follows the
    // output page's choice.
    ui.cbOverWrite->setVisible(shown.overwrite);
    ui.l6->setVisible(shown.sameFolderNote);
    ui.ePreT->setVisible(shown.thumbQualifier);
    ui.ePreI->setVisible(shown.imageQualifier);
    ui.lOutput->setText(shown.modeText);
}

void OutputPage::tsOFOShow()
{
    m_ui.fNewBox->setFocusedIndex(0);
}

void OutputPage::fNewDirChange()
{
    m_ui.fNewBox->setFocusedIndex(0);
}

void OutputPage::rbRenameOnlyClick()
{
    applyVisibility(visibilityFor(JobMode::RenameCopyConvert, m_ui.rbRenameOnly->isChecked()));
}

void OutputPage::cbNameOptionChange()
{
    const bool sequence = showsSequenceField(m_ui.cbNameOption->currentIndex());
    m_ui.eSeq->setVisible(sequence);
    m_ui.Label4->setVisible(sequence);
}

void OutputPage::sbShowAllClick()
{
    m_ui.fNewBox->setMask(QStringLiteral("*.*"));
}

void OutputPage::sbShowGrafxClick()
{
    m_ui.fNewBox->setMask(texts::kGraphicsMask);
}

void OutputPage::SpeedButton1Click()
{
    m_wizard.services().messages.report(m_wizard.dialogParent(), m_ui.Label16->text());
}

void OutputPage::bBck1Click()
{
    m_wizard.goToPage(WizardPage::InputFiles);
    m_wizard.clearSourceListView();
}

void OutputPage::bNxt2Click()
{
    Ui::TForm1& ui = m_ui;
    MessageService& messages = m_wizard.services().messages;
    if (needsSameFolderQuestion(renamingInPlace(), ui.fDir->folder(), ui.fNewDir->folder())) {
        const MessageAnswer answer = messages.show(m_wizard.dialogParent(), checktexts::kSameFoldersQuestion,
                                                   MessageIcon::Warning, MessageButtons::YesNo);
        if (answer == MessageAnswer::No)
            return;
    }
    if (m_wizard.job().mode == JobMode::Thumbnails) {
        m_wizard.goToPage(WizardPage::ThumbnailOptions);
        return;
    }
    if (const auto refusal = checkRenameQualifier(
            ui.rbRenameOnly->isChecked(), namingOptionFromIndex(ui.cbNameOption->currentIndex()), ui.ePreI->text())) {
        messages.report(m_wizard.dialogParent(), *refusal);
        return;
    }
    m_wizard.goToPage(WizardPage::Confirm);
}

}  // namespace tessaly
