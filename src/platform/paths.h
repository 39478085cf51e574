#pragma once

#include <QString>

namespace tessaly::paths {

// The separator of native paths.
inline constexpr QChar separator = u'/';

// The root of the file system; it stands where a drive root stands on other
// systems and is the only folder reported with a trailing separator.
QString root();

// Joins a folder and a name with exactly one separator: "/" + "a.jpg" is
// "/a.jpg", "/pics" + "a.jpg" is "/pics/a.jpg", "/pics/" + "a.jpg" too.
QString join(const QString& folder, const QString& name);

// The folder part of a path, without a trailing separator ("/" for a file
// in the root, empty for a bare name).
QString folderOf(const QString& path);

// The part after the last separator, unchanged.
QString fileNameOf(const QString& path);

// A folder as the folder trees report it: no trailing separator, except the
// root itself.
QString normalFolder(const QString& folder);

// The root of the current working folder (the first characters of it that
// name its drive); on this system always the root.
QString rootOfWorkingFolder();

// Where a new user's folder trees start, and where Reset puts them: the
// user's Pictures folder (XDG_PICTURES_DIR of user-dirs.dirs, as
// `xdg-user-dir PICTURES` reads it, else ~/Pictures) when it exists, else
// the home folder. The root of the working folder is "/" here, which holds
// system folders and no pictures.
QString startFolder();

// The folder of the running program's executable.
QString programFolder();

}  // namespace tessaly::paths
