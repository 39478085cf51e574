#include "settings/settingslocation.h"
#include "support/tempfolder.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace tessaly {
namespace {

using testing::TempFolder;

// Beside the program when its folder takes the file or the file is already
// there and writable; an installed program always uses the user's folder.
TEST(SettingsLocation, PlaceFollowsTheProgramFolder)
{
    struct Row {
        bool installed, folderWritable, fileExists, fileWritable;
        SettingsPlace expected;
    };
    const Row rows[] = {
        {false, true, false, false, SettingsPlace::BesideProgram},  // build folder, first run
        {false, true, true, true, SettingsPlace::BesideProgram},    // build folder, later runs
        {false, false, true, true, SettingsPlace::BesideProgram},   // unpacked, file made writable
        {false, false, true, false, SettingsPlace::UserConfig},     // read-only file in read-only folder
        {false, false, false, false, SettingsPlace::UserConfig},    // system folder, no file
        {true, false, false, false, SettingsPlace::UserConfig},     // installed in /usr
        {true, true, false, false, SettingsPlace::UserConfig},      // installed, run as root
        {true, true, true, true, SettingsPlace::UserConfig},        // installed into a home prefix
    };
    for (const Row& row : rows) {
        const SettingsFolderFacts facts{row.installed, row.folderWritable, row.fileExists, row.fileWritable};
        EXPECT_EQ(settingsPlace(facts), row.expected)
            << row.installed << row.folderWritable << row.fileExists << row.fileWritable;
    }
}

// $XDG_CONFIG_HOME counts only as an absolute path; else ~/.config.
TEST(SettingsLocation, UserSettingsPathFromTheEnvironment)
{
    struct Row {
        const char* xdg;
        const char* expected;
    };
    const Row rows[] = {
        {"", "/home/ann/.config/tessaly/Tessaly.ini"},
        {"/srv/cfg", "/srv/cfg/tessaly/Tessaly.ini"},
        {"/srv/cfg/", "/srv/cfg/tessaly/Tessaly.ini"},
        {"relative/cfg", "/home/ann/.config/tessaly/Tessaly.ini"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(userSettingsPath(QString::fromUtf8(row.xdg), QStringLiteral("/home/ann")),
                  QString::fromUtf8(row.expected))
            << row.xdg;
}

class SettingsFileFor : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_savedXdg = qgetenv("XDG_CONFIG_HOME");
        m_hadXdg = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", configHome().toUtf8());
    }
    void TearDown() override
    {
        if (m_hadXdg)
            qputenv("XDG_CONFIG_HOME", m_savedXdg);
        else
            qunsetenv("XDG_CONFIG_HOME");
    }
    QString configHome() const { return m_temp.path() + QStringLiteral("/config"); }
    QString userFile() const { return configHome() + QStringLiteral("/tessaly/Tessaly.ini"); }

    TempFolder m_temp;

private:
    QByteArray m_savedXdg;
    bool m_hadXdg = false;
};

// A program in a writable folder of its own (the build folder) keeps the
// file beside itself.
TEST_F(SettingsFileFor, WritableProgramFolderKeepsTheFileBesideTheProgram)
{
    const QString folder = m_temp.makeFolder(QStringLiteral("build/bin"));
    const IniFile file = settingsFileFor(folder);
    EXPECT_EQ(file.path(), folder + QStringLiteral("/Tessaly.ini"));
    file.writeInteger(QStringLiteral("Thumbnails"), QStringLiteral("Thumb Width"), 120);
    EXPECT_TRUE(QFileInfo::exists(folder + QStringLiteral("/Tessaly.ini")));
    EXPECT_FALSE(QFileInfo::exists(configHome()));
}

// An installed program uses the user's folder, which the first save makes,
// and reads back what it wrote there.
TEST_F(SettingsFileFor, InstalledProgramSavesInTheUserFolderMadeOnFirstSave)
{
    const QString bin = m_temp.makeFolder(QStringLiteral("usr/bin"));
    m_temp.makeFolder(QStringLiteral("usr/share/doc/tessaly"));
    const IniFile file = settingsFileFor(bin);
    EXPECT_EQ(file.path(), userFile());
    EXPECT_FALSE(QFileInfo::exists(configHome()));  // reading makes nothing
    EXPECT_EQ(file.readInteger(QStringLiteral("Thumbnails"), QStringLiteral("Thumb Width"), 96), 96);
    EXPECT_FALSE(QFileInfo::exists(configHome()));

    file.writeInteger(QStringLiteral("Thumbnails"), QStringLiteral("Thumb Width"), 150);
    EXPECT_EQ(testing::readAll(userFile()), QByteArray("[Thumbnails]\nThumb Width=150\n"));
    EXPECT_EQ(settingsFileFor(bin).readInteger(QStringLiteral("Thumbnails"), QStringLiteral("Thumb Width"), 96), 150);
    EXPECT_FALSE(QFileInfo::exists(bin + QStringLiteral("/Tessaly.ini")));
}

// A program folder that cannot take the file (here: one that is gone)
// falls back to the user's folder as well.
TEST_F(SettingsFileFor, UnusableProgramFolderFallsBackToTheUserFolder)
{
    EXPECT_EQ(settingsFileFor(m_temp.path() + QStringLiteral("/no/such/bin")).path(), userFile());
}

}  // namespace
}  // namespace tessaly
