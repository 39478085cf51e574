#pragma once

#include <QImage>
#include <QWidget>
#include <atomic>

class QThread;

namespace tessaly {

class FadeBlender;

// A picture that cross-fades from a first picture to a second one when the
// mouse enters it. The frames are blended on a thread of the widget's own
// and handed back to the user-interface thread one by one; the widget only
// paints the latest frame. Both pictures are drawn at their own size,
// centred, never stretched.
class FadePicture : public QWidget {
    Q_OBJECT
public:
    enum class State { Ready, Fading, Done };

    explicit FadePicture(QWidget* parent = nullptr);
    ~FadePicture() override;

    void setPictures(const QImage& first, const QImage& second);
    // Milliseconds between two frames of the fade.
    void setFrameInterval(int milliseconds);
    int frameInterval() const { return m_frameInterval; }
    // The number of frames from the first picture to the second.
    void setBlendRate(int frames);
    int blendRate() const { return m_blendRate; }

    State state() const { return m_state; }
    // The frame on screen: 0 is the first picture, blendRate() the second.
    int frameShown() const { return m_frameShown; }
    QImage currentFrame() const { return m_frame; }

    // Starts the fade; does nothing unless the picture is ready.
    void startFade();
    // Stops a fade in progress and shows the first picture, ready to fade
    // again. Frames of the stopped fade that are still on their way are
    // dropped when they arrive.
    void rewind();

    QSize sizeHint() const override { return {160, 102}; }

signals:
    void fadeFinished();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;

private:
    void frameReady(int fade, int frame, const QImage& image);
    void blendFinished(int fade);

    QImage m_first;
    QImage m_second;
    QImage m_frame;
    int m_frameInterval = 24;
    int m_blendRate = 54;
    int m_frameShown = 0;
    State m_state = State::Ready;
    // Numbers each fade; the blender stops and the widget ignores frames as
    // soon as the number moves on.
    std::atomic<int> m_fade{0};
    QThread* m_thread;
    FadeBlender* m_blender;
};

// The frame `frame` of `frames` of a fade between two pictures, drawn
// centred on a white canvas of `size`.
QImage blendFrame(const QImage& first, const QImage& second, QSize size, int frame, int frames);

}  // namespace tessaly
