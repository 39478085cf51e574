#include "platform/childprocess.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

extern char** environ;

namespace tessaly {

namespace {

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

void closeFd(int& fd)
{
    if (fd >= 0)
        ::close(std::exchange(fd, -1));
}

}  // namespace

ChildProcess::~ChildProcess()
{
    killAndReap();
}

void ChildProcess::closeSockets()
{
    closeFd(m_in);
    closeFd(m_out);
}

void ChildProcess::killAndReap()
{
    closeSockets();
    if (m_pid <= 0)
        return;
    ::kill(m_pid, SIGKILL);
    int status = 0;
    while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
    }
    m_pid = -1;
}

bool ChildProcess::start(const QString& program, const QStringList& arguments)
{
    killAndReap();
    int toChild[2], fromChild[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, toChild) != 0)
        return false;
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fromChild) != 0) {
        ::close(toChild[0]);
        ::close(toChild[1]);
        return false;
    }
    m_in = toChild[0];
    m_out = fromChild[0];

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
    posix_spawn_file_actions_adddup2(&actions, toChild[1], 0);
    posix_spawn_file_actions_adddup2(&actions, fromChild[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, programPath.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(toChild[1]);
    ::close(fromChild[1]);
    if (spawned != 0) {
        closeSockets();
        return false;
    }
    m_pid = pid;
    setNonBlocking(m_in);
    setNonBlocking(m_out);
    return true;
}

ChildOutcome ChildProcess::communicate(const QByteArray& input, const ChildLimits& limits, std::int64_t maxOutput,
                                       const std::function<void(const char* data, std::int64_t size)>& take)
{
    if (m_pid <= 0)
        return ChildOutcome::NotStarted;
    const Clock::time_point deadline = Clock::now() + limits.time;
    qsizetype written = 0;
    std::int64_t taken = 0;
    if (input.isEmpty())
        closeFd(m_in);
    ChildOutcome stopped = ChildOutcome::Done;
    char chunk[65536];
    while (true) {
        pollfd fds[2];
        int count = 0;
        if (m_in >= 0)
            fds[count++] = pollfd{m_in, POLLOUT, 0};
        fds[count++] = pollfd{m_out, POLLIN, 0};
        const int ready = poll(fds, nfds_t(count), 20);
        if (ready < 0 && errno != EINTR)
            break;
        if (m_in >= 0 && (fds[0].revents & (POLLOUT | POLLERR | POLLHUP))) {
            const ssize_t sent = send(m_in, input.constData() + written,
                                      std::size_t(std::min<qsizetype>(input.size() - written, 1 << 20)), MSG_NOSIGNAL);
            if (sent > 0)
                written += sent;
            if ((sent < 0 && errno != EAGAIN && errno != EINTR) || written == input.size())
                closeFd(m_in);  // all sent, or the child stopped reading
        }
        bool finished = false;
        while (true) {
            const ssize_t got = read(m_out, chunk, sizeof chunk);
            if (got > 0) {
                taken += got;
                if (taken > maxOutput) {
                    stopped = ChildOutcome::Refused;
                    finished = true;
                    break;
                }
                // May throw: the destructor then kills and reaps the child.
                take(chunk, got);
                continue;
            }
            if (got == 0 || (errno != EAGAIN && errno != EINTR))
                finished = true;
            break;
        }
        if (finished)
            break;
        if (Clock::now() > deadline) {
            stopped = ChildOutcome::TooSlow;
            break;
        }
        if (residentBytes(m_pid) > limits.memoryBytes) {
            stopped = ChildOutcome::TooLarge;
            break;
        }
    }
    closeSockets();
    if (stopped != ChildOutcome::Done) {
        killAndReap();
        return stopped;
    }
    // The child has closed its output; it may still be exiting.
    int status = 0;
    while (true) {
        const pid_t done = waitpid(m_pid, &status, WNOHANG);
        if (done == m_pid)
            break;
        if (done < 0 && errno != EINTR) {
            m_pid = -1;  // not ours to reap (any more)
            return ChildOutcome::Refused;
        }
        if (done == 0) {
            if (Clock::now() > deadline) {
                killAndReap();
                return ChildOutcome::TooSlow;
            }
            poll(nullptr, 0, 5);
        }
    }
    m_pid = -1;
    if (WIFSIGNALED(status))
        return WTERMSIG(status) == SIGXCPU || WTERMSIG(status) == SIGKILL ? ChildOutcome::TooSlow
                                                                          : ChildOutcome::Crashed;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return ChildOutcome::Done;
    return ChildOutcome::Refused;
}

ChildResult runChild(const QString& program, const QStringList& arguments, const QByteArray& input,
                     const ChildLimits& limits, std::int64_t maxOutput)
{
    ChildResult result;
    ChildProcess child;
    if (!child.start(program, arguments))
        return result;
    result.outcome = child.communicate(input, limits, maxOutput, [&](const char* data, std::int64_t size) {
        result.output.append(data, qsizetype(size));
    });
    if (result.outcome != ChildOutcome::Done)
        result.output.clear();
    return result;
}

}  // namespace tessaly
