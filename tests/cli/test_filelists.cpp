// tessaly-batch --files-from: lists of files, from one folder or several.
#include "batchrun.h"
#include "cli/filelist.h"
#include "support/tempfolder.h"
#include "support/testpictures.h"

#include <QDir>
#include <QProcess>
#include <gtest/gtest.h>
#include <map>

namespace tessaly {
namespace {

using testing::TempFolder;

TEST(SplitPathList, KeepsEveryCharacterButTheSeparator)
{
    struct Row {
        QByteArray bytes;
        bool nullSeparated;
        QStringList paths;
    };
    const Row rows[] = {
        {"/a/one.jpg\n/b/two words.jpg\n", false, {"/a/one.jpg", "/b/two words.jpg"}},
        {"-dash.jpg\n\n rel/x.jpg", false, {"-dash.jpg", " rel/x.jpg"}},
        {QByteArray("/a/new\nline.jpg\0/b/c.jpg\0", 24), true, {"/a/new\nline.jpg", "/b/c.jpg"}},
        {QByteArray("\0\0", 2), true, {}},
        {"", false, {}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(splitPathList(row.bytes, row.nullSeparated), row.paths) << row.bytes.toStdString();
}

class FileLists : public ::testing::Test {
protected:
    FileLists()
    {
        first = tree.makeFolder(QStringLiteral("first"));
        second = tree.makeFolder(QStringLiteral("second folder"));
        out = tree.path() + QStringLiteral("/out");
        settings = tree.path() + QStringLiteral("/none.ini");
    }
    QString picture(const QString& folder, const QString& name, int width)
    {
        return testing::writePicture(folder + u'/' + name, width, 10);
    }
    QString writeList(const QStringList& paths, char separator)
    {
        QByteArray bytes;
        for (const QString& path : paths)
            bytes += QFile::encodeName(path) + separator;
        return tree.write(QStringLiteral("list.txt"), bytes);
    }
    TempFolder tree;
    QString first, second, out, settings;
};

TEST_F(FileLists, FilesFromSeveralFoldersAreNumberedInListOrder)
{
    // Names with blanks and a leading dash (also as a path relative to the
    // working folder); the list order is not name order.
    const QStringList list{picture(second, QStringLiteral("z photo.jpg"), 30),
                           picture(first, QStringLiteral("-a.jpg"), 20), picture(first, QStringLiteral("b.jpg"), 40)};
    QStringList listed = list;
    listed[1] = QStringLiteral("-a.jpg");
    const Result result =
        runBatch({QStringLiteral("copy"), QStringLiteral("--out"), out, QStringLiteral("--naming"),
                  QStringLiteral("PreSeq"), QStringLiteral("--qualifier"), QStringLiteral("P"), QStringLiteral("--seq"),
                  QStringLiteral("1"), QStringLiteral("--files-from"), writeList(listed, '\n')},
                 settings, {.workingFolder = first});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(QDir(out).entryList(QDir::Files, QDir::Name),
              (QStringList{QStringLiteral("P1.jpg"), QStringLiteral("P2.jpg"), QStringLiteral("P3.jpg")}));
    for (int i = 0; i < list.size(); ++i)
        EXPECT_EQ(testing::readAll(out + QStringLiteral("/P%1.jpg").arg(i + 1)), testing::readAll(list[i]));
}

TEST_F(FileLists, NulSeparatedListFromStandardInputTakesNewlinesInNames)
{
    const QString odd = picture(first, QStringLiteral("two\nlines.jpg"), 20);
    const QString plain = picture(second, QStringLiteral("plain.jpg"), 30);
    const QByteArray list = QFile::encodeName(odd) + '\0' + QFile::encodeName(plain) + '\0';
    const Result result = runBatch({QStringLiteral("thumbs"), QStringLiteral("--out"), out, QStringLiteral("--naming"),
                                    QStringLiteral("SufName"), QStringLiteral("--qualifier"), QStringLiteral("_t"),
                                    QStringLiteral("--type"), QStringLiteral("jpg"), QStringLiteral("--files-from"),
                                    QStringLiteral("-"), QStringLiteral("--null")},
                                   settings, {.input = list});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(QDir(out).entryList(QDir::Files, QDir::Name),
              (QStringList{QStringLiteral("plain_t.jpg"), QStringLiteral("two\nlines_t.jpg")}));
}

TEST_F(FileLists, NameTwoFilesWouldGetIsRefusedBeforeAnythingIsWritten)
{
    const QString one = picture(first, QStringLiteral("a.jpg"), 20);
    const QString other = picture(second, QStringLiteral("b.jpg"), 30);
    const QString two = picture(second, QStringLiteral("a.jpg"), 30);
    for (const bool dryRun : {false, true}) {
        QStringList arguments{QStringLiteral("copy"),
                              QStringLiteral("--out"),
                              out,
                              QStringLiteral("--naming"),
                              QStringLiteral("PreName"),
                              QStringLiteral("--files-from"),
                              writeList({one, other, two}, '\n')};
        if (dryRun)
            arguments << QStringLiteral("--dry-run");
        const Result result = runBatch(arguments, settings);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_TRUE(result.err.contains(one) && result.err.contains(two)) << result.err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(out));
    }
}

TEST_F(FileLists, RefusedListsSayWhy)
{
    const QString one = picture(first, QStringLiteral("a.jpg"), 20);
    const QString two = picture(second, QStringLiteral("b.jpg"), 30);
    const QString list = writeList({one, two}, '\n');
    struct Row {
        QStringList arguments;
        QString message;
    };
    const Row rows[] = {
        {{QStringLiteral("rename"), QStringLiteral("--files-from"), list}, QStringLiteral("one folder")},
        {{QStringLiteral("thumbs"), QStringLiteral("--files-from"), list}, QStringLiteral("--out")},
        {{QStringLiteral("thumbs"), QStringLiteral("--out"), first, QStringLiteral("--files-from"), list},
         QStringLiteral("Input and Output Directories are the same")},
        {{QStringLiteral("copy"), QStringLiteral("--out"), out, QStringLiteral("--files-from"),
          tree.path() + QStringLiteral("/missing.txt")},
         QStringLiteral("missing.txt")},
    };
    for (const Row& row : rows) {
        const Result result = runBatch(row.arguments, settings);
        EXPECT_EQ(result.exitCode, 2) << row.arguments.join(u' ').toStdString();
        EXPECT_TRUE(result.err.contains(row.message)) << result.err.toStdString();
    }
    EXPECT_EQ(QDir(first).entryList(QDir::Files), QStringList{QStringLiteral("a.jpg")});
    EXPECT_FALSE(QFileInfo::exists(out));
}

// An archive split into shards, each with its own output folder and the
// sequence start of its first file, gives the files of one single run.
TEST_F(FileLists, ShardsOfAListMergeIntoTheSingleRunsOutput)
{
    QStringList list;
    for (int i = 0; i < 300; ++i)
        list << testing::writePicture(tree.makeFolder(QStringLiteral("tree/%1").arg(i % 3)) +
                                          QStringLiteral("/p%1.jpg").arg(i, 3, 10, QLatin1Char('0')),
                                      8 + i % 5, 6 + i % 7);
    const auto thumbs = [&](const QStringList& files, const QString& folder, int start) {
        const QString listFile = tree.write(QStringLiteral("lists/%1.list").arg(start),
                                            QFile::encodeName(files.join(QLatin1Char('\0'))) + '\0');
        return runBatch({QStringLiteral("thumbs"), QStringLiteral("--size"), QStringLiteral("5"),
                         QStringLiteral("--out"), folder, QStringLiteral("--seq"),
                         QStringLiteral("%1").arg(start, 4, 10, QLatin1Char('0')), QStringLiteral("--files-from"),
                         listFile, QStringLiteral("--null"), QStringLiteral("-q")},
                        settings);
    };
    const QString single = tree.path() + QStringLiteral("/single");
    ASSERT_EQ(thumbs(list, single, 1).exitCode, 0);

    std::map<QString, QByteArray> merged;
    const int shardStarts[] = {0, 120, 240};
    for (int shard = 0; shard < 3; ++shard) {
        const int start = shardStarts[shard];
        const QString folder = tree.path() + QStringLiteral("/shard%1").arg(shard);
        ASSERT_EQ(thumbs(list.mid(start, 120), folder, start + 1).exitCode, 0);
        for (const QString& name : QDir(folder).entryList(QDir::Files))
            EXPECT_TRUE(merged.emplace(name, testing::readAll(folder + u'/' + name)).second) << name.toStdString();
    }
    std::map<QString, QByteArray> whole;
    for (const QString& name : QDir(single).entryList(QDir::Files))
        whole[name] = testing::readAll(single + u'/' + name);
    EXPECT_EQ(whole.size(), 300u);
    EXPECT_TRUE(merged == whole);
}

}  // namespace
}  // namespace tessaly
