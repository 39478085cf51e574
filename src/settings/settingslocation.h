#pragma once

#include "settings/inifile.h"

#include <QString>

namespace tessaly {

// The settings file's name, beside the program or in the user's folder.
inline constexpr char kSettingsFileName[] = "Tessaly.ini";

// What decides where the settings file lives.
struct SettingsFolderFacts {
    bool installed = false;       // the program runs from an installation
    bool folderWritable = false;  // the program's folder takes new files
    bool fileExists = false;      // Tessaly.ini is already beside the program
    bool fileWritable = false;    // ... and may be rewritten
};

enum class SettingsPlace { BesideProgram, UserConfig };

// Beside the program when its folder is writable, or when the file is
// already there and writable: a program run from its build folder or
// unpacked somewhere keeps everything in one place. An installed program,
// or one whose folder would refuse the file, uses the user's config folder.
// An installed program never writes beside itself, even when it could (run
// as root, or installed into a prefix in the user's home): that file would
// belong to no package and outlive the program's removal.
SettingsPlace settingsPlace(const SettingsFolderFacts& facts);

// $XDG_CONFIG_HOME/tessaly/Tessaly.ini, or ~/.config/tessaly/Tessaly.ini when
// the variable is empty or not an absolute path (as the XDG base directory
// rules require).
QString userSettingsPath(const QString& xdgConfigHome, const QString& home);

// The settings file of a program in `programFolder`, from the file system
// and the environment; in the user's config folder it makes its folder on
// the first save.
IniFile settingsFileFor(const QString& programFolder);

// The settings file of this program.
IniFile defaultSettingsFile();

}  // namespace tessaly
