#include "widgets/windowplacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>
#include <QWidget>
#include <algorithm>

namespace tessaly {

namespace {

const char kScrollAreaName[] = "fitToScreenScroller";
// Set on a window from its showing until its frame is known.
const char kFramePending[] = "fitToScreenFramePending";

const QScreen* screenOf(const QWidget& window)
{
    const QWidget* owner = window.parentWidget() ? window.parentWidget()->window() : &window;
    if (const QScreen* screen = owner->screen())
        return screen;
    return QGuiApplication::primaryScreen();
}

// Moves everything the window shows into one scroll area that fills it. The
// contents keep their size as the widget inside the area, so their layout
// is the same as before; the window can then be made smaller.
void moveContentsIntoScrollArea(QWidget& window)
{
    const QSize contentSize = window.size();
    auto* inner = new QWidget;
    inner->setObjectName(QStringLiteral("fitToScreenContents"));
    // Taking the window's layout takes the widgets it arranges along.
    if (QLayout* layout = window.layout())
        inner->setLayout(layout);
    for (QWidget* child : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow())
            continue;
        const bool shown = !child->isHidden();
        child->setParent(inner);
        child->setVisible(shown);
    }
    inner->setMinimumSize(contentSize);
    auto* area = new QScrollArea;
    area->setObjectName(QString::fromLatin1(kScrollAreaName));
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(inner);
    auto* fill = new QVBoxLayout(&window);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(area);
}

const char kFrameTries[] = "fitToScreenFrameTries";
constexpr int kMaxFrameTries = 3;

bool fixedSize(const QWidget& window)
{
    return window.minimumSize() == window.maximumSize();
}

}  // namespace

void centreOnScreen(QWidget& window)
{
    const QScreen* screen = window.screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    window.move(screen->availableGeometry().center() - window.rect().center());
}

QMargins knownFrame(const QWidget& window)
{
    const QRect outer = window.frameGeometry();
    const QRect inner = window.geometry();
    if (window.isVisible() && outer != inner)
        return QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                        outer.bottom() - inner.bottom());
    if (const QWindow* handle = window.windowHandle(); handle && !handle->frameMargins().isNull())
        return handle->frameMargins();
    return QMargins(0, 30, 0, 0);
}

void fitToScreen(QWidget& window, const QMargins& frame)
{
    const QScreen* screen = screenOf(window);
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize room = area.size().shrunkBy(frame).expandedTo(QSize(1, 1));
    const QSize size = window.size();
    if (size.width() > room.width() || size.height() > room.height()) {
        const QSize fitted = size.boundedTo(room);
        const QSize least = window.minimumSizeHint().expandedTo(window.minimumSize());
        const bool shrinks = !fixedSize(window) && least.width() <= room.width() && least.height() <= room.height();
        if (!shrinks && !window.findChild<QScrollArea*>(QString::fromLatin1(kScrollAreaName),
                                                        Qt::FindDirectChildrenOnly))
            moveContentsIntoScrollArea(window);
        if (fixedSize(window))
            window.setFixedSize(fitted);
        else
            window.setMinimumSize(window.minimumSize().boundedTo(fitted));
        window.resize(fitted);
    }
    // The frame's top left corner goes where move() puts it.
    const QSize outer = window.size().grownBy(frame);
    QPoint at = window.pos();
    at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() + 1 - outer.width())));
    at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() + 1 - outer.height())));
    if (at != window.pos())
        window.move(at);
}

ScreenFitter::ScreenFitter(QObject* parent) : QObject(parent) {}

bool ScreenFitter::eventFilter(QObject* watched, QEvent* event)
{
    if (!watched->isWidgetType())
        return false;
    const QEvent::Type kind = event->type();
    if (kind == QEvent::Move || kind == QEvent::Resize || kind == QEvent::WindowActivate || kind == QEvent::Paint) {
        auto* window = static_cast<QWidget*>(watched);
        if (!window->isWindow() || !window->property(kFramePending).toBool())
            return false;
        const QRect outer = window->frameGeometry();
        const QRect inner = window->geometry();
        if (outer == inner)
            return false;
        window->setProperty(kFramePending, false);
        // After the window system's event has been handled. A window manager
        // still busy framing the window may put it back where it was asked
        // first (seen with openbox at a scale factor: the title bar then
        // stays above the screen): a window that had to be moved is checked
        // again on its next move or resize, a few times at most.
        QTimer::singleShot(0, window, [window] {
            const QRect before = window->frameGeometry();
            fitToScreen(*window, knownFrame(*window));
            const int tries = window->property(kFrameTries).toInt();
            if (window->frameGeometry() != before && tries < kMaxFrameTries) {
                window->setProperty(kFrameTries, tries + 1);
                window->setProperty(kFramePending, true);
            }
        });
        return false;
    }
    if (event->type() != QEvent::Show)
        return false;
    auto* window = static_cast<QWidget*>(watched);
    const Qt::WindowType type = window->windowType();
    if (!window->isWindow() || (type != Qt::Window && type != Qt::Dialog))
        return false;
    // Before the window is mapped its frame may not be known: a title bar
    // of the usual height is allowed for then. Once the window manager has framed
    // it (a move or resize reports the frame), it is fitted again with the
    // real frame, once per showing. (A window the manager framed where it
    // was put gets no move: its activation or first painting tells.)
    fitToScreen(*window, knownFrame(*window));
    window->setProperty(kFrameTries, 0);
    window->setProperty(kFramePending, true);
    return false;
}

}  // namespace tessaly
