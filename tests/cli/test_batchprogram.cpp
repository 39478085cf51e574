#include "app/startup.h"
#include "app/tform1.h"
#include "batchrun.h"
#include "gallery/linkreference.h"
#include "support/fakeservices.h"
#include "support/testpictures.h"
#include "widgets/foldertree.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>

namespace tessaly {
namespace {

using testing::TempFolder;

void fillPictures(const TempFolder& folder)
{
    testing::writePicture(folder.path() + QStringLiteral("/Beach.jpg"), 300, 200);
    testing::writePicture(folder.path() + QStringLiteral("/alps.gif"), 120, 160);
    testing::writePicture(folder.path() + QStringLiteral("/city.bmp"), 90, 60);
}

// The same job through the real window: select every file, walk the wizard
// by its buttons with `configure` setting the options, press GO.
void runInWindow(const QString& input, const QString& output, bool thumbnails,
                 const std::function<void(const QWidget&)>& configure)
{
    testing::FakeServices fakes;
    ApplicationWindows windows(fakes.services, fakes.settings);
    TForm1& window = windows.mainWindow();
    window.show();
    control<FolderTree>(window, "fDir").setFolder(input);
    click(window, "bSelAll");
    click(window, thumbnails ? "rbThumbs" : "rbRename");
    click(window, "bNxt1");
    control<FolderTree>(window, "fNewDir").setFolder(output);
    configure(window);
    click(window, "bNxt2");
    if (thumbnails)
        click(window, "bNxt3");
    click(window, "bGO");
    ASSERT_TRUE(control<QLabel>(window, "lDone").text().startsWith(QLatin1String("Operation complete.")))
        << control<QLabel>(window, "lDone").text().toStdString();
}

class BatchProgramTest : public ::testing::Test {
protected:
    TempFolder input, windowOut, commandOut, settingsFolder;
    QString settings = settingsFolder.path() + QStringLiteral("/none.ini");
};

// Each mode writes exactly the files, byte for byte, that the window writes.
TEST_F(BatchProgramTest, ThumbsMatchTheWindow)
{
    fillPictures(input);
    runInWindow(input.path(), windowOut.path(), true, [](const QWidget& window) {
        control<QComboBox>(window, "cbConvert").setCurrentText(QStringLiteral("gif"));
        click(window, "bNxt2");
        click(window, "cbRatio");
        control<QLineEdit>(window, "eWidth").setText(QStringLiteral("120"));
        click(window, "bBck2");
    });
    const Result result = runBatch({QStringLiteral("thumbs"), QStringLiteral("--type"), QStringLiteral("gif"),
                                    QStringLiteral("--keep-ratio"), QStringLiteral("--size"), QStringLiteral("120"),
                                    QStringLiteral("--out"), commandOut.path(), input.path()},
                                   settings);
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, QStringLiteral("Operation complete. 3 files processed.\n"));
    EXPECT_EQ(result.err, QString());
    EXPECT_EQ(contents(commandOut.path()).size(), 3u);
    EXPECT_EQ(contents(commandOut.path()), contents(windowOut.path()));
}

TEST_F(BatchProgramTest, ConvertAndCopyMatchTheWindow)
{
    fillPictures(input);
    runInWindow(input.path(), windowOut.path(), false, [](const QWidget& window) {
        click(window, "rbCpyCvrt");
        control<QComboBox>(window, "cbConvert").setCurrentText(QStringLiteral("emf"));
        control<QComboBox>(window, "cbNameOption").setCurrentIndex(3);
        control<QLineEdit>(window, "ePreI").setText(QStringLiteral("_c"));
    });
    Result result = runBatch({QStringLiteral("convert"), QStringLiteral("--type"), QStringLiteral("emf"),
                              QStringLiteral("--naming"), QStringLiteral("SufName"), QStringLiteral("--qualifier"),
                              QStringLiteral("_c"), QStringLiteral("--out"), commandOut.path(), input.path()},
                             settings);
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(contents(commandOut.path()), contents(windowOut.path()));
    EXPECT_TRUE(contents(commandOut.path()).count(QStringLiteral("Beach_c.emf")));

    TempFolder windowCopy, commandCopy;
    runInWindow(input.path(), windowCopy.path(), false, [](const QWidget& window) {
        click(window, "rbCpyCvrt");
        control<QComboBox>(window, "cbConvert").setCurrentText(QStringLiteral("No Conversion"));
    });
    result = runBatch({QStringLiteral("copy"), QStringLiteral("--out"), commandCopy.path(), input.path()}, settings);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(contents(commandCopy.path()), contents(windowCopy.path()));
    EXPECT_EQ(contents(commandCopy.path()).at(QStringLiteral("Image002.jpg")),
              testing::readAll(input.path() + QStringLiteral("/Beach.jpg")));
}

TEST_F(BatchProgramTest, RenameMatchesTheWindow)
{
    TempFolder first, second;
    fillPictures(first);
    fillPictures(second);
    runInWindow(first.path(), first.path(), false, [](const QWidget& window) {
        control<QComboBox>(window, "cbNameOption").setCurrentIndex(2);
        control<QLineEdit>(window, "ePreI").setText(QStringLiteral("_r"));
    });
    const Result result = runBatch({QStringLiteral("rename"), QStringLiteral("--naming"), QStringLiteral("SufSeq"),
                                    QStringLiteral("--qualifier"), QStringLiteral("_r"), second.path()},
                                   settings);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(contents(second.path()), contents(first.path()));
    EXPECT_TRUE(contents(second.path()).count(QStringLiteral("002_r.jpg")));
}

// The gallery of the run, with the settings file's gallery options.
TEST_F(BatchProgramTest, WritesTheGallery)
{
    fillPictures(input);
    const QString page = commandOut.path() + QStringLiteral("/web/index.htm");
    QDir().mkpath(commandOut.path() + QStringLiteral("/web"));
    QFile file(settings);
    file.open(QIODevice::WriteOnly);
    file.write("[Tables]\nColumns=2\n[Layout]\nBannerString=Holiday\n");
    file.close();
    const Result result = runBatch({QStringLiteral("thumbs"), QStringLiteral("--out"), commandOut.path(),
                                    QStringLiteral("--html"), page, input.path()},
                                   settings);
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QString html = QString::fromUtf8(testing::readAll(page));
    EXPECT_TRUE(html.contains(QLatin1String("<TITLE>Holiday</TITLE>")));
    EXPECT_EQ(html.count(QLatin1String("<TR>")), 2);
    EXPECT_TRUE(html.contains(QLatin1String("SRC=\"../Thumb001.jpg\"")));
    EXPECT_TRUE(html.contains(QStringLiteral("HREF=\"") +
                              RelativeReference(commandOut.path() + QStringLiteral("/web"), input.path()) +
                              QStringLiteral("alps.gif\"")));
    EXPECT_TRUE(result.out.contains(QLatin1String("Gallery written: ") + page));

    // The responsive page instead, without a word in the settings file.
    const QByteArray settingsBefore = testing::readAll(settings);
    const Result responsive =
        runBatch({QStringLiteral("thumbs"), QStringLiteral("--out"), commandOut.path(), QStringLiteral("--html"), page,
                  QStringLiteral("--gallery-style"), QStringLiteral("responsive"), input.path()},
                 settings);
    EXPECT_EQ(responsive.exitCode, 0) << responsive.err.toStdString();
    const QString modern = QString::fromUtf8(testing::readAll(page));
    EXPECT_TRUE(modern.startsWith(QLatin1String("<!DOCTYPE html>\r\n<html lang=\"en\">")));
    EXPECT_TRUE(modern.contains(QLatin1String("<title>Holiday</title>")));
    EXPECT_TRUE(modern.contains(QLatin1String("<img src=\"../Thumb001.jpg\"")));
    EXPECT_EQ(testing::readAll(settings), settingsBefore);
}

// The default mask takes every photo format read: one thumbnail each, at
// the size its picture calls for, and a gallery linking the originals.
TEST_F(BatchProgramTest, ThumbnailsOfEveryPhotoFormat)
{
    const struct {
        const char* name;
        int width, height;
    } photos[] = {{"a.png", 80, 40}, {"b.webp", 40, 80}, {"c.tif", 60, 60}, {"d.heic", 64, 48}, {"e.avif", 48, 64}};
    for (const auto& photo : photos)
        testing::writePicture(input.path() + u'/' + QLatin1String(photo.name), photo.width, photo.height);
    input.write(QStringLiteral("notes.txt"), "not a picture");
    const QString page = commandOut.path() + QStringLiteral("/index.htm");
    const Result result = runBatch({QStringLiteral("thumbs"), QStringLiteral("--out"), commandOut.path(),
                                    QStringLiteral("--size"), QStringLiteral("20"), QStringLiteral("--keep-ratio"),
                                    QStringLiteral("--html"), page, input.path()},
                                   settings);
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QString html = QString::fromUtf8(testing::readAll(page));
    for (int i = 0; i < int(std::size(photos)); ++i) {
        SCOPED_TRACE(photos[i].name);
        const QString thumb = commandOut.path() + QStringLiteral("/Thumb00%1.jpg").arg(i + 1);
        const QImage image(thumb);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), QSize(20 * photos[i].width / std::max(photos[i].width, photos[i].height),
                                      20 * photos[i].height / std::max(photos[i].width, photos[i].height)));
        EXPECT_TRUE(html.contains(QLatin1String(photos[i].name) + QLatin1Char('"')));
    }
    EXPECT_FALSE(QFileInfo::exists(commandOut.path() + QStringLiteral("/Thumb006.jpg")));
}

// The wizard's checks, with the window's words, and the exit statuses.
TEST_F(BatchProgramTest, ChecksAndExitStatuses)
{
    testing::writePicture(input.path() + QStringLiteral("/a.jpg"), 20, 10);
    testing::writePicture(input.path() + QStringLiteral("/a.gif"), 20, 10);
    TempFolder empty;
    struct Case {
        QStringList arguments;
        int exitCode;
        const char* message;
    };
    const QString out = commandOut.path();
    const QString in = input.path();
    const Case cases[] = {
        {{QStringLiteral("thumbs"), QStringLiteral("--out"), out, empty.path()}, 2, "No files selected!"},
        {{QStringLiteral("thumbs"), QStringLiteral("--out"), out, in}, 2, "Duplicate File Names: a.gif and a.jpg"},
        {{QStringLiteral("thumbs"), QStringLiteral("--allow-duplicates"), in},
         2,
         "Input and Output Directories are the same."},
        {{QStringLiteral("rename"), QStringLiteral("--allow-duplicates"), QStringLiteral("--naming"),
          QStringLiteral("PreName"), QStringLiteral("--qualifier"), QString(), in},
         2,
         "Invalid output qualifier for option chosen."},
        {{QStringLiteral("thumbs"), QStringLiteral("--out"), out, in + QStringLiteral("/a.jpg"), empty.path()},
         2,
         "The files must all lie in one folder"},
        {{QStringLiteral("thumbs"), QStringLiteral("--frobnicate")}, 2, "tessaly-batch: Unknown option 'frobnicate'."},
        {{QStringLiteral("thumbs"), QStringLiteral("-z"), in}, 2, "tessaly-batch: Unknown option 'z'."},
        {{QStringLiteral("thumbs"), QStringLiteral("--out"), in + QStringLiteral("/a.jpg"),
          in + QStringLiteral("/a.jpg")},
         2,
         "is a file"},
    };
    for (const Case& c : cases) {
        const Result result = runBatch(c.arguments, settings);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.message;
        EXPECT_TRUE(result.err.contains(QLatin1String(c.message))) << result.err.toStdString();
    }
    EXPECT_TRUE(QDir(out).entryList(QDir::Files).isEmpty());

    // A damaged picture: the window's message, an incomplete run, status 1.
    input.write(QStringLiteral("b.jpg"), "not a picture");
    const Result damaged = runBatch(
        {QStringLiteral("thumbs"), QStringLiteral("--allow-duplicates"), QStringLiteral("--out"), out, in}, settings);
    EXPECT_EQ(damaged.exitCode, 1);
    EXPECT_TRUE(damaged.err.contains(QLatin1String("Could not open b.jpg")));
    EXPECT_EQ(damaged.out, QStringLiteral("Operation Incomplete. 2 files processed.\n"));

    // A run that fails: the window's message, then the file and the reason.
    TempFolder blocked;
    QDir().mkpath(blocked.path() + QStringLiteral("/Image001.gif"));  // a folder where the copy goes
    const Result failed = runBatch({QStringLiteral("copy"), QStringLiteral("--allow-duplicates"),
                                    QStringLiteral("--out"), blocked.path(), in + QStringLiteral("/a.gif")},
                                   settings);
    EXPECT_EQ(failed.exitCode, 1);
    const QStringList lines = failed.err.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << failed.err.toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("Error during processing!"));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("tessaly-batch: ") + in + QStringLiteral("/a.gif: cannot create ") +
                                    blocked.path() + QStringLiteral("/Image001.gif")))
        << lines[1].toStdString();
    EXPECT_EQ(failed.out, QStringLiteral("Operation Incomplete. 0 files processed.\n"));
    // Before the first file: no file to name, only the reason.
    const Result badSize = runBatch({QStringLiteral("thumbs"), QStringLiteral("--size"), QStringLiteral("12a"),
                                     QStringLiteral("--out"), blocked.path(), in + QStringLiteral("/a.gif")},
                                    settings);
    EXPECT_EQ(badSize.exitCode, 1);
    EXPECT_EQ(badSize.err,
              QStringLiteral("Error during processing!\ntessaly-batch: '12a' is not a valid integer value\n"));

    const Result help = runBatch({QStringLiteral("--help")}, settings);
    EXPECT_EQ(help.exitCode, 0);
    for (const char* option : {"--out",   "--naming",      "--qualifier",        "--seq",
                               "--size",  "--keep-ratio",  "--force-width",      "--force-height",
                               "--fast",  "--type",        "--quality",          "--no-overwrite",
                               "--html",  "--settings",    "--allow-duplicates", "--same-folder",
                               "--quiet", "--auto-orient", "--no-auto-orient",   "Examples:"})
        EXPECT_TRUE(help.out.contains(QLatin1String(option))) << option;
    EXPECT_TRUE(help.out.contains(QLatin1String("--gallery-style STYLE")));
}

// A missing output folder is made, with its parents, but only for a job
// that passed the checks; the README's first example works in a fresh home.
TEST_F(BatchProgramTest, MissingOutputFolderIsCreated)
{
    TempFolder home;
    const QString photos = home.path() + QStringLiteral("/photos");
    QDir().mkpath(photos);
    testing::writePicture(photos + QStringLiteral("/a.jpg"), 300, 200);
    testing::writePicture(photos + QStringLiteral("/a.gif"), 30, 20);

    const QString refused = home.path() + QStringLiteral("/refused/deep");
    const Result duplicate = runBatch({QStringLiteral("thumbs"), QStringLiteral("--out"), refused, photos}, settings);
    EXPECT_EQ(duplicate.exitCode, 2);
    EXPECT_FALSE(QFileInfo::exists(home.path() + QStringLiteral("/refused")));

    QFile::remove(photos + QStringLiteral("/a.gif"));
    const QString thumbs = home.path() + QStringLiteral("/thumbs");
    const Result example =
        runBatch({QStringLiteral("thumbs"), QStringLiteral("--out"), thumbs, QStringLiteral("--size"),
                  QStringLiteral("120"), QStringLiteral("--keep-ratio"), photos},
                 settings);
    EXPECT_EQ(example.exitCode, 0) << example.err.toStdString();
    EXPECT_EQ(QDir(thumbs).entryList(QDir::Files), QStringList{QStringLiteral("Thumb001.jpg")});

    const QString nested = home.path() + QStringLiteral("/a/b/c");
    const Result deep = runBatch({QStringLiteral("copy"), QStringLiteral("--out=") + nested, photos}, settings);
    EXPECT_EQ(deep.exitCode, 0) << deep.err.toStdString();
    EXPECT_EQ(contents(nested).size(), 1u);
}

// --version, and "--" before a file name that starts with a dash.
TEST_F(BatchProgramTest, VersionAndDashedFileNames)
{
    const Result version = runBatch({QStringLiteral("--version")}, settings);
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, QStringLiteral("tessaly-batch 1.6\n"));

    testing::writePicture(input.path() + QStringLiteral("/-dash.jpg"), 40, 30);
    const Result dashed = runBatch({QStringLiteral("thumbs"), QStringLiteral("--out"), commandOut.path(),
                                    QStringLiteral("--"), QStringLiteral("-dash.jpg")},
                                   settings, {.workingFolder = input.path()});
    EXPECT_EQ(dashed.exitCode, 0) << dashed.err.toStdString();
    EXPECT_EQ(dashed.out, QStringLiteral("Operation complete. 1 files processed.\n"));
    const Result refused =
        runBatch({QStringLiteral("thumbs"), QStringLiteral("--out"), commandOut.path(), QStringLiteral("-dash.jpg")},
                 settings, {.workingFolder = input.path()});
    EXPECT_EQ(refused.exitCode, 2);
}

// On a terminal the progress shows as a bar with the counter and the name;
// `script` gives the program a terminal as its standard error.
TEST_F(BatchProgramTest, ProgressBarOnATerminal)
{
    const QString script = QStandardPaths::findExecutable(QStringLiteral("script"));
    if (script.isEmpty())
        GTEST_SKIP() << "no 'script' program to give the run a terminal";
    fillPictures(input);
    const QString command = QStringLiteral("'%1' thumbs --out '%2' --settings '%3' '%4'")
                                .arg(QStringLiteral(TESSALY_BATCH_PROGRAM), commandOut.path(), settings, input.path());
    QProcess process;
    process.start(script, {QStringLiteral("-qfec"), command, QStringLiteral("/dev/null")});
    ASSERT_TRUE(process.waitForFinished(60000));
    const QString terminal = QString::fromUtf8(process.readAllStandardOutput());
    EXPECT_TRUE(terminal.contains(QLatin1String("] 1 of 3 alps.gif"))) << terminal.toStdString();
    EXPECT_TRUE(terminal.contains(QLatin1String("[##########                    ] 2 of 3 Beach.jpg")));
    EXPECT_TRUE(terminal.contains(QLatin1String("Operation complete. 3 files processed.")));

    // --quiet: no bar even on a terminal.
    process.start(script, {QStringLiteral("-qfec"), command + QStringLiteral(" --quiet"), QStringLiteral("/dev/null")});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_FALSE(QString::fromUtf8(process.readAllStandardOutput()).contains(QLatin1String(" of 3")));
}

// Ctrl-C after the first file: the file in hand is finished, the run stops
// like Cancel and says so.
TEST_F(BatchProgramTest, InterruptStopsLikeCancel)
{
    for (int i = 0; i < 40; ++i)
        testing::writePicture(input.path() + QStringLiteral("/p%1.jpg").arg(i, 2, 10, QLatin1Char('0')), 1200, 900);
    QProcess process;
    process.start(QStringLiteral(TESSALY_BATCH_PROGRAM),
                  {QStringLiteral("thumbs"), QStringLiteral("--out"), commandOut.path(), QStringLiteral("--settings"),
                   settings, input.path()});
    ASSERT_TRUE(process.waitForStarted());
    QElapsedTimer clock;
    clock.start();
    while (QDir(commandOut.path()).entryList(QDir::Files).isEmpty() && clock.elapsed() < 60000)
        QThread::msleep(2);
    ::kill(pid_t(process.processId()), SIGINT);
    ASSERT_TRUE(process.waitForFinished(60000));
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    const int written = int(QDir(commandOut.path()).entryList(QDir::Files).size());
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_EQ(out, QStringLiteral("Operation Incomplete. %1 files processed.\n").arg(written));
    EXPECT_GE(written, 1);
    EXPECT_LT(written, 40);
}

}  // namespace
}  // namespace tessaly
