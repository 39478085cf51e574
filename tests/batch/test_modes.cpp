#include "batch/modes.h"
#include "support/printers.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

// The naming options: list index and stored word name the same option, and
// only the four exact words and indexes are options.
TEST(NamingOption, IndexesAndStoredWords)
{
    struct Case {
        const char* word;
        NamingOption option;
        bool sequence;
    };
    const Case cases[] = {
        {"PreSeq", NamingOption::PreSeq, true},
        {"PreName", NamingOption::PreName, false},
        {"SufSeq", NamingOption::SufSeq, true},
        {"SufName", NamingOption::SufName, false},
    };
    int index = 0;
    for (const Case& c : cases) {
        const QString word = QString::fromLatin1(c.word);
        EXPECT_EQ(namingOptionFromWord(word), c.option) << c.word;
        EXPECT_EQ(namingOptionFromIndex(index), c.option) << c.word;
        EXPECT_EQ(indexOf(c.option), index) << c.word;
        EXPECT_EQ(wordOf(c.option), word);
        EXPECT_EQ(usesSequence(c.option), c.sequence) << c.word;
        ++index;
    }
    EXPECT_FALSE(namingOptionFromWord(QStringLiteral("preseq")));
    EXPECT_FALSE(namingOptionFromWord(QString()));
    EXPECT_FALSE(namingOptionFromIndex(-1));
    EXPECT_FALSE(namingOptionFromIndex(4));
}

// The type list's items in order; its text matches with case only.
TEST(OutputType, ItemsAndTexts)
{
    const char* texts[] = {"jpg", "gif", "bmp", "emf", "wmf", "No Conversion"};
    const OutputType types[] = {OutputType::Jpg, OutputType::Gif, OutputType::Bmp,
                                OutputType::Emf, OutputType::Wmf, OutputType::NoConversion};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(outputTypeFromText(QString::fromLatin1(texts[i])), types[i]) << texts[i];
        EXPECT_EQ(outputTypeFromIndex(i), types[i]) << texts[i];
        EXPECT_EQ(indexOf(types[i]), i);
        EXPECT_EQ(textOf(types[i]), QString::fromLatin1(texts[i]));
    }
    for (const char* typed : {"JPG", "no conversion", "png", "", "none"})
        EXPECT_FALSE(outputTypeFromText(QString::fromLatin1(typed))) << typed;
    EXPECT_FALSE(outputTypeFromIndex(-1));
    EXPECT_FALSE(outputTypeFromIndex(6));
}

// Exactly "Quality" is quality resizing; as an index, only item 0 is fast.
TEST(ResizeSpeed, WordsAndIndexes)
{
    EXPECT_EQ(resizeSpeedFromWord(QStringLiteral("Quality")), ResizeSpeed::Quality);
    EXPECT_EQ(resizeSpeedFromWord(QStringLiteral("Fast")), ResizeSpeed::Fast);
    EXPECT_EQ(resizeSpeedFromWord(QStringLiteral("quality")), ResizeSpeed::Fast);
    EXPECT_EQ(resizeSpeedFromWord(QString()), ResizeSpeed::Fast);
    EXPECT_EQ(resizeSpeedFromIndex(0), ResizeSpeed::Fast);
    EXPECT_EQ(resizeSpeedFromIndex(1), ResizeSpeed::Quality);
    EXPECT_EQ(resizeSpeedFromIndex(-1), ResizeSpeed::Quality);
    EXPECT_EQ(indexOf(ResizeSpeed::Fast), 0);
    EXPECT_EQ(indexOf(ResizeSpeed::Quality), 1);
    EXPECT_EQ(wordOf(ResizeSpeed::Fast), QStringLiteral("Fast"));
    EXPECT_EQ(wordOf(ResizeSpeed::Quality), QStringLiteral("Quality"));
}

// The gallery's choices are stored as their item index; others are none.
TEST(GalleryChoices, StoredNumbers)
{
    EXPECT_EQ(navButtonsFromIndex(0), NavButtons::Top);
    EXPECT_EQ(navButtonsFromIndex(1), NavButtons::Bottom);
    EXPECT_EQ(navButtonsFromIndex(2), NavButtons::Both);
    EXPECT_FALSE(navButtonsFromIndex(3));
    EXPECT_FALSE(navButtonsFromIndex(-1));
    EXPECT_TRUE(showsTop(NavButtons::Top) && showsTop(NavButtons::Both) && !showsTop(NavButtons::Bottom));
    EXPECT_TRUE(showsBottom(NavButtons::Bottom) && showsBottom(NavButtons::Both) && !showsBottom(NavButtons::Top));
    EXPECT_EQ(indexOf(NavButtons::Both), 2);

    EXPECT_EQ(windowOptionFromIndex(0), WindowOption::SameWindow);
    EXPECT_EQ(windowOptionFromIndex(1), WindowOption::NewWindow);
    EXPECT_FALSE(windowOptionFromIndex(2));
    EXPECT_EQ(indexOf(WindowOption::NewWindow), 1);

    const LinkMode modes[] = {LinkMode::Local, LinkMode::Explicit, LinkMode::Relative, LinkMode::Generic};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(linkModeFromIndex(i), modes[i]);
        EXPECT_EQ(indexOf(modes[i]), i);
    }
    EXPECT_FALSE(linkModeFromIndex(4));
    EXPECT_FALSE(linkModeFromIndex(-1));
}

}  // namespace
}  // namespace tessaly
