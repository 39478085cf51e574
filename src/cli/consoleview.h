#pragma once

#include "batch/runinterfaces.h"

#include <csignal>
#include <cstdio>

namespace tessaly {

// A run seen from a terminal: a progress bar with "i of N" and the file
// name on standard error when that is a terminal (and not quiet), the run's
// messages on standard error always. Ctrl-C is seen between files, like
// Cancel.
class ConsoleView final : public RunView {
public:
    ConsoleView(RunState& state, const QStringList& names, bool quiet);
    ~ConsoleView() override;

    void setCounter(int fileNumber, int fileCount) override;
    void setProgressMaximum(int maximum) override { m_maximum = maximum; }
    void advanceProgress() override { ++m_done; }
    void resetProgress() override;
    void processEvents() override;
    void report(const QString& text) override;
    void refreshLists() override {}

    // Installs the Ctrl-C handler; a second Ctrl-C ends the program at once.
    static void catchInterrupt();

private:
    void draw(const QString& counter);
    void clearLine();

    RunState& m_state;
    const QStringList& m_names;
    bool m_show;
    int m_maximum = 0;
    int m_done = 0;
    int m_file = 0;
    bool m_lineShown = false;
};

}  // namespace tessaly
