#pragma once

#include "platform/status.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

class QFile;

namespace tessaly {

// Renames `from` to `to` only when no file of that name exists; never
// replaces one. False when the file system refuses.
[[nodiscard]] bool renameNoReplace(const QString& from, const QString& to);

// Writes all `size` bytes to the descriptor, again after interruptions;
// false when it cannot.
[[nodiscard]] bool writeAll(int fd, const char* data, std::int64_t size);
// Reads the descriptor to its end onto `bytes`; false on a read error.
[[nodiscard]] bool readAll(int fd, QByteArray& bytes);

// True when the two paths name the same file (also through links).
bool sameFile(const QString& first, const QString& second);

// The size in bytes of the file at `path`; none when there is no such file.
std::optional<std::int64_t> fileSize(const QString& path);

// Every path here may hold bytes that are not UTF-8 (filenames.h): these
// functions reach the file by its exact bytes, where Qt's file classes
// would not.

// True when `path` names an existing file or folder (links followed).
bool fileExists(const QString& path);

// True when `path` names a folder, or an ordinary file (links followed).
bool isFolder(const QString& path);
bool isOrdinaryFile(const QString& path);

// Makes the folder at `path` with any missing parents; true when it is
// there as a folder afterwards.
[[nodiscard]] bool makeFolders(const QString& path);

// Deletes the file at `path`; false when it could not.
bool removeFile(const QString& path);

// Opens the file at `path` for reading into `file`.
Status openForReading(QFile& file, const QString& path);

// Why what stands at `path` is no ordinary file ("not an ordinary file but
// a named pipe (FIFO)"), links followed; none for an ordinary file or for
// nothing there.
[[nodiscard]] std::optional<QString> notOrdinaryFileReason(const QString& path);

// A source file, opened once: it is checked to be an ordinary file on the
// opened descriptor (so a name swapped for a pipe or a device in between
// is seen), and read no further than the size it had when opened (so a
// file that grows, or a device behind the name, cannot make a read
// endless). Opening never waits: a named pipe without a writer is refused
// like any other.
class SourceFile {
public:
    SourceFile() = default;
    ~SourceFile();
    SourceFile(const SourceFile&) = delete;
    SourceFile& operator=(const SourceFile&) = delete;

    Status open(const QString& path);
    // The size when it was opened.
    std::int64_t size() const { return m_size; }
    int descriptor() const { return m_fd; }
    // Up to `count` bytes, never past the size; 0 at the end, -1 on a read
    // error (errno says which).
    std::int64_t read(char* data, std::int64_t count);
    // Whether every byte up to that size has been read.
    bool readToTheEnd() const { return m_read == m_size; }
    // The rest of the file, as far as its size when opened; fails on a
    // read error or a file cut short since it was opened.
    Status readRest(QByteArray& bytes);
    void close();

private:
    int m_fd = -1;
    std::int64_t m_size = 0;
    std::int64_t m_read = 0;
};

// The whole file at `path` through a SourceFile, refused when it is larger
// than `limit` bytes.
Status readSourceFile(const QString& path, QByteArray& bytes, std::int64_t limit,
                      std::int64_t* sizeWhenOpened = nullptr);

// Writes a file that replaces the one at `path` only once it is complete
// and synced, so that a failed write (a full disk among others) leaves the
// old file or none under that name.
//
// Where the file must be rewritten in place instead (its folder takes no
// new files, or it has other hard links, which must all see the new
// bytes), the original is first copied aside into the user's cache folder
// and synced; only once the new bytes are written and synced is the copy
// removed. On any failure the original bytes are put back; when even that
// fails, the reason says where the copy is kept. The file is given up (the
// original kept) unless committed.
class FileReplacement {
public:
    explicit FileReplacement(const QString& path);
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    Status open();
    Status write(const char* data, std::int64_t size);
    Status commit();

    // Where the copies of files rewritten in place are kept while they are
    // written (tests may point it elsewhere); made when needed.
    static QString keptOriginalsFolder();
    static void setKeptOriginalsFolder(const QString& folder);

private:
    Status openInPlace();
    // Puts the original back after a failed write in place; the failure,
    // with where the copy is when that fails too.
    QString restored(const QString& failure);
    void giveUp();

    QString m_path;
    bool m_inPlace = false;
    bool m_opened = false;
    bool m_done = false;
    // The new file: a temporary file of the same folder, opened and renamed
    // by its bytes, or the target itself when rewritten in place.
    int m_fd = -1;
    QByteArray m_target;
    QByteArray m_temporary;
    QByteArray m_keptCopy;  // the original's copy while a file is rewritten in place
};

// Writes `bytes` as the whole file at `path` through a FileReplacement.
Status writeWholeFile(const QString& path, const QByteArray& bytes);

}  // namespace tessaly
