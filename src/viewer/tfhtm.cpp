#include "viewer/tfhtm.h"

#include "ui_tfhtm.h"
#include "viewer/findreplacedialog.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFontDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <algorithm>

namespace tessaly {

namespace {

const QString kNote =
    QStringLiteral("(NOTE - if you changed the relative reference to images, or save the html in a different location, "
                   "your html may not work correctly)");
const QStringList kFilters = {QStringLiteral("*.htm (HTML File) (*.htm *.html)"),
                              QStringLiteral("*.txt (Text File) (*.txt)")};
const QColor kCaptionBlack(0, 0, 0);
const QColor kCaptionHover(0x00, 0x80, 0x00);

// A tool-button picture drawn from a symbol, for desktops without an icon
// theme.
QIcon symbolIcon(const QString& symbol, const QFont& base, bool bold = false)
{
    QPixmap pixmap(40, 40);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont font = base;
    font.setPixelSize(30);
    font.setBold(bold);
    painter.setFont(font);
    painter.setPen(QColor(40, 40, 40));
    painter.drawText(pixmap.rect(), Qt::AlignCenter, symbol);
    return QIcon(pixmap);
}

// A magnifying glass, for Find.
QIcon magnifierIcon()
{
    QPixmap pixmap(40, 40);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(40, 40, 40), 4));
    painter.drawEllipse(QRectF(6, 6, 18, 18));
    painter.setPen(QPen(QColor(40, 40, 40), 6, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(23, 23), QPointF(33, 33));
    return QIcon(pixmap);
}

QIcon themedIcon(const char* name, const QString& symbol, const QFont& base, bool bold = false)
{
    const QIcon themed = QIcon::fromTheme(QString::fromLatin1(name));
    return themed.isNull() ? symbolIcon(symbol, base, bold) : themed;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ViewerFileError(QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw ViewerFileError(QStringLiteral("Cannot read file \"%1\". %2").arg(path, file.errorString()));
    return bytes;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    // In a folder where no new file may be made, the file is written in place.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw ViewerFileError(QStringLiteral("Cannot create file \"%1\". %2").arg(path, file.errorString()));
}

}  // namespace

TfHTM::TfHTM(PlatformServices& services, QWidget* parent)
    : QWidget(parent, Qt::Window), m_ui(std::make_unique<Ui::TfHTM>()), m_services(services)
{
    m_ui->setupUi(this);
    resize(636, 460);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    setupIcons();
    setupDialogs();

    Ui::TfHTM& ui = *m_ui;
    for (GradientButton* button : {ui.bOpenIt, ui.bSaveIt, ui.bBrowse, ui.bOK}) {
        // Wide enough for the caption in whichever font stands in for Times.
        button->setMinimumWidth(std::max(56, button->fontMetrics().horizontalAdvance(button->text()) + 16));
        connect(button, &GradientButton::mouseEntered, button, [button] { button->setCaptionColor(kCaptionHover); });
        connect(button, &GradientButton::mouseLeft, button, [button] { button->setCaptionColor(kCaptionBlack); });
    }
    connect(ui.bOpenIt, &QPushButton::clicked, this, &TfHTM::bOpenItClick);
    connect(ui.bSaveIt, &QPushButton::clicked, this, &TfHTM::bSaveItClick);
    connect(ui.bBrowse, &QPushButton::clicked, this, &TfHTM::bBrowseClick);
    connect(ui.bOK, &QPushButton::clicked, this, &TfHTM::bOKClick);
    connect(ui.bSelAll, &QPushButton::clicked, this, &TfHTM::bSelAllClick);
    connect(ui.bDelSel, &QPushButton::clicked, this, &TfHTM::bDelSelClick);
    connect(ui.bUndo, &QToolButton::clicked, this, &TfHTM::bUndoClick);
    connect(ui.bRedo, &QToolButton::clicked, this, &TfHTM::bRedoClick);
    connect(ui.bFind, &QToolButton::clicked, this, &TfHTM::bFindClick);
    connect(ui.bReplace, &QToolButton::clicked, this, &TfHTM::bReplaceClick);
    connect(ui.bFont, &QToolButton::clicked, this, &TfHTM::bFontClick);
    connect(ui.bNotepad, &QToolButton::clicked, this, &TfHTM::bNotepadClick);
    connect(ui.bWordpad, &QToolButton::clicked, this, &TfHTM::bWordpadClick);
    connect(ui.Memo1, &QPlainTextEdit::selectionChanged, this, &TfHTM::Memo1SelectionChange);
    connect(ui.Memo1, &QPlainTextEdit::cursorPositionChanged, this, &TfHTM::Memo1SelectionChange);

    m_findDialog = new FindReplaceDialog(*ui.Memo1, false, this);
    m_replaceDialog = new FindReplaceDialog(*ui.Memo1, true, this);
    for (FindReplaceDialog* dialog : {m_findDialog, m_replaceDialog})
        connect(dialog, &FindReplaceDialog::searched, this, [this](const QString& text) { m_searchText = text; });
}

TfHTM::~TfHTM() = default;

void TfHTM::setupIcons()
{
    Ui::TfHTM& ui = *m_ui;
    const QFont base = font();
    ui.bUndo->setIcon(themedIcon("edit-undo", QStringLiteral("\u21B6"), base));
    ui.bRedo->setIcon(themedIcon("edit-redo", QStringLiteral("\u21B7"), base));
    const QIcon find = QIcon::fromTheme(QStringLiteral("edit-find"));
    ui.bFind->setIcon(find.isNull() ? magnifierIcon() : find);
    ui.bReplace->setIcon(themedIcon("edit-find-replace", QStringLiteral("\u21C4"), base));
    ui.bFont->setIcon(
        themedIcon("preferences-desktop-font", QStringLiteral("A"), QFont(QStringLiteral("Serif")), true));
    ui.bNotepad->setIcon(themedIcon("accessories-text-editor", QStringLiteral("\u270E"), base));
    ui.bWordpad->setIcon(themedIcon("x-office-document", QStringLiteral("W"), QFont(QStringLiteral("Serif")), true));
}

void TfHTM::setupDialogs()
{
    m_saveDialog = new QFileDialog(this, QStringLiteral("Save HTML"));
    m_saveDialog->setObjectName(QStringLiteral("SD"));
    m_saveDialog->setAcceptMode(QFileDialog::AcceptSave);
    m_saveDialog->setFileMode(QFileDialog::AnyFile);
    m_saveDialog->setDefaultSuffix(QStringLiteral("htm"));
    m_saveDialog->setNameFilters(kFilters);
    m_saveDialog->setOption(QFileDialog::HideNameFilterDetails);

    m_openDialog = new QFileDialog(this, QStringLiteral("Open HTML Files"));
    m_openDialog->setObjectName(QStringLiteral("OD"));
    m_openDialog->setAcceptMode(QFileDialog::AcceptOpen);
    m_openDialog->setFileMode(QFileDialog::ExistingFile);
    m_openDialog->setDefaultSuffix(QStringLiteral("htm"));
    m_openDialog->setNameFilters(kFilters);
    m_openDialog->setOption(QFileDialog::HideNameFilterDetails);

    // Qt's own font dialog, which can carry an Apply button.
    m_fontDialog = new QFontDialog(QFont(QStringLiteral("Arial"), 8), this);
    m_fontDialog->setObjectName(QStringLiteral("FD1"));
    m_fontDialog->setOption(QFontDialog::DontUseNativeDialog);
    if (auto* buttons = m_fontDialog->findChild<QDialogButtonBox*>()) {
        QPushButton* apply = buttons->addButton(QDialogButtonBox::Apply);
        apply->setObjectName(QStringLiteral("FD1ApplyButton"));
        connect(apply, &QPushButton::clicked, this, &TfHTM::FD1Apply);
    }
}

void TfHTM::clearBrowseFile()
{
    m_browseFile.clear();
}

void TfHTM::showViewer()
{
    show();
    raise();
    activateWindow();
}

void TfHTM::putPage(const QString& text)
{
    QPlainTextEdit& memo = *m_ui->Memo1;
    memo.setPlainText(withNewlines(text));
    QTextCursor caret(memo.document());
    caret.setPosition(std::min(1, memo.document()->characterCount() - 1));
    memo.setTextCursor(caret);
    memo.document()->setModified(false);
    m_encoding = {};
}

void TfHTM::setPageCaption(const QString& pagePath)
{
    setWindowTitle(QStringLiteral("HTML Editor: ") + pagePath);
}

void TfHTM::pointDialogsAt(const QString& pagePath, const QString& folder)
{
    m_saveDialog->selectFile(pagePath);
    m_openDialog->setDirectory(folder);
}

void TfHTM::savePage(const QString& path)
{
    writeFile(path, fileFromText(text(), m_encoding));
    m_currentFile = path;
    m_ui->Memo1->document()->setModified(false);
}

void TfHTM::setBrowseFile(const QString& path)
{
    m_browseFile = path;
}

void TfHTM::setBrowseEnabled(bool enabled)
{
    m_ui->bBrowse->setEnabled(enabled);
}

QString TfHTM::text() const
{
    // The raw text keeps non-breaking spaces, which toPlainText() would
    // turn into ordinary ones.
    return withNewlines(m_ui->Memo1->document()->toRawText());
}

bool TfHTM::isModified() const
{
    return m_ui->Memo1->document()->isModified();
}

QString TfHTM::askSavePath()
{
    if (m_services.dialogs.run(*m_saveDialog) != QDialog::Accepted)
        return {};
    return m_saveDialog->selectedFiles().value(0);
}

bool TfHTM::writeText(const QString& path)
{
    try {
        writeFile(path, fileFromText(text(), m_encoding));
        return true;
    } catch (const ViewerFileError& error) {
        m_services.messages.error(this, error.message());
        return false;
    }
}

void TfHTM::bOpenItClick()
{
    if (isModified() && m_services.messages.show(this, QStringLiteral("File has changed, Save File?\r") + kNote,
                                                 MessageIcon::Question, MessageButtons::YesNo) == MessageAnswer::Yes) {
        // Saved as a copy: the file shown and the modified flag stay.
        const QString path = askSavePath();
        if (!path.isEmpty() && !writeText(path))
            return;
    }
    if (m_services.dialogs.run(*m_openDialog) != QDialog::Accepted)
        return;
    const QString path = m_openDialog->selectedFiles().value(0);
    if (path.isEmpty())
        return;
    EditorText loaded;
    try {
        loaded = textFromFile(readFile(path));
    } catch (const ViewerFileError& error) {
        m_services.messages.error(this, error.message());
        return;
    }
    m_ui->Memo1->setPlainText(loaded.text);
    m_encoding = loaded.encoding;
    m_currentFile = path;
    m_ui->Memo1->document()->setModified(false);
    setPageCaption(path);
    m_browseFile.clear();
}

void TfHTM::bSaveItClick()
{
    const QString path = askSavePath();
    if (path.isEmpty() || !writeText(path))
        return;
    m_currentFile = path;
    m_ui->Memo1->document()->setModified(false);
}

void TfHTM::bBrowseClick()
{
    if (m_currentFile.isEmpty()) {
        if (m_services.messages.show(this, QStringLiteral("File must be saved.  Save Now?"), MessageIcon::Question,
                                     MessageButtons::YesNo) != MessageAnswer::Yes)
            return;
        const QString path = askSavePath();
        // Without a file there is nothing to save changes to or to open.
        if (path.isEmpty() || !writeText(path))
            return;
        m_currentFile = path;
        m_ui->Memo1->document()->setModified(false);
    }
    if (isModified()) {
        const MessageAnswer answer = m_services.messages.show(this, QStringLiteral("File has changed.  Save Changes?"),
                                                              MessageIcon::Question, MessageButtons::YesNoCancel);
        if (answer == MessageAnswer::Cancel)
            return;
        if (answer == MessageAnswer::Yes) {
            if (!writeText(m_currentFile))
                return;
            m_ui->Memo1->document()->setModified(false);
        }
    }
    const QString page = m_browseFile.isEmpty() ? m_currentFile : m_browseFile;
    if (!page.isEmpty())
        m_services.shell.openFile(page);
}

void TfHTM::bOKClick()
{
    if ((m_currentFile.isEmpty() || isModified()) &&
        m_services.messages.show(this, QStringLiteral("Save File?\r") + kNote, MessageIcon::Question,
                                 MessageButtons::YesNo) == MessageAnswer::Yes) {
        // Saved as a copy: the file shown and the modified flag stay. A
        // failed save keeps the window open with the text.
        const QString path = askSavePath();
        if (!path.isEmpty() && !writeText(path))
            return;
    }
    hide();
}

void TfHTM::bSelAllClick()
{
    m_ui->Memo1->setFocus();
    m_ui->Memo1->selectAll();
}

void TfHTM::bDelSelClick()
{
    QTextCursor caret = m_ui->Memo1->textCursor();
    caret.setPosition(0);
    m_ui->Memo1->setTextCursor(caret);
}

void TfHTM::bUndoClick()
{
    m_ui->Memo1->undo();
}

void TfHTM::bRedoClick()
{
    m_ui->Memo1->redo();
}

QString TfHTM::searchTextToOffer() const
{
    QString selected = m_ui->Memo1->textCursor().selectedText();
    // Only the selection's first line: the search field holds one line.
    selected = withNewlines(selected).section(u'\n', 0, 0);
    return selected.isEmpty() ? m_searchText : selected;
}

void TfHTM::bFindClick()
{
    m_replaceDialog->hide();
    m_findDialog->openWith(searchTextToOffer());
}

void TfHTM::bReplaceClick()
{
    m_findDialog->hide();
    m_replaceDialog->openWith(searchTextToOffer());
}

void TfHTM::bFontClick()
{
    m_fontDialog->setCurrentFont(m_ui->Memo1->font());
    if (m_services.dialogs.run(*m_fontDialog) == QDialog::Accepted)
        m_ui->Memo1->setFont(m_fontDialog->currentFont());
}

void TfHTM::FD1Apply()
{
    m_ui->Memo1->setFont(m_fontDialog->currentFont());
}

void TfHTM::bNotepadClick()
{
    // An empty editor, as Notepad opened by its button.
    if (!m_services.shell.startTextEditor(QString()))
        m_services.messages.show(this,
                                 QStringLiteral("No plain-text editor could be started. Install one (for example "
                                                "gedit, kate or mousepad) and try again."),
                                 MessageIcon::Warning, MessageButtons::Ok);
}

void TfHTM::bWordpadClick()
{
    if (!m_services.shell.startWordProcessor(QString()))
        m_services.messages.show(this,
                                 QStringLiteral("No word processor could be started. Install one (for example "
                                                "LibreOffice Writer or AbiWord) and try again."),
                                 MessageIcon::Warning, MessageButtons::Ok);
}

void TfHTM::Memo1SelectionChange()
{
    QPlainTextEdit* memo = m_ui->Memo1;
    if (memo->isVisible() && memo->isEnabled() && !memo->hasFocus())
        memo->setFocus();
}

void TfHTM::keyPressEvent(QKeyEvent* event)
{
    // Escape puts the window away as its close box does, without a question.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        hide();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace tessaly
