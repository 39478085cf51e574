#include "cli/consoleview.h"

#include "platform/filenames.h"

#include <QStringList>
#include <unistd.h>

namespace tessaly {

namespace {

volatile std::sig_atomic_t g_interrupted = 0;

void onInterrupt(int)
{
    g_interrupted = 1;
    std::signal(SIGINT, SIG_DFL);
}

}  // namespace

void ConsoleView::catchInterrupt()
{
    std::signal(SIGINT, onInterrupt);
}

ConsoleView::ConsoleView(RunState& state, const QStringList& names, bool quiet)
    : m_state(state), m_names(names), m_show(!quiet && ::isatty(STDERR_FILENO))
{
}

ConsoleView::~ConsoleView()
{
    clearLine();
}

void ConsoleView::setCounter(int fileNumber, int fileCount)
{
    m_file = fileNumber - 1;
    draw(QStringLiteral("%1 of %2").arg(fileNumber).arg(fileCount));
}

void ConsoleView::resetProgress()
{
    m_done = 0;
    clearLine();
}

void ConsoleView::processEvents()
{
    if (g_interrupted)
        m_state.CancelRequested = true;
}

void ConsoleView::report(const QString& text)
{
    clearLine();
    std::fprintf(stderr, "%s\n", displayFileName(text).toUtf8().constData());
}

void ConsoleView::draw(const QString& counter)
{
    if (!m_show)
        return;
    constexpr int kWidth = 30;
    const int filled = m_maximum > 0 ? m_done * kWidth / m_maximum : 0;
    const QString bar = QString(filled, u'#') + QString(kWidth - filled, u' ');
    const QString name = m_file >= 0 && m_file < m_names.size() ? m_names[m_file] : QString();
    std::fprintf(stderr, "\r\033[K[%s] %s %s", bar.toLocal8Bit().constData(), counter.toLocal8Bit().constData(),
                 displayFileName(name).toUtf8().constData());
    std::fflush(stderr);
    m_lineShown = true;
}

void ConsoleView::clearLine()
{
    if (!m_lineShown)
        return;
    std::fprintf(stderr, "\r\033[K");
    std::fflush(stderr);
    m_lineShown = false;
}

}  // namespace tessaly
