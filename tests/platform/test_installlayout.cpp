#include "platform/installlayout.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

namespace tessaly::installlayout {
namespace {

using testing::TempFolder;

// A program is installed when <prefix>/share/doc/tessaly stands beside its
// <prefix>/bin; a build folder is not.
TEST(InstallLayout, InstalledWhenTheDocumentsFolderStandsBeside)
{
    TempFolder temp;
    const QString installedBin = temp.makeFolder(QStringLiteral("usr/bin"));
    temp.makeFolder(QStringLiteral("usr/share/doc/tessaly"));
    const QString buildBin = temp.makeFolder(QStringLiteral("build/bin"));
    temp.makeFolder(QStringLiteral("build/share/doc/other"));
    EXPECT_TRUE(isInstalled(installedBin));
    EXPECT_TRUE(isInstalled(installedBin + QStringLiteral("/")));
    EXPECT_FALSE(isInstalled(buildBin));
    EXPECT_FALSE(isInstalled(temp.path() + QStringLiteral("/gone/bin")));
    EXPECT_FALSE(isInstalled(QString()));
}

// The help is looked for beside the program first, then in the installed
// documents folder.
TEST(InstallLayout, HelpCandidatesBesideTheProgramThenInstalled)
{
    EXPECT_EQ(helpFileCandidates(QStringLiteral("/usr/bin"), QStringLiteral("help/index.html")),
              (QStringList{QStringLiteral("/usr/bin/help/index.html"),
                           QStringLiteral("/usr/share/doc/tessaly/help/index.html")}));
    EXPECT_EQ(helpFileCandidates(QStringLiteral("/opt/tessaly/bin/"), QStringLiteral("help/index.html")),
              (QStringList{QStringLiteral("/opt/tessaly/bin/help/index.html"),
                           QStringLiteral("/opt/tessaly/share/doc/tessaly/help/index.html")}));
}

}  // namespace
}  // namespace tessaly::installlayout
