#include "cli/batchcommand.h"
#include "support/printers.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

QStringList words(const char* text)
{
    return QString::fromLatin1(text).split(u' ', Qt::SkipEmptyParts);
}

// Options are read as given; mistakes are bad usage with a clear message.
TEST(BatchArguments, OptionsAndUsageErrors)
{
    const ParsedArguments good = parseBatchArguments(
        words("thumbs --naming SufName --qualifier Q --seq 01 --size 120x80 --keep-ratio --force-width --fast "
              "--type none --quality 55 --no-overwrite --quiet a.jpg b.jpg"));
    ASSERT_TRUE(good.command) << good.error.toStdString();
    const BatchCommand& c = *good.command;
    EXPECT_EQ(c.mode, BatchMode::Thumbs);
    EXPECT_EQ(c.naming, NamingOption::SufName);
    EXPECT_EQ(c.qualifier, QStringLiteral("Q"));
    EXPECT_EQ(c.sequence, QStringLiteral("01"));
    EXPECT_EQ(c.width, QStringLiteral("120"));
    EXPECT_EQ(c.height, QStringLiteral("80"));
    EXPECT_TRUE(c.exactSize);
    EXPECT_EQ(c.keepRatio, true);
    EXPECT_EQ(c.force, ForceSide::Width);
    EXPECT_EQ(c.speed, ResizeSpeed::Fast);
    EXPECT_EQ(c.overwrite, false);
    EXPECT_TRUE(c.quiet);
    EXPECT_EQ(c.type, OutputType::NoConversion);
    EXPECT_EQ(c.quality, 55);
    EXPECT_EQ(c.inputs, (QStringList{QStringLiteral("a.jpg"), QStringLiteral("b.jpg")}));
    const BatchCommand square = *parseBatchArguments(words("thumbs --size 150 x.jpg")).command;
    EXPECT_EQ(square.height, QStringLiteral("150"));
    EXPECT_FALSE(square.exactSize);
    EXPECT_FALSE(c.galleryStyle);
    EXPECT_EQ(parseBatchArguments(words("thumbs --gallery-style=frames --html a.htm x.jpg")).command->galleryStyle,
              GalleryStyle::Frames);
    EXPECT_TRUE(parseBatchArguments(words("--help")).help);
    EXPECT_TRUE(parseBatchArguments(words("-h")).help);
    EXPECT_TRUE(parseBatchArguments(words("--version")).version);

    struct Bad {
        const char* arguments;
        const char* error;
    };
    const Bad bad[] = {
        {"", "no mode given"},
        {"shrink a.jpg", "the mode is thumbs, rename, copy or convert, not shrink"},
        {"thumbs --naming Prefix a.jpg", "--naming takes"},
        {"thumbs --type png a.jpg", "--type takes jpg, gif, bmp, emf, wmf or none, not png"},
        {"thumbs --quality 5 a.jpg", "--quality takes a number from 10 to 100, not 5"},
        {"thumbs --size 10x a.jpg", "--size takes W or WxH, not 10x"},
        {"thumbs --bogus a.jpg", "Unknown option 'bogus'."},
        {"thumbs -x a.jpg", "Unknown option 'x'."},
        {"thumbs --out", "Missing value after '--out'."},
        {"convert --type none a.jpg", "convert needs an output type other than none"},
        {"copy --type gif a.jpg", "copy keeps the files as they are; use convert --type gif"},
        {"thumbs --html out.txt a.jpg", "--html takes a page name with .htm"},
        {"thumbs --html a.htm --gallery-style fancy a.jpg",
         "--gallery-style takes responsive, table, plain or frames, not fancy"},
        {"thumbs --gallery-style table a.jpg", "--gallery-style needs --html"},
    };
    for (const Bad& b : bad) {
        const ParsedArguments parsed = parseBatchArguments(words(b.arguments));
        EXPECT_FALSE(parsed.command) << b.arguments;
        EXPECT_TRUE(parsed.error.startsWith(QLatin1String(b.error)))
            << b.arguments << ": " << parsed.error.toStdString();
    }
}

// The usual forms: a value after "=", a value that starts with a dash, "--"
// before file names that start with a dash, and of two opposite options the
// last one given.
TEST(BatchArguments, CommandLineConventions)
{
    const BatchCommand c =
        *parseBatchArguments(QStringList{QStringLiteral("rename"), QStringLiteral("--seq=-01"),
                                         QStringLiteral("--qualifier"), QStringLiteral("-x-"),
                                         QStringLiteral("--keep-ratio"), QStringLiteral("--no-keep-ratio"),
                                         QStringLiteral("--no-overwrite"), QStringLiteral("--overwrite"),
                                         QStringLiteral("--fast"), QStringLiteral("--quality-resize"),
                                         QStringLiteral("--force-width"), QStringLiteral("--no-force"),
                                         QStringLiteral("--"), QStringLiteral("-a.jpg"), QStringLiteral("--b.jpg")})
             .command;
    EXPECT_EQ(c.sequence, QStringLiteral("-01"));
    EXPECT_EQ(c.qualifier, QStringLiteral("-x-"));
    EXPECT_EQ(c.keepRatio, false);
    EXPECT_EQ(c.overwrite, true);
    EXPECT_EQ(c.speed, ResizeSpeed::Quality);
    EXPECT_EQ(c.force, ForceSide::Neither);
    EXPECT_EQ(c.inputs, (QStringList{QStringLiteral("-a.jpg"), QStringLiteral("--b.jpg")}));

    const BatchCommand d =
        *parseBatchArguments(words("thumbs --seq -01 --out=/tmp/x/ --type=gif -q --force-height a")).command;
    EXPECT_EQ(d.sequence, QStringLiteral("-01"));
    EXPECT_EQ(d.out, QStringLiteral("/tmp/x"));
    EXPECT_EQ(d.type, OutputType::Gif);
    EXPECT_TRUE(d.quiet);
    EXPECT_EQ(d.force, ForceSide::Height);
    // Options may also come after the files.
    EXPECT_EQ(parseBatchArguments(words("thumbs a.jpg --fast")).command->speed, ResizeSpeed::Fast);
}

// Files and folders: one folder, names in the window's order, no doubles.
TEST(BatchArguments, SourceFiles)
{
    testing::TempFolder a, b;
    for (const char* name : {"C.bmp", "a.gif", "B.jpg", "notes.txt"})
        a.write(QString::fromLatin1(name));
    b.write(QStringLiteral("x.jpg"));
    const SourceFiles fromFolder = resolveSourceFiles({a.path()}, QStringLiteral("*.jpg;*.gif;*.bmp"));
    EXPECT_EQ(fromFolder.folder, a.path());
    EXPECT_EQ(fromFolder.names,
              (QStringList{QStringLiteral("a.gif"), QStringLiteral("B.jpg"), QStringLiteral("C.bmp")}));
    const SourceFiles fromFiles = resolveSourceFiles(
        {a.path() + QStringLiteral("/C.bmp"), a.path() + QStringLiteral("/a.gif"), a.path() + QStringLiteral("/a.gif")},
        QStringLiteral("*.*"));
    EXPECT_EQ(fromFiles.names, (QStringList{QStringLiteral("a.gif"), QStringLiteral("C.bmp")}));
    EXPECT_FALSE(
        resolveSourceFiles({a.path(), b.path() + QStringLiteral("/x.jpg")}, QStringLiteral("*.*")).error.isEmpty());
    EXPECT_FALSE(resolveSourceFiles({a.path() + QStringLiteral("/gone.jpg")}, QStringLiteral("*.*")).error.isEmpty());
}

// The settings file's values fill in what the command leaves out, read by
// the window's rules.
TEST(BatchArguments, SettingsFillTheRest)
{
    testing::TempFolder temp;
    const IniFile settings(temp.write(QStringLiteral("t.ini"),
                                      "[Thumbnails]\nResize Speed=quality\nThumb Width=150\nMaintain Ratio=2\n"
                                      "Force Width=1\nForce Height=1\nCreate As=gif\nNaming Option=SufName\n"
                                      "Output File Qualifier=_t\nJpg Compression=250\nOverwrite Files=0\n"));
    const BatchCommand thumbs = *parseBatchArguments(words("thumbs x.jpg")).command;
    const CommandJob job(thumbs, settings, QStringLiteral("/in"));
    EXPECT_EQ(job.resizeSpeed(), ResizeSpeed::Fast);
    EXPECT_EQ(job.widthText(), QStringLiteral("150"));
    EXPECT_TRUE(job.keepAspect());
    EXPECT_TRUE(job.forceHeight());
    EXPECT_FALSE(job.forceWidth());
    EXPECT_EQ(job.outputType(), OutputType::Gif);
    EXPECT_EQ(job.naming(), NamingOption::SufName);
    EXPECT_EQ(job.thumbQualifier(), QStringLiteral("_t"));
    EXPECT_EQ(job.jpegQuality(), 100);
    EXPECT_FALSE(job.overwrite());
    EXPECT_EQ(job.outputFolder(), QStringLiteral("/in"));

    const BatchCommand rename = *parseBatchArguments(words("rename x.jpg")).command;
    const CommandJob renameJob(rename, settings, QStringLiteral("/in"));
    EXPECT_EQ(renameJob.imageQualifier(), QStringLiteral("Image"));
    EXPECT_TRUE(renameJob.renameOnly());
    const BatchCommand copy = *parseBatchArguments(words("copy --out /o x.jpg")).command;
    EXPECT_EQ(CommandJob(copy, settings, QStringLiteral("/in")).outputType(), OutputType::NoConversion);
}

// Every setting can be turned either way from the command line, whatever
// the settings file says; an explicit WxH is exactly that size.
TEST(BatchArguments, OverridesBothWays)
{
    testing::TempFolder temp;
    const IniFile on(temp.write(QStringLiteral("on.ini"),
                                "[Thumbnails]\nResize Speed=Quality\nMaintain Ratio=1\nForce Width=1\n"
                                "Create As=No Conversion\nOverwrite Files=1\n"));
    const IniFile off(temp.write(QStringLiteral("off.ini"),
                                 "[Thumbnails]\nResize Speed=Fast\nMaintain Ratio=0\nCreate As=bmp\nOverwrite Files=0\n"
                                 "Turn Upright=0\n"));
    struct Case {
        const IniFile& settings;
        const char* arguments;
        bool keepRatio, forceWidth, forceHeight, overwrite;
        ResizeSpeed speed;
        OutputType type;
        bool autoOrient = true;
    };
    using enum ResizeSpeed;
    const Case cases[] = {
        {on, "thumbs x", true, true, false, true, Quality, OutputType::NoConversion},
        {on, "thumbs --no-keep-ratio --no-overwrite --fast --type jpg x", false, true, false, false, Fast,
         OutputType::Jpg},
        {on, "thumbs --size 120x80 x", false, true, false, true, Quality, OutputType::NoConversion},
        {on, "thumbs --size 120x80 --keep-ratio x", true, true, false, true, Quality, OutputType::NoConversion},
        {on, "thumbs --size 120 x", true, true, false, true, Quality, OutputType::NoConversion},
        {on, "thumbs --no-force x", true, false, false, true, Quality, OutputType::NoConversion},
        {on, "thumbs --force-height x", true, false, true, true, Quality, OutputType::NoConversion},
        {on, "thumbs --no-auto-orient x", true, true, false, true, Quality, OutputType::NoConversion, false},
        {on, "thumbs --no-auto-orient --auto-orient x", true, true, false, true, Quality, OutputType::NoConversion},
        {off, "thumbs x", false, false, false, false, Fast, OutputType::Bmp, false},
        {off, "thumbs --keep-ratio --overwrite --quality-resize --type gif x", true, false, false, true, Quality,
         OutputType::Gif, false},
        {off, "convert --type wmf x", false, false, false, false, Fast, OutputType::Wmf, false},
        {off, "convert --type wmf --auto-orient x", false, false, false, false, Fast, OutputType::Wmf, true},
    };
    for (const Case& c : cases) {
        const ParsedArguments parsed = parseBatchArguments(words(c.arguments));
        ASSERT_TRUE(parsed.command) << c.arguments << ": " << parsed.error.toStdString();
        const CommandJob job(*parsed.command, c.settings, QStringLiteral("/in"));
        EXPECT_EQ(job.keepAspect(), c.keepRatio) << c.arguments;
        EXPECT_EQ(job.forceWidth(), c.forceWidth) << c.arguments;
        EXPECT_EQ(job.forceHeight(), c.forceHeight) << c.arguments;
        EXPECT_EQ(job.overwrite(), c.overwrite) << c.arguments;
        EXPECT_EQ(job.resizeSpeed(), c.speed) << c.arguments;
        EXPECT_EQ(job.outputType(), c.type) << c.arguments;
        EXPECT_EQ(job.autoOrient(), c.autoOrient) << c.arguments;
    }
}

// A conversion with the settings file's "No Conversion" and no --type would
// quietly copy: it is refused; a --type makes it a conversion.
TEST(BatchChecks, ConvertNeedsAnOutputType)
{
    testing::TempFolder temp;
    const IniFile settings(temp.write(QStringLiteral("t.ini"), "[Thumbnails]\nCreate As=No Conversion\n"));
    const QStringList names{QStringLiteral("a.jpg")};
    const BatchCommand bare = *parseBatchArguments(words("convert --out /o a.jpg")).command;
    EXPECT_EQ(checkBatchJob(bare, CommandJob(bare, settings, QStringLiteral("/in")), names),
              QStringLiteral("convert needs an output type: the settings file says No Conversion; give --type"));
    const BatchCommand typed = *parseBatchArguments(words("convert --type gif --out /o a.jpg")).command;
    EXPECT_EQ(checkBatchJob(typed, CommandJob(typed, settings, QStringLiteral("/in")), names), QString());
}

}  // namespace
}  // namespace tessaly
