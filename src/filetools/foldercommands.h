#pragma once

#include <QString>

namespace tessaly {

inline const QString kUnableToCreateDirectory = QStringLiteral("Unable to create directory");
inline const QString kRemoveDirectoryError = QStringLiteral("Error Removing Directory, it must be empty.");
inline const QString kFolderDoesNotExist = QStringLiteral("The specified directory does not exist. Create it?");

// "Confirm Delete of Directory " and the folder.
QString confirmRemoveDirectoryText(const QString& folder);

// Creates `path` with every missing folder above it; a relative path is
// taken from `baseFolder`. True also when the folder is there already;
// false for an empty path and for one that cannot be made (a file in the
// way, no permission).
bool createDirectoryWithParents(const QString& baseFolder, const QString& path);

// Removes the folder only when it is empty; a link is not followed.
bool removeEmptyDirectory(const QString& folder);

// Which items of the input popup menu are enabled when it opens: "Delete
// Selected Files" exactly when files are selected, every other item always.
bool pm1ItemEnabled(const QString& itemName, int selectedFiles);

}  // namespace tessaly
