// tessaly-batch undo-rename after rename runs of the program.
#include "batchrun.h"
#include "support/tempfolder.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>
#include <map>
#include <sys/types.h>

namespace tessaly {
namespace {

using testing::TempFolder;

class UndoRename : public ::testing::Test {
protected:
    UndoRename()
    {
        settings = settingsFolder.path() + QStringLiteral("/Tessaly.ini");
        for (const char* name : {"b.jpg", "a b.jpg", "-c.jpg"})
            folder.write(QString::fromLatin1(name), QByteArray("bytes of ") + name);
        before = files();
    }
    Result run(const QStringList& arguments) { return runBatch(arguments, settings); }
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

// How many renames the folder's journal marks done (0 before it exists).
int renamesDone(const QString& journalFolder)
{
    const QStringList found = QDir(journalFolder).entryList({QStringLiteral("*.journal")}, QDir::Files);
    return found.isEmpty() ? 0 : int(testing::readAll(journalFolder + u'/' + found.front()).count("\ndone\n"));
}

// A rename run killed outright (SIGKILL: no handler, no flush, no clean-up)
// in the middle of a folder of a few hundred files leaves a journal true to
// the disk: undo gives every file its own name and bytes back. A run that
// ends before the kill lands proves nothing, so the folder grows and the
// test tries again.
TEST_F(UndoRename, KilledRunGetsEveryNameBack)
{
    const QString journalFolder = settingsFolder.path() + QStringLiteral("/rename-journals");
    bool caughtMidRun = false;
    for (int files = 300; files <= 4800 && !caughtMidRun; files *= 2) {
        TempFolder many;
        std::map<QString, QByteArray> original;
        for (int i = 0; i < files; ++i) {
            const QString name = QStringLiteral("holiday %1.jpg").arg(i, 4, 10, QLatin1Char('0'));
            original[name] = QByteArray::number(i) + " bytes of " + name.toUtf8();
            many.write(name, original[name]);
        }
        QProcess process;
        process.start(QStringLiteral(TESSALY_BATCH_PROGRAM),
                      {QStringLiteral("--settings"), settings, QStringLiteral("rename"), QStringLiteral("--qualifier"),
                       QStringLiteral("Trip"), many.path()});
        ASSERT_TRUE(process.waitForStarted());
        const pid_t pid = pid_t(process.processId());
        ASSERT_GT(pid, 0);
        // Polled tightly: the run takes a few milliseconds per hundred files.
        QDeadlineTimer deadline(60000);
        while (renamesDone(journalFolder) < 10 && process.state() == QProcess::Running && !deadline.hasExpired()) {
            process.waitForFinished(0);
            QThread::usleep(100);
        }
        // Only a child not yet reaped: its pid cannot have been reused.
        if (process.state() == QProcess::Running)
            ::kill(pid, SIGKILL);
        process.waitForFinished(60000);
        ASSERT_FALSE(deadline.hasExpired()) << "the run never started renaming";

        const int done = renamesDone(journalFolder);
        caughtMidRun = process.exitStatus() == QProcess::CrashExit && done < files;
        const QStringList renamed = QDir(many.path()).entryList({QStringLiteral("Trip*")}, QDir::Files);
        EXPECT_GE(renamed.size(), done);

        const Result undo = run({QStringLiteral("undo-rename"), many.path()});
        EXPECT_EQ(undo.exitCode, 0) << undo.err.toStdString();
        EXPECT_TRUE(undo.out.contains(QStringLiteral("%1 files renamed back").arg(renamed.size())))
            << undo.out.toStdString();
        std::map<QString, QByteArray> after;
        for (const QString& name : QDir(many.path()).entryList(QDir::Files))
            after[name] = testing::readAll(many.path() + u'/' + name);
        ASSERT_EQ(after, original) << files << " files, " << done << " renames done when killed";
        EXPECT_TRUE(journals().isEmpty());
    }
    EXPECT_TRUE(caughtMidRun) << "every run ended before it could be killed";
}

}  // namespace
}  // namespace tessaly
