#include "about/tfsplasher.h"
#include "widgets/windowplacement.h"

#include "about/aboutpictures.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>

namespace tessaly {

TfSplasher::TfSplasher(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), m_image(new QLabel(this))
{
    setObjectName(QStringLiteral("TfSplasher"));
    m_image->setObjectName(QStringLiteral("Image1"));
    m_image->setPixmap(picture());
    m_image->setGeometry(0, 0, 256, 128);
    m_image->setAccessibleName(QStringLiteral("Tessaly"));
    setFixedSize(256, 128);
    centreOnScreen(*this);
    // A box shown during start-up (a saved folder that is gone, say) must
    // not be hidden behind the splash.
    qApp->installEventFilter(this);
}

TfSplasher::~TfSplasher()
{
    qApp->removeEventFilter(this);
}

QPixmap TfSplasher::picture()
{
    return QPixmap::fromImage(splashPicture());
}

bool TfSplasher::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show && watched != this && watched->isWidgetType()) {
        const auto* widget = static_cast<QWidget*>(watched);
        const Qt::WindowType type = widget->windowType();
        if (widget->isWindow() && type != Qt::ToolTip && type != Qt::Popup && type != Qt::SplashScreen)
            hide();
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace tessaly
