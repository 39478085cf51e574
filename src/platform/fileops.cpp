#include "platform/fileops.h"

#include "platform/filenames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <limits>
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

Status openForReading(QFile& file, const QString& path)
{
    if (!hasRawBytes(path)) {
        file.setFileName(path);
        if (file.open(QIODevice::ReadOnly))
            return {};
        return Status::failure(file.errorString());
    }
    const int fd = ::open(encodeFileName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return Status::failure(lastErrorText());
    if (file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return {};
    ::close(fd);
    return Status::failure(file.errorString());
}

namespace {

// What a non-ordinary file is, in words a user knows.
QString kindOf(mode_t mode)
{
    if (S_ISFIFO(mode))
        return QStringLiteral("a named pipe (FIFO)");
    if (S_ISCHR(mode))
        return QStringLiteral("a character device");
    if (S_ISBLK(mode))
        return QStringLiteral("a block device");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket");
    if (S_ISDIR(mode))
        return QStringLiteral("a folder");
    return QStringLiteral("no file");
}

QString notOrdinaryText(const QByteArray& path, mode_t mode)
{
    struct stat link {};
    const bool throughLink = ::lstat(path.constData(), &link) == 0 && S_ISLNK(link.st_mode);
    return QStringLiteral("not an ordinary file but %1%2")
        .arg(throughLink ? QStringLiteral("a link to ") : QString(), kindOf(mode));
}

}  // namespace

std::optional<QString> notOrdinaryFileReason(const QString& path)
{
    const QByteArray bytes = encodeFileName(path);
    struct stat info {};
    if (path.isEmpty() || ::stat(bytes.constData(), &info) != 0 || S_ISREG(info.st_mode))
        return std::nullopt;
    return notOrdinaryText(bytes, info.st_mode);
}

SourceFile::~SourceFile()
{
    close();
}

void SourceFile::close()
{
    if (m_fd >= 0)
        ::close(std::exchange(m_fd, -1));
}

Status SourceFile::open(const QString& path)
{
    close();
    const QByteArray bytes = encodeFileName(path);
    // Not blocking: opening a pipe for reading would otherwise wait for a
    // writer, maybe for ever. For an ordinary file the flag changes nothing.
    const int fd = ::open(bytes.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return Status::failure(lastErrorText());
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        const QString reason = lastErrorText();
        ::close(fd);
        return Status::failure(reason);
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        return Status::failure(notOrdinaryText(bytes, info.st_mode));
    }
    m_fd = fd;
    m_size = std::int64_t(info.st_size);
    m_read = 0;
    return {};
}

std::int64_t SourceFile::read(char* data, std::int64_t count)
{
    count = std::min(count, m_size - m_read);
    if (m_fd < 0 || count <= 0)
        return 0;
    for (;;) {
        const ssize_t got = ::read(m_fd, data, std::size_t(count));
        if (got < 0 && errno == EINTR)
            continue;
        if (got > 0)
            m_read += got;
        return got;
    }
}

Status SourceFile::readRest(QByteArray& bytes)
{
    const std::int64_t rest = m_size - m_read;
    if (rest > std::int64_t(std::numeric_limits<qsizetype>::max()))
        return Status::failure(QStringLiteral("file too large"));
    bytes.resize(qsizetype(rest));
    std::int64_t done = 0;
    while (done < rest) {
        const std::int64_t got = read(bytes.data() + done, rest - done);
        if (got < 0)
            return Status::failure(lastErrorText());
        if (got == 0) {
            bytes.resize(qsizetype(done));
            return Status::failure(QStringLiteral("the file was cut short while it was read"));
        }
        done += got;
    }
    return {};
}

Status readSourceFile(const QString& path, QByteArray& bytes, std::int64_t limit, std::int64_t* sizeWhenOpened)
{
    SourceFile file;
    if (Status opened = file.open(path); opened.failed())
        return opened;
    if (sizeWhenOpened)
        *sizeWhenOpened = file.size();
    if (file.size() > limit)
        return Status::failure(QStringLiteral("file too large"));
    return file.readRest(bytes);
}

namespace {

QString& keptOriginalsOverride()
{
    static QString folder;
    return folder;
}

// Copies what `from` holds from its start onto `to` from its start; false
// with errno set when a read or write fails.
bool copyDescriptor(int from, int to)
{
    if (::lseek(from, 0, SEEK_SET) != 0 || ::lseek(to, 0, SEEK_SET) != 0)
        return false;
    char chunk[65536];
    for (;;) {
        const ssize_t got = ::read(from, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        if (!writeAll(to, chunk, got))
            return false;
    }
}

}  // namespace

QString FileReplacement::keptOriginalsFolder()
{
    if (!keptOriginalsOverride().isEmpty())
        return keptOriginalsOverride();
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    return (cache.isEmpty() ? QDir::tempPath() : cache) + QStringLiteral("/tessaly/kept-originals");
}

void FileReplacement::setKeptOriginalsFolder(const QString& folder)
{
    keptOriginalsOverride() = folder;
}

FileReplacement::FileReplacement(const QString& path) : m_path(path) {}

FileReplacement::~FileReplacement()
{
    if (!m_done)
        giveUp();
}

Status FileReplacement::open()
{
    m_target = encodeFileName(m_path);
    // A link is followed: the file it names gets the new bytes, the link stays.
    struct stat link {};
    if (::lstat(m_target.constData(), &link) == 0 && S_ISLNK(link.st_mode)) {
        if (char* resolved = ::realpath(m_target.constData(), nullptr)) {
            m_target = resolved;
            std::free(resolved);
        }
    }
    const QByteArray folder = folderBytes(m_target);
    struct stat existing {};
    const bool found = ::stat(m_target.constData(), &existing) == 0;
    // A folder under the name is never replaced.
    if (found && S_ISDIR(existing.st_mode))
        return Status::failure(QString::fromLocal8Bit(std::strerror(EISDIR)));
    const bool exists = found && S_ISREG(existing.st_mode);
    // A folder that takes no new file, or a file that other names share:
    // only the file itself can be written.
    m_inPlace = exists && (::access(folder.constData(), W_OK) != 0 || existing.st_nlink > 1);
    if (m_inPlace)
        return openInPlace();
    // A hidden name of plain ASCII beside the target, unique within this
    // process and, through the process number, among processes. Written by
    // the name's bytes (Qt's QSaveFile would not reach a name that is not
    // UTF-8, and reports some failures only as "Unknown error").
    static std::atomic<unsigned> counter{0};
    m_temporary =
        folder + '/' + QStringLiteral(".tessaly-%1-%2.part").arg(::getpid()).arg(counter.fetch_add(1)).toLatin1();
    m_fd = ::open(m_temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (m_fd < 0) {
        const QString reason = lastErrorText();
        m_temporary.clear();
        return Status::failure(reason);
    }
    // The file that replaces another keeps its permissions.
    if (exists)
        ::fchmod(m_fd, existing.st_mode & 07777);
    m_opened = true;
    return {};
}

Status FileReplacement::openInPlace()
{
    // The copy first, whole and synced: until the new bytes are, it is the
    // only full copy of the picture.
    QString keptFolder = keptOriginalsFolder();
    // A cache folder the user cannot write (a HOME of another user): the
    // temporary folder, in a folder of the user's own.
    if (!makeFolders(keptFolder) || ::access(encodeFileName(keptFolder).constData(), W_OK) != 0)
        keptFolder = QDir::tempPath() + QStringLiteral("/tessaly-kept-originals-%1").arg(::getuid());
    if (!makeFolders(keptFolder))
        return Status::failure(QStringLiteral("cannot make the folder %1 for a copy of the original").arg(keptFolder));
    static std::atomic<unsigned> counter{0};
    const QByteArray name = QStringLiteral("%1-%2-").arg(::getpid()).arg(counter.fetch_add(1)).toLatin1() +
                            m_target.mid(m_target.lastIndexOf('/') + 1);
    m_keptCopy = encodeFileName(keptFolder) + '/' + name;
    const int original = ::open(m_target.constData(), O_RDWR | O_CLOEXEC);
    if (original < 0) {
        m_keptCopy.clear();
        return Status::failure(lastErrorText());
    }
    const int copy = ::open(m_keptCopy.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (copy < 0 || !copyDescriptor(original, copy) || ::fsync(copy) != 0) {
        const QString reason =
            QStringLiteral("cannot keep a copy of the original in %1: %2").arg(keptFolder, lastErrorText());
        if (copy >= 0) {
            ::close(copy);
            ::unlink(m_keptCopy.constData());
        }
        ::close(original);
        m_keptCopy.clear();
        return Status::failure(reason);
    }
    ::close(copy);
    if (::ftruncate(original, 0) != 0 || ::lseek(original, 0, SEEK_SET) != 0) {
        const QString reason = lastErrorText();
        ::close(original);
        ::unlink(m_keptCopy.constData());
        m_keptCopy.clear();
        return Status::failure(reason);
    }
    m_fd = original;
    m_opened = true;
    return {};
}

QString FileReplacement::restored(const QString& failure)
{
    if (m_keptCopy.isEmpty())
        return failure;
    const int copy = ::open(m_keptCopy.constData(), O_RDONLY | O_CLOEXEC);
    const int target = m_fd >= 0 ? m_fd : ::open(m_target.constData(), O_WRONLY | O_CLOEXEC);
    // The original's bytes fit where they were: the new ones are dropped first.
    const bool back =
        copy >= 0 && target >= 0 && ::ftruncate(target, 0) == 0 && copyDescriptor(copy, target) && ::fsync(target) == 0;
    if (copy >= 0)
        ::close(copy);
    if (target >= 0)
        ::close(target);
    m_fd = -1;
    m_opened = false;  // tried once; a failed attempt leaves the copy where it is
    if (!back)
        return QStringLiteral("%1; the original could not be put back and is kept at %2")
            .arg(failure, decodeFileName(m_keptCopy));
    ::unlink(m_keptCopy.constData());
    m_keptCopy.clear();
    return failure;
}

Status FileReplacement::write(const char* data, std::int64_t size)
{
    if (m_fd >= 0 && writeAll(m_fd, data, size))
        return {};
    QString failure = lastErrorText();
    if (m_inPlace) {
        failure = restored(failure);
        giveUp();
    }
    return Status::failure(failure);
}

Status FileReplacement::commit()
{
    QString failure;
    if (m_inPlace) {
        if (m_fd >= 0 && ::fsync(m_fd) == 0 && ::close(std::exchange(m_fd, -1)) == 0) {
            // The new bytes are on the disk: the copy has served.
            ::unlink(m_keptCopy.constData());
            m_keptCopy.clear();
            m_done = true;
            return {};
        }
        failure = lastErrorText();
    } else if (m_fd >= 0 && ::fsync(m_fd) == 0 && ::close(std::exchange(m_fd, -1)) == 0 &&
               ::rename(m_temporary.constData(), m_target.constData()) == 0) {
        m_done = true;
        return {};
    } else {
        failure = lastErrorText();
    }
    if (m_inPlace)
        failure = restored(failure);
    giveUp();
    return Status::failure(failure);
}

void FileReplacement::giveUp()
{
    m_done = true;
    // What was written in place is cut short: the original goes back.
    if (m_inPlace && m_opened && !m_keptCopy.isEmpty())
        restored(QString());
    if (m_fd >= 0)
        ::close(std::exchange(m_fd, -1));
    if (!m_temporary.isEmpty())
        ::unlink(m_temporary.constData());
}

Status writeWholeFile(const QString& path, const QByteArray& bytes)
{
    FileReplacement file(path);
    if (Status opened = file.open(); opened.failed())
        return opened;
    if (Status written = file.write(bytes.constData(), bytes.size()); written.failed())
        return written;
    return file.commit();
}

}  // namespace tessaly
