#include "about/aboutpictures.h"
#include "about/tfsplasher.h"

#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <gtest/gtest.h>

namespace tessaly {
namespace {

// Our own pictures are built into the program at their sizes.
TEST(AboutPictures, AreBuiltInAtTheirSizes)
{
    EXPECT_EQ(splashPicture().size(), QSize(256, 128));
    EXPECT_EQ(fadeFirstPicture().size(), QSize(160, 102));
    EXPECT_EQ(fadeSecondPicture().size(), QSize(160, 102));
    EXPECT_NE(fadeFirstPicture(), fadeSecondPicture());
}

// The splash is a borderless 256 x 128 window showing its picture.
TEST(TfSplasher, IsABorderlessWindowOfItsPicture)
{
    TfSplasher splash;
    EXPECT_EQ(splash.size(), QSize(256, 128));
    EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_FALSE(splash.windowFlags() & Qt::WindowStaysOnTopHint);
    auto* image = splash.findChild<QLabel*>(QStringLiteral("Image1"));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->pixmap().size(), QSize(256, 128));
}

// A message box that appears during start-up is never covered: the splash
// steps aside for it.
TEST(TfSplasher, StepsAsideForAMessageBox)
{
    TfSplasher splash;
    splash.show();
    ASSERT_TRUE(splash.isVisible());
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Tessaly"), QStringLiteral("The directory does not exist"));
    box.show();
    EXPECT_FALSE(splash.isVisible());
    box.hide();
}

}  // namespace
}  // namespace tessaly
