#include "support/tempfolder.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <unistd.h>

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

ReadOnlyFolder::ReadOnlyFolder(const QString& folder) : m_folder(folder)
{
    const QByteArray quoted = "'" + QFile::encodeName(folder) + "'";
    if (::geteuid() == 0) {
        m_mounted = std::system(("mount --bind " + quoted + ' ' + quoted + " 2>/dev/null").constData()) == 0;
        m_made = m_mounted &&
                 std::system(("mount -o remount,ro,bind " + quoted + ' ' + quoted + " 2>/dev/null").constData()) == 0;
    } else {
        m_made = QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    }
}

ReadOnlyFolder::~ReadOnlyFolder()
{
    if (m_mounted) {
        if (std::system(("umount '" + QFile::encodeName(m_folder) + "'").constData()) != 0)
            std::fprintf(stderr, "could not unmount %s\n", QFile::encodeName(m_folder).constData());
    } else {
        QFile::setPermissions(m_folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
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
