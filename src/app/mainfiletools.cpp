#include "app/mainfiletools.h"

#include "filetools/foldercommands.h"
#include "filetools/manualrename.h"
#include "filetools/preview.h"
#include "filetools/selectdirectorydialog.h"
#include "filetools/tform2.h"
#include "platform/filenames.h"
#include "platform/fileops.h"
#include "platform/paths.h"
#include "platform/services.h"
#include "widgets/filelistbox.h"
#include "ui_tform1.h"
#include "widgets/foldertree.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPixmap>
#include <QStyle>
#include <QTabWidget>
#include <QtMath>
#include <limits>

namespace tessaly {

namespace {

QAction* item(QMenu* menu, const char* name)
{
    return menu ? menu->findChild<QAction*>(QString::fromLatin1(name)) : nullptr;
}

bool isListMovement(int key)
{
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End: return true;
    default: return false;
    }
}

}  // namespace

MainFileTools::MainFileTools(Ui::TForm1& ui, QMenu* pm1, QMenu* pm2, std::function<TForm2&()> previewWindow,
                             PlatformServices& services, QWidget* window)
    : QObject(window),
      m_ui(ui),
      m_pm1(pm1),
      m_pm2(pm2),
      m_previewWindow(std::move(previewWindow)),
      m_services(services),
      m_window(window),
      m_selectDirectory(std::make_unique<SelectDirectoryDialog>(services.messages, window))
{
    m_selectDirectory->setObjectName(QStringLiteral("SelectDirectory"));
    const QStyle* look = window->style();
    m_ui.bRenameOK->setIcon(look->standardIcon(QStyle::SP_DialogApplyButton));
    m_ui.bRenameCan->setIcon(look->standardIcon(QStyle::SP_DialogCancelButton));
    // The picture has no text of its own; its hint says what it shows.
    if (m_ui.Image1->accessibleName().isEmpty())
        m_ui.Image1->setAccessibleName(QStringLiteral("Preview Window"));
    showRenaming(false);
    connectControls();
}

MainFileTools::~MainFileTools() = default;

void MainFileTools::connectControls()
{
    // Presses and keys are seen before the lists get them, so that the
    // preview can follow the list's own handling of them.
    for (QWidget* list : {static_cast<QWidget*>(m_ui.fBox), static_cast<QWidget*>(m_ui.fNewBox)}) {
        list->installEventFilter(this);
        static_cast<QListWidget*>(list)->viewport()->installEventFilter(this);
    }
    m_ui.Image1->installEventFilter(this);
    m_ui.eFileEdit->installEventFilter(this);
    connect(m_ui.lbMFL, &QListWidget::itemSelectionChanged, this, &MainFileTools::lbMFLClick);
    connect(m_ui.bRefreshView, &QAbstractButton::clicked, this, &MainFileTools::bRefreshViewClick);
    connect(m_ui.SpeedButton2, &QAbstractButton::clicked, this, &MainFileTools::SpeedButton2Click);
    connect(m_ui.bRenInd, &QAbstractButton::clicked, this, &MainFileTools::bRenIndClick);
    connect(m_ui.bRenameOK, &QAbstractButton::clicked, this, &MainFileTools::bRenameOKClick);
    connect(m_ui.bRenameCan, &QAbstractButton::clicked, this, &MainFileTools::bRenameCanClick);

    const auto on = [this](QMenu* menu, const char* name, void (MainFileTools::*handler)()) {
        if (QAction* action = item(menu, name))
            connect(action, &QAction::triggered, this, handler);
    };
    on(m_pm1, "CreateNewDirectory1", &MainFileTools::CreateNewDirectory1Click);
    on(m_pm1, "RefreshDirectory1", &MainFileTools::RefreshDirectory1Click);
    on(m_pm1, "RemoveDirectory1", &MainFileTools::RemoveDirectory1Click);
    on(m_pm1, "RotateImage90degreeclockwise1", &MainFileTools::RotateImage90degreeclockwise1Click);
    on(m_pm1, "RotateImage90degreescounterclockwise1", &MainFileTools::RotateImage90degreescounterclockwise1Click);
    // Both "Launch Explorer" items run the button's own command.
    on(m_pm1, "LauchExplorer1", &MainFileTools::SpeedButton2Click);
    on(m_pm2, "LaunchExplorer1", &MainFileTools::SpeedButton2Click);
    on(m_pm2, "CreateNewDirectory2", &MainFileTools::CreateNewDirectory2Click);
    on(m_pm2, "RefreshDirectory2", &MainFileTools::RefreshDirectory2Click);
    on(m_pm2, "RemoveDirectory2", &MainFileTools::RemoveDirectory2Click);
}

bool MainFileTools::eventFilter(QObject* watched, QEvent* event)
{
    if (m_forwarding)
        return false;
    const bool inputList = watched == m_ui.fBox->viewport();
    const bool outputList = watched == m_ui.fNewBox->viewport();
    if ((inputList || outputList) && event->type() == QEvent::MouseButtonPress) {
        auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() != Qt::LeftButton)
            return false;
        // The list takes the press first (selection, focus), then the
        // picture under the pointer is previewed whether it ended up
        // selected or not.
        forward(static_cast<QWidget*>(watched), event);
        const QPoint at = press->position().toPoint();
        if (inputList)
            fBoxMouseDown(at);
        else
            fNewBoxMouseDown(at);
        return true;
    }
    if ((watched == m_ui.fBox || watched == m_ui.fNewBox) && event->type() == QEvent::KeyPress &&
        isListMovement(static_cast<QKeyEvent*>(event)->key())) {
        // Moving through a file list with the keys previews as a click does,
        // so the preview can be used without a mouse.
        auto* list = static_cast<FileListBox*>(watched);
        const int before = list->currentRow();
        forward(list, event);
        if (list->currentRow() != before && list->currentRow() >= 0)
            previewFromList(list, list == m_ui.fBox ? m_ui.fDir : m_ui.fNewDir, list->currentRow());
        return true;
    }
    if (watched == m_ui.Image1 && event->type() == QEvent::MouseButtonRelease) {
        auto* release = static_cast<QMouseEvent*>(event);
        if (release->button() == Qt::LeftButton && m_ui.Image1->rect().contains(release->position().toPoint()))
            Image1Click();
        return false;
    }
    if (watched == m_ui.eFileEdit && event->type() == QEvent::KeyPress) {
        // Enter confirms the rename and Escape cancels it; the key goes no
        // further (a line edit passes Enter on to its window).
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            eFileEditKeyDown();
            return true;
        }
        if (key == Qt::Key_Escape) {
            bRenameCanClick();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

bool MainFileTools::forward(QWidget* target, QEvent* event)
{
    m_forwarding = true;
    const bool handled = QCoreApplication::sendEvent(target, event);
    m_forwarding = false;
    return handled;
}

void MainFileTools::fBoxMouseDown(const QPoint& at)
{
    if (const QListWidgetItem* under = m_ui.fBox->itemAt(at))
        previewFromList(m_ui.fBox, m_ui.fDir, m_ui.fBox->row(under));
}

void MainFileTools::fNewBoxMouseDown(const QPoint& at)
{
    if (const QListWidgetItem* under = m_ui.fNewBox->itemAt(at))
        previewFromList(m_ui.fNewBox, m_ui.fNewDir, m_ui.fNewBox->row(under));
}

void MainFileTools::previewFromList(FileListBox* list, FolderTree* tree, int row)
{
    const PreviewResult result = previewListItem(tree->folder(), list->nameAt(row), photoOptions(), previewViewSize());
    if (result.outcome == PreviewResult::Outcome::Ignored)
        return;
    // A file list clears the preview first: a picture that fails leaves it
    // empty.
    m_picture = Picture();
    m_fullSize = QSize();
    m_ui.Image1->clear();
    m_ui.Image1->setToolTip(QString());
    if (result.outcome == PreviewResult::Outcome::Failed) {
        m_services.messages.report(m_window, result.message);
        return;
    }
    showPreview(result);
}

void MainFileTools::lbMFLClick()
{
    const QList<QListWidgetItem*> selected = m_ui.lbMFL->selectedItems();
    if (selected.isEmpty())
        return;
    const PreviewResult result = previewSourceEntry(m_ui.fDir->folder(), m_ui.lDir->text(), selected.first()->text(),
                                                    photoOptions(), previewViewSize());
    if (result.outcome == PreviewResult::Outcome::Failed) {
        // The preview keeps what it had, hint and caption included.
        m_services.messages.report(m_window, result.message);
        return;
    }
    showPreview(result);
}

void MainFileTools::showPreview(const PreviewResult& result)
{
    m_picture = result.picture;
    m_fullSize = result.fullSize;
    m_previewShownUpright = photoOptions().turnUpright;
    m_ui.Image1->setPixmap(QPixmap::fromImage(displayImage(m_picture)));
    m_ui.Image1->setToolTip(result.information);
    m_ui.Image1->setAccessibleDescription(result.information);
    // The caption names the file that the rotations overwrite.
    m_previewWindow().setWindowTitle(result.path);
}

QSize MainFileTools::previewViewSize() const
{
    // In device pixels, so that a picture reduced for it stays sharp on a
    // screen of more than one pixel a point.
    const qreal scale = m_ui.Image1->devicePixelRatioF();
    return QSize(qCeil(m_ui.Image1->width() * scale), qCeil(m_ui.Image1->height() * scale));
}

bool MainFileTools::previewIsReduced() const
{
    return !m_picture.isEmpty() && QSize(m_picture.width(), m_picture.height()) != m_fullSize;
}

void MainFileTools::loadWholePreviewPicture()
{
    if (!previewIsReduced())
        return;
    const QString path = m_previewWindow().windowTitle();
    Picture whole = LoadPicture(path, PhotoOptions{m_previewShownUpright});
    if (QSize(whole.width(), whole.height()) != m_fullSize)
        throw Error(
            QStringLiteral("%1 is no longer the picture previewed. Preview it again.").arg(displayFileName(path)));
    m_picture = std::move(whole);
}

PhotoOptions MainFileTools::photoOptions() const
{
    return PhotoOptions{m_ui.cbUpright->isChecked()};
}

bool MainFileTools::previewHoldsPicture() const
{
    // The window may clear the small preview on its own (a run does).
    return !m_picture.isEmpty() && !m_ui.Image1->pixmap().isNull();
}

void MainFileTools::Image1Click()
{
    if (!previewHoldsPicture())
        return;
    if (!previewIsReduced()) {
        m_previewWindow().showPicture(m_ui.Image1->pixmap(), m_ui.Image1->toolTip());
        return;
    }
    // The preview window shows the picture at full size: one reduced for
    // the small preview is loaded whole now. A file gone or changed since
    // leaves the picture previewed to be shown as it is.
    QPixmap whole;
    try {
        loadWholePreviewPicture();
        whole = QPixmap::fromImage(displayImage(m_picture));
    } catch (const Error&) {
        whole = m_ui.Image1->pixmap();
    }
    m_previewWindow().showPicture(whole, m_ui.Image1->toolTip());
}

void MainFileTools::bRefreshViewClick()
{
    m_ui.fDir->refresh();
    m_ui.fBox->reread();
    m_ui.fBox->setFocusedIndex(0);
    m_ui.fNewDir->refresh();
    m_ui.fNewBox->reread();
    m_ui.fNewBox->setFocusedIndex(0);
    if (m_refreshOutputLocation)
        m_refreshOutputLocation();
}

void MainFileTools::RefreshDirectory1Click()
{
    m_ui.fDir->refresh();
}

void MainFileTools::RefreshDirectory2Click()
{
    m_ui.fNewDir->refresh();
}

void MainFileTools::SpeedButton2Click()
{
    // The shell's answer is not examined: a file manager that does not start
    // simply does not appear.
    QWidget* shown = m_ui.pcMain->currentWidget();
    if (shown == m_ui.tsIFS)
        m_services.shell.exploreFolder(m_ui.fDir->folder());
    else if (shown == m_ui.tsOFO)
        m_services.shell.exploreFolder(m_ui.fNewDir->folder());
    else
        m_services.shell.openFileManager();
}

void MainFileTools::showRenaming(bool renaming)
{
    m_ui.bRenInd->setVisible(!renaming);
    m_ui.bRenameCan->setVisible(renaming);
    m_ui.bRenameOK->setVisible(renaming);
    m_ui.eFileEdit->setVisible(renaming);
}

void MainFileTools::bRenIndClick()
{
    const QString path = m_ui.fBox->focusedSelectedPath();
    if (m_ui.fBox->selectedCount() == 0 || path.isEmpty())
        return;
    m_renamePath = path;
    m_renameIndex = m_ui.fBox->focusedIndex();
    m_ui.eFileEdit->setText(displayFileName(paths::fileNameOf(path)));
    showRenaming(true);
}

void MainFileTools::bRenameCanClick()
{
    showRenaming(false);
    focusFileAfterRename(displayFileName(m_ui.fBox->nameAt(m_renameIndex)));
}

void MainFileTools::eFileEditKeyDown()
{
    bRenameOKClick();
}

void MainFileTools::bRenameOKClick()
{
    const QString newName = m_ui.eFileEdit->text();
    const QString target = paths::join(m_ui.fDir->folder(), newName);
    // A name that is not UTF-8 shows in the edit readably: left as shown, it is unchanged.
    if (displayFileName(paths::fileNameOf(m_renamePath)) != newName) {
        m_ui.fBox->setItemSelected(m_renameIndex, false);
        if (renameManually(m_renamePath, m_ui.fDir->folder(), newName) == RenameOutcome::Failed) {
            // The rename stays open so that the name can be corrected.
            m_services.messages.report(m_window, kRenameFailed);
            return;
        }
        // The preview window's caption names the file a rotation writes to.
        if (m_previewWindow().windowTitle() == m_renamePath)
            m_previewWindow().setWindowTitle(target);
        emit fileRenamed(m_renamePath, target);
        const QString from = paths::folderOf(m_renamePath);
        if (m_ui.fNewBox->folder() == from || m_ui.fNewBox->folder() == m_ui.fDir->folder())
            m_ui.fNewBox->reread();
    }
    m_ui.fBox->reread();
    showRenaming(false);
    focusFileAfterRename(newName);
}

// When a rename ends the focus goes back to the input list, on the file
// (by its new name), never to whatever control follows the hidden field.
void MainFileTools::focusFileAfterRename(const QString& shownName)
{
    const QStringList names = m_ui.fBox->names();
    for (int row = 0; row < names.size(); ++row) {
        if (displayFileName(names[row]) == shownName) {
            m_ui.fBox->setFocusedIndex(row);
            break;
        }
    }
    m_ui.fBox->setFocus(Qt::OtherFocusReason);
}

void MainFileTools::CreateNewDirectory1Click()
{
    createDirectory(m_ui.fDir);
}

void MainFileTools::CreateNewDirectory2Click()
{
    createDirectory(m_ui.fNewDir);
}

void MainFileTools::createDirectory(FolderTree* start)
{
    SelectDirectoryDialog& dialog = *m_selectDirectory;
    dialog.setDirectory(start->folder());
    if (m_services.dialogs.run(dialog) != QDialog::Accepted)
        return;
    if (!createDirectoryWithParents(start->folder(), dialog.directory())) {
        m_services.messages.error(m_window, kUnableToCreateDirectory);
        return;
    }
    // The trees keep the folders they had; the new one simply appears.
    m_ui.fDir->refresh();
    m_ui.fNewDir->refresh();
}

void MainFileTools::RemoveDirectory1Click()
{
    removeDirectory(m_ui.fDir, m_ui.fNewDir);
}

void MainFileTools::RemoveDirectory2Click()
{
    removeDirectory(m_ui.fNewDir, m_ui.fDir);
}

void MainFileTools::removeDirectory(FolderTree* side, FolderTree* other)
{
    const QString folder = side->folder();
    if (m_services.messages.show(m_window, confirmRemoveDirectoryText(folder), MessageIcon::Question,
                                 MessageButtons::OkCancel) != MessageAnswer::Ok)
        return;
    // The folder must not be the current one while it goes.
    side->selectParent();
    if (!removeEmptyDirectory(folder)) {
        m_services.messages.report(m_window, kRemoveDirectoryError);
        side->setFolder(folder);
    }
    side->refresh();
    other->refresh();
}

void MainFileTools::RotateImage90degreeclockwise1Click()
{
    rotate(TurnDirection::Clockwise);
}

void MainFileTools::RotateImage90degreescounterclockwise1Click()
{
    rotate(TurnDirection::CounterClockwise);
}

void MainFileTools::rotate(TurnDirection direction)
{
    switch (rotationStart(m_ui.fBox->count(), m_ui.fBox->selectedCount(), previewHoldsPicture())) {
    case RotationStart::SelectFirst: m_services.messages.report(m_window, kSelectFileToRotate); return;
    case RotationStart::NothingToTurn: return;
    case RotationStart::AskToOverwrite: break;
    }
    if (m_services.messages.show(m_window, kOverwriteWarning, MessageIcon::Warning, MessageButtons::YesNo) !=
        MessageAnswer::Yes)
        return;
    try {
        // The whole picture is turned, never one reduced for the preview.
        loadWholePreviewPicture();
        const QString path = m_previewWindow().windowTitle();
        // A JPEG is turned from its file, so that it loses nothing; a WebP
        // file gives its camera information.
        TurnSource source;
        source.shownUpright = m_previewShownUpright;
        QFile file;
        const PictureKind kind = m_picture.kind();
        if ((kind == PictureKind::Jpeg || kind == PictureKind::Webp) && openForReading(file, path).ok() &&
            file.size() <= std::numeric_limits<int>::max())
            source.fileBytes = file.readAll();
        const TurnedPicture turned =
            turnPicture(m_picture, direction, m_ui.tbJpg->value(), source.fileBytes.isEmpty() ? nullptr : &source);
        m_picture = turned.picture;
        m_fullSize = QSize(m_picture.width(), m_picture.height());
        m_ui.Image1->setPixmap(QPixmap::fromImage(displayImage(m_picture)));
        // A failed write leaves the turned picture in the preview and the
        // file as it was.
        replaceFileContents(path, turned.fileBytes);
    } catch (const Error& error) {
        m_services.messages.error(m_window, error.message());
    }
}

}  // namespace tessaly
