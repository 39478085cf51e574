#pragma once

#include <QFile>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace tessaly {

// The record of a folder's last rename run, kept so that it can be undone.
// Each folder has one journal in `journalFolder` (a folder beside the
// settings file); a new rename run in the folder replaces it. Each rename is
// written down before it is tried and marked done or failed after it, so a
// run stopped by Cancel, an error or a crash leaves a true record: an entry
// without its mark is judged from the disk when undone.
class RenameJournal {
public:
    // The journal of a run in `folder`. It is started (replacing the
    // folder's last one) at the first rename, so a run that renames nothing
    // keeps the last run's record.
    RenameJournal(const QString& journalFolder, const QString& folder);

    // Throws Error when the journal cannot be written: the rename is then
    // not to be made.
    void beforeRename(const QString& oldPath, const QString& newPath);
    void afterRename(bool renamed);

private:
    void write(const QByteArray& line);
    QString m_journalFolder, m_folder;
    QFile m_file;
};

// What an undo did: the files given back their old names, and a line for
// each file left as it is, with the reason.
struct UndoOutcome {
    bool found = false;  // there was a journal to undo
    QString folder;
    int restored = 0;
    QStringList skipped;
};

// Renames the files of the last rename run in `folder` (or, without one, of
// the newest journal) back, newest first, never over an existing file. The
// journal then keeps only the renames that could not be undone and whose
// file is still there, so the undo can be repeated; it is retired once
// none is left. Throws Error when the journal cannot be read or kept.
UndoOutcome undoLastRename(const QString& journalFolder, const std::optional<QString>& folder);

// Whether `folder` has a rename run to undo.
bool hasRenameJournal(const QString& journalFolder, const QString& folder);

// The journal folder beside a settings file.
QString journalFolderBeside(const QString& settingsPath);

}  // namespace tessaly
