#include "gallery/gallerywriter.h"
#include "gallery/linkreference.h"
#include "support/browsercheck.h"
#include "support/tempfolder.h"
#include "support/testpictures.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace tessaly {
namespace {

// Galleries of every layout open in a real browser with every thumbnail and
// every linked picture found, the file names with spaces and quotes too.
TEST(GalleryInBrowser, EveryPictureAndLinkResolves)
{
    const QString browser = testing::chromium();
    if (browser.isEmpty())
        GTEST_SKIP() << "Chromium is not installed; the browser check is skipped";

    testing::TempFolder root;
    const QString pics = root.makeFolder(QStringLiteral("pics"));
    const QString thumbs = root.makeFolder(QStringLiteral("thumbs"));
    const QString web = root.makeFolder(QStringLiteral("web"));
    GalleryInput in;
    for (const char* name : {"sunset.jpg", "my \"best\" #1 & co 100%.jpg", "beach.bmp"}) {
        ProcessedFile e;
        e.OriginalPath = testing::writePicture(pics + u'/' + QString::fromUtf8(name), 120, 80);
        e.OriginalSize = int(QFileInfo(e.OriginalPath).size());
        e.OutputPath = testing::writePicture(
            thumbs + QStringLiteral("/t ") + QString::fromUtf8(name) + QStringLiteral(".jpg"), 96, 64);
        e.Width = 96;
        e.Height = 64;
        in.entries.push_back(e);
    }
    in.options.OriginalLinkPrefix = RelativeReference(web, pics + u'/');
    in.options.ThumbLinkPrefix = RelativeReference(web, thumbs + u'/');
    in.htmlFolder = web;
    in.maxThumbSize = 96;

    // What the first page shows: the table page holds two of the three
    // pictures (two a page), each linked twice (picture and caption); the
    // plain page all three, linked once; the frames all three.
    struct Layout {
        const char* page;
        bool tables, frames, tile;
        const char* expected;
    };
    for (const Layout& layout :
         {Layout{"table.htm", true, false, false, "RESULT images=2 links=4 broken=0 tiled=none"},
          Layout{"plain.htm", false, false, false, "RESULT images=3 links=3 broken=0 tiled=none"},
          Layout{"frames.htm", true, true, false, "RESULT images=3 links=6 broken=0 tiled=none"},
          Layout{"tiles.htm", true, true, true, "RESULT images=3 links=0 broken=0 tiled=ok"}}) {
        in.pageName = QString::fromLatin1(layout.page);
        in.options.UseTables = layout.tables;
        in.options.UseFrames = layout.frames;
        in.options.TileBkgd = layout.tile;
        in.options.ThmPerPage = QStringLiteral("2");
        FilePageSink sink;
        writeGallery(in, sink);
        EXPECT_EQ(testing::checkInBrowser(browser, web, in.pageName), QString::fromLatin1(layout.expected))
            << layout.page;
    }
}

// The responsive page at a phone's width and a desktop's: nothing scrolls
// sideways, several thumbnails share a row, and the viewer opens on a
// click, moves with the arrow keys and swipes (past the end of the page
// too), keeps
// Tab inside, shows the screen-size copy, and closes with Escape, giving
// the focus back to the thumbnail (on the page of the picture last shown).
TEST(GalleryInBrowser, ResponsivePageAndViewer)
{
    const QString browser = testing::chromium();
    if (browser.isEmpty())
        GTEST_SKIP() << "Chromium is not installed; the browser check is skipped";

    testing::TempFolder root;
    const QString pics = root.makeFolder(QStringLiteral("pics"));
    const QString thumbs = root.makeFolder(QStringLiteral("thumbs"));
    const QString web = root.makeFolder(QStringLiteral("web"));
    GalleryInput in;
    for (int i = 1; i <= 7; ++i) {
        ProcessedFile e;
        const bool large = i == 2;
        e.OriginalPath =
            testing::writePicture(pics + QStringLiteral("/photo %1.jpg").arg(i), large ? 2100 : 120, large ? 1400 : 80);
        e.OutputPath = testing::writePicture(thumbs + QStringLiteral("/t%1.jpg").arg(i), 96, 64);
        e.Width = 96;
        e.Height = 64;
        in.entries.push_back(e);
    }
    in.options.Responsive = true;
    in.options.ThmPerPage = QStringLiteral("5");
    in.options.OriginalLinkPrefix = RelativeReference(web, pics + u'/');
    in.options.ThumbLinkPrefix = RelativeReference(web, thumbs + u'/');
    in.htmlFolder = web;
    in.pageName = QStringLiteral("index.htm");
    FilePageSink sink;
    writeGallery(in, sink);
    ASSERT_TRUE(QFile::exists(web + QStringLiteral("/index_screen/photo 2.jpg")));

    const QString viewer = QStringLiteral("images=5 broken=0 dialog=dialog/true open=1/7 next=2/7 back=1/7 "
                                          "swiped=2/7,1/7 shown=ok trapped=yes closed=yes focus=yes outside=yes "
                                          "across=6/7 landed=picture-6");
    EXPECT_EQ(testing::checkResponsiveInBrowser(browser, web, in.pageName, 320),
              QStringLiteral("RESULT overflow=0 perRow=3 ") + viewer);
    EXPECT_EQ(testing::checkResponsiveInBrowser(browser, web, in.pageName, 1280),
              QStringLiteral("RESULT overflow=0 perRow=5 ") + viewer);
}

}  // namespace
}  // namespace tessaly
