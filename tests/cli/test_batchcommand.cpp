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
    ASSERT_TRUE(good.command);
    const BatchCommand& c = *good.command;
    EXPECT_EQ(c.mode, BatchMode::Thumbs);
    EXPECT_EQ(c.naming, NamingOption::SufName);
    EXPECT_EQ(c.qualifier, QStringLiteral("Q"));
    EXPECT_EQ(c.sequence, QStringLiteral("01"));
    EXPECT_EQ(c.width, QStringLiteral("120"));
    EXPECT_EQ(c.height, QStringLiteral("80"));
    EXPECT_TRUE(c.keepRatio && c.forceWidth && c.fast && c.noOverwrite && c.quiet);
    EXPECT_EQ(c.type, OutputType::NoConversion);
    EXPECT_EQ(c.quality, 55);
    EXPECT_EQ(c.inputs, (QStringList{QStringLiteral("a.jpg"), QStringLiteral("b.jpg")}));
    EXPECT_EQ(parseBatchArguments(words("thumbs --size 150 x.jpg")).command->height, QStringLiteral("150"));
    EXPECT_TRUE(parseBatchArguments(words("--help")).help);

    for (const char* bad : {"", "shrink a.jpg", "thumbs --naming Prefix a.jpg", "thumbs --type png a.jpg",
                            "thumbs --quality 5 a.jpg", "thumbs --size 10x a.jpg", "thumbs --bogus a.jpg",
                            "thumbs --out", "convert --type none a.jpg", "thumbs --html out.txt a.jpg"}) {
        const ParsedArguments parsed = parseBatchArguments(words(bad));
        EXPECT_FALSE(parsed.command) << bad;
        EXPECT_FALSE(parsed.error.isEmpty()) << bad;
    }
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
    EXPECT_EQ(fromFolder.names, (QStringList{QStringLiteral("a.gif"), QStringLiteral("B.jpg"), QStringLiteral("C.bmp")}));
    const SourceFiles fromFiles = resolveSourceFiles(
        {a.path() + QStringLiteral("/C.bmp"), a.path() + QStringLiteral("/a.gif"), a.path() + QStringLiteral("/a.gif")},
        QStringLiteral("*.*"));
    EXPECT_EQ(fromFiles.names, (QStringList{QStringLiteral("a.gif"), QStringLiteral("C.bmp")}));
    EXPECT_FALSE(resolveSourceFiles({a.path(), b.path() + QStringLiteral("/x.jpg")}, QStringLiteral("*.*")).error.isEmpty());
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

}  // namespace
}  // namespace tessaly
