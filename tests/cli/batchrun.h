#pragma once

#include "support/tempfolder.h"
#include "support/testpictures.h"

#include <QAbstractButton>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QWidget>
#include <map>
#include <stdexcept>
#include <string>

namespace tessaly {

// What one run of tessaly-batch gave: its exit status, what it printed and
// how long it took.
struct Result {
    int exitCode = -1;
    QString out, err;
    qint64 milliseconds = 0;
};

// How tessaly-batch is started besides its arguments.
struct RunOptions {
    QString workingFolder{};
    // Written to its standard input, which is then closed.
    QByteArray input{};
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
};

// Runs tessaly-batch with `settings` as its settings file; a run that has
// not ended after two minutes is killed, so a hang fails the test instead
// of stopping the suite.
inline Result runBatch(const QStringList& arguments, const QString& settings, const RunOptions& options = {})
{
    QElapsedTimer timer;
    timer.start();
    QProcess process;
    process.setProcessEnvironment(options.environment);
    if (!options.workingFolder.isEmpty())
        process.setWorkingDirectory(options.workingFolder);
    process.start(QStringLiteral(TESSALY_BATCH_PROGRAM),
                  QStringList{QStringLiteral("--settings"), settings} + arguments);
    process.write(options.input);
    process.closeWriteChannel();
    if (!process.waitForFinished(120000))
        process.kill();
    process.waitForFinished();
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError()), timer.elapsed()};
}

// An empty settings file in `temp`, for a run with the defaults.
inline QString emptySettings(testing::TempFolder& temp)
{
    return temp.write(QStringLiteral("settings/Tessaly.ini"), QByteArray());
}

// Every file of a folder, name and bytes.
inline std::map<QString, QByteArray> contents(const QString& folder)
{
    std::map<QString, QByteArray> files;
    for (const QString& name : QDir(folder).entryList(QDir::Files, QDir::Name))
        files[name] = testing::readAll(folder + u'/' + name);
    return files;
}

// The window's control of that name.
template <typename Control>
Control& control(const QWidget& window, const char* name)
{
    auto* found = window.findChild<Control*>(QString::fromLatin1(name));
    if (!found)
        throw std::logic_error(std::string("no control ") + name);
    return *found;
}

inline void click(const QWidget& window, const char* name)
{
    QTest::mouseClick(&control<QAbstractButton>(window, name), Qt::LeftButton);
}

}  // namespace tessaly
