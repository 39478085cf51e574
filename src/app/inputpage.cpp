#include "app/inputpage.h"

#include "app/tform3.h"
#include "app/wizard.h"
#include "batch/jobchecks.h"
#include "batch/renamejournal.h"
#include "filetools/foldercommands.h"
#include "filetools/tform4.h"
#include "platform/error.h"
#include "platform/fileops.h"
#include "platform/paths.h"
#include "platform/services.h"
#include "ui_tform1.h"

#include <QAbstractItemView>
#include <QFile>
#include <QMenu>
#include <algorithm>

namespace tessaly {

InputPage::InputPage(Wizard& wizard, QObject* parent) : QObject(parent), m_wizard(wizard), m_ui(wizard.form())
{
    // Fields without text of their own are named by the label beside them.
    m_ui.Label2->setBuddy(m_ui.cbMask);
    // The entry for every picture type read is wider than the field: the
    // list opens wide enough to show each entry whole.
    int widest = 0;
    for (int i = 0; i < m_ui.cbMask->count(); ++i)
        widest = std::max(widest, m_ui.cbMask->fontMetrics().horizontalAdvance(m_ui.cbMask->itemText(i)));
    m_ui.cbMask->view()->setMinimumWidth(widest + 2 * m_ui.cbMask->view()->frameWidth() + 16);
    buildPopupMenu();
    connectControls();
}

QList<QWidget*> InputPage::tabOrder() const
{
    const Ui::TForm1& ui = m_ui;
    return {ui.fDir,      ui.fBox,       ui.cbMask,  ui.rbThumbs, ui.rbRename, ui.bSelAll,
            ui.bDeSelAll, ui.bInvertSel, ui.bDelSel, ui.bRenInd,  ui.bNxt1};
}

void InputPage::buildPopupMenu()
{
    QWidget* window = m_wizard.dialogParent();
    m_pm1 = new QMenu(window);
    m_pm1->setObjectName(QStringLiteral("pm1"));
    const auto add = [this](const char* name, const QString& text) {
        QAction* action = m_pm1->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    QAction* next = add("Next2", QStringLiteral("Next"));
    m_pm1->addSeparator();
    add("CreateNewDirectory1", QStringLiteral("Create New Directory"));
    add("RefreshDirectory1", QStringLiteral("Refresh Directory"));
    add("RemoveDirectory1", QStringLiteral("Remove Directory"));
    m_pm1->addSeparator();
    QAction* selectAll = add("SelectAll1", QStringLiteral("Select All"));
    QAction* deselectAll = add("InvertSelection2", QStringLiteral("DeSelect All"));
    QAction* invert = add("InvertSelection1", QStringLiteral("Invert Selection"));
    m_pm1->addSeparator();
    QAction* deleteFiles = add("DeleteSelectedFiles1", QStringLiteral("Delete Selected Files"));
    m_pm1->addSeparator();
    add("RotateImage90degreeclockwise1", QStringLiteral("Rotate Image 90 degrees clockwise"));
    add("RotateImage90degreescounterclockwise1", QStringLiteral("Rotate Image 90 degrees counter clockwise"));
    m_pm1->addSeparator();
    add("LauchExplorer1", QStringLiteral("Launch Explorer"));
    // "Undo Last Rename" comes before Exit, so that Exit stays last and Up
    // from the top of the menu never lands on it past a greyed item.
    m_pm1->addSeparator();
    m_undoRename = add("UndoLastRename1", QStringLiteral("Undo Last Rename"));
    m_pm1->addSeparator();
    QAction* exit = add("Exit2", QStringLiteral("Exit"));

    // Items that stand for a button run that button's own handler. Exit ends
    // the program the way closing the window does, so every window saves
    // its settings in the same order.
    connect(next, &QAction::triggered, this, &InputPage::bNxt1Click);
    connect(selectAll, &QAction::triggered, this, &InputPage::bSelAllClick);
    connect(deselectAll, &QAction::triggered, this, &InputPage::bDeSelAllClick);
    connect(invert, &QAction::triggered, this, &InputPage::bInvertSelClick);
    connect(deleteFiles, &QAction::triggered, this, &InputPage::bDelSelClick);
    connect(exit, &QAction::triggered, window, &QWidget::close);
    connect(m_undoRename, &QAction::triggered, this, &InputPage::UndoLastRename1Click);
    connect(m_pm1, &QMenu::aboutToShow, this, &InputPage::pm1Popup);

    for (QWidget* widget : {static_cast<QWidget*>(m_ui.fDir), static_cast<QWidget*>(m_ui.fBox)}) {
        widget->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(widget, &QWidget::customContextMenuRequested, m_pm1,
                [this, widget](const QPoint& at) { m_pm1->popup(widget->mapToGlobal(at)); });
    }
}

void InputPage::connectControls()
{
    Ui::TForm1& ui = m_ui;
    connect(ui.pcMain, &QTabWidget::currentChanged, this, [this](int index) {
        if (m_ui.pcMain->widget(index) == m_ui.tsIFS)
            tsIFSShow();
    });
    connect(ui.fDir, &FolderTree::folderChanged, this, &InputPage::fDirChange);
    connect(ui.rbThumbs, &QRadioButton::toggled, this, &InputPage::rbThumbsClick);
    connect(ui.cbMask, &QComboBox::currentTextChanged, this, &InputPage::cbMaskChange);
    connect(ui.bSelAll, &QPushButton::clicked, this, &InputPage::bSelAllClick);
    connect(ui.bDeSelAll, &QPushButton::clicked, this, &InputPage::bDeSelAllClick);
    connect(ui.bInvertSel, &QPushButton::clicked, this, &InputPage::bInvertSelClick);
    connect(ui.bDelSel, &QPushButton::clicked, this, &InputPage::bDelSelClick);
    connect(ui.fBox, &FileListBox::deletePressed, this, [this] {
        if (m_ui.fBox->selectedCount() > 0)
            bDelSelClick();
    });
    connect(ui.bNxt1, &QPushButton::clicked, this, &InputPage::bNxt1Click);
    useWizardHoverColours(ui.bNxt1);
}

void InputPage::tsIFSShow()
{
    m_ui.fBox->setFocusedIndex(0);
}

void InputPage::fDirChange()
{
    m_ui.fBox->setFocusedIndex(0);
}

void InputPage::rbThumbsClick()
{
    m_ui.lOutput->setText(m_ui.rbThumbs->isChecked() ? QStringLiteral("Create Thumbnails")
                                                     : QStringLiteral("Rename/Convert Files"));
}

void InputPage::cbMaskChange()
{
    m_ui.fBox->setMask(m_ui.cbMask->currentText());
}

void InputPage::bSelAllClick()
{
    m_ui.fBox->markAll(FileListBox::Mark::Selected);
}

void InputPage::bDeSelAllClick()
{
    m_ui.fBox->markAll(FileListBox::Mark::Unselected);
}

void InputPage::bInvertSelClick()
{
    m_ui.fBox->markAll(FileListBox::Mark::Inverted);
}

void InputPage::bNxt1Click()
{
    Ui::TForm1& ui = m_ui;
    if (const auto refusal = checkFilesSelected(ui.fBox->selectedCount())) {
        m_wizard.services().messages.report(m_wizard.dialogParent(), *refusal);
        return;
    }
    JobState& job = m_wizard.job();
    job.SourceList = ui.fBox->selectedNames();
    m_wizard.showSourceList();

    if (const auto clash = findDuplicateNames(job.SourceList)) {
        TForm3& warning = m_wizard.companions().duplicateWarning();
        warning.setNames(clash->first, clash->second);
        if (m_wizard.services().dialogs.run(warning) != QDialog::Accepted)
            return;
    }

    m_wizard.setMode(ui.rbThumbs->isChecked() ? JobMode::Thumbnails : JobMode::RenameCopyConvert);
    ui.lOutput->show();
    m_wizard.goToPage(WizardPage::OutputOptions);
}

void InputPage::bDelSelClick()
{
    Ui::TForm1& ui = m_ui;
    const QStringList names = ui.fBox->selectedNames();
    if (names.isEmpty())
        return;
    QStringList doomed;
    for (const QString& name : names)
        doomed << paths::join(ui.fDir->folder(), name);
    TForm4& confirm = m_wizard.companions().deleteConfirm();
    confirm.setQuestion(int(doomed.size()));
    if (m_wizard.services().dialogs.run(confirm) != QDialog::Accepted)
        return;
    // Results are not examined: a file that cannot go is simply still
    // there when the lists are read again.
    for (const QString& path : doomed) {
        if (confirm.toTrash())
            m_wizard.services().trash.moveToTrash(path);
        else
            removeFile(path);
    }
    ui.fBox->reread();
    ui.fNewBox->reread();
    m_wizard.clearSourceListView();
}

void InputPage::pm1Popup()
{
    const int selected = m_ui.fBox->selectedCount();
    for (QAction* action : m_pm1->actions())
        if (!action->isSeparator())
            action->setEnabled(pm1ItemEnabled(action->objectName(), selected));
    m_undoRename->setEnabled(!m_wizard.job().running &&
                             hasRenameJournal(m_wizard.renameJournalFolder(), m_ui.fDir->folder()));
}

// Gives the files of the folder's last rename run (from the window or the
// command line) their names back, newest first and never over a file, and
// says what it did. Names taken since are left alone and listed.
void InputPage::UndoLastRename1Click()
{
    if (m_wizard.job().running)
        return;
    const QString folder = m_ui.fDir->folder();
    QWidget* parent = m_wizard.dialogParent();
    MessageService& messages = m_wizard.services().messages;
    UndoOutcome outcome;
    try {
        outcome = undoLastRename(m_wizard.renameJournalFolder(), folder);
    } catch (const Error& error) {
        messages.error(parent, error.message());
        return;
    }
    if (!outcome.found) {
        messages.report(parent, QStringLiteral("No rename to undo in %1").arg(folder));
        return;
    }
    m_ui.fBox->reread();
    m_ui.fNewBox->reread();
    QString text = QStringLiteral("%1 files renamed back in %2.").arg(outcome.restored).arg(outcome.folder);
    // A long list of skipped names would make a box taller than the screen.
    constexpr qsizetype kShownSkips = 12;
    for (qsizetype i = 0; i < std::min(outcome.skipped.size(), kShownSkips); ++i)
        text += QStringLiteral("\r\n") + outcome.skipped[i];
    if (outcome.skipped.size() > kShownSkips)
        text += QStringLiteral("\r\n(and %1 more not renamed back)").arg(outcome.skipped.size() - kShownSkips);
    messages.report(parent, text);
}

}  // namespace tessaly
