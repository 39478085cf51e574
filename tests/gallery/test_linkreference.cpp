#include "gallery/linkreference.h"
#include "support/printers.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

// The worked table, with drive letters and backslashes.
TEST(RelativeReference, WorkedCasesWithDrives)
{
    struct Case {
        const char* page;
        const char* pictures;
        const char* expected;
    };
    const Case cases[] = {
        {"C:\\Web\\Html", "C:\\Web\\Pics\\", "../Pics/"},
        {"C:\\Web", "C:\\Web\\Pics\\Thumbs\\", "Pics/Thumbs/"},
        {"C:\\Web\\Html\\Gallery", "C:\\Web\\", "../../"},
        {"C:", "C:\\Pics\\Big\\", "Pics/Big/"},
        {"C:\\Web\\Html", "C:\\", "../../"},
        {"C:\\A\\B", "C:\\C\\D\\E\\", "../../C/D/E/"},
        {"C:\\My Documents\\Html", "C:\\My Documents\\Doc\\", "../Doc/"},
        {"C:\\Web", "c:\\WEB\\", ""},
        {"C:\\Web", "D:\\Pics\\", "*"},
        {"C:\\Web\\x", "d:\\Web\\x\\", "*"},
        {"C:\\web\\HTML", "C:\\WEB\\Pics\\", "../Pics/"},
        {"C:\\Web", "C:\\WEB\\pICS\\", "pICS/"},
        {"\\\\server\\share\\a", "\\\\server\\share\\b\\", "../b/"},
        {"", "", ""},
        {"C:\\\\x", "C:\\y\\", "../../y/"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RelativeReference(QString::fromLatin1(c.page), QString::fromLatin1(c.pictures), kDrivePaths),
                  QString::fromLatin1(c.expected))
            << c.page << " / " << c.pictures;
}

// This system's own paths: the root stands for the drive, and names that
// differ by case are different folders.
TEST(RelativeReference, NativePaths)
{
    struct Case {
        const char* page;
        const char* pictures;
        const char* expected;
    };
    const Case cases[] = {
        {"/home/ann/web/html", "/home/ann/web/pics/", "../pics/"},
        {"/", "/pics/big/", "pics/big/"},
        {"/web/html", "/", "../../"},
        {"/web", "/web/", ""},
        {"/web", "/Web/", "../Web/"},
        {"/a b/html", "/a b/pics/", "../pics/"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RelativeReference(QString::fromLatin1(c.page), QString::fromLatin1(c.pictures)),
                  QString::fromLatin1(c.expected))
            << c.page << " / " << c.pictures;
}

}  // namespace
}  // namespace tessaly
