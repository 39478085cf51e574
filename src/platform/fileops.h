#pragma once

#include <QString>

namespace tessaly {

// Renames `from` to `to` only when no file of that name exists; never
// replaces one. False when the file system refuses.
bool renameNoReplace(const QString& from, const QString& to);

// True when the two paths name the same file (also through links).
bool sameFile(const QString& first, const QString& second);

}  // namespace tessaly
