#include "app/wizardrules.h"
#include "support/printers.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

std::optional<std::pair<QString, QString>> clash(std::initializer_list<const char*> names)
{
    QStringList list;
    for (const char* name : names)
        list << QString::fromLatin1(name);
    return findDuplicateNames(list);
}

std::pair<QString, QString> pair(const char* a, const char* b)
{
    return {QString::fromLatin1(a), QString::fromLatin1(b)};
}

// Names clash when equal once the last three characters are cut, with case;
// the last clashing neighbours in sorted order are named, in list order.
TEST(FindDuplicateNames, ClashesByNameWithoutType)
{
    EXPECT_EQ(clash({"MYPIC1.BMP", "MYPIC1.JPG"}), pair("MYPIC1.BMP", "MYPIC1.JPG"));
    EXPECT_EQ(clash({"a.gif", "a.jpeg", "a.jpg"}), pair("a.gif", "a.jpg"));
    EXPECT_FALSE(clash({"a.jpg", "a.jpeg"}));
    EXPECT_FALSE(clash({"Pic.jpg", "pic.gif"}));
    EXPECT_FALSE(clash({"a.jpg", "b.jpg", "c.gif"}));
    EXPECT_FALSE(clash({}));
    // Several pairs: only the last one in the shortened, sorted order.
    EXPECT_EQ(clash({"a.bmp", "a.jpg", "b.gif", "b.jpg", "c.bmp", "c.gif"}), pair("c.bmp", "c.gif"));
    EXPECT_EQ(clash({"Zed.bmp", "zed.jpg", "apple.gif", "apple.jpg"}), pair("apple.gif", "apple.jpg"));
    // Names of three characters or fewer shorten to nothing and clash.
    EXPECT_EQ(clash({"abc", "xy"}), pair("abc", "xy"));
    // Names equal with case are found even among names equal but for case.
    EXPECT_EQ(clash({"Pic.bmp", "pic.gif", "Pic.jpg"}), pair("Pic.bmp", "Pic.jpg"));
}

// The output page's controls depend only on the mode and the rename choice.
TEST(VisibilityFor, ThreeColumns)
{
    const ModeVisibility thumbs = visibilityFor(JobMode::Thumbnails, true);
    EXPECT_FALSE(thumbs.renameChoice);
    EXPECT_TRUE(thumbs.convertType && thumbs.outputFolder && thumbs.maskButtons && thumbs.overwrite);
    EXPECT_FALSE(thumbs.sameFolderNote);
    EXPECT_TRUE(thumbs.thumbQualifier);
    EXPECT_FALSE(thumbs.imageQualifier);
    EXPECT_EQ(thumbs.modeText, QStringLiteral("Create Thumbnails"));

    const ModeVisibility rename = visibilityFor(JobMode::RenameCopyConvert, true);
    EXPECT_TRUE(rename.renameChoice);
    EXPECT_FALSE(rename.convertType || rename.outputFolder || rename.maskButtons || rename.overwrite);
    EXPECT_TRUE(rename.sameFolderNote);
    EXPECT_FALSE(rename.thumbQualifier);
    EXPECT_TRUE(rename.imageQualifier);
    EXPECT_EQ(rename.modeText, QStringLiteral("Rename/Convert Files"));

    const ModeVisibility copy = visibilityFor(JobMode::RenameCopyConvert, false);
    EXPECT_TRUE(copy.renameChoice && copy.convertType && copy.outputFolder && copy.maskButtons && copy.overwrite &&
                copy.imageQualifier);
    EXPECT_FALSE(copy.sameFolderNote || copy.thumbQualifier);
    EXPECT_EQ(copy.modeText, QStringLiteral("Rename/Convert Files"));
}

// The output names sentence for the four options with and without a qualifier.
TEST(OutputNamesSentence, FourOptionsWithAndWithoutQualifier)
{
    const QString q = QStringLiteral("Thumb");
    const QString s = QStringLiteral("001");
    EXPECT_EQ(outputNamesSentence(0, q, s), QStringLiteral("...Will start with Thumb001 and be numbered sequentially"));
    EXPECT_EQ(outputNamesSentence(0, QString(), s),
              QStringLiteral("...Will start with 001 and be numbered sequentially"));
    EXPECT_EQ(outputNamesSentence(1, q, s),
              QStringLiteral("...Will start with Thumb and then have the original name appended."));
    EXPECT_EQ(outputNamesSentence(1, QString(), s), QStringLiteral("...Will not be changed."));
    EXPECT_EQ(outputNamesSentence(2, q, s), QStringLiteral("...Will start with 001Thumb and be numbered sequentially"));
    EXPECT_EQ(outputNamesSentence(2, QString(), s),
              QStringLiteral("...Will start with 001 and be numbered sequentially"));
    EXPECT_EQ(outputNamesSentence(3, q, s),
              QStringLiteral("...Will start with the original file name and then have Thumb appended."));
    EXPECT_EQ(outputNamesSentence(3, QString(), s), QStringLiteral("...Will not be changed."));
    EXPECT_FALSE(outputNamesSentence(-1, q, s));
}

}  // namespace
}  // namespace tessaly
