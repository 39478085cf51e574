#pragma once

#include <QDialog>
#include <QTextCursor>
#include <QTextDocument>
#include <memory>

class QPlainTextEdit;

namespace Ui {
class FindReplaceDialog;
}

namespace tessaly {

// The editor's non-modal find dialog, or with `withReplace` its find and
// replace dialog. Searches start from the editor's selection: forwards
// from its end, backwards from its start; a match is selected and the
// dialog moves out of its way. A search that finds nothing changes nothing.
class FindReplaceDialog : public QDialog {
    Q_OBJECT
public:
    FindReplaceDialog(QPlainTextEdit& editor, bool withReplace, QWidget* parent);
    ~FindReplaceDialog() override;

    // Shows the dialog with `searchText` in its field and brings it forward.
    void openWith(const QString& searchText);
    QString searchText() const;

signals:
    // The user searched for `text`; the other dialog offers it next time.
    void searched(const QString& text);

private:
    QTextDocument::FindFlags flags() const;
    // The next match after (or before) the selection, or a null cursor.
    QTextCursor nextMatch(const QTextCursor& from) const;
    // The selection itself when it is a match (Replace starts with it).
    bool isMatch(const QTextCursor& selection) const;
    void selectMatch(const QTextCursor& match);
    void keepClearOf(const QTextCursor& match);

    void findNext();
    void replaceOne();
    void replaceAll();

    std::unique_ptr<Ui::FindReplaceDialog> m_ui;
    QPlainTextEdit& m_editor;
};

}  // namespace tessaly
