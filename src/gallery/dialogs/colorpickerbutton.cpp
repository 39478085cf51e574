#include "gallery/dialogs/colorpickerbutton.h"

#include "gallery/dialogs/colorchooser.h"

#include <QGridLayout>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QWidgetAction>

namespace tessaly {

namespace {

// The quick-pick palette: the sixteen basic colours of HTML 3.2 pages.
const QRgb kQuickColors[] = {
    0x000000, 0x808080, 0x800000, 0x808000, 0x008000, 0x008080, 0x000080, 0x800080,
    0xFFFFFF, 0xC0C0C0, 0xFF0000, 0xFFFF00, 0x00FF00, 0x00FFFF, 0x0000FF, 0xFF00FF,
};

QIcon swatch(const QColor& color, const QSize& size)
{
    QPixmap pixmap(size);
    pixmap.fill(color);
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, size.width() - 1, size.height() - 1);
    return QIcon(pixmap);
}

}  // namespace

ColorPickerButton::ColorPickerButton(QWidget* parent) : QToolButton(parent)
{
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    setPopupMode(QToolButton::MenuButtonPopup);
    setIconSize(QSize(24, 14));

    auto* menu = new QMenu(this);
    menu->addSection(QStringLiteral("Quick Pick..."));
    auto* palette = new QWidget(menu);
    auto* grid = new QGridLayout(palette);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setSpacing(2);
    int index = 0;
    for (const QRgb rgb : kQuickColors) {
        auto* pick = new QToolButton(palette);
        const QColor color(rgb);
        pick->setIcon(swatch(color, QSize(14, 14)));
        pick->setAutoRaise(true);
        pick->setToolTip(color.name(QColor::HexRgb).toUpper());
        pick->setAccessibleName(pick->toolTip());
        connect(pick, &QToolButton::clicked, this, [this, menu, color] {
            menu->close();
            setColor(fromQColor(color));
        });
        grid->addWidget(pick, index / 8, index % 8);
        ++index;
    }
    auto* paletteAction = new QWidgetAction(menu);
    paletteAction->setDefaultWidget(palette);
    menu->addAction(paletteAction);
    menu->addSeparator();
    menu->addAction(QStringLiteral("See More Colors"), this, &ColorPickerButton::chooseInDialog);
    setMenu(menu);

    connect(this, &QToolButton::clicked, this, &ColorPickerButton::chooseInDialog);
    updateSwatch();
}

void ColorPickerButton::setColor(StoredColor color)
{
    if (color == m_color)
        return;
    m_color = color;
    updateSwatch();
    emit colorChanged(color);
}

QColor ColorPickerButton::toQColor(StoredColor color)
{
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

StoredColor ColorPickerButton::fromQColor(const QColor& color)
{
    return storedColor(color.red(), color.green(), color.blue());
}

void ColorPickerButton::chooseInDialog()
{
    QtColorChooser desktop;
    ColorChooser& chooser = m_chooser ? *m_chooser : desktop;
    const QString title = text().isEmpty() ? accessibleName() : text();
    if (const std::optional<QColor> chosen = chooser.choose(this, toQColor(m_color), title))
        setColor(fromQColor(*chosen));
}

void ColorPickerButton::updateSwatch()
{
    const QColor color = toQColor(m_color);
    setIcon(swatch(color, iconSize()));
    setToolTip(color.name(QColor::HexRgb).toUpper());
}

}  // namespace tessaly
