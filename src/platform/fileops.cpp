#include "platform/fileops.h"

#include "platform/filenames.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace tessaly {

namespace {

QString lastErrorText()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// The folder part of a path's bytes ("." for a bare name, "/" for the root).
QByteArray folderBytes(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

}  // namespace

bool writeAll(int fd, const char* data, std::int64_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, std::size_t(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

bool readAll(int fd, QByteArray& bytes)
{
    char chunk[65536];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got > 0)
            bytes.append(chunk, got);
        else if (got == 0)
            return true;
        else if (errno != EINTR)
            return false;
    }
}

bool renameNoReplace(const QString& from, const QString& to)
{
    const QByteArray source = encodeFileName(from);
    const QByteArray target = encodeFileName(to);
    // The kernel checks and renames in one step, so a file that appears in
    // between is not replaced either.
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // File systems without that flag: check, then rename.
    if (fileExists(to))
        return false;
    return ::rename(source.constData(), target.constData()) == 0;
}

bool sameFile(const QString& first, const QString& second)
{
    struct stat a {
    }, b{};
    if (::stat(encodeFileName(first).constData(), &a) != 0 || ::stat(encodeFileName(second).constData(), &b) != 0)
        return false;
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool fileExists(const QString& path)
{
    struct stat info {};
    return !path.isEmpty() && ::stat(encodeFileName(path).constData(), &info) == 0;
}

bool isFolder(const QString& path)
{
    struct stat info {};
    return !path.isEmpty() && ::stat(encodeFileName(path).constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool isOrdinaryFile(const QString& path)
{
    struct stat info {};
    return !path.isEmpty() && ::stat(encodeFileName(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

bool makeFolders(const QString& path)
{
    const QByteArray bytes = encodeFileName(path);
    // Each parent in turn, by its bytes (QDir::mkpath would make the
    // folders of another name when one is not UTF-8).
    for (qsizetype slash = bytes.indexOf('/', 1); slash > 0; slash = bytes.indexOf('/', slash + 1))
        ::mkdir(bytes.left(slash).constData(), 0777);
    ::mkdir(bytes.constData(), 0777);
    return isFolder(path);
}

bool removeFile(const QString& path)
{
    return !path.isEmpty() && ::unlink(encodeFileName(path).constData()) == 0;
}

std::optional<std::int64_t> fileSize(const QString& path)
{
    struct stat info {};
    if (path.isEmpty() || ::stat(encodeFileName(path).constData(), &info) != 0)
        return std::nullopt;
    return std::int64_t(info.st_size);
}

std::optional<QString> openForReading(QFile& file, const QString& path)
{
    if (!hasRawBytes(path)) {
        file.setFileName(path);
        if (file.open(QIODevice::ReadOnly))
            return std::nullopt;
        return file.errorString();
    }
    const int fd = ::open(encodeFileName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return lastErrorText();
    if (file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return std::nullopt;
    ::close(fd);
    return file.errorString();
}

FileReplacement::FileReplacement(const QString& path) : m_path(path) {}

FileReplacement::~FileReplacement()
{
    if (!m_done)
        giveUp();
}

std::optional<QString> FileReplacement::open()
{
    m_target = encodeFileName(m_path);
    const QByteArray folder = folderBytes(m_target);
    m_inPlace = ::access(folder.constData(), W_OK) != 0 && fileExists(m_path);
    if (!hasRawBytes(m_path)) {
        m_save = std::make_unique<QSaveFile>(m_path);
        m_save->setDirectWriteFallback(true);
        if (m_save->open(QIODevice::WriteOnly)) {
            m_opened = true;
            return std::nullopt;
        }
        return m_save->errorString();
    }
    if (m_inPlace) {
        m_fd = ::open(m_target.constData(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    } else {
        // A hidden name of plain ASCII beside the target, unique within
        // this process and, through the process number, among processes.
        static std::atomic<unsigned> counter{0};
        m_temporary =
            folder + '/' + QStringLiteral(".tessaly-%1-%2.part").arg(::getpid()).arg(counter.fetch_add(1)).toLatin1();
        m_fd = ::open(m_temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    }
    if (m_fd < 0) {
        const QString reason = lastErrorText();
        m_temporary.clear();
        return reason;
    }
    m_opened = true;
    return std::nullopt;
}

std::optional<QString> FileReplacement::write(const char* data, std::int64_t size)
{
    if (m_save) {
        if (m_save->write(data, size) == size)
            return std::nullopt;
        return m_save->errorString();
    }
    if (m_fd >= 0 && writeAll(m_fd, data, size))
        return std::nullopt;
    return lastErrorText();
}

std::optional<QString> FileReplacement::commit()
{
    std::optional<QString> failure;
    if (m_save) {
        // The buffer is flushed here, and checked: commit() flushes too but
        // then renames the file even when that flush failed (a full disk
        // shows only then), leaving a short file under the final name.
        if (m_save->flush() && m_save->error() == QFileDevice::NoError && m_save->commit()) {
            m_done = true;
            return std::nullopt;
        }
        failure = m_save->errorString();
    } else if (m_fd >= 0 && ::fsync(m_fd) == 0 && ::close(std::exchange(m_fd, -1)) == 0 &&
               (m_inPlace || ::rename(m_temporary.constData(), m_target.constData()) == 0)) {
        m_done = true;
        return std::nullopt;
    } else {
        failure = lastErrorText();
    }
    giveUp();
    return failure;
}

void FileReplacement::giveUp()
{
    m_done = true;
    if (m_save) {
        m_save->cancelWriting();
        m_save.reset();
    }
    if (m_fd >= 0)
        ::close(std::exchange(m_fd, -1));
    if (!m_temporary.isEmpty())
        ::unlink(m_temporary.constData());
    // What was written in place is cut short: it is not left under the name.
    if (m_inPlace && m_opened)
        ::unlink(m_target.constData());
}

std::optional<QString> writeWholeFile(const QString& path, const QByteArray& bytes)
{
    FileReplacement file(path);
    if (auto failure = file.open())
        return failure;
    if (auto failure = file.write(bytes.constData(), bytes.size()))
        return failure;
    return file.commit();
}

}  // namespace tessaly
