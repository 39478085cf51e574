#include "batch/integertext.h"
#include "batch/outputnaming.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

// The sequence part: the field's length is the width, the number is the
// field plus the position, and blanks of the padding become zeros.
TEST(SequenceText, WidthPaddingAndSigns)
{
    struct Case {
        const char* field;
        int position;
        const char* expected;
    };
    const Case cases[] = {
        {"001", 0, "001"}, {"001", 11, "012"}, {"1", 0, "1"},       {"1", 9, "10"},  {"1", 10, "11"},
        {"01", 98, "99"},  {"01", 99, "100"},  {"01", 149, "150"},  {"7", 0, "7"},   {"-01", 0, "0-1"},
        {"-01", 1, "000"}, {"-01", 2, "001"},  {"0000", 5, "0005"}, {" 5", 0, "05"}, {"+3", 0, "03"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SequenceText(QString::fromLatin1(c.field), c.position), QString::fromLatin1(c.expected))
            << c.field << " at " << c.position;
}

// The width is taken once when a run starts; the number is read afresh.
TEST(SequenceText, WidthFixedAtStartNumberReadNow)
{
    const SequenceFormat format(QStringLiteral("001"));
    EXPECT_EQ(format.text(QStringLiteral("5"), 2), QStringLiteral("007"));
}

TEST(SequenceText, NotAWholeNumberIsAnErrorNamingTheText)
{
    for (const char* bad : {"abc", "", "1.5", "12a", "0x10", "-", "99999999999"}) {
        try {
            SequenceText(QString::fromLatin1(bad), 0);
            ADD_FAILURE() << "accepted " << bad;
        } catch (const NotAnInteger& error) {
            EXPECT_EQ(error.message(), QStringLiteral("'%1' is not a valid integer value").arg(QLatin1String(bad)));
        }
    }
}

struct NameCase {
    RunKind kind;
    NamingOption option;
    const char* qualifier;
    const char* sequence;
    const char* source;
    int position;
    const char* expected;
};

// The two naming tables: a stem for thumbnails and conversions, a whole name
// that keeps the source's type text for renames and plain copies.
TEST(BuildOutputName, NamingTables)
{
    using enum NamingOption;
    const RunKind T = RunKind::ThumbnailOrConvert;
    const RunKind R = RunKind::RenameOrCopy;
    const NameCase cases[] = {
        {T, PreSeq, "Thumb", "001", "cat.jpg", 0, "/out/Thumb001"},
        {T, PreSeq, "Thumb", "001", "cat.jpg", 11, "/out/Thumb012"},
        {T, PreName, "Thumb", "001", "cat.jpg", 0, "/out/Thumbcat"},
        {T, SufSeq, "Thumb", "001", "cat.jpg", 0, "/out/001Thumb"},
        {T, SufName, "Thumb", "001", "cat.jpg", 0, "/out/catThumb"},
        {T, PreName, "", "001", "cat.bmp", 0, "/out/cat"},
        {T, PreName, "Thumb", "001", "cat.jpeg", 0, "/out/Thumbcat"},
        {T, SufName, "_t", "001", "my.holiday.webp", 0, "/out/my.holiday_t"},
        {R, PreSeq, "Image", "001", "a.jpg", 0, "/out/Image001.jpg"},
        {R, PreSeq, "Image", "001", "c.gif", 2, "/out/Image003.gif"},
        {R, PreSeq, "Image", "001", "cat.jpeg", 0, "/out/Image001.jpeg"},
        {R, SufName, "_small", "001", "IMG_0001.HEIC", 0, "/out/IMG_0001_small.HEIC"},
        {R, PreName, "Image", "001", "cat.jpg", 0, "/out/Imagecat.jpg"},
        {R, PreName, "old_", "001", "dog.jpg", 0, "/out/old_dog.jpg"},
        {R, SufSeq, "Image", "001", "cat.GIF", 0, "/out/001Image.GIF"},
        {R, SufName, "_small", "001", "dog.JPG", 0, "/out/dog_small.JPG"},
        {R, SufSeq, "", "001", "x.bmp", 0, "/out/001.bmp"},
        {R, PreSeq, "Image", "001", "ab", 0, "/out/Image001"},
        {R, SufName, "_x", "001", ".hidden", 0, "/out/.hidden_x"},
    };
    for (const NameCase& c : cases) {
        NamingInputs in;
        in.option = c.option;
        in.qualifier = QString::fromLatin1(c.qualifier);
        in.sequenceField = QString::fromLatin1(c.sequence);
        in.sourceName = QString::fromLatin1(c.source);
        in.position = c.position;
        in.folder = QStringLiteral("/out");
        EXPECT_EQ(BuildOutputName(c.kind, SequenceFormat(in.sequenceField), in), QString::fromLatin1(c.expected))
            << c.source << " option " << int(c.option);
    }
}

// The name options never read the sequence field, so a bad field only stops
// the sequence options.
TEST(BuildOutputName, SequenceReadOnlyBySequenceOptions)
{
    NamingInputs in;
    in.qualifier = QStringLiteral("Q");
    in.sequenceField = QStringLiteral("abc");
    in.sourceName = QStringLiteral("cat.jpg");
    in.folder = QStringLiteral("/");
    const SequenceFormat format(in.sequenceField);
    in.option = NamingOption::PreName;
    EXPECT_EQ(BuildOutputName(RunKind::RenameOrCopy, format, in), QStringLiteral("/Qcat.jpg"));
    in.option = NamingOption::SufSeq;
    EXPECT_THROW(BuildOutputName(RunKind::RenameOrCopy, format, in), NotAnInteger);
}

// In the root folder a path has exactly one separator before the name.
TEST(BuildOutputName, RootFolderJoinsWithOneSeparator)
{
    NamingInputs in;
    in.option = NamingOption::PreName;
    in.qualifier = QStringLiteral("Image");
    in.sourceName = QStringLiteral("a.jpg");
    in.folder = QStringLiteral("/");
    EXPECT_EQ(BuildOutputName(RunKind::RenameOrCopy, SequenceFormat(QStringLiteral("1")), in),
              QStringLiteral("/Imagea.jpg"));
}

TEST(outputTypeOf, ConversionTextAndNoConversion)
{
    struct Case {
        const char* text;
        const char* source;
        FileType expected;
    };
    const Case cases[] = {
        {"jpg", "a.bmp", FileType::Jpg},
        {"gif", "a.bmp", FileType::Gif},
        {"bmp", "a.jpg", FileType::Bmp},
        {"emf", "a.jpg", FileType::Emf},
        {"wmf", "a.jpg", FileType::Wmf},
        {"JPG", "a.jpg", FileType::None},
        {"Jpg", "a.jpg", FileType::None},
        {"png", "a.jpg", FileType::None},
        {"", "a.jpg", FileType::None},
        {"No Conversion", "dog.Bmp", FileType::Bmp},
        {"No Conversion", "a.gif", FileType::Gif},
        {"No Conversion", "c.jpeg", FileType::Jpg},
        {"No Conversion", "p.PNG", FileType::Png},
        {"No Conversion", "w.webp", FileType::Webp},
        {"No Conversion", "t.tiff", FileType::Tiff},
        {"No Conversion", "h.heif", FileType::Heif},
        {"No Conversion", "v.avif", FileType::Avif},
        {"No Conversion", "x.WMF", FileType::Wmf},
        {"No Conversion", "notes.txt", FileType::None},
        {"no conversion", "a.jpg", FileType::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(outputTypeOf(outputTypeFromText(QString::fromLatin1(c.text)), QString::fromLatin1(c.source)),
                  c.expected)
            << c.text << " / " << c.source;
    EXPECT_EQ(extensionOf(FileType::Bmp), QStringLiteral(".bmp"));
    EXPECT_EQ(extensionOf(FileType::Webp), QStringLiteral(".webp"));
    EXPECT_EQ(extensionOf(FileType::None), QString());
}

TEST(NameParts, BaseNameAndTypeText)
{
    EXPECT_EQ(baseNameOf(QStringLiteral("MYPIC1.BMP")), QStringLiteral("MYPIC1"));
    EXPECT_EQ(baseNameOf(QStringLiteral("cat.jpeg")), QStringLiteral("cat"));
    EXPECT_EQ(typeTextOf(QStringLiteral("cat.jpeg")), QStringLiteral("jpeg"));
    EXPECT_EQ(baseNameOf(QStringLiteral("abc")), QStringLiteral("abc"));
    EXPECT_EQ(typeTextOf(QStringLiteral("abc")), QString());
    EXPECT_EQ(baseNameOf(QStringLiteral(".hidden")), QStringLiteral(".hidden"));
    EXPECT_EQ(typeTextOf(QStringLiteral(".hidden")), QString());
    // A folder in front of the name stays with the base name.
    EXPECT_EQ(baseNameOf(QStringLiteral("my.pics/a.jpg")), QStringLiteral("my.pics/a"));
    EXPECT_EQ(typeTextOf(QStringLiteral("my.pics/readme")), QString());
}

TEST(NamingOptionFromIndex, OnlyTheFourItems)
{
    EXPECT_EQ(namingOptionFromIndex(2), NamingOption::SufSeq);
    EXPECT_FALSE(namingOptionFromIndex(-1));
    EXPECT_FALSE(namingOptionFromIndex(4));
}

}  // namespace
}  // namespace tessaly
