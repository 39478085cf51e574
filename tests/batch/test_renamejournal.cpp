// The rename journal: what a rename run records and how it is undone.
#include "batch/renamejournal.h"
#include "batch/runs.h"
#include "support/fakejob.h"
#include "support/tempfolder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <map>

namespace tessaly {
namespace {

using testing::FakeJob;
using testing::RecordingView;
using testing::TempFolder;

class RenameJournalTest : public ::testing::Test {
protected:
    RenameJournalTest()
    {
        journalFolder = settingsFolder.path() + QStringLiteral("/rename-journals");
        for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"})
            folder.write(QString::fromLatin1(name), QByteArray("bytes of ") + name);
        before = files();
    }
    std::map<QString, QByteArray> files() const
    {
        std::map<QString, QByteArray> found;
        for (const QString& name : QDir(folder.path()).entryList(QDir::Files))
            found[name] = testing::readAll(folder.path() + u'/' + name);
        return found;
    }
    QString at(const char* name) const { return folder.path() + u'/' + QString::fromLatin1(name); }

    TempFolder folder, settingsFolder;
    QString journalFolder;
    std::map<QString, QByteArray> before;
};

TEST_F(RenameJournalTest, CancelledRunIsUndoneAndTheJournalRetired)
{
    FakeJob job;
    job.thumbnailMode = false;
    job.renameOnlyChoice = true;
    job.imageQualifierText = QStringLiteral("Trip");
    job.input = job.output = folder.path();
    RecordingView view;
    RunState state;
    WorkingPictures pictures;
    const QStringList sources{QStringLiteral("a.jpg"), QStringLiteral("b.jpg"), QStringLiteral("c.jpg"),
                              QStringLiteral("d.jpg")};
    // Cancel pressed during the second file.
    view.betweenFiles = [&] { state.CancelRequested = view.counters.size() == 2; };
    RenameJournal journal(journalFolder, folder.path());
    RunContext run{job, view, state, pictures, sources};
    run.journal = &journal;
    const RunOutcome outcome = runBatch(run);
    ASSERT_FALSE(outcome.complete);
    ASSERT_EQ(QDir(folder.path()).entryList(QDir::Files, QDir::Name),
              (QStringList{QStringLiteral("Trip001.jpg"), QStringLiteral("Trip002.jpg"), QStringLiteral("c.jpg"),
                           QStringLiteral("d.jpg")}));

    const UndoOutcome undone = undoLastRename(journalFolder, folder.path());
    EXPECT_TRUE(undone.found);
    EXPECT_EQ(undone.restored, 2);
    EXPECT_TRUE(undone.skipped.isEmpty());
    EXPECT_EQ(files(), before);
    // Retired: a second undo finds nothing to do.
    EXPECT_FALSE(undoLastRename(journalFolder, folder.path()).found);
}

TEST_F(RenameJournalTest, RenameCutOffByACrashIsJudgedFromTheDisk)
{
    {
        RenameJournal journal(journalFolder, folder.path());
        journal.beforeRename(at("a.jpg"), at("x1.jpg"));
        ASSERT_TRUE(QFile::rename(at("a.jpg"), at("x1.jpg")));
        journal.afterRename(true);
        // Killed after this rename but before its mark ...
        journal.beforeRename(at("b.jpg"), at("x2.jpg"));
        ASSERT_TRUE(QFile::rename(at("b.jpg"), at("x2.jpg")));
        // ... the next one announced, never made.
        journal.beforeRename(at("c.jpg"), at("x3.jpg"));
    }
    const UndoOutcome undone = undoLastRename(journalFolder, std::nullopt);
    EXPECT_EQ(undone.folder, folder.path());
    EXPECT_EQ(undone.restored, 2);
    EXPECT_EQ(files(), before);
}

TEST_F(RenameJournalTest, TakenOrVanishedNamesAreSkippedNeverReplaced)
{
    {
        RenameJournal journal(journalFolder, folder.path());
        for (const auto& [from, to] : {std::pair{"a.jpg", "x1.jpg"}, {"b.jpg", "x2.jpg"}, {"c.jpg", "x3.jpg"}}) {
            journal.beforeRename(at(from), at(to));
            journal.afterRename(QFile::rename(at(from), at(to)));
        }
    }
    folder.write(QStringLiteral("a.jpg"), "a new file under the old name");
    QFile::remove(at("x3.jpg"));
    const UndoOutcome undone = undoLastRename(journalFolder, folder.path());
    EXPECT_EQ(undone.restored, 1);
    ASSERT_EQ(undone.skipped.size(), 2);
    EXPECT_TRUE(undone.skipped[0].startsWith(QStringLiteral("x3.jpg: gone"))) << undone.skipped[0].toStdString();
    EXPECT_TRUE(undone.skipped[1].startsWith(QStringLiteral("x1.jpg: its old name a.jpg is taken")));
    EXPECT_EQ(testing::readAll(at("a.jpg")), QByteArray("a new file under the old name"));
    EXPECT_EQ(testing::readAll(at("x1.jpg")), before.at(QStringLiteral("a.jpg")));
    EXPECT_EQ(testing::readAll(at("b.jpg")), before.at(QStringLiteral("b.jpg")));
}

TEST_F(RenameJournalTest, RunThatRenamesNothingKeepsTheLastRecord)
{
    {
        RenameJournal journal(journalFolder, folder.path());
        journal.beforeRename(at("a.jpg"), at("x1.jpg"));
        journal.afterRename(QFile::rename(at("a.jpg"), at("x1.jpg")));
    }
    {
        RenameJournal unused(journalFolder, folder.path());
    }
    EXPECT_EQ(undoLastRename(journalFolder, folder.path()).restored, 1);
    EXPECT_EQ(files(), before);
}

// An undo the folder refuses (read-only) keeps the journal: once the folder
// takes renames again, the same undo gives every name back, and only then
// is the journal retired.
TEST_F(RenameJournalTest, RefusedUndoCanBeRepeated)
{
    {
        RenameJournal journal(journalFolder, folder.path());
        for (const auto& [from, to] : {std::pair{"a.jpg", "x1.jpg"}, {"b.jpg", "x2.jpg"}}) {
            journal.beforeRename(at(from), at(to));
            journal.afterRename(QFile::rename(at(from), at(to)));
        }
    }
    {
        testing::ReadOnlyFolder readOnly(folder.path());
        if (!readOnly.made())
            GTEST_SKIP() << "cannot make a read-only folder";
        const UndoOutcome refused = undoLastRename(journalFolder, folder.path());
        EXPECT_TRUE(refused.found);
        EXPECT_EQ(refused.restored, 0);
        ASSERT_EQ(refused.skipped.size(), 2);
        EXPECT_TRUE(refused.skipped[0].startsWith(QStringLiteral("x2.jpg: could not be renamed back to b.jpg")))
            << refused.skipped[0].toStdString();
        EXPECT_TRUE(hasRenameJournal(journalFolder, folder.path()));
    }
    const UndoOutcome undone = undoLastRename(journalFolder, folder.path());
    EXPECT_TRUE(undone.found);
    EXPECT_EQ(undone.restored, 2);
    EXPECT_TRUE(undone.skipped.isEmpty());
    EXPECT_EQ(files(), before);
    EXPECT_FALSE(hasRenameJournal(journalFolder, folder.path()));
}

// A name taken since stays in the journal: once it is free again, the
// undo is finished, while what was undone is not undone twice.
TEST_F(RenameJournalTest, TakenNameIsUndoneOnceFreed)
{
    {
        RenameJournal journal(journalFolder, folder.path());
        for (const auto& [from, to] : {std::pair{"a.jpg", "x1.jpg"}, {"b.jpg", "x2.jpg"}}) {
            journal.beforeRename(at(from), at(to));
            journal.afterRename(QFile::rename(at(from), at(to)));
        }
    }
    folder.write(QStringLiteral("a.jpg"), "in the way");
    EXPECT_EQ(undoLastRename(journalFolder, folder.path()).restored, 1);
    ASSERT_TRUE(QFile::remove(at("a.jpg")));
    const UndoOutcome second = undoLastRename(journalFolder, folder.path());
    EXPECT_EQ(second.restored, 1);
    EXPECT_TRUE(second.skipped.isEmpty());
    EXPECT_EQ(files(), before);
    EXPECT_FALSE(undoLastRename(journalFolder, folder.path()).found);
}

}  // namespace
}  // namespace tessaly
