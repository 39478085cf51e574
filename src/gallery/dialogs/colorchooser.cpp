#include "gallery/dialogs/colorchooser.h"

#include <QColorDialog>

namespace tessaly {

std::optional<QColor> QtColorChooser::choose(QWidget* parent, const QColor& initial, const QString& title)
{
    const QColor chosen = QColorDialog::getColor(initial, parent, title);
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

}  // namespace tessaly
