#include "batch/renamejournal.h"

#include "platform/error.h"
#include "platform/filenames.h"
#include "platform/fileops.h"
#include "platform/paths.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <vector>

namespace tessaly {

namespace {

// One line a record: "folder F", "rename OLD NEW", "done", "failed"; the
// paths' bytes percent-encoded, so that blanks and newlines in names stay
// apart and names that are not UTF-8 come back exactly.
const QByteArray kHeader = "tessaly rename journal 1";

QString journalPath(const QString& journalFolder, const QString& folder)
{
    const QByteArray key = QCryptographicHash::hash(encodeFileName(folder), QCryptographicHash::Sha1).toHex();
    return paths::join(journalFolder, QString::fromLatin1(key) + QStringLiteral(".journal"));
}

QByteArray encoded(const QString& path)
{
    return encodeFileName(path).toPercentEncoding();
}

QString decoded(const QByteArray& text)
{
    return decodeFileName(QByteArray::fromPercentEncoding(text));
}

struct Entry {
    QString oldPath, newPath;
    enum class Mark { None, Done, Failed } mark = Mark::None;
};

struct Journal {
    QString folder;
    std::vector<Entry> entries;
};

Journal readJournal(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Cannot read the rename journal %1: %2").arg(path, file.errorString()));
    const QList<QByteArray> lines = file.readAll().split('\n');
    if (lines.value(0) != kHeader || !lines.value(1).startsWith("folder "))
        throw Error(QStringLiteral("%1 is no rename journal").arg(path));
    Journal journal;
    journal.folder = decoded(lines[1].mid(7));
    for (qsizetype i = 2; i < lines.size(); ++i) {
        const QList<QByteArray> fields = lines[i].split(' ');
        if (fields.value(0) == "rename" && fields.size() == 3)
            journal.entries.push_back({decoded(fields[1]), decoded(fields[2])});
        else if (!journal.entries.empty() && lines[i] == "done")
            journal.entries.back().mark = Entry::Mark::Done;
        else if (!journal.entries.empty() && lines[i] == "failed")
            journal.entries.back().mark = Entry::Mark::Failed;
        // Anything else is a line cut short by a crash: ignored.
    }
    return journal;
}

// The newest journal of the folder; none when there is none.
std::optional<QString> newestJournal(const QString& journalFolder)
{
    const QFileInfoList found =
        QDir(journalFolder).entryInfoList({QStringLiteral("*.journal")}, QDir::Files, QDir::Time);
    if (found.isEmpty())
        return std::nullopt;
    return found.front().absoluteFilePath();
}

}  // namespace

RenameJournal::RenameJournal(const QString& journalFolder, const QString& folder)
    : m_journalFolder(journalFolder), m_folder(folder)
{
}

void RenameJournal::write(const QByteArray& line)
{
    // Flushed at once: the record must be on disk before the rename it announces.
    if (m_file.write(line + '\n') != line.size() + 1 || !m_file.flush())
        throw Error(
            QStringLiteral("Cannot write the rename journal %1: %2").arg(m_file.fileName(), m_file.errorString()));
}

void RenameJournal::beforeRename(const QString& oldPath, const QString& newPath)
{
    if (!m_file.isOpen()) {
        if (!QDir().mkpath(m_journalFolder))
            throw Error(QStringLiteral("Cannot make the folder of the rename journal %1").arg(m_journalFolder));
        m_file.setFileName(journalPath(m_journalFolder, m_folder));
        if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw Error(
                QStringLiteral("Cannot write the rename journal %1: %2").arg(m_file.fileName(), m_file.errorString()));
        write(kHeader);
        write("folder " + encoded(m_folder));
    }
    write("rename " + encoded(oldPath) + ' ' + encoded(newPath));
}

void RenameJournal::afterRename(bool renamed)
{
    write(renamed ? "done" : "failed");
}

UndoOutcome undoLastRename(const QString& journalFolder, const std::optional<QString>& folder)
{
    UndoOutcome outcome;
    std::optional<QString> path =
        folder ? std::optional<QString>(journalPath(journalFolder, *folder)) : newestJournal(journalFolder);
    if (!path || !QFileInfo::exists(*path))
        return outcome;
    const Journal journal = readJournal(*path);
    outcome.found = true;
    outcome.folder = journal.folder;
    // The renames not undone now stay in the journal, oldest first, so an
    // undo refused (a read-only folder, a name taken) can be tried again.
    std::vector<const Entry*> left;
    for (auto entry = journal.entries.rbegin(); entry != journal.entries.rend(); ++entry) {
        const bool newThere = fileExists(entry->newPath);
        const bool oldThere = fileExists(entry->oldPath);
        // An entry without its mark: the run stopped during that rename.
        const bool renamed =
            entry->mark == Entry::Mark::Done || (entry->mark == Entry::Mark::None && newThere && !oldThere);
        if (!renamed)
            continue;
        const QString shown = paths::fileNameOf(entry->newPath);
        if (!newThere) {
            // Nothing is left to give its name back to.
            outcome.skipped << QStringLiteral("%1: gone since the rename; not renamed back").arg(shown);
        } else if (oldThere) {
            outcome.skipped << QStringLiteral("%1: its old name %2 is taken; not renamed back")
                                   .arg(shown, paths::fileNameOf(entry->oldPath));
            left.insert(left.begin(), &*entry);
        } else if (!renameNoReplace(entry->newPath, entry->oldPath)) {
            const QString reason = QString::fromLocal8Bit(std::strerror(errno));
            outcome.skipped << QStringLiteral("%1: could not be renamed back to %2 (%3)")
                                   .arg(shown, paths::fileNameOf(entry->oldPath), reason);
            left.insert(left.begin(), &*entry);
        } else {
            ++outcome.restored;
        }
    }
    if (left.empty()) {
        QFile::remove(*path);
        return outcome;
    }
    QByteArray kept = kHeader + "\nfolder " + encoded(journal.folder) + '\n';
    for (const Entry* entry : left)
        kept += "rename " + encoded(entry->oldPath) + ' ' + encoded(entry->newPath) + "\ndone\n";
    if (const Status written = writeWholeFile(*path, kept); written.failed())
        throw Error(QStringLiteral("Cannot write the rename journal %1: %2").arg(*path, written.reason()));
    return outcome;
}

bool hasRenameJournal(const QString& journalFolder, const QString& folder)
{
    return QFileInfo::exists(journalPath(journalFolder, folder));
}

QString journalFolderBeside(const QString& settingsPath)
{
    return paths::join(paths::folderOf(QFileInfo(settingsPath).absoluteFilePath()), QStringLiteral("rename-journals"));
}

}  // namespace tessaly
