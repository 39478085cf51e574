#pragma once

#include <QColor>
#include <QLabel>

namespace tessaly {

// A label whose text stands out from the window: drawn over a shadow copy
// of itself shifted `depth` pixels to the lower right.
class Label3D : public QLabel {
    Q_OBJECT
    Q_PROPERTY(int depth READ depth WRITE setDepth)
    Q_PROPERTY(QColor shadowColor READ shadowColor WRITE setShadowColor)
public:
    explicit Label3D(QWidget* parent = nullptr);

    int depth() const { return m_depth; }
    void setDepth(int depth);
    QColor shadowColor() const { return m_shadow; }
    void setShadowColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_depth = 2;
    QColor m_shadow{128, 128, 128};
};

}  // namespace tessaly
