#include "widgets/textfit.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QStyle>
#include <QStyleOptionComboBox>

namespace tessaly {

namespace {

int widest(const QFont& font, const QStringList& texts)
{
    const QFontMetrics metrics(font);
    int result = 0;
    for (const QString& text : texts)
        result = std::max(result, metrics.horizontalAdvance(text));
    return result;
}

}  // namespace

bool shrinkFontToFit(QWidget& widget, const QStringList& texts, int width, qreal smallestPointSize)
{
    QFont font = widget.font();
    // Fonts given in pixels are left as they are.
    if (font.pointSizeF() <= 0)
        return widest(font, texts) <= width;
    while (widest(font, texts) > width && font.pointSizeF() - 0.5 >= smallestPointSize)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    if (font != widget.font())
        widget.setFont(font);
    return widest(font, texts) <= width;
}

void setElidedText(QLabel& label, const QString& text, Qt::TextElideMode mode)
{
    const int room = label.contentsRect().width();
    const QFontMetrics metrics = label.fontMetrics();
    if (metrics.horizontalAdvance(text) <= room) {
        label.setText(text);
        label.setToolTip(QString());
        return;
    }
    label.setText(metrics.elidedText(text, mode, room));
    label.setToolTip(text);
}

int comboTextWidth(const QComboBox& box)
{
    QStyleOptionComboBox option;
    option.initFrom(&box);
    option.editable = box.isEditable();
    const QRect field = box.style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, &box);
    // An editable box's line edit keeps a small margin on both sides.
    constexpr int kEditMargins = 6;
    return field.width() - kEditMargins;
}

QStringList itemTexts(const QComboBox& box)
{
    QStringList texts;
    for (int index = 0; index < box.count(); ++index)
        texts << box.itemText(index);
    return texts;
}

}  // namespace tessaly
