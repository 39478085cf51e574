#include "about/scrollingtextpanel.h"

#include <QPainter>
#include <QTimer>
#include <algorithm>

namespace tessaly {

namespace {
constexpr int kMargin = 8;
}

ScrollingTextPanel::ScrollingTextPanel(QWidget* parent) : QFrame(parent), m_timer(new QTimer(this))
{
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(2);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    m_timer->setInterval(30);
    connect(m_timer, &QTimer::timeout, this, &ScrollingTextPanel::step);
}

void ScrollingTextPanel::setLines(const QStringList& lines)
{
    m_lines = lines;
    update();
}

void ScrollingTextPanel::setStepInterval(int milliseconds)
{
    m_timer->setInterval(std::max(milliseconds, 0));
}

void ScrollingTextPanel::play()
{
    m_offset = height();
    m_timer->start();
    update();
}

void ScrollingTextPanel::stop()
{
    m_timer->stop();
    update();
}

bool ScrollingTextPanel::isPlaying() const
{
    return m_timer->isActive();
}

QRect ScrollingTextPanel::lineRect(const QString& line) const
{
    const QFontMetrics metrics(font());
    const QString shown = line.isEmpty() ? QStringLiteral(" ") : line;
    return metrics.boundingRect(QRect(0, 0, width() - 2 * kMargin, 10000), Qt::AlignHCenter | Qt::TextWordWrap, shown);
}

int ScrollingTextPanel::textHeight() const
{
    int total = 0;
    for (const QString& line : m_lines)
        total += lineRect(line).height();
    return total;
}

void ScrollingTextPanel::step()
{
    m_offset -= m_stepPixels;
    if (m_offset + textHeight() <= 0) {
        m_timer->stop();
        update();
        emit playStopped();
        return;
    }
    update();
}

void ScrollingTextPanel::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    if (!isPlaying())
        return;
    QPainter painter(this);
    painter.setClipRect(contentsRect());
    int top = m_offset;
    for (const QString& line : m_lines) {
        const int lineHeight = lineRect(line).height();
        const QRect box(kMargin, top, width() - 2 * kMargin, lineHeight);
        // Raised lettering: a grey copy one pixel down and right under the text.
        painter.setPen(QColor(176, 176, 176));
        painter.drawText(box.translated(1, 1), Qt::AlignHCenter | Qt::TextWordWrap, line);
        painter.setPen(QColor(26, 42, 108));
        painter.drawText(box, Qt::AlignHCenter | Qt::TextWordWrap, line);
        top += lineHeight;
    }
}

}  // namespace tessaly
