#include "settings/gallerysettings.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

// The gallery keys go out in the dialog's save order and come back the same.
TEST(GallerySettings, SaveOrderAndRoundTrip)
{
    testing::TempFolder temp;
    const IniFile file(temp.path() + QStringLiteral("/g.ini"));
    GalleryOptions options;
    options.Columns = QStringLiteral("7");
    options.UseFrames = true;
    options.TableBkgd = storedColor(1, 2, 3);
    writeGalleryOptions(file, options);
    const QByteArray text = testing::readAll(file.path());
    EXPECT_TRUE(
        text.startsWith("[Linking]\nOriginalLinkOpt=2\nLinkOriginal=1\nThumbLinkOpt=2\nLinkName=1\n\n"
                        "[Layout]\nWindowOpt=0\nLinkBorderSize=1\nLinkBorder=1\nLinkStats=1\nBannerString=Tessaly\n"
                        "BannerHeadSize=0\nThmPerPage=25\nMultiPg=1\nNavBtns=2\nUseNavBtns=1\nUseFrames=1\n"
                        "TileBkgd=0\nSampleText=0\n\n[Colors]\nPageBkgd=16777215\nText=0\nBannerText=0\n"
                        "TableBkgd=197121\nCellBkgd=16777215\n\n[Tables]\nColumns=7\n"));
    const GalleryOptions back = readGalleryOptions(file);
    EXPECT_EQ(back.Columns, QStringLiteral("7"));
    EXPECT_TRUE(back.UseFrames);
    EXPECT_EQ(back.TableBkgd, storedColor(1, 2, 3));
}

// Some flags count only the value 1, others any value but 0; choices are
// clamped; a navigation value outside 0 to 2 changes nothing.
TEST(GallerySettings, ReadingRules)
{
    testing::TempFolder temp;
    const QString path =
        temp.write(QStringLiteral("g.ini"), "[Linking]\nLinkOriginal=2\nOriginalLinkOpt=9\nThumbLinkOpt=-3\n"
                                            "[Tables]\nUseCellColor=2\nUseTables=abc\n"
                                            "[Layout]\nUseFrames=5\nNavBtns=7\nBannerHeadSize=4\n");
    GalleryOptions current;
    current.NavBtns = NavButtons::Bottom;
    const GalleryOptions o = readGalleryOptions(IniFile(path), current);
    EXPECT_FALSE(o.LinkOriginal);
    EXPECT_EQ(o.OriginalLinkOpt, LinkMode::Generic);
    EXPECT_EQ(o.ThumbLinkOpt, std::nullopt);
    EXPECT_TRUE(o.UseCellColor);
    EXPECT_TRUE(o.UseTables);  // not a number: the default 1
    EXPECT_TRUE(o.UseFrames);
    EXPECT_EQ(o.NavBtns, NavButtons::Bottom);

    // A choice with nothing selected is written as -1 and read back as none.
    const IniFile copy(temp.path() + QStringLiteral("/copy.ini"));
    writeGalleryOptions(copy, o);
    EXPECT_EQ(copy.readInteger(QStringLiteral("Linking"), QStringLiteral("ThumbLinkOpt"), 0), -1);
    EXPECT_EQ(readGalleryOptions(copy).ThumbLinkOpt, std::nullopt);
    EXPECT_EQ(readGalleryOptions(copy).OriginalLinkOpt, LinkMode::Generic);
    EXPECT_EQ(o.BannerHeadSize, 2);
    EXPECT_EQ(o.Columns, QStringLiteral("5"));
}

// The responsive page's key appears only once the page has been turned on,
// then stays to record turning it off again.
TEST(GallerySettings, ResponsiveKeyOnlyOnceTurnedOn)
{
    testing::TempFolder temp;
    const IniFile file(temp.path() + QStringLiteral("/g.ini"));
    GalleryOptions options;
    writeGalleryOptions(file, options);
    EXPECT_FALSE(testing::readAll(file.path()).contains("Responsive"));
    EXPECT_FALSE(readGalleryOptions(file).Responsive);

    options.Responsive = true;
    writeGalleryOptions(file, options);
    EXPECT_TRUE(testing::readAll(file.path()).contains("SampleText=0\nResponsive=1\n"));
    EXPECT_TRUE(readGalleryOptions(file).Responsive);

    options.Responsive = false;
    writeGalleryOptions(file, options);
    EXPECT_TRUE(testing::readAll(file.path()).contains("Responsive=0\n"));
    EXPECT_FALSE(readGalleryOptions(file).Responsive);
}

}  // namespace
}  // namespace tessaly
