#include "about/fadepicture.h"

#include <QPainter>
#include <QThread>
#include <QTimer>

namespace tessaly {

// Lives on the fade thread: blends one frame per tick of its timer and
// posts it to the widget.
class FadeBlender : public QObject {
    Q_OBJECT
public:
    explicit FadeBlender(const std::atomic<int>& current) : m_current(current) {}

    void run(int fade, const QImage& first, const QImage& second, QSize size, int frames, int interval)
    {
        stop();
        m_fade = fade;
        m_first = first;
        m_second = second;
        m_size = size;
        m_frames = std::max(frames, 1);
        m_next = 1;
        m_timer = new QTimer(this);
        connect(m_timer, &QTimer::timeout, this, &FadeBlender::tick);
        m_timer->start(std::max(interval, 0));
    }

    // Stops the timer on its own thread; called before the thread ends.
    void stop()
    {
        delete m_timer;
        m_timer = nullptr;
    }

signals:
    void frameReady(int fade, int frame, const QImage& image);
    void finished(int fade);

private:
    void tick()
    {
        if (m_current.load() != m_fade) {
            stop();
            return;
        }
        emit frameReady(m_fade, m_next, blendFrame(m_first, m_second, m_size, m_next, m_frames));
        if (m_next++ == m_frames) {
            stop();
            emit finished(m_fade);
        }
    }

    const std::atomic<int>& m_current;
    QTimer* m_timer = nullptr;
    int m_fade = 0;
    QImage m_first, m_second;
    QSize m_size;
    int m_frames = 1;
    int m_next = 1;
};

QImage blendFrame(const QImage& first, const QImage& second, QSize size, int frame, int frames)
{
    QImage canvas(size, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    const auto centred = [&](const QImage& picture) {
        return QPoint((size.width() - picture.width()) / 2, (size.height() - picture.height()) / 2);
    };
    painter.drawImage(centred(first), first);
    if (frame > 0) {
        painter.setOpacity(std::clamp(double(frame) / std::max(frames, 1), 0.0, 1.0));
        painter.drawImage(centred(second), second);
    }
    return canvas;
}

FadePicture::FadePicture(QWidget* parent)
    : QWidget(parent), m_thread(new QThread(this)), m_blender(new FadeBlender(m_fade))
{
    m_thread->setObjectName(QStringLiteral("FadeBlender"));
    m_blender->moveToThread(m_thread);
    connect(m_blender, &FadeBlender::frameReady, this, &FadePicture::frameReady);
    connect(m_blender, &FadeBlender::finished, this, &FadePicture::blendFinished);
    m_thread->start();
    setFixedSize(160, 102);
}

FadePicture::~FadePicture()
{
    ++m_fade;
    QMetaObject::invokeMethod(m_blender, [b = m_blender] { b->stop(); }, Qt::BlockingQueuedConnection);
    m_thread->quit();
    m_thread->wait();
    delete m_blender;
}

void FadePicture::setPictures(const QImage& first, const QImage& second)
{
    m_first = first;
    m_second = second;
    rewind();
}

void FadePicture::setFrameInterval(int milliseconds)
{
    m_frameInterval = std::max(milliseconds, 0);
}

void FadePicture::setBlendRate(int frames)
{
    m_blendRate = std::max(frames, 1);
}

void FadePicture::startFade()
{
    if (m_state != State::Ready)
        return;
    m_state = State::Fading;
    const int fade = ++m_fade;
    QMetaObject::invokeMethod(
        m_blender,
        [b = m_blender, fade, first = m_first, second = m_second, size = size(), frames = m_blendRate,
         interval = m_frameInterval] { b->run(fade, first, second, size, frames, interval); },
        Qt::QueuedConnection);
}

void FadePicture::rewind()
{
    ++m_fade;
    m_state = State::Ready;
    m_frameShown = 0;
    m_frame = blendFrame(m_first, m_second, size(), 0, m_blendRate);
    update();
}

void FadePicture::frameReady(int fade, int frame, const QImage& image)
{
    if (fade != m_fade.load())
        return;
    m_frameShown = frame;
    m_frame = image;
    update();
}

void FadePicture::blendFinished(int fade)
{
    if (fade != m_fade.load())
        return;
    m_state = State::Done;
    emit fadeFinished();
}

void FadePicture::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_frame);
}

void FadePicture::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    startFade();
}

}  // namespace tessaly

#include "fadepicture.moc"
