#pragma once

#include <QColor>
#include <QPushButton>

namespace tessaly {

// A push button drawn as a vertical gradient from a begin colour at the top
// to an end colour at the bottom. It reports the mouse entering and leaving,
// which the windows use for their hover colours.
class GradientButton : public QPushButton {
    Q_OBJECT
    Q_PROPERTY(QColor beginColor READ beginColor WRITE setBeginColor)
    Q_PROPERTY(QColor endColor READ endColor WRITE setEndColor)
    Q_PROPERTY(QColor captionColor READ captionColor WRITE setCaptionColor)
public:
    explicit GradientButton(QWidget* parent = nullptr);

    QColor beginColor() const { return m_begin; }
    void setBeginColor(const QColor& color);
    QColor endColor() const { return m_end; }
    void setEndColor(const QColor& color);
    QColor captionColor() const { return m_caption; }
    void setCaptionColor(const QColor& color);
    void setColors(const QColor& begin, const QColor& end);

signals:
    void mouseEntered();
    void mouseLeft();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QColor m_begin{128, 128, 128};
    QColor m_end{128, 128, 128};
    QColor m_caption{Qt::white};
};

}  // namespace tessaly
