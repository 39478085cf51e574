#pragma once

#include "gallery/dialogs/colorpickerbutton.h"

#include <QColor>

namespace tessaly {

// Sets a colour picker button of the HTML Options dialog to `colour`, for
// the reset to defaults; false when `control` is no colour picker.
inline bool setColorPicker(QWidget* control, const QColor& colour)
{
    auto* picker = qobject_cast<ColorPickerButton*>(control);
    if (picker)
        picker->setColor(ColorPickerButton::fromQColor(colour));
    return picker != nullptr;
}

}  // namespace tessaly
