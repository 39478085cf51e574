#pragma once

#include "gallery/galleryoptions.h"

#include <QToolButton>

namespace tessaly {

class ColorChooser;

// A button that shows a colour swatch beside its caption. Pressing it opens
// the desktop's colour dialog; its arrow opens a quick-pick palette with
// "See More Colors" for the dialog. The colour is kept as the settings file
// stores it, so a stored value passes through unchanged until the user
// picks another colour.
class ColorPickerButton : public QToolButton {
    Q_OBJECT
public:
    explicit ColorPickerButton(QWidget* parent = nullptr);

    StoredColor color() const { return m_color; }
    void setColor(StoredColor color);
    // Without a chooser the button opens the desktop's own colour dialog.
    void setChooser(ColorChooser* chooser) { m_chooser = chooser; }

    static QColor toQColor(StoredColor color);
    static StoredColor fromQColor(const QColor& color);

signals:
    void colorChanged(tessaly::StoredColor color);

private:
    void chooseInDialog();
    void updateSwatch();

    StoredColor m_color = 0;
    ColorChooser* m_chooser = nullptr;
};

}  // namespace tessaly
