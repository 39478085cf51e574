#include "platform/fileops.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessaly {

bool renameNoReplace(const QString& from, const QString& to)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    // The kernel checks and renames in one step, so a file that appears in
    // between is not replaced either.
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // File systems without that flag: check, then rename.
    if (QFileInfo::exists(to))
        return false;
    return ::rename(source.constData(), target.constData()) == 0;
}

bool sameFile(const QString& first, const QString& second)
{
    struct stat a {
    }, b{};
    if (::stat(QFile::encodeName(first).constData(), &a) != 0 || ::stat(QFile::encodeName(second).constData(), &b) != 0)
        return false;
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

std::optional<std::int64_t> fileSize(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return std::nullopt;
    return info.size();
}

std::optional<QString> writeWholeFile(const QString& path, const QByteArray& bytes)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const bool inPlace = ::access(folder.constData(), W_OK) != 0 && QFileInfo::exists(path);
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    // The buffer is flushed here, and checked: commit() flushes too but
    // then renames the file even when that flush failed (a full disk shows
    // only then), leaving a short file under the final name.
    const bool written = file.write(bytes) == bytes.size() && file.flush() && file.error() == QFileDevice::NoError;
    if (written && file.commit())
        return std::nullopt;
    const QString reason = file.errorString();
    file.cancelWriting();
    if (inPlace)
        QFile::remove(path);
    return reason;
}

}  // namespace tessaly
