#include "settings/settingslocation.h"

#include "platform/installlayout.h"
#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>

namespace tessaly {

SettingsPlace settingsPlace(const SettingsFolderFacts& facts)
{
    if (facts.installed)
        return SettingsPlace::UserConfig;
    if (facts.folderWritable || (facts.fileExists && facts.fileWritable))
        return SettingsPlace::BesideProgram;
    return SettingsPlace::UserConfig;
}

QString userSettingsPath(const QString& xdgConfigHome, const QString& home)
{
    const QString configHome = QDir::isAbsolutePath(xdgConfigHome) ? paths::normalFolder(xdgConfigHome)
                                                                   : paths::join(home, QStringLiteral(".config"));
    return paths::join(paths::join(configHome, QStringLiteral("tessaly")), QString::fromLatin1(kSettingsFileName));
}

IniFile settingsFileFor(const QString& programFolder)
{
    const QString beside = paths::join(programFolder, QString::fromLatin1(kSettingsFileName));
    const QFileInfo folder(programFolder);
    const QFileInfo file(beside);
    SettingsFolderFacts facts;
    facts.installed = installlayout::isInstalled(programFolder);
    facts.folderWritable = folder.isDir() && folder.isWritable();
    facts.fileExists = file.isFile();
    facts.fileWritable = file.isFile() && file.isWritable();
    if (settingsPlace(facts) == SettingsPlace::BesideProgram)
        return IniFile(beside);
    return IniFile(userSettingsPath(qEnvironmentVariable("XDG_CONFIG_HOME"), QDir::homePath()),
                   IniFile::MissingFolder::Create);
}

IniFile defaultSettingsFile()
{
    return settingsFileFor(paths::programFolder());
}

}  // namespace tessaly
