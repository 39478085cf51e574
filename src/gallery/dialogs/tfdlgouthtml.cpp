#include "gallery/dialogs/tfdlgouthtml.h"

#include "filetools/tform4.h"
#include "platform/paths.h"
#include "settings/mainsettings.h"
#include "ui_tfdlgouthtml.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QScreen>
#include <QShowEvent>

namespace tessaly {

namespace {

const QString kDefaultName = QStringLiteral("MyWeb.htm");

}  // namespace

QString HtmlLocation::path() const
{
    return paths::join(folder, fileName);
}

TfDlgOutHTML::TfDlgOutHTML(PlatformServices& services, IniFile settings, TForm4& confirm, QWidget* parent)
    : QDialog(parent),
      m_ui(std::make_unique<Ui::TfDlgOutHTML>()),
      m_services(services),
      m_settings(std::move(settings)),
      m_confirm(confirm)
{
    Ui::TfDlgOutHTML& ui = *m_ui;
    ui.setupUi(this);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    ui.lbFiles->setMask(QStringLiteral("*.htm;*.html"));
    ui.lbFiles->setMultiSelect(true);
    ui.lbFiles->attachServices(services.messages, services.shell);
    ui.dtTree->setFileList(ui.lbFiles);
    try {
        ui.dtTree->setFolder(QDir::homePath());
    } catch (const FolderNotFound&) {
        // The tree stays at the root.
    }

    m_pm = new QMenu(this);
    m_pm->setObjectName(QStringLiteral("pm"));
    const auto item = [this](const char* name, const QString& text, void (TfDlgOutHTML::*handler)()) {
        QAction* action = m_pm->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, handler);
    };
    item("OpeninNotepad1", QStringLiteral("Open in Notepad"), &TfDlgOutHTML::OpeninNotepad1Click);
    m_pm->addSeparator();
    item("SelectAll1", QStringLiteral("Select All"), &TfDlgOutHTML::SelectAll1Click);
    item("DeSelectAll1", QStringLiteral("DeSelect All"), &TfDlgOutHTML::DeSelectAll1Click);
    item("InvertSelection1", QStringLiteral("Invert Selection"), &TfDlgOutHTML::InvertSelection1Click);
    m_pm->addSeparator();
    item("DeleteSelectedFiles1", QStringLiteral("Delete Selected Files"), &TfDlgOutHTML::DeleteSelectedFiles1Click);
    connect(m_pm, &QMenu::aboutToShow, this, &TfDlgOutHTML::pmPopup);
    connect(ui.lbFiles, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { m_pm->popup(m_ui->lbFiles->viewport()->mapToGlobal(at)); });

    connect(ui.lbFiles, &QListWidget::itemClicked, this, &TfDlgOutHTML::lbFilesClick);
    // Moving through the list with the keys picks names as clicks do.
    connect(ui.lbFiles, &QListWidget::currentRowChanged, this, [this] {
        if (m_ui->lbFiles->hasFocus())
            lbFilesClick();
    });
    connect(ui.lbFiles, &FileListBox::deletePressed, this, &TfDlgOutHTML::lbFilesKeyDown);
    connect(ui.BitBtn1, &QPushButton::clicked, this, &TfDlgOutHTML::BitBtn1Click);
    connect(ui.BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    FormCreate();
}

TfDlgOutHTML::~TfDlgOutHTML() = default;

void TfDlgOutHTML::FormCreate()
{
    m_ui->eFileName->setText(readHtmlName(m_settings));
}

void TfDlgOutHTML::FormDestroy()
{
    try {
        writeHtmlName(m_settings, m_ui->eFileName->text());
    } catch (const SettingsWriteError& error) {
        m_services.messages.error(this, error.message());
    }
}

std::optional<HtmlLocation> TfDlgOutHTML::ask(const QString& firstOutputPath)
{
    m_firstOutputPath = firstOutputPath;
    if (m_services.dialogs.run(*this) != QDialog::Accepted)
        return std::nullopt;
    return location();
}

HtmlLocation TfDlgOutHTML::location() const
{
    return {m_ui->dtTree->folder(), m_ui->eFileName->text()};
}

void TfDlgOutHTML::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfDlgOutHTML::FormShow()
{
    Ui::TfDlgOutHTML& ui = *m_ui;
    const QString folder = paths::folderOf(m_firstOutputPath);
    if (!folder.isEmpty()) {
        try {
            ui.dtTree->setFolder(folder);
        } catch (const FolderNotFound&) {
            // Nothing of that folder is left: the tree stays where it was.
        }
    }
    ui.dtTree->refresh();
    ui.lbFiles->reread();
    ui.eFileName->setFocus();
}

void TfDlgOutHTML::refreshFolders()
{
    m_ui->dtTree->refresh();
    m_ui->lbFiles->reread();
}

void TfDlgOutHTML::BitBtn1Click()
{
    QString name = m_ui->eFileName->text();
    if (name.isEmpty())
        name = kDefaultName;
    if (!name.contains(QLatin1String(".htm"), Qt::CaseSensitive))
        name = kDefaultName;
    m_ui->eFileName->setText(name);
    // The name is a file name alone: a separator would put the page (and
    // the gallery's other pages) somewhere else than the chosen folder.
    if (name.contains(paths::separator)) {
        m_services.messages.show(this, QStringLiteral("A file name cannot contain \"%1\".").arg(paths::separator),
                                 MessageIcon::Warning, MessageButtons::Ok);
        return;
    }
    const QFileInfo page(location().path());
    if (page.isDir()) {
        m_services.messages.show(this, QStringLiteral("\"%1\" is a folder. Choose another file name.").arg(name),
                                 MessageIcon::Warning, MessageButtons::Ok);
        return;
    }
    if ((page.exists() || page.isSymLink()) &&
        m_services.messages.show(this, QStringLiteral("Overwrite file?"), MessageIcon::Question,
                                 MessageButtons::OkCancel) != MessageAnswer::Ok)
        return;
    accept();
}

void TfDlgOutHTML::lbFilesClick()
{
    const FileListBox& list = *m_ui->lbFiles;
    const int row = list.focusedIndex();
    if (list.count() > 0 && row >= 0)
        m_ui->eFileName->setText(list.item(row)->text());
}

void TfDlgOutHTML::lbFilesKeyDown()
{
    if (m_ui->lbFiles->selectedCount() > 0)
        DeleteSelectedFiles1Click();
}

void TfDlgOutHTML::pmPopup()
{
    const FileListBox& list = *m_ui->lbFiles;
    const bool any = list.count() > 0;
    m_pm->findChild<QAction*>(QStringLiteral("OpeninNotepad1"))->setEnabled(any && list.focusedIndex() >= 0);
    for (const char* name : {"SelectAll1", "DeSelectAll1", "InvertSelection1"})
        m_pm->findChild<QAction*>(QString::fromLatin1(name))->setEnabled(any);
    m_pm->findChild<QAction*>(QStringLiteral("DeleteSelectedFiles1"))->setEnabled(list.selectedCount() > 0);
}

void TfDlgOutHTML::OpeninNotepad1Click()
{
    const FileListBox& list = *m_ui->lbFiles;
    if (list.count() == 0 || list.focusedIndex() < 0)
        return;
    // The focused file when it is selected, otherwise an empty editor.
    if (!m_services.shell.startTextEditor(list.focusedSelectedPath()))
        m_services.messages.show(this,
                                 QStringLiteral("No plain-text editor could be started. Install one (for example "
                                                "gedit, kate or mousepad) and try again."),
                                 MessageIcon::Warning, MessageButtons::Ok);
}

void TfDlgOutHTML::SelectAll1Click()
{
    FileListBox& list = *m_ui->lbFiles;
    for (int row = 0; row < list.count(); ++row)
        list.setItemSelected(row, true);
}

void TfDlgOutHTML::DeSelectAll1Click()
{
    FileListBox& list = *m_ui->lbFiles;
    for (int row = 0; row < list.count(); ++row)
        list.setItemSelected(row, false);
}

void TfDlgOutHTML::InvertSelection1Click()
{
    FileListBox& list = *m_ui->lbFiles;
    for (int row = 0; row < list.count(); ++row)
        list.setItemSelected(row, !list.isItemSelected(row));
}

void TfDlgOutHTML::DeleteSelectedFiles1Click()
{
    Ui::TfDlgOutHTML& ui = *m_ui;
    const QStringList names = ui.lbFiles->selectedNames();
    if (names.isEmpty())
        return;
    QStringList doomed;
    for (const QString& name : names)
        doomed << paths::join(ui.dtTree->folder(), name);
    m_confirm.setQuestion(int(doomed.size()));
    if (m_services.dialogs.run(m_confirm) != QDialog::Accepted)
        return;
    const bool toTrash = m_confirm.toTrash();
    // One file at a time, the windows repainting between files; a file
    // that cannot go is simply still listed afterwards.
    for (const QString& path : doomed) {
        if (toTrash) {
            m_services.trash.moveToTrash(path);
            QApplication::processEvents();
        } else {
            QFile::remove(path);
        }
    }
    ui.lbFiles->reread();
}

}  // namespace tessaly
