#pragma once

#include <QColor>
#include <QString>
#include <optional>

class QWidget;

namespace tessaly {

// Asks the user for a colour in the desktop's colour dialog; tests hand in
// a chooser with scripted answers. No value when the user cancels.
class ColorChooser {
public:
    virtual ~ColorChooser() = default;
    virtual std::optional<QColor> choose(QWidget* parent, const QColor& initial, const QString& title) = 0;
};

class QtColorChooser final : public ColorChooser {
public:
    std::optional<QColor> choose(QWidget* parent, const QColor& initial, const QString& title) override;
};

}  // namespace tessaly
