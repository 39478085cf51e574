// tessaly-batch undo-rename after rename runs of the program.
#include "support/tempfolder.h"

#include <QDir>
#include <QProcess>
#include <gtest/gtest.h>
#include <map>

namespace tessaly {
namespace {

using testing::TempFolder;

struct Result {
    int exitCode = -1;
    QString out, err;
};

class UndoRename : public ::testing::Test {
protected:
    UndoRename()
    {
        settings = settingsFolder.path() + QStringLiteral("/Tessaly.ini");
        for (const char* name : {"b.jpg", "a b.jpg", "-c.jpg"})
            folder.write(QString::fromLatin1(name), QByteArray("bytes of ") + name);
        before = files();
    }
    Result run(const QStringList& arguments)
    {
        QProcess process;
        process.start(QStringLiteral(TESSALY_BATCH_PROGRAM),
                      QStringList{QStringLiteral("--settings"), settings} + arguments);
        process.waitForFinished(120000);
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }
    Result rename(const QStringList& more = {})
    {
        return run(QStringList{QStringLiteral("rename"), QStringLiteral("--naming"), QStringLiteral("PreSeq"),
                               QStringLiteral("--qualifier"), QStringLiteral("Trip")} +
                   more + QStringList{folder.path()});
    }
    std::map<QString, QByteArray> files() const
    {
        std::map<QString, QByteArray> found;
        for (const QString& name : QDir(folder.path()).entryList(QDir::Files))
            found[name] = testing::readAll(folder.path() + u'/' + name);
        return found;
    }
    QStringList journals() const
    {
        return QDir(settingsFolder.path() + QStringLiteral("/rename-journals")).entryList(QDir::Files);
    }

    TempFolder folder, settingsFolder;
    QString settings;
    std::map<QString, QByteArray> before;
};

TEST_F(UndoRename, CompleteRunGetsEveryNameBack)
{
    // A dry run records nothing.
    ASSERT_EQ(rename({QStringLiteral("--dry-run")}).exitCode, 0);
    EXPECT_TRUE(journals().isEmpty());
    ASSERT_EQ(rename().exitCode, 0);
    ASSERT_EQ(files().count(QStringLiteral("Trip001.jpg")), 1u);

    const Result undo = run({QStringLiteral("undo-rename"), folder.path()});
    EXPECT_EQ(undo.exitCode, 0) << undo.err.toStdString();
    EXPECT_TRUE(undo.out.contains(QStringLiteral("3 files renamed back"))) << undo.out.toStdString();
    EXPECT_EQ(files(), before);
    EXPECT_TRUE(journals().isEmpty());

    const Result again = run({QStringLiteral("undo-rename"), folder.path()});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_TRUE(again.err.contains(QStringLiteral("No rename to undo"))) << again.err.toStdString();
}

TEST_F(UndoRename, NameTakenSinceIsReportedAndSkipped)
{
    ASSERT_EQ(rename().exitCode, 0);
    // Sorted without regard to case: -c.jpg, a b.jpg, b.jpg.
    folder.write(QStringLiteral("b.jpg"), "a newer b.jpg");
    const Result undo = run({QStringLiteral("undo-rename")});
    EXPECT_EQ(undo.exitCode, 1);
    EXPECT_TRUE(undo.err.contains(QStringLiteral("Trip003.jpg: its old name b.jpg is taken")))
        << undo.err.toStdString();
    EXPECT_EQ(testing::readAll(folder.path() + QStringLiteral("/b.jpg")), QByteArray("a newer b.jpg"));
    EXPECT_EQ(testing::readAll(folder.path() + QStringLiteral("/Trip003.jpg")), before.at(QStringLiteral("b.jpg")));
    EXPECT_EQ(testing::readAll(folder.path() + QStringLiteral("/-c.jpg")), before.at(QStringLiteral("-c.jpg")));
    EXPECT_EQ(testing::readAll(folder.path() + QStringLiteral("/a b.jpg")), before.at(QStringLiteral("a b.jpg")));
}

}  // namespace
}  // namespace tessaly
