#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <chrono>
#include <cstdint>
#include <functional>
#include <sys/types.h>

namespace tessaly {

// What became of one run of a child program.
enum class ChildOutcome { Done, Refused, Crashed, TooSlow, TooLarge, NotStarted };

struct ChildLimits {
    std::int64_t memoryBytes = 0;       // resident memory the child may use
    std::chrono::milliseconds time{0};  // wall time for the whole run
};

struct ChildResult {
    ChildOutcome outcome = ChildOutcome::NotStarted;
    QByteArray output;
};

// One child program and everything that belongs to it: its process and the
// two sockets to its standard input and output. The owner starts it, feeds
// it, holds it to its limits and reaps it; a child still there when the
// owner goes (an exception while its output is taken, a return on any
// path) is killed and reaped, so none is left running or as a zombie.
class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts `program` with `arguments`, its standard error going nowhere;
    // false when it cannot be started.
    bool start(const QString& program, const QStringList& arguments);
    pid_t pid() const { return m_pid; }

    // Writes `input` to the child and hands each piece of its output to
    // `take` until the child closes its output, runs past its limits, or
    // writes more than `maxOutput` bytes; then it is reaped (and killed
    // first when it was stopped). Done only when it exited with status 0.
    // Whatever `take` throws goes on to the caller, after the child is
    // killed and reaped.
    ChildOutcome communicate(const QByteArray& input, const ChildLimits& limits, std::int64_t maxOutput,
                             const std::function<void(const char* data, std::int64_t size)>& take);

private:
    void closeSockets();
    void killAndReap();

    pid_t m_pid = -1;
    int m_in = -1;   // to the child's standard input
    int m_out = -1;  // from its standard output
};

// Runs `program` with `arguments` and `input` through a ChildProcess and
// collects at most `maxOutput` bytes of its output (none unless Done).
ChildResult runChild(const QString& program, const QStringList& arguments, const QByteArray& input,
                     const ChildLimits& limits, std::int64_t maxOutput);

}  // namespace tessaly
