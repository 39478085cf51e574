#pragma once

#include <QElapsedTimer>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace tessaly {

// What one run of tessaly-batch gave: its exit status, what it printed and
// how long it took.
struct Result {
    int exitCode = -1;
    QString out, err;
    qint64 milliseconds = 0;
};

// Runs tessaly-batch with `settings` as its settings file; a run that has
// not ended after a minute is killed, so a hang fails the test instead of
// stopping the suite.
inline Result runBatch(const QStringList& arguments, const QString& settings)
{
    QElapsedTimer timer;
    timer.start();
    QProcess process;
    process.start(QStringLiteral(TESSALY_BATCH_PROGRAM),
                  QStringList{QStringLiteral("--settings"), settings} + arguments);
    if (!process.waitForFinished(60000))
        process.kill();
    process.waitForFinished();
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError()), timer.elapsed()};
}

}  // namespace tessaly
