#include "widgets/gradientbutton.h"
#include "widgets/radiogroup.h"
#include "widgets/windowplacement.h"

#include <QEnterEvent>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace tessaly {
namespace {

// The button paints its begin colour at the top and its end colour at the
// bottom, and reports the mouse coming and going.
TEST(GradientButton, PaintsGradientAndReportsHover)
{
    GradientButton button;
    button.resize(100, 40);
    button.setColors(QColor(128, 128, 128), QColor(0, 255, 0));
    QImage image(button.size(), QImage::Format_RGB32);
    button.render(&image);
    EXPECT_NEAR(QColor(image.pixel(50, 2)).red(), 128, 8);
    EXPECT_LT(QColor(image.pixel(50, 2)).green(), 150);
    EXPECT_GT(QColor(image.pixel(50, 37)).green(), 240);
    EXPECT_LT(QColor(image.pixel(50, 37)).red(), 15);

    QSignalSpy entered(&button, &GradientButton::mouseEntered);
    QSignalSpy left(&button, &GradientButton::mouseLeft);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(&button, &enter);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&button, &leave);
    EXPECT_EQ(entered.count(), 1);
    EXPECT_EQ(left.count(), 1);
}

// A radio group selects by index; past the last item means the last item,
// a negative index means none.
TEST(RadioGroup, ItemIndexClamping)
{
    RadioGroup group;
    group.setItems({QStringLiteral("Fast Resize"), QStringLiteral("Quality Resize")});
    EXPECT_EQ(group.itemIndex(), -1);
    group.setItemIndex(1);
    EXPECT_EQ(group.itemIndex(), 1);
    group.setItemIndex(7);
    EXPECT_EQ(group.itemIndex(), 1);
    group.setItemIndex(0);
    EXPECT_EQ(group.itemIndex(), 0);
    group.setItemIndex(-1);
    EXPECT_EQ(group.itemIndex(), -1);
}

// A window is centred on the available area of its screen.
TEST(WindowPlacement, CentresOnTheScreen)
{
    QWidget window;
    window.setFixedSize(300, 200);
    centreOnScreen(window);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(window.geometry().center(), area.center());
}

}  // namespace
}  // namespace tessaly
