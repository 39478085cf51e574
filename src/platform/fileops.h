#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

namespace tessaly {

// Renames `from` to `to` only when no file of that name exists; never
// replaces one. False when the file system refuses.
bool renameNoReplace(const QString& from, const QString& to);

// True when the two paths name the same file (also through links).
bool sameFile(const QString& first, const QString& second);

// The size in bytes of the file at `path`; none when there is no such file.
std::optional<std::int64_t> fileSize(const QString& path);

// Writes `bytes` as the whole file at `path`. The bytes go to a temporary
// file beside it that replaces the file only once complete and synced, so
// a failed write (a full disk among others) leaves the old file or none.
// In a folder where no file can be made (no permission), an existing
// writable file is overwritten in place instead; if that fails, the
// cut-short file is removed rather than left under its name. Returns why
// the write failed, or none.
std::optional<QString> writeWholeFile(const QString& path, const QByteArray& bytes);

}  // namespace tessaly
