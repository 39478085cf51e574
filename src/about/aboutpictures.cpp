#include "about/aboutpictures.h"

namespace tessaly {

QImage splashPicture()
{
    return QImage(QStringLiteral(":/tessaly/about/splash.png"));
}

QImage fadeFirstPicture()
{
    return QImage(QStringLiteral(":/tessaly/about/fade-day.jpg"));
}

QImage fadeSecondPicture()
{
    return QImage(QStringLiteral(":/tessaly/about/fade-night.jpg"));
}

}  // namespace tessaly
