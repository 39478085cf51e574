#include "viewer/findreplacedialog.h"

#include "ui_findreplacedialog.h"

#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScreen>

namespace tessaly {

FindReplaceDialog::FindReplaceDialog(QPlainTextEdit& editor, bool withReplace, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::FindReplaceDialog>()), m_editor(editor)
{
    m_ui->setupUi(this);
    setObjectName(withReplace ? QStringLiteral("ReplaceDialog") : QStringLiteral("FindDialog"));
    setWindowTitle(withReplace ? QStringLiteral("Replace") : QStringLiteral("Find"));
    setModal(false);
    m_ui->lReplaceWith->setVisible(withReplace);
    m_ui->eReplaceWith->setVisible(withReplace);
    m_ui->bReplaceOne->setVisible(withReplace);
    m_ui->bReplaceAll->setVisible(withReplace);
    connect(m_ui->bFindNext, &QPushButton::clicked, this, &FindReplaceDialog::findNext);
    connect(m_ui->bReplaceOne, &QPushButton::clicked, this, &FindReplaceDialog::replaceOne);
    connect(m_ui->bReplaceAll, &QPushButton::clicked, this, &FindReplaceDialog::replaceAll);
    connect(m_ui->bCancel, &QPushButton::clicked, this, &QDialog::reject);
    const auto updateButtons = [this] {
        const bool any = !m_ui->eFindWhat->text().isEmpty();
        m_ui->bFindNext->setEnabled(any);
        m_ui->bReplaceOne->setEnabled(any);
        m_ui->bReplaceAll->setEnabled(any);
    };
    connect(m_ui->eFindWhat, &QLineEdit::textChanged, this, updateButtons);
    updateButtons();
    adjustSize();
}

FindReplaceDialog::~FindReplaceDialog() = default;

void FindReplaceDialog::openWith(const QString& searchText)
{
    m_ui->eFindWhat->setText(searchText);
    m_ui->eFindWhat->selectAll();
    show();
    raise();
    activateWindow();
    m_ui->eFindWhat->setFocus();
}

QString FindReplaceDialog::searchText() const
{
    return m_ui->eFindWhat->text();
}

QTextDocument::FindFlags FindReplaceDialog::flags() const
{
    QTextDocument::FindFlags result;
    if (m_ui->cbMatchCase->isChecked())
        result |= QTextDocument::FindCaseSensitively;
    if (m_ui->cbWholeWord->isChecked())
        result |= QTextDocument::FindWholeWords;
    if (m_ui->rbUp->isChecked())
        result |= QTextDocument::FindBackward;
    return result;
}

QTextCursor FindReplaceDialog::nextMatch(const QTextCursor& from) const
{
    const QString text = searchText();
    if (text.isEmpty())
        return {};
    const QTextDocument::FindFlags how = flags();
    const int position = how.testFlag(QTextDocument::FindBackward) ? from.selectionStart() : from.selectionEnd();
    return m_editor.document()->find(text, position, how);
}

bool FindReplaceDialog::isMatch(const QTextCursor& selection) const
{
    if (!selection.hasSelection() || searchText().isEmpty())
        return false;
    const QTextCursor found =
        m_editor.document()->find(searchText(), selection.selectionStart(), flags() & ~QTextDocument::FindBackward);
    return !found.isNull() && found.selectionStart() == selection.selectionStart() &&
           found.selectionEnd() == selection.selectionEnd();
}

void FindReplaceDialog::selectMatch(const QTextCursor& match)
{
    m_editor.setTextCursor(match);
    m_editor.ensureCursorVisible();
    keepClearOf(match);
}

void FindReplaceDialog::keepClearOf(const QTextCursor& match)
{
    if (!isVisible())
        return;
    QRect matchRect = m_editor.cursorRect(match);
    matchRect.moveTopLeft(m_editor.viewport()->mapToGlobal(matchRect.topLeft()));
    const QRect frame = frameGeometry();
    if (!frame.intersects(matchRect))
        return;
    const QScreen* screen = this->screen();
    const QRect room = screen ? screen->availableGeometry() : QRect();
    // Above the match when there is room there, otherwise below it.
    int top = matchRect.top() - frame.height() - 8;
    if (room.isValid() && top < room.top())
        top = matchRect.bottom() + 8;
    move(frame.left(), top);
}

void FindReplaceDialog::findNext()
{
    emit searched(searchText());
    const QTextCursor match = nextMatch(m_editor.textCursor());
    if (!match.isNull())
        selectMatch(match);
}

void FindReplaceDialog::replaceOne()
{
    emit searched(searchText());
    // A selection that is itself a match is the one replaced; otherwise the
    // next match is found first, as Find Next would.
    QTextCursor target = m_editor.textCursor();
    if (!isMatch(target))
        target = nextMatch(target);
    if (target.isNull())
        return;
    target.insertText(m_ui->eReplaceWith->text());
    target.setPosition(target.position() - int(m_ui->eReplaceWith->text().size()), QTextCursor::KeepAnchor);
    selectMatch(target);
}

void FindReplaceDialog::replaceAll()
{
    emit searched(searchText());
    const QString replacement = m_ui->eReplaceWith->text();
    QTextCursor target = m_editor.textCursor();
    if (!isMatch(target))
        target = nextMatch(target);
    if (target.isNull())
        return;
    // One edit block, so that one Undo takes back every replacement; the
    // editor repaints once at the end.
    m_editor.setUpdatesEnabled(false);
    QTextCursor edit(m_editor.document());
    edit.beginEditBlock();
    QTextCursor last;
    // Each search starts beyond the text just inserted (or before it, going
    // up), so a replacement that contains the search text is not searched
    // again and the loop ends.
    while (!target.isNull()) {
        edit.setPosition(target.selectionStart());
        edit.setPosition(target.selectionEnd(), QTextCursor::KeepAnchor);
        edit.insertText(replacement);
        last = QTextCursor(m_editor.document());
        last.setPosition(edit.position() - int(replacement.size()));
        last.setPosition(edit.position(), QTextCursor::KeepAnchor);
        target = nextMatch(last);
    }
    edit.endEditBlock();
    m_editor.setUpdatesEnabled(true);
    selectMatch(last);
}

}  // namespace tessaly
