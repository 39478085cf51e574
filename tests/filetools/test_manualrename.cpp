#include "filetools/manualrename.h"
#include "support/tempfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <unistd.h>

namespace tessaly {
namespace {

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// A name onto an existing file fails and leaves both files as they were.
TEST(ManualRename, NeverReplacesAnExistingFile)
{
    testing::TempFolder folder;
    const QString a = folder.write(QStringLiteral("a.jpg"), "first");
    folder.write(QStringLiteral("b.jpg"), "second");
    EXPECT_EQ(renameManually(a, folder.path(), QStringLiteral("b.jpg")), RenameOutcome::Failed);
    EXPECT_EQ(testing::readAll(a), QByteArray("first"));
    EXPECT_EQ(testing::readAll(folder.path() + QStringLiteral("/b.jpg")), QByteArray("second"));
    EXPECT_EQ(kRenameFailed, QStringLiteral("Failed"));
}

// The outcome of each kind of new name: with case compared, the same name
// touches nothing; a change of case alone renames; names that are not plain
// file names are refused and the file stays.
TEST(ManualRename, OutcomeByName)
{
    const struct {
        const char* newName;
        RenameOutcome outcome;
        QStringList filesAfter;
    } rows[] = {
        {"a.jpg", RenameOutcome::Unchanged, {QStringLiteral("a.jpg")}},
        {"A.jpg", RenameOutcome::Renamed, {QStringLiteral("A.jpg")}},
        {"holiday 01.JPG", RenameOutcome::Renamed, {QStringLiteral("holiday 01.JPG")}},
        {"", RenameOutcome::Failed, {QStringLiteral("a.jpg")}},
        {"..", RenameOutcome::Failed, {QStringLiteral("a.jpg")}},
        {"sub/a.jpg", RenameOutcome::Failed, {QStringLiteral("a.jpg")}},
        {"../a.jpg", RenameOutcome::Failed, {QStringLiteral("a.jpg")}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.newName);
        testing::TempFolder folder;
        folder.makeFolder(QStringLiteral("sub"));
        const QString a = folder.write(QStringLiteral("a.jpg"), "picture");
        EXPECT_EQ(renameManually(a, folder.path(), QString::fromUtf8(row.newName)), row.outcome);
        EXPECT_EQ(filesIn(folder.path()), row.filesAfter);
        EXPECT_EQ(testing::readAll(folder.path() + u'/' + row.filesAfter.first()), QByteArray("picture"));
        EXPECT_TRUE(filesIn(folder.path() + QStringLiteral("/sub")).isEmpty());
    }
}

// The file goes to the input folder of the moment of confirming, and a file
// that has gone meanwhile fails.
TEST(ManualRename, MovesToTheFolderChosenSince)
{
    testing::TempFolder folder;
    const QString other = folder.makeFolder(QStringLiteral("other"));
    const QString a = folder.write(QStringLiteral("a.jpg"), "picture");
    EXPECT_EQ(renameManually(a, other, QStringLiteral("b.jpg")), RenameOutcome::Renamed);
    EXPECT_FALSE(QFileInfo::exists(a));
    EXPECT_EQ(testing::readAll(other + QStringLiteral("/b.jpg")), QByteArray("picture"));
    EXPECT_EQ(renameManually(a, folder.path(), QStringLiteral("c.jpg")), RenameOutcome::Failed);
}

// Where the target already names the same file (a file system that ignores
// case, here imitated with a second link of the other case), the rename goes
// through a temporary name; if that cannot finish, the file gets its old
// name back and nothing is lost.
TEST(ManualRename, CaseOnlyRenameThroughATemporaryNameRollsBack)
{
    testing::TempFolder folder;
    const QString lower = folder.write(QStringLiteral("a.jpg"), "picture");
    const QString upper = folder.path() + QStringLiteral("/A.jpg");
    ASSERT_EQ(::link(QFile::encodeName(lower).constData(), QFile::encodeName(upper).constData()), 0);
    EXPECT_FALSE(renameWithoutReplacing(lower, upper));
    EXPECT_EQ(filesIn(folder.path()), (QStringList{QStringLiteral("A.jpg"), QStringLiteral("a.jpg")}));
    EXPECT_EQ(testing::readAll(lower), QByteArray("picture"));
}

}  // namespace
}  // namespace tessaly
