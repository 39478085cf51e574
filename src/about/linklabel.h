#pragma once

#include <QLabel>

namespace tessaly {

// A web address shown as text: black, turning blue and underlined while the
// mouse is over it (or while it has the keyboard focus). A left click, Enter
// or Space reports `activated`.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(QWidget* parent = nullptr);

signals:
    void activated();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void setHighlighted(bool highlighted);

    bool m_highlighted = false;
};

}  // namespace tessaly
