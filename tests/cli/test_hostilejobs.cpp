// Jobs that would go wrong without a word: a folder reached through a
// link, a qualifier that climbs out of the output folder, a settings file
// that is not a file, a full disk. Each is run through tessaly-batch; the
// sources keep their bytes in every case.

#include "platform/filenames.h"
#include "platform/fileops.h"
#include "batchrun.h"
#include "support/tempfolder.h"
#include "support/testpictures.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace tessaly {
namespace {

using testing::TempFolder;

// Runs tessaly-batch with arguments given as bytes (QProcess would pass
// a name that is not UTF-8 on as other bytes); standard output and error
// go through files in `scratch`.
Result runBatchBytes(const std::vector<QByteArray>& arguments, const QString& settings, const QString& scratch)
{
    std::vector<QByteArray> all{TESSALY_BATCH_PROGRAM, "--settings", QFile::encodeName(settings)};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (QByteArray& argument : all)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    const QByteArray out = QFile::encodeName(scratch + QStringLiteral("/stdout"));
    const QByteArray err = QFile::encodeName(scratch + QStringLiteral("/stderr"));
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = -1;
    Result result;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    result.out = QString::fromUtf8(testing::readAll(QFile::decodeName(out)));
    result.err = QString::fromUtf8(testing::readAll(QFile::decodeName(err)));
    return result;
}

// The bytes of every file of a folder, by the bytes of its name (QDir
// would leave out names that are not UTF-8).
std::map<QByteArray, QByteArray> filesByByteName(const QString& folder)
{
    std::map<QByteArray, QByteArray> files;
    // A folder not made yet holds nothing.
    std::error_code noFolder;
    for (const auto& entry : std::filesystem::directory_iterator(QFile::encodeName(folder).toStdString(), noFolder)) {
        if (!entry.is_regular_file())
            continue;
        std::FILE* file = std::fopen(entry.path().c_str(), "rb");
        QByteArray bytes;
        char buffer[4096];
        for (std::size_t n; file && (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
            bytes.append(buffer, qsizetype(n));
        if (file)
            std::fclose(file);
        files[QByteArray::fromStdString(entry.path().filename().string())] = bytes;
    }
    return files;
}

// Name and hash of every file of a folder.
std::map<QByteArray, QByteArray> hashes(const QString& folder)
{
    std::map<QByteArray, QByteArray> files;
    for (const auto& [name, bytes] : filesByByteName(folder))
        files[name] = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
    return files;
}

// The names of a folder's files, as bytes.
std::set<QByteArray> namesIn(const QString& folder)
{
    std::set<QByteArray> names;
    std::error_code noFolder;
    for (const auto& entry : std::filesystem::directory_iterator(encodeFileName(folder).toStdString(), noFolder))
        if (entry.is_regular_file())
            names.insert(QByteArray::fromStdString(entry.path().filename().string()));
    return names;
}

// Removes what QTemporaryDir cannot: it lists folders through QDir, which
// leaves out names that are not UTF-8.
struct RemovedAtEnd {
    QString folder;
    ~RemovedAtEnd() { std::filesystem::remove_all(QFile::encodeName(folder).toStdString()); }
};

// Guards the sources: an output folder that is a link to the input folder is
// the input folder: the same-folder refusal comes, and no source is replaced.
TEST(HostileJobs, LinkToTheInputFolderIsTheSameFolder)
{
    TempFolder temp;
    const QString photos = temp.makeFolder(QStringLiteral("photos"));
    testing::writePicture(photos + QStringLiteral("/Thumb001.jpg"), 40, 30);
    testing::writePicture(photos + QStringLiteral("/Thumb002.jpg"), 40, 30);
    testing::writePicture(photos + QStringLiteral("/holiday.jpg"), 80, 60);
    const QString alias = temp.path() + QStringLiteral("/alias");
    ASSERT_TRUE(QFile::link(photos, alias));
    const auto before = hashes(photos);
    for (const QString& out : {alias, alias + u'/', photos + QStringLiteral("/../photos")}) {
        const Result result =
            runBatch({QStringLiteral("thumbs"), QStringLiteral("--out"), out, photos}, emptySettings(temp));
        EXPECT_EQ(result.exitCode, 2) << out.toStdString();
        EXPECT_TRUE(result.err.contains(QStringLiteral("Input and Output Directories are the same")))
            << result.err.toStdString();
    }
    EXPECT_EQ(hashes(photos), before);
}

// Guards the output folder: a qualifier with a path separator is refused before
// anything is written, given on the command line or in the settings file.
TEST(HostileJobs, QualifierWithSeparatorIsRefused)
{
    TempFolder temp;
    const QString photos = temp.makeFolder(QStringLiteral("photos"));
    const QString out = temp.makeFolder(QStringLiteral("out"));
    testing::writePicture(photos + QStringLiteral("/holiday.jpg"), 80, 60);
    for (const QString& qualifier : {QStringLiteral("../x_"), QStringLiteral("a/b"), QStringLiteral("..\\x")}) {
        const Result result = runBatch(
            {QStringLiteral("thumbs"), QStringLiteral("--out"), out, QStringLiteral("--qualifier"), qualifier, photos},
            emptySettings(temp));
        EXPECT_EQ(result.exitCode, 2) << qualifier.toStdString();
        EXPECT_TRUE(result.err.contains(QStringLiteral("path separator"))) << result.err.toStdString();
    }
    const QString settings =
        temp.write(QStringLiteral("settings/q.ini"), "[Thumbnails]\r\nOutput File Qualifier=../x_\r\n");
    const Result fromFile = runBatch({QStringLiteral("thumbs"), QStringLiteral("--out"), out, photos}, settings);
    EXPECT_EQ(fromFile.exitCode, 2);
    EXPECT_EQ(QDir(out).entryList(QDir::Files).size(), 0);
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::Files).size(), 0);
}

// Guards against a hang on reading settings: a settings "file" that is a
// device, a pipe or far too large is refused at once with a clear message.
TEST(HostileJobs, SettingsOnlyFromARegularFile)
{
    TempFolder temp;
    const QString photos = temp.makeFolder(QStringLiteral("photos"));
    testing::writePicture(photos + QStringLiteral("/holiday.jpg"), 80, 60);
    const QString fifo = temp.path() + QStringLiteral("/settings.fifo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString huge = temp.write(QStringLiteral("huge.ini"), QByteArray(3 << 20, 'x'));
    for (const QString& settings : {QStringLiteral("/dev/zero"), fifo, huge, temp.path()}) {
        const Result result = runBatch(
            {QStringLiteral("thumbs"), QStringLiteral("--out"), temp.makeFolder(QStringLiteral("out")), photos},
            settings);
        EXPECT_EQ(result.exitCode, 2) << settings.toStdString();
        EXPECT_TRUE(result.err.contains(QStringLiteral("is not a settings file"))) << result.err.toStdString();
        EXPECT_LT(result.milliseconds, 10000) << settings.toStdString();
    }
}

// Guards the outputs on a full disk: no picture or page is reported done and no
// short file stays under a final name (root only: a small file system).
TEST(HostileJobs, FullDiskIsAnError)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "making a small file system needs root";
    TempFolder temp;
    const QString photos = temp.makeFolder(QStringLiteral("photos"));
    testing::writePicture(photos + QStringLiteral("/a.jpg"), 400, 300);
    testing::writePicture(photos + QStringLiteral("/b.jpg"), 400, 300);
    const QString disk = temp.makeFolder(QStringLiteral("disk"));
    const QByteArray mountPoint = QFile::encodeName(disk);
    if (::system(("mount -t tmpfs -o size=64k tmpfs '" + mountPoint + "' 2>/dev/null").constData()) != 0)
        GTEST_SKIP() << "cannot mount a small file system";
    // Fill the disk but for a few bytes.
    {
        QFile filler(disk + QStringLiteral("/filler"));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
        filler.write(QByteArray(60 * 1024, 'f'));
    }
    const auto before = hashes(photos);
    const Result result =
        runBatch({QStringLiteral("thumbs"), QStringLiteral("--out"), disk, QStringLiteral("--size"),
                  QStringLiteral("300"), QStringLiteral("--html"), disk + QStringLiteral("/index.htm"), photos},
                 emptySettings(temp));
    EXPECT_EQ(result.exitCode, 1) << result.err.toStdString();
    EXPECT_FALSE((result.out + result.err).contains(QStringLiteral("Operation complete")));
    for (const auto& [name, bytes] : filesByByteName(disk)) {
        if (name == "filler")
            continue;
        // Whatever was written is whole: a thumbnail opens, a page ends.
        EXPECT_GT(bytes.size(), 0) << name.toStdString();
        if (name.endsWith(".jpg")) {
            EXPECT_TRUE(bytes.endsWith("\xFF\xD9")) << name.toStdString();
        }
    }
    EXPECT_EQ(hashes(photos), before);
    EXPECT_EQ(::system(("umount '" + mountPoint + "'").constData()), 0);
}

// Guards failed renames against silence: renames the file system refuses are
// named on standard error, the command line exits 1, every source is still
// there.
TEST(HostileJobs, RefusedRenamesAreNamed)
{
    TempFolder temp;
    const QString photos = temp.makeFolder(QStringLiteral("photos"));
    testing::writePicture(photos + QStringLiteral("/a.jpg"), 40, 30);
    testing::writePicture(photos + QStringLiteral("/b.jpg"), 40, 30);
    const auto before = hashes(photos);
    const QByteArray folder = QFile::encodeName(photos);
    // A read-only folder: for root a read-only bind mount, else no write permission.
    const bool root = ::geteuid() == 0;
    if (root) {
        if (::system(("mount --bind '" + folder + "' '" + folder + "' && mount -o remount,ro,bind '" + folder + "' '" +
                      folder + "' 2>/dev/null")
                         .constData()) != 0)
            GTEST_SKIP() << "cannot make a read-only folder";
    } else {
        QFile::setPermissions(photos, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    }
    const Result result = runBatch({QStringLiteral("rename"), QStringLiteral("--naming"), QStringLiteral("PreSeq"),
                                    QStringLiteral("--qualifier"), QStringLiteral("Trip"), QStringLiteral("--seq"),
                                    QStringLiteral("01"), photos},
                                   emptySettings(temp));
    if (root)
        EXPECT_EQ(::system(("umount '" + folder + "'").constData()), 0);
    else
        QFile::setPermissions(photos, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.contains(photos + QStringLiteral("/a.jpg: not renamed to"))) << result.err.toStdString();
    EXPECT_TRUE(result.err.contains(photos + QStringLiteral("/b.jpg: not renamed to"))) << result.err.toStdString();
    EXPECT_TRUE(result.out.contains(QStringLiteral("Operation Incomplete. 0 files processed."))) << result.out.toStdString();
    EXPECT_EQ(hashes(photos), before);
}

// Faults while a run is going, set off once the run's first output shows
// in its folder (the file a fault hits is still far ahead then): a source
// removed or cut short, the process killed while it writes, a second run
// on the same folder. The run says what happened to it, no file under a
// final name is cut short, and every source keeps its bytes.
TEST(HostileJobs, FaultsDuringARun)
{
    TempFolder temp;
    const QString settings = emptySettings(temp);
    constexpr int kPictures = 60;
    const QString pictures = temp.makeFolder(QStringLiteral("pictures"));
    for (int i = 0; i < kPictures; ++i)
        testing::writePicture(pictures + QStringLiteral("/p%1.jpg").arg(i, 2, 10, QLatin1Char('0')), 640, 480);
    const QByteArray lastName = QStringLiteral("p%1.jpg").arg(kPictures - 1).toLatin1();
    // Large pictures make long writes: the kill lands in one.
    const QString large = temp.makeFolder(QStringLiteral("large"));
    for (int i = 0; i < 3; ++i)
        testing::writePicture(large + QStringLiteral("/l%1.jpg").arg(i), 2400, 1800);

    enum class Sources { Pictures, Large, ManySmall };
    enum class Expect { CouldNotOpenLast, Killed, EachHonest };
    struct Fault {
        const char* what;
        Sources sources;
        QStringList arguments;  // the input folder and --out are added
        // Run on the source folder once the first output shows.
        std::function<void(const QString& folder, QProcess& run, std::unique_ptr<QProcess>& second)> strike;
        Expect expect;
        QString reason = {};  // what the run says of the file it could not open
    };
    const auto startSecond = [&](const QStringList& arguments) {
        auto process = std::make_unique<QProcess>();
        process->start(QStringLiteral(TESSALY_BATCH_PROGRAM),
                       QStringList{QStringLiteral("--settings"), settings} + arguments);
        return process;
    };
    const QString naming = QStringLiteral("--naming");
    const Fault faults[] = {
        {"a source removed",
         Sources::Pictures,
         {QStringLiteral("thumbs")},
         [&](const QString& folder, QProcess&, std::unique_ptr<QProcess>&) {
             ASSERT_TRUE(QFile::remove(folder + u'/' + QString::fromLatin1(lastName)));
         },
         Expect::CouldNotOpenLast},
        {"a source cut short",
         Sources::Pictures,
         {QStringLiteral("thumbs")},
         [&](const QString& folder, QProcess&, std::unique_ptr<QProcess>&) {
             QFile file(folder + u'/' + QString::fromLatin1(lastName));
             ASSERT_TRUE(file.resize(file.size() / 2));
         },
         Expect::CouldNotOpenLast},
        // Without a check on the opened file the first hangs the run and
        // the second reads without end.
        {"a source swapped for a named pipe",
         Sources::Pictures,
         {QStringLiteral("thumbs")},
         [&](const QString& folder, QProcess&, std::unique_ptr<QProcess>&) {
             const QByteArray path = QFile::encodeName(folder + u'/' + QString::fromLatin1(lastName));
             ASSERT_EQ(::unlink(path.constData()), 0);
             ASSERT_EQ(::mkfifo(path.constData(), 0600), 0);
         },
         Expect::CouldNotOpenLast,
         QStringLiteral("not an ordinary file but a named pipe (FIFO)")},
        {"a source swapped for a link to /dev/zero",
         Sources::Pictures,
         {QStringLiteral("convert"), QStringLiteral("--type"), QStringLiteral("bmp")},
         [&](const QString& folder, QProcess&, std::unique_ptr<QProcess>&) {
             const QByteArray path = QFile::encodeName(folder + u'/' + QString::fromLatin1(lastName));
             ASSERT_EQ(::unlink(path.constData()), 0);
             ASSERT_EQ(::symlink("/dev/zero", path.constData()), 0);
         },
         Expect::CouldNotOpenLast,
         QStringLiteral("not an ordinary file but a link to a character device")},
        {"the process killed while it writes",
         Sources::Large,
         {QStringLiteral("convert"), QStringLiteral("--type"), QStringLiteral("bmp")},
         [&](const QString&, QProcess& run, std::unique_ptr<QProcess>&) { ::kill(pid_t(run.processId()), SIGKILL); },
         Expect::Killed},
        {"a second run into the same folder",
         Sources::Pictures,
         {QStringLiteral("thumbs"), QStringLiteral("--overwrite")},
         [&](const QString& folder, QProcess&, std::unique_ptr<QProcess>& second) {
             second = startSecond({QStringLiteral("thumbs"), QStringLiteral("--overwrite"), QStringLiteral("--out"),
                                   folder + QStringLiteral("-out"), folder});
         },
         Expect::EachHonest},
        {"a second rename of the same folder",
         Sources::ManySmall,
         {QStringLiteral("rename"), naming, QStringLiteral("PreSeq"), QStringLiteral("--qualifier"),
          QStringLiteral("A")},
         [&](const QString& folder, QProcess&, std::unique_ptr<QProcess>& second) {
             second = startSecond({QStringLiteral("rename"), naming, QStringLiteral("PreSeq"),
                                   QStringLiteral("--qualifier"), QStringLiteral("B"), folder});
         },
         Expect::EachHonest},
    };
    for (const Fault& fault : faults) {
        SCOPED_TRACE(fault.what);
        const int index = int(&fault - faults);
        const QString folder = temp.makeFolder(QStringLiteral("in-%1").arg(index));
        if (fault.sources == Sources::ManySmall) {
            // Renames are quick: thousands of files keep the two runs together.
            for (int i = 0; i < 3000; ++i)
                temp.write(QStringLiteral("in-%1/r%2.jpg").arg(index).arg(i, 4, 10, QLatin1Char('0')),
                           QByteArray::number(i));
        } else {
            const QString from = fault.sources == Sources::Large ? large : pictures;
            for (const QString& name : QDir(from).entryList(QDir::Files))
                ASSERT_TRUE(QFile::copy(from + u'/' + name, folder + u'/' + name));
        }
        const bool rename = fault.sources == Sources::ManySmall;
        const QString out = rename ? folder : folder + QStringLiteral("-out");
        auto before = hashes(folder);

        QProcess run;
        const auto stop = qScopeGuard([&] {
            run.kill();
            run.waitForFinished();
        });
        QStringList arguments = QStringList{QStringLiteral("--settings"), settings} + fault.arguments;
        if (!rename)
            arguments << QStringLiteral("--out") << out;
        run.start(QStringLiteral(TESSALY_BATCH_PROGRAM), arguments << folder);
        ASSERT_TRUE(run.waitForStarted());
        // The first output shows (a picture is written through an unnamed
        // temporary file, so it shows whole or not at all).
        const QString first = out + (rename ? QStringLiteral("/A001.jpg") : QString());
        const auto firstOutput = [&] {
            return (rename ? fileExists(first) : !namesIn(out).empty()) || run.state() == QProcess::NotRunning;
        };
        ASSERT_TRUE(testing::waitUntil(firstOutput, 60000));
        ASSERT_EQ(run.state(), QProcess::Running) << "the run ended before the fault";
        std::unique_ptr<QProcess> second;
        fault.strike(folder, run, second);
        ASSERT_TRUE(run.waitForFinished(60000));
        if (second) {
            ASSERT_TRUE(second->waitForFinished(60000));
        }
        const QString said = QString::fromUtf8(run.readAllStandardOutput() + run.readAllStandardError());

        switch (fault.expect) {
        case Expect::CouldNotOpenLast:
            EXPECT_EQ(run.exitCode(), 1) << said.toStdString();
            EXPECT_TRUE(said.contains(QStringLiteral("Could not open ") + QString::fromLatin1(lastName)))
                << said.toStdString();
            EXPECT_TRUE(said.contains(QStringLiteral("Operation Incomplete. %1 files processed.").arg(kPictures - 1)))
                << said.toStdString();
            EXPECT_TRUE(said.contains(QString::fromLatin1(lastName) + QStringLiteral(": ") + fault.reason))
                << said.toStdString();
            before.erase(lastName);
            break;
        case Expect::Killed: EXPECT_EQ(run.exitStatus(), QProcess::CrashExit); break;
        case Expect::EachHonest:
            // Each run exits 0 only when it names no file it could not do,
            // and says "complete" only then.
            for (QProcess* process : {&run, second.get()}) {
                const QString text =
                    process == &run
                        ? said
                        : QString::fromUtf8(process->readAllStandardOutput() + process->readAllStandardError());
                const bool named = text.contains(QStringLiteral("tessaly-batch:"));
                EXPECT_EQ(process->exitCode() == 0, !named) << text.right(2000).toStdString();
                if (!rename) {
                    EXPECT_EQ(text.contains(QStringLiteral("Operation complete.")), !named)
                        << text.right(2000).toStdString();
                }
            }
            break;
        }
        std::map<QByteArray, QByteArray> after = hashes(folder);
        if (fault.expect == Expect::CouldNotOpenLast)
            after.erase(lastName);
        if (rename) {
            // Renamed, perhaps twice: the same contents under other names.
            std::multiset<QByteArray> was, is;
            for (const auto& entry : before)
                was.insert(entry.second);
            for (const auto& entry : after)
                is.insert(entry.second);
            EXPECT_EQ(is, was);
            continue;
        }
        EXPECT_EQ(after, before);
        // Whatever stands under a final name is whole.
        for (const auto& [name, bytes] : filesByByteName(out)) {
            if (name.endsWith(".jpg")) {
                EXPECT_TRUE(bytes.endsWith("\xFF\xD9")) << name.toStdString();
            } else if (name.endsWith(".bmp")) {
                ASSERT_GE(bytes.size(), 6);
                quint32 declared = 0;
                std::memcpy(&declared, bytes.constData() + 2, 4);
                EXPECT_EQ(qsizetype(declared), bytes.size()) << name.toStdString();
            }
        }
    }
}

// Guards file names whose bytes are not UTF-8: a name ("caf\xe9.jpg" from an
// old camera card) is listed, processed by every run, and named on the command
// line and in file lists; names made from it keep its bytes, the journal takes
// a rename of it back, and messages show it readably.
TEST(HostileJobs, NamesThatAreNotUtf8AreProcessed)
{
    TempFolder temp;
    const RemovedAtEnd cleanup{temp.path()};
    const QString photos = temp.makeFolder(QStringLiteral("photos"));
    const QByteArray photosBytes = QFile::encodeName(photos);
    const QByteArray rawName = "caf\xe9.jpg";
    testing::writePicture(photos + QStringLiteral("/plain.jpg"), 60, 40);
    testing::writePicture(photos + QStringLiteral("/latin.jpg"), 80, 60);
    ASSERT_EQ(::rename((photosBytes + "/latin.jpg").constData(), (photosBytes + '/' + rawName).constData()), 0);
    const QString settings = emptySettings(temp);
    const QString list = temp.write(QStringLiteral("list.txt"), photosBytes + '/' + rawName + '\n');
    const auto before = hashes(photos);

    struct Case {
        const char* what;
        std::vector<QByteArray> arguments;
        std::set<QByteArray> written;  // in the output folder
        const char* processed;
    };
    const Case cases[] = {
        {"thumbnails of the folder, named after the old names",
         {"thumbs", "--naming", "PreName", "--qualifier", "T_", "--size", "32"},
         {"T_caf\xe9.jpg", "T_plain.jpg"},
         "2 files processed"},
        {"a copy of the file named as an argument",
         {"copy", "--naming", "PreName", "--qualifier", "C_", photosBytes + '/' + rawName},
         {"C_caf\xe9.jpg"},
         "1 files processed"},
        {"a conversion of the file named in a list",
         {"convert", "--type", "bmp", "--naming", "SufName", "--qualifier", "_c", "--files-from",
          QFile::encodeName(list)},
         {"caf\xe9_c.bmp"},
         "1 files processed"},
    };
    for (const Case& c : cases) {
        const QString out = temp.makeFolder(QStringLiteral("out-%1").arg(&c - cases));
        std::vector<QByteArray> arguments = c.arguments;
        arguments.insert(arguments.begin() + 1, {"--out", QFile::encodeName(out)});
        if (c.arguments.front() == "thumbs")
            arguments.push_back(photosBytes);
        const Result result = runBatchBytes(arguments, settings, temp.path());
        EXPECT_EQ(result.exitCode, 0) << c.what << ": " << result.err.toStdString();
        EXPECT_TRUE(result.out.contains(QLatin1String(c.processed))) << c.what << ": " << result.out.toStdString();
        EXPECT_EQ(namesIn(out), c.written) << c.what;
    }
    // The copy holds the source's bytes exactly.
    EXPECT_EQ(filesByByteName(temp.path() + QStringLiteral("/out-1"))["C_caf\xe9.jpg"], filesByByteName(photos)[rawName]);
    EXPECT_EQ(hashes(photos), before);

    // A gallery links the thumbnail by its bytes and shows its name readably.
    const QString galleryOut = temp.makeFolder(QStringLiteral("gallery"));
    const Result gallery =
        runBatchBytes({"thumbs", "--out", QFile::encodeName(galleryOut), "--naming", "PreName", "--qualifier", "T_",
                       "--html", QFile::encodeName(galleryOut) + "/index.htm", photosBytes},
                      settings, temp.path());
    EXPECT_EQ(gallery.exitCode, 0) << gallery.err.toStdString();
    const QByteArray page = filesByByteName(galleryOut)["index.htm"];
    EXPECT_TRUE(page.contains("T_caf%E9.jpg")) << page.constData();
    EXPECT_TRUE(page.contains("caf\\xE9.jpg")) << page.constData();

    // A rename with the old name keeps its bytes, and is taken back.
    const Result rename =
        runBatchBytes({"rename", "--naming", "PreName", "--qualifier", "R_", photosBytes}, settings, temp.path());
    EXPECT_EQ(rename.exitCode, 0) << rename.err.toStdString();
    EXPECT_EQ(namesIn(photos), (std::set<QByteArray>{"R_caf\xe9.jpg", "R_plain.jpg"}));
    const Result undo = runBatchBytes({"undo-rename", photosBytes}, settings, temp.path());
    EXPECT_EQ(undo.exitCode, 0) << undo.err.toStdString();
    EXPECT_EQ(hashes(photos), before);

    // An output folder whose name is not UTF-8 is made and written by its bytes.
    const QByteArray rawOut = QFile::encodeName(temp.path()) + "/out\xe9/deeper";
    const Result intoRaw = runBatchBytes({"thumbs", "--out", rawOut, photosBytes}, settings, temp.path());
    EXPECT_EQ(intoRaw.exitCode, 0) << intoRaw.err.toStdString();
    EXPECT_EQ(namesIn(decodeFileName(rawOut)), (std::set<QByteArray>{"Thumb001.jpg", "Thumb002.jpg"}));

    // A name that does not exist is reported readably, nothing run.
    const Result missing = runBatchBytes(
        {"thumbs", "--out", QFile::encodeName(galleryOut), photosBytes + "/gone\xe9.jpg"}, settings, temp.path());
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("gone\\xE9.jpg: no such file or folder")))
        << missing.err.toStdString();
}

}  // namespace
}  // namespace tessaly
