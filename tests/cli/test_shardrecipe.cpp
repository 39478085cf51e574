// The README's recipe for spreading a big archive, run exactly as written
// through GNU parallel, against one run over the whole list.
#include "support/tempfolder.h"
#include "support/testpictures.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <gtest/gtest.h>
#include <map>

namespace tessaly {
namespace {

using testing::TempFolder;

// The first shell block after the heading "### Spreading a big archive".
QString recipeFromReadme()
{
    const QString readme = QString::fromUtf8(testing::readAll(QStringLiteral(TESSALY_TEST_DATA "/../../README.md")));
    const qsizetype section = readme.indexOf(QLatin1String("### Spreading a big archive"));
    const qsizetype start = readme.indexOf(QLatin1String("```sh\n"), section);
    const qsizetype end = readme.indexOf(QLatin1String("```\n"), start + 6);
    if (section < 0 || start < 0 || end < 0)
        return {};
    return readme.mid(start + 6, end - start - 6);
}

// Every file of a folder by name, with its bytes.
std::map<QString, QByteArray> filesIn(const QString& folder)
{
    std::map<QString, QByteArray> files;
    for (const QString& name : QDir(folder).entryList(QDir::Files))
        files[name] = testing::readAll(folder + u'/' + name);
    return files;
}

// Runs `script` with bash in an environment where the home folder and the
// temporary folder are the test's and tessaly-batch is on the PATH.
int runShell(const QString& script, const QString& home, QString& said)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("TMPDIR"), home + QStringLiteral("/tmp"));
    environment.insert(QStringLiteral("PATH"), QFileInfo(QStringLiteral(TESSALY_BATCH_PROGRAM)).absolutePath() + u':' +
                                                   environment.value(QStringLiteral("PATH")));
    QProcess shell;
    shell.setProcessEnvironment(environment);
    shell.setWorkingDirectory(home);
    shell.start(QStringLiteral("bash"), {QStringLiteral("-e"), QStringLiteral("-c"), script});
    shell.waitForFinished(300000);
    said = QString::fromUtf8(shell.readAllStandardOutput() + shell.readAllStandardError());
    return shell.exitStatus() == QProcess::NormalExit ? shell.exitCode() : -1;
}

// More photos than one shard of the recipe holds, in folders: the second
// shard's numbers must go on from the first's.
TEST(ShardRecipe, RunsAsWrittenAndGivesTheFilesOfOneRun)
{
    ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("parallel")).isEmpty())
        << "GNU parallel is needed (the Debian package parallel)";
    const QString recipe = recipeFromReadme();
    ASSERT_TRUE(recipe.contains(QLatin1String("parallel"))) << recipe.toStdString();

    TempFolder home;
    QDir().mkpath(home.path() + QStringLiteral("/tmp"));
    // A few different pictures, repeated: a file numbered wrongly shows.
    std::vector<QByteArray> pictures;
    for (int i = 0; i < 7; ++i)
        pictures.push_back(
            testing::readAll(testing::writePicture(home.path() + QStringLiteral("/p%1.jpg").arg(i), 9 + i, 7 + i % 3)));
    const int count = 5000 + 37;
    for (int i = 0; i < count; ++i)
        home.write(QStringLiteral("photos/%1/img%2.jpg").arg(i % 4).arg(i, 5, 10, QLatin1Char('0')),
                   pictures[std::size_t(i % 7)]);

    QString said;
    ASSERT_EQ(runShell(recipe, home.path(), said), 0) << said.toStdString();
    const std::map<QString, QByteArray> sharded = filesIn(home.path() + QStringLiteral("/thumbs"));

    const QString single = QStringLiteral(
        "find ~/photos -type f -name '*.jpg' -print0 | sort -z | tessaly-batch thumbs -q --naming PreSeq "
        "--size 120 --keep-ratio --files-from - --null --out ~/single --seq 000001");
    ASSERT_EQ(runShell(single, home.path(), said), 0) << said.toStdString();
    const std::map<QString, QByteArray> whole = filesIn(home.path() + QStringLiteral("/single"));

    EXPECT_EQ(whole.size(), std::size_t(count));
    EXPECT_TRUE(whole.count(QStringLiteral("Thumb005001.jpg")));
    EXPECT_TRUE(sharded == whole);
}

}  // namespace
}  // namespace tessaly
