#include "widgets/gradientbutton.h"
#include "widgets/radiogroup.h"
#include "widgets/windowplacement.h"

#include <QDialog>
#include <QEnterEvent>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSignalSpy>
#include <QVBoxLayout>
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

// A fixed-size window larger than the screen's available area shrinks to it
// with its contents in a scroll area (every control still reachable), and
// sits inside the area with its frame; a resizable one whose layout allows
// shrinks without scrolling; one that fits is left exactly as it is.
TEST(WindowPlacement, WindowsFitTheScreen)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QMargins frame(3, 25, 3, 3);
    QDialog big;
    auto* layout = new QVBoxLayout(&big);
    auto* top = new QLabel(QStringLiteral("top"));
    auto* ok = new QPushButton(QStringLiteral("OK"));
    layout->addWidget(top);
    layout->addStretch();
    layout->addWidget(ok, 0, Qt::AlignRight);
    ok->setFixedSize(80, 24);
    big.setFixedSize(area.width() + 200, area.height() + 300);
    big.move(-50, -40);
    fitToScreen(big, frame);
    EXPECT_TRUE(area.contains(QRect(big.pos(), big.size().grownBy(frame))));
    auto* scroller = big.findChild<QScrollArea*>();
    ASSERT_NE(scroller, nullptr);
    EXPECT_TRUE(scroller->isAncestorOf(ok));
    EXPECT_TRUE(scroller->isAncestorOf(top));
    big.show();
    // The layouts settle on the events the showing posts.
    QCoreApplication::processEvents();
    scroller->ensureWidgetVisible(ok);
    QCoreApplication::processEvents();
    EXPECT_TRUE(big.rect().contains(QRect(ok->mapTo(&big, QPoint(0, 0)), ok->size())));

    QWidget resizable;
    (new QVBoxLayout(&resizable))->addWidget(new QLabel(QStringLiteral("small")));
    resizable.resize(area.width() + 100, 200);
    fitToScreen(resizable, frame);
    EXPECT_EQ(resizable.findChild<QScrollArea*>(), nullptr);
    EXPECT_EQ(resizable.width(), area.width() - 6);

    QDialog small;
    small.setFixedSize(300, 200);
    small.move(area.topLeft() + QPoint(40, 50));
    fitToScreen(small, frame);
    EXPECT_EQ(small.findChild<QScrollArea*>(), nullptr);
    EXPECT_EQ(small.geometry(), QRect(area.topLeft() + QPoint(40, 50), QSize(300, 200)));
}

}  // namespace
}  // namespace tessaly
