#pragma once

#include <QFrame>
#include <QStringList>

class QTimer;

namespace tessaly {

// A white, raised panel through which lines of text scroll upwards once
// each time it is played: they rise from below the bottom edge until the
// last one has left at the top, and then the panel reports that it stopped.
// Lines wider than the panel wrap; an empty line leaves a gap.
class ScrollingTextPanel : public QFrame {
    Q_OBJECT
public:
    explicit ScrollingTextPanel(QWidget* parent = nullptr);

    void setLines(const QStringList& lines);
    QStringList lines() const { return m_lines; }
    // Milliseconds between two steps.
    void setStepInterval(int milliseconds);

    void play();
    // Stops the text where it is without reporting; the panel goes blank.
    void stop();
    bool isPlaying() const;
    // The distance of the first line's top below the panel's top.
    int textOffset() const { return m_offset; }
    // The height of all lines together at the panel's width.
    int textHeight() const;

signals:
    // The last line has scrolled out at the top.
    void playStopped();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void step();
    QRect lineRect(const QString& line) const;

    QStringList m_lines;
    QTimer* m_timer;
    int m_stepPixels = 1;
    int m_offset = 0;
};

}  // namespace tessaly
