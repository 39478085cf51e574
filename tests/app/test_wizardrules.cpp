#include "app/wizardrules.h"
#include "support/printers.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

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

// The naming list's index reaches the sentence: -1 (nothing chosen) gives none.
TEST(OutputNamesSentence, FromTheListIndex)
{
    const QString q = QStringLiteral("Thumb"), s = QStringLiteral("001");
    EXPECT_EQ(outputNamesSentence(2, q, s), QStringLiteral("...Will start with 001Thumb and be numbered sequentially"));
    EXPECT_EQ(outputNamesSentence(3, q, s),
              QStringLiteral("...Will start with the original file name and then have Thumb appended."));
    EXPECT_FALSE(outputNamesSentence(-1, q, s));
}

}  // namespace
}  // namespace tessaly
