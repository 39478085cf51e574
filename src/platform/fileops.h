#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

class QFile;
class QSaveFile;

namespace tessaly {

// Renames `from` to `to` only when no file of that name exists; never
// replaces one. False when the file system refuses.
bool renameNoReplace(const QString& from, const QString& to);

// Writes all `size` bytes to the descriptor, again after interruptions;
// false when it cannot.
bool writeAll(int fd, const char* data, std::int64_t size);
// Reads the descriptor to its end onto `bytes`; false on a read error.
bool readAll(int fd, QByteArray& bytes);

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
bool makeFolders(const QString& path);

// Deletes the file at `path`; false when it could not.
bool removeFile(const QString& path);

// Opens the file at `path` for reading into `file`. Returns why it could
// not be opened, or none.
std::optional<QString> openForReading(QFile& file, const QString& path);

// Writes a file that replaces the one at `path` only once it is complete
// and synced, so that a failed write (a full disk among others) leaves the
// old file or none under that name. In a folder where no file can be made
// (no permission), an existing writable file is written in place instead,
// and removed again if that write fails. The file is given up unless
// committed.
class FileReplacement {
public:
    explicit FileReplacement(const QString& path);
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Each returns why it failed, or none.
    std::optional<QString> open();
    std::optional<QString> write(const char* data, std::int64_t size);
    std::optional<QString> commit();

private:
    void giveUp();

    QString m_path;
    bool m_inPlace = false;
    bool m_opened = false;
    bool m_done = false;
    // Paths Qt can encode go through QSaveFile; the others through a
    // temporary file of the same folder, opened and renamed by their bytes.
    std::unique_ptr<QSaveFile> m_save;
    int m_fd = -1;
    QByteArray m_target;
    QByteArray m_temporary;
};

// Writes `bytes` as the whole file at `path` through a FileReplacement.
// Returns why the write failed, or none.
std::optional<QString> writeWholeFile(const QString& path, const QByteArray& bytes);

}  // namespace tessaly
