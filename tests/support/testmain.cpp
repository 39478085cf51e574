#include <QApplication>
#include <gtest/gtest.h>

// One QApplication for every test of a binary, offscreen, so that windows
// can be made without a display (also when CTest lists the tests at build
// time).
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
