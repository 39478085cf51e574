#include "support/tempfolder.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <stdexcept>

namespace tessaly::testing {

TempFolder::TempFolder()
{
    if (!m_dir.isValid())
        throw std::runtime_error("no temporary folder");
}

QString TempFolder::path() const
{
    return QFileInfo(m_dir.path()).canonicalFilePath();
}

QString TempFolder::write(const QString& name, const QByteArray& bytes)
{
    const QString full = path() + u'/' + name;
    QDir().mkpath(QFileInfo(full).path());
    QFile file(full);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write test file");
    return full;
}

QString TempFolder::makeFolder(const QString& name)
{
    const QString full = path() + u'/' + name;
    QDir().mkpath(full);
    return full;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool waitUntil(const std::function<bool()>& condition, int milliseconds)
{
    QDeadlineTimer deadline(milliseconds);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

}  // namespace tessaly::testing
