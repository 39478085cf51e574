#include "about/tfsplasher.h"
#include "widgets/windowplacement.h"

#include <QLabel>
#include <QLinearGradient>
#include <QPainter>

namespace tessaly {

TfSplasher::TfSplasher(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_image(new QLabel(this))
{
    setObjectName(QStringLiteral("TfSplasher"));
    m_image->setObjectName(QStringLiteral("Image1"));
    m_image->setPixmap(picture());
    m_image->setGeometry(0, 0, 256, 128);
    setFixedSize(256, 128);
    centreOnScreen(*this);
}

QPixmap TfSplasher::picture()
{
    QPixmap pixmap(256, 128);
    QPainter painter(&pixmap);
    QLinearGradient sky(0, 0, 0, 128);
    sky.setColorAt(0.0, QColor(20, 40, 90));
    sky.setColorAt(1.0, QColor(90, 150, 210));
    painter.fillRect(pixmap.rect(), sky);
    // A strip of little frames, as thumbnails on a contact sheet.
    for (int i = 0; i < 6; ++i) {
        const QRect frame(14 + i * 40, 84, 32, 26);
        painter.fillRect(frame, QColor(245, 245, 235));
        painter.fillRect(frame.adjusted(3, 3, -3, -3), QColor(60 + i * 30, 120, 200 - i * 25));
    }
    QFont title(QStringLiteral("DejaVu Serif"), 26, QFont::Bold);
    painter.setFont(title);
    painter.setPen(QColor(0, 0, 0, 140));
    painter.drawText(QRect(3, 11, 256, 50), Qt::AlignCenter, QStringLiteral("Tessaly"));
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 8, 256, 50), Qt::AlignCenter, QStringLiteral("Tessaly"));
    painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 8));
    painter.drawText(QRect(0, 56, 256, 20), Qt::AlignCenter,
                     QStringLiteral("Thumbnails, renaming and galleries"));
    return pixmap;
}

}  // namespace tessaly
