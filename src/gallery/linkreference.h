#pragma once

#include <QString>

namespace tessaly {

// How paths are spelled: the separator, whether the text before the first
// separator names a drive (as in "C:\Pics"), and whether folder names
// differ by letter case.
struct PathStyle {
    QChar separator;
    bool hasDrive;
    Qt::CaseSensitivity caseSensitivity;
};

// This system's own paths: "/" between folders, no drives, and names that
// differ by case are different folders.
inline constexpr PathStyle kNativePaths{u'/', false, Qt::CaseSensitive};
// Drive-letter paths with backslashes, compared without regard to case.
inline constexpr PathStyle kDrivePaths{u'\\', true, Qt::CaseInsensitive};

// The address of the picture folder `pictures` as seen from the page folder
// `page`: "../" for every folder of `page` below their common part, then
// the rest of `pictures` joined by "/" with a final "/". Empty for the same
// folder; "*" for folders on different drives (no relative address). Either
// folder may end in one separator; empty components are kept as they are.
QString RelativeReference(const QString& page, const QString& pictures, const PathStyle& style = kNativePaths);

}  // namespace tessaly
