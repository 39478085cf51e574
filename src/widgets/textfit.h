#pragma once

#include <QStringList>

class QComboBox;
class QLabel;
class QWidget;

namespace tessaly {

// The windows keep the sizes they were laid out for, but the desktop's fonts
// may be wider than the fonts of that layout. These helpers make texts fit.

// Makes `widget`'s font smaller, half a point at a time and not below
// `smallestPointSize`, until every one of `texts` is at most `width` pixels
// wide. True when they fit.
bool shrinkFontToFit(QWidget& widget, const QStringList& texts, int width, qreal smallestPointSize = 7.0);

// Shows `text` in `label`, cut with "…" where `mode` says when it is wider
// than the label; the whole text is then the label's tooltip.
void setElidedText(QLabel& label, const QString& text, Qt::TextElideMode mode);

// The width a combo box has for the text of its current item.
int comboTextWidth(const QComboBox& box);

// Every item's text of a combo box.
QStringList itemTexts(const QComboBox& box);

}  // namespace tessaly
