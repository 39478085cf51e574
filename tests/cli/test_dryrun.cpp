// tessaly-batch --dry-run against the real run of the same command.
#include "batchrun.h"
#include "support/tempfolder.h"
#include "support/testpictures.h"

#include <QDir>
#include <QImageReader>
#include <QProcess>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace tessaly {
namespace {

using testing::TempFolder;

// Every file under the folders, by full path, with its bytes.
using Snapshot = std::map<QString, QByteArray>;
Snapshot snapshot(const QStringList& folders)
{
    Snapshot files;
    for (const QString& folder : folders)
        for (const QString& name : QDir(folder).entryList(QDir::Files))
            files[folder + u'/' + name] = testing::readAll(folder + u'/' + name);
    return files;
}

struct Line {
    QString source, output, size, note;
};

// The dry run's file lines (the summary line left out).
std::vector<Line> fileLines(const QString& out)
{
    std::vector<Line> lines;
    for (const QString& text : out.split(u'\n', Qt::SkipEmptyParts)) {
        if (text.startsWith(QLatin1String("Dry run:")))
            continue;
        const QStringList fields = text.split(u'\t');
        Line line{fields.value(0), fields.value(1), {}, {}};
        for (const QString& field : fields.mid(2))
            (field.startsWith(u'(') ? line.note : line.size) = field;
        lines.push_back(line);
    }
    return lines;
}

struct Case {
    const char* title;
    QStringList arguments;  // "IN" and "OUT" stand for the two folders
    int exitCode;
    int lines;
    std::function<void(const QString& in, const QString& out)> prepare = {};
};

class DryRun : public ::testing::TestWithParam<Case> {};

TEST_P(DryRun, ListsWhatTheRealRunThenDoesAndWritesNothing)
{
    const Case& c = GetParam();
    TempFolder input, output, settingsFolder;
    const QString settings = settingsFolder.path() + QStringLiteral("/none.ini");
    const QString in = input.path();
    // A folder that does not exist yet: the dry run must not make it.
    const QString out = output.path() + QStringLiteral("/new/out");
    testing::writePicture(in + QStringLiteral("/Beach.jpg"), 300, 200);
    testing::writePicture(in + QStringLiteral("/alps.gif"), 120, 160);
    testing::writePicture(in + QStringLiteral("/city.bmp"), 90, 60);
    if (c.prepare)
        c.prepare(in, out);
    QStringList arguments;
    for (const QString& argument : c.arguments)
        arguments << (argument == QLatin1String("IN") ? in : argument == QLatin1String("OUT") ? out : argument);

    const Snapshot before = snapshot({in, out});
    const bool outExisted = QFileInfo::exists(out);
    const Result dry = runBatch(arguments + QStringList{QStringLiteral("--dry-run")}, settings);
    EXPECT_EQ(dry.exitCode, c.exitCode) << dry.err.toStdString();
    EXPECT_EQ(snapshot({in, out}), before) << "the dry run changed a file";
    EXPECT_EQ(QFileInfo::exists(out), outExisted) << "the dry run made the output folder";
    const std::vector<Line> lines = fileLines(dry.out);
    ASSERT_EQ(int(lines.size()), c.lines) << dry.out.toStdString();

    const Result real = runBatch(arguments, settings);
    EXPECT_EQ(real.exitCode, dry.exitCode) << real.err.toStdString();
    const Snapshot after = snapshot({in, out});
    std::set<QString> written, removed, expectedWritten, expectedRemoved;
    for (const auto& [path, bytes] : after)
        if (!before.count(path) || before.at(path) != bytes)
            written.insert(path);
    for (const auto& [path, bytes] : before)
        if (!after.count(path))
            removed.insert(path);
    const bool renaming = c.arguments.front() == QLatin1String("rename");
    for (const Line& line : lines) {
        if (line.note.isEmpty() || line.note == QLatin1String("(replaces an existing file)"))
            expectedWritten.insert(line.output);
        if (renaming && line.note.isEmpty())
            expectedRemoved.insert(line.source);
        if (!line.size.isEmpty() && line.note.isEmpty()) {
            EXPECT_EQ(QImageReader(line.output).size(),
                      QSize(line.size.section(u'x', 0, 0).toInt(), line.size.section(u'x', 1, 1).toInt()))
                << line.output.toStdString();
        }
    }
    EXPECT_EQ(written, expectedWritten);
    EXPECT_EQ(removed, expectedRemoved);
}

const QString kTrip002 = QStringLiteral("/Trip002.jpg");

INSTANTIATE_TEST_SUITE_P(
    EachMode, DryRun,
    ::testing::Values(
        Case{"thumbs", {"thumbs", "--out", "OUT", "--size", "100", "--keep-ratio", "--type", "jpg", "IN"}, 0, 3},
        Case{"convert",
             {"convert", "--out", "OUT", "--type", "bmp", "--naming", "SufName", "--qualifier", "_c", "IN"},
             0,
             3},
        Case{"copy", {"copy", "--out", "OUT", "--naming", "PreSeq", "--qualifier", "P", "--seq", "7", "IN"}, 0, 3},
        Case{"rename", {"rename", "--naming", "PreSeq", "--qualifier", "Trip", "--seq", "001", "IN"}, 0, 3},
        // Beach.jpg would become Trip002.jpg, which is taken: the rename stops there.
        Case{"rename_taken",
             {"rename", "--naming", "PreSeq", "--qualifier", "Trip", "--seq", "001", "IN"},
             1,
             2,
             [](const QString& in, const QString&) { testing::writePicture(in + kTrip002, 10, 10); }},
        // An existing target is left alone without --overwrite, replaced with it.
        Case{"copy_kept",
             {"copy", "--out", "OUT", "--naming", "PreName", "--qualifier", "x", "--no-overwrite", "IN"},
             0,
             3,
             [](const QString&, const QString& out) {
                 QDir().mkpath(out);
                 testing::writePicture(out + QStringLiteral("/xBeach.jpg"), 10, 10);
             }},
        Case{
            "thumbs_replaced",
            {"thumbs", "--out", "OUT", "--naming", "PreName", "--qualifier", "t", "--overwrite", "--type", "bmp", "IN"},
            0,
            3,
            [](const QString&, const QString& out) {
                QDir().mkpath(out);
                testing::writePicture(out + QStringLiteral("/tcity.bmp"), 10, 10);
            }},
        // A folder where a file is to be replaced: both stop there (alps.gif
        // is written first, Beach.jpg's target is the folder).
        Case{
            "thumbs_folder_in_the_way",
            {"thumbs", "--out", "OUT", "--naming", "PreName", "--qualifier", "t", "--overwrite", "--type", "bmp", "IN"},
            1,
            2,
            [](const QString&, const QString& out) { QDir().mkpath(out + QStringLiteral("/tBeach.bmp")); }},
        Case{"copy_folder_in_the_way",
             {"copy", "--out", "OUT", "--naming", "PreName", "--qualifier", "x", "--overwrite", "IN"},
             1,
             1,
             [](const QString&, const QString& out) { QDir().mkpath(out + QStringLiteral("/xalps.gif")); }},
        // Without --overwrite the folder is left alone by both.
        Case{"thumbs_folder_kept",
             {"thumbs", "--out", "OUT", "--naming", "PreName", "--qualifier", "t", "--no-overwrite", "--type", "bmp",
              "IN"},
             0,
             3,
             [](const QString&, const QString& out) { QDir().mkpath(out + QStringLiteral("/tBeach.bmp")); }},
        // A failed check: the same exit status, no lines, nothing written.
        Case{"same_folder", {"thumbs", "--out", "IN", "IN"}, 2, 0}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.title); });

// Files are taken in the locale's collation without regard to case, as the
// window lists them: under en_US "Éclair.jpg" comes among the e's, and the
// sequence numbers follow.
TEST(DryRunListing, FilesFollowTheLocalesOrder)
{
    const QStringList check{QStringLiteral("-c"), QStringLiteral("locale -a | grep -qix en_US.utf8")};
    if (QProcess::execute(QStringLiteral("sh"), check) != 0)
        GTEST_SKIP() << "the locale en_US.UTF-8 is not generated here (make test generates it with locale-gen)";
    TempFolder input, settingsFolder;
    const QString settings = settingsFolder.path() + QStringLiteral("/none.ini");
    for (const QString& name :
         {QStringLiteral("f.jpg"), QStringLiteral("\u00C9clair.jpg"), QStringLiteral("e.jpg"), QStringLiteral("D.jpg")})
        testing::writePicture(input.path() + u'/' + name, 4, 4);
    QProcessEnvironment english = QProcessEnvironment::systemEnvironment();
    english.insert(QStringLiteral("LANG"), QStringLiteral("en_US.UTF-8"));
    english.insert(QStringLiteral("LC_ALL"), QStringLiteral("en_US.UTF-8"));
    const Result dry = runBatch({QStringLiteral("rename"), QStringLiteral("--naming"), QStringLiteral("PreSeq"),
                                 QStringLiteral("--qualifier"), QStringLiteral("P"), QStringLiteral("--seq"),
                                 QStringLiteral("1"), QStringLiteral("--dry-run"), input.path()},
                                settings, {.environment = english});
    ASSERT_EQ(dry.exitCode, 0) << dry.err.toStdString();
    QStringList order;
    for (const Line& line : fileLines(dry.out))
        order << QFileInfo(line.source).fileName() + QStringLiteral(" -> ") + QFileInfo(line.output).fileName();
    EXPECT_EQ(order, (QStringList{QStringLiteral("D.jpg -> P1.jpg"), QStringLiteral("e.jpg -> P2.jpg"),
                                  QStringLiteral("\u00C9clair.jpg -> P3.jpg"), QStringLiteral("f.jpg -> P4.jpg")}));
}

TEST(DryRunListing, NotesTakenNamesAndExistingFiles)
{
    TempFolder input, settingsFolder;
    const QString settings = settingsFolder.path() + QStringLiteral("/none.ini");
    testing::writePicture(input.path() + QStringLiteral("/a.jpg"), 40, 20);
    testing::writePicture(input.path() + QStringLiteral("/xa.jpg"), 40, 20);
    const Result dry =
        runBatch({QStringLiteral("copy"), QStringLiteral("--out"), input.path(), QStringLiteral("--same-folder"),
                  QStringLiteral("--naming"), QStringLiteral("PreName"), QStringLiteral("--qualifier"),
                  QStringLiteral("x"), QStringLiteral("--no-overwrite"), QStringLiteral("--dry-run"), input.path()},
                 settings);
    EXPECT_EQ(dry.exitCode, 0);
    // a.jpg would go to xa.jpg, which exists; xa.jpg to the new xxa.jpg.
    EXPECT_EQ(dry.out, input.path() + QStringLiteral("/a.jpg\t") + input.path() +
                           QStringLiteral("/xa.jpg\t(exists; left alone)\n") + input.path() +
                           QStringLiteral("/xa.jpg\t") + input.path() +
                           QStringLiteral("/xxa.jpg\nDry run: 2 files. Nothing was written.\n"));
}

}  // namespace
}  // namespace tessaly
