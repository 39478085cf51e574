#pragma once

#include "platform/error.h"
#include "platform/services.h"
#include "viewer/pagetext.h"

#include <QWidget>
#include <memory>

class QFileDialog;
class QFontDialog;

namespace Ui {
class TfHTM;
}

namespace tessaly {

class FindReplaceDialog;

// A file the viewer could not read or write; the message names the file
// and the reason.
class ViewerFileError : public Error {
public:
    using Error::Error;
};

// The HTML viewer and editor: a window beside the main window (it never
// blocks it) that shows a gallery page as plain text, lets the user change,
// save and reopen it and opens it in the browser.
//
// `CurrentFile` is the file the editor shows, to which "Open in Browser"
// saves changes; `BrowseFile`, when set, is the page "Open in Browser"
// opens instead (the frameset of a frames gallery).
//
// Files are saved with "\r\n" after every line, the last line included, so
// a page put into the editor is saved as its text plus one "\r\n": the
// same bytes the gallery writers write without the editor.
class TfHTM : public QWidget {
    Q_OBJECT
public:
    explicit TfHTM(PlatformServices& services, QWidget* parent = nullptr);
    ~TfHTM() override;

    Ui::TfHTM& form() { return *m_ui; }

    // What the gallery writers do with the window, in the order they do it.
    void clearBrowseFile();
    // Shows the window without blocking anything, in front.
    void showViewer();
    // Empties the editor and puts `text` in it (any line ends), caret at
    // position 1, nothing to undo, not modified.
    void putPage(const QString& text);
    // "HTML Editor: " and the page's full path.
    void setPageCaption(const QString& pagePath);
    // The save dialog proposes `pagePath`, the open dialog starts in `folder`.
    void pointDialogsAt(const QString& pagePath, const QString& folder);
    // Writes the editor's text to `path`, which becomes `CurrentFile`, and
    // clears the modified flag. Throws ViewerFileError and then changes
    // nothing.
    void savePage(const QString& path);
    void setBrowseFile(const QString& path);
    void setBrowseEnabled(bool enabled);

    QString currentFile() const { return m_currentFile; }
    QString text() const;
    bool isModified() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private slots:
    void bOpenItClick();
    void bSaveItClick();
    void bBrowseClick();
    void bOKClick();
    void bSelAllClick();
    void bDelSelClick();
    void bUndoClick();
    void bRedoClick();
    void bFindClick();
    void bReplaceClick();
    void bFontClick();
    void FD1Apply();
    void bNotepadClick();
    void bWordpadClick();
    void Memo1SelectionChange();

private:
    void setupDialogs();
    void setupIcons();
    // Shows the save dialog; the chosen path, or empty when cancelled.
    QString askSavePath();
    // Writes the text to `path`; false (after the error box) when it fails.
    bool writeText(const QString& path);
    // The selected text on its first line, or the last search text.
    QString searchTextToOffer() const;

    std::unique_ptr<Ui::TfHTM> m_ui;
    PlatformServices& m_services;
    QFileDialog* m_saveDialog;
    QFileDialog* m_openDialog;
    QFontDialog* m_fontDialog;
    FindReplaceDialog* m_findDialog;
    FindReplaceDialog* m_replaceDialog;
    QString m_currentFile;
    QString m_browseFile;
    QString m_searchText;
    // How the file in the editor was stored, kept when it is saved again.
    TextEncoding m_encoding;
};

}  // namespace tessaly
