#include "widgets/gradientbutton.h"

#include <QLinearGradient>
#include <QPainter>
#include <QStyleOptionFocusRect>

namespace tessaly {

GradientButton::GradientButton(QWidget* parent) : QPushButton(parent)
{
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::PointingHandCursor);
}

void GradientButton::setBeginColor(const QColor& color)
{
    m_begin = color;
    update();
}

void GradientButton::setEndColor(const QColor& color)
{
    m_end = color;
    update();
}

void GradientButton::setCaptionColor(const QColor& color)
{
    m_caption = color;
    update();
}

void GradientButton::setColors(const QColor& begin, const QColor& end)
{
    m_begin = begin;
    m_end = end;
    update();
}

void GradientButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QRect area = rect();
    QLinearGradient gradient(area.topLeft(), area.bottomLeft());
    gradient.setColorAt(0.0, m_begin);
    gradient.setColorAt(1.0, m_end);
    painter.fillRect(area, gradient);
    painter.setPen(isDown() ? palette().color(QPalette::Light) : palette().color(QPalette::Dark));
    painter.drawRect(area.adjusted(0, 0, -1, -1));
    if (isDown())
        area.translate(1, 1);
    painter.setPen(isEnabled() ? m_caption : palette().color(QPalette::Disabled, QPalette::Text));
    painter.drawText(area, Qt::AlignCenter | Qt::TextShowMnemonic, text());
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(3, 3, -3, -3);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

void GradientButton::enterEvent(QEnterEvent* event)
{
    QPushButton::enterEvent(event);
    emit mouseEntered();
}

void GradientButton::leaveEvent(QEvent* event)
{
    QPushButton::leaveEvent(event);
    emit mouseLeft();
}

}  // namespace tessaly
