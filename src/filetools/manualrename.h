#pragma once

#include <QString>

namespace tessaly {

inline const QString kRenameFailed = QStringLiteral("Failed");

enum class RenameOutcome {
    Unchanged,  // the name is the same, with case: no file touched
    Renamed,
    Failed,  // refused: the name is taken or not a plain file name, or the file is gone
};

// Renames the file `renamePath` to `newName` in `targetFolder` (the input
// folder at the moment of confirming, which may differ from the file's own
// folder). The name part of `renamePath` is compared with `newName` with
// case; only a different name moves the file. An existing file is never
// replaced, and a name holding a path separator is refused.
RenameOutcome renameManually(const QString& renamePath, const QString& targetFolder, const QString& newName);

// Renames `from` to `to` without ever replacing a file. A change of letter
// case alone works also where the file system ignores case (there `to`
// already names the same file), by way of a temporary name.
bool renameWithoutReplacing(const QString& from, const QString& to);

}  // namespace tessaly
