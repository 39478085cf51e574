#include "widgets/label3d.h"

#include <QPainter>

namespace tessaly {

Label3D::Label3D(QWidget* parent) : QLabel(parent) {}

void Label3D::setDepth(int depth)
{
    m_depth = depth;
    update();
}

void Label3D::setShadowColor(const QColor& color)
{
    m_shadow = color;
    update();
}

void Label3D::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setFont(font());
    const int flags = int(alignment()) | (wordWrap() ? Qt::TextWordWrap : 0);
    const QRect area = contentsRect().adjusted(0, 0, -m_depth, -m_depth);
    painter.setPen(m_shadow);
    for (int step = m_depth; step > 0; --step)
        painter.drawText(area.translated(step, step), flags, text());
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(area, flags, text());
}

}  // namespace tessaly
