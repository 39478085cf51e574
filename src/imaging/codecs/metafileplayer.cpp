#include "imaging/codecs/metafileplayer.h"

#include "imaging/codecs/codecerror.h"
#include "imaging/codecs/sanitizerbuild.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace tessaly {

namespace {

// Enough for any real drawing: the libraries' own needs, the SVG text of
// the file (many times its size) and two pictures of the target size. The
// sanitizer's shadow memory and quarantine need more.
PlayerLimits limitsFor(std::int64_t pixels, std::int64_t inputBytes)
{
    PlayerLimits limits;
    const std::int64_t base = kAddressSanitizer ? (std::int64_t(2) << 30) : (std::int64_t(384) << 20);
    limits.memoryBytes = base + pixels * 12 + inputBytes * 64;
    limits.time = std::chrono::seconds(kAddressSanitizer ? 60 : 20);
    return limits;
}

using Clock = std::chrono::steady_clock;

std::int64_t residentBytes(pid_t pid)
{
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%d/statm", int(pid));
    std::FILE* file = std::fopen(path, "r");
    if (!file)
        return 0;
    long long total = 0, resident = 0;
    const int read = std::fscanf(file, "%lld %lld", &total, &resident);
    std::fclose(file);
    return read == 2 ? resident * sysconf(_SC_PAGESIZE) : 0;
}

void setNonBlocking(int fd)
{
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
}

struct Fd {
    int fd = -1;
    ~Fd() { reset(); }
    void reset()
    {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
};

const char* formatWord(MetafileFormat format)
{
    return format == MetafileFormat::Enhanced ? "emf" : "wmf";
}

[[noreturn]] void playerFailed(PlayerOutcome outcome)
{
    switch (outcome) {
    case PlayerOutcome::TooSlow: throw CodecError("the metafile took too long to play back");
    case PlayerOutcome::TooLarge: throw CodecError("the metafile needed too much memory to play back");
    case PlayerOutcome::Crashed: throw CodecError("the metafile crashed its player");
    case PlayerOutcome::NotStarted: throw CodecError("the metafile player could not be started");
    default: throw CodecError("the metafile cannot be played back");
    }
}

}  // namespace

QString besideThisProgram(const char* name)
{
    std::vector<char> self(4096);
    const ssize_t length = readlink("/proc/self/exe", self.data(), self.size() - 1);
    if (length <= 0)
        return QString::fromLatin1(name);
    std::string path(self.data(), std::size_t(length));
    path = path.substr(0, path.rfind('/') + 1) + name;
    return QString::fromStdString(path);
}

QString metafilePlayerPath()
{
    return besideThisProgram("tessaly-metafile-player");
}

PlayerResult runPlayer(const QString& program, const QStringList& arguments, const QByteArray& input,
                       const PlayerLimits& limits, std::int64_t maxOutput)
{
    PlayerResult result;
    int toChild[2], fromChild[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, toChild) != 0)
        return result;
    Fd inParent{toChild[0]}, inChild{toChild[1]};
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fromChild) != 0)
        return result;
    Fd outParent{fromChild[0]}, outChild{fromChild[1]};

    const std::string programPath = program.toStdString();
    std::vector<std::string> words{programPath};
    for (const QString& argument : arguments)
        words.push_back(argument.toStdString());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, inChild.fd, 0);
    posix_spawn_file_actions_adddup2(&actions, outChild.fd, 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, programPath.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return result;
    inChild.reset();
    outChild.reset();
    setNonBlocking(inParent.fd);
    setNonBlocking(outParent.fd);

    const Clock::time_point deadline = Clock::now() + limits.time;
    qsizetype written = 0;
    if (input.isEmpty())
        inParent.reset();
    PlayerOutcome stopped = PlayerOutcome::Done;
    char chunk[65536];
    while (true) {
        pollfd fds[2];
        int count = 0;
        if (inParent.fd >= 0)
            fds[count++] = pollfd{inParent.fd, POLLOUT, 0};
        fds[count++] = pollfd{outParent.fd, POLLIN, 0};
        const int ready = poll(fds, nfds_t(count), 20);
        if (ready < 0 && errno != EINTR)
            break;
        if (inParent.fd >= 0 && (fds[0].revents & (POLLOUT | POLLERR | POLLHUP))) {
            const ssize_t sent = send(inParent.fd, input.constData() + written,
                                      std::size_t(std::min<qsizetype>(input.size() - written, 1 << 20)), MSG_NOSIGNAL);
            if (sent > 0)
                written += sent;
            if ((sent < 0 && errno != EAGAIN && errno != EINTR) || written == input.size())
                inParent.reset();  // all sent, or the player stopped reading
        }
        bool finished = false;
        while (true) {
            const ssize_t got = read(outParent.fd, chunk, sizeof chunk);
            if (got > 0) {
                result.output.append(chunk, got);
                if (result.output.size() > maxOutput) {
                    stopped = PlayerOutcome::Refused;
                    finished = true;
                    break;
                }
                continue;
            }
            if (got == 0)
                finished = true;
            else if (errno != EAGAIN && errno != EINTR)
                finished = true;
            break;
        }
        if (finished)
            break;
        if (Clock::now() > deadline) {
            stopped = PlayerOutcome::TooSlow;
            break;
        }
        if (residentBytes(pid) > limits.memoryBytes) {
            stopped = PlayerOutcome::TooLarge;
            break;
        }
    }
    if (stopped != PlayerOutcome::Done)
        kill(pid, SIGKILL);
    int status = 0;
    // The player has closed its output; it may still be exiting.
    while (true) {
        const pid_t done = waitpid(pid, &status, stopped == PlayerOutcome::Done ? WNOHANG : 0);
        if (done == pid)
            break;
        if (done < 0 && errno != EINTR)
            return result;
        if (done == 0) {
            if (Clock::now() > deadline) {
                kill(pid, SIGKILL);
                stopped = PlayerOutcome::TooSlow;
            }
            poll(nullptr, 0, 5);
        }
    }
    if (stopped != PlayerOutcome::Done)
        result.outcome = stopped;
    else if (WIFSIGNALED(status))
        result.outcome = WTERMSIG(status) == SIGXCPU || WTERMSIG(status) == SIGKILL ? PlayerOutcome::TooSlow
                                                                                    : PlayerOutcome::Crashed;
    else if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        result.outcome = PlayerOutcome::Done;
    else
        result.outcome = PlayerOutcome::Refused;
    if (result.outcome != PlayerOutcome::Done)
        result.output.clear();
    return result;
}

Bitmap renderMetafileInPlayer(const QByteArray& bytes, MetafileFormat format, int width, int height)
{
    const std::int64_t pixels = std::int64_t(width) * height;
    const PlayerLimits limits = limitsFor(pixels, bytes.size());
    const PlayerResult run =
        runPlayer(metafilePlayerPath(),
                  {QString::fromLatin1(formatWord(format)), QString::number(width), QString::number(height),
                   QString::number(limits.memoryBytes), QString::number(limits.time.count() / 1000)},
                  bytes, limits, pixels * 3);
    if (run.outcome != PlayerOutcome::Done)
        playerFailed(run.outcome);
    if (run.output.size() != pixels * 3)
        throw CodecError("the metafile player gave an incomplete picture");
    Bitmap bitmap(width, height);
    for (int y = 0; y < height; ++y)
        std::memcpy(bitmap.row(y), run.output.constData() + std::size_t(y) * bitmap.rowBytes(), bitmap.rowBytes());
    return bitmap;
}

void readMetafileSizeInPlayer(const QByteArray& bytes, int& width, int& height)
{
    const PlayerLimits limits = limitsFor(0, bytes.size());
    const PlayerResult run =
        runPlayer(metafilePlayerPath(),
                  {QStringLiteral("wmf"), QStringLiteral("size"), QString::number(limits.memoryBytes),
                   QString::number(limits.time.count() / 1000)},
                  bytes, limits, 8);
    if (run.outcome != PlayerOutcome::Done)
        playerFailed(run.outcome);
    if (run.output.size() != 8)
        throw CodecError("the metafile player gave no size");
    std::int32_t values[2];
    std::memcpy(values, run.output.constData(), 8);
    width = values[0];
    height = values[1];
}

}  // namespace tessaly
