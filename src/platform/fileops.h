#pragma once

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

}  // namespace tessaly
