// tessaly-batch --files-from: lists of files, from one folder or several.
#include "cli/filelist.h"
#include "support/tempfolder.h"
#include "support/testpictures.h"

#include <QDir>
#include <QProcess>
#include <gtest/gtest.h>

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

struct Result {
    int exitCode = -1;
    QString out, err;
};

Result runProgram(const QStringList& arguments, const QString& settings, const QByteArray& input = {},
                  const QString& workingFolder = {})
{
    QProcess process;
    if (!workingFolder.isEmpty())
        process.setWorkingDirectory(workingFolder);
    process.start(QStringLiteral(TESSALY_BATCH_PROGRAM), QStringList{QStringLiteral("--settings"), settings} + arguments);
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(120000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
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
    const Result result = runProgram({QStringLiteral("copy"), QStringLiteral("--out"), out, QStringLiteral("--naming"),
                                      QStringLiteral("PreSeq"), QStringLiteral("--qualifier"), QStringLiteral("P"),
                                      QStringLiteral("--seq"), QStringLiteral("1"), QStringLiteral("--files-from"),
                                      writeList(listed, '\n')},
                                     settings, {}, first);
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
    const Result result =
        runProgram({QStringLiteral("thumbs"), QStringLiteral("--out"), out, QStringLiteral("--naming"),
                    QStringLiteral("SufName"), QStringLiteral("--qualifier"), QStringLiteral("_t"),
                    QStringLiteral("--type"), QStringLiteral("jpg"), QStringLiteral("--files-from"), QStringLiteral("-"),
                    QStringLiteral("--null")},
                   settings, list);
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
        QStringList arguments{QStringLiteral("copy"), QStringLiteral("--out"), out, QStringLiteral("--naming"),
                              QStringLiteral("PreName"), QStringLiteral("--files-from"), writeList({one, other, two}, '\n')};
        if (dryRun)
            arguments << QStringLiteral("--dry-run");
        const Result result = runProgram(arguments, settings);
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
        const Result result = runProgram(row.arguments, settings);
        EXPECT_EQ(result.exitCode, 2) << row.arguments.join(u' ').toStdString();
        EXPECT_TRUE(result.err.contains(row.message)) << result.err.toStdString();
    }
    EXPECT_EQ(QDir(first).entryList(QDir::Files), QStringList{QStringLiteral("a.jpg")});
    EXPECT_FALSE(QFileInfo::exists(out));
}

}  // namespace
}  // namespace tessaly
