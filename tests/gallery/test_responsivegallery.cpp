#include "gallery/gallerystyle.h"
#include "gallery/gallerywriter.h"
#include "gallery/pagebuilder.h"
#include "gallery/responsivepage.h"
#include "imaging/codecs/jpegcodec.h"
#include "imaging/encoders.h"
#include "support/exifsegment.h"
#include "support/tempfolder.h"
#include "support/testpictures.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <gtest/gtest.h>
#include <map>

namespace tessaly {
namespace {

using testing::TempFolder;

// Keeps the pages in memory, the first one marked.
class RecordingSink final : public PageSink {
public:
    void saveFirstPage(const QString& path, const QString& text) override
    {
        first = path;
        pages[path] = text;
    }
    void savePage(const QString& path, const QString& text) override { pages[path] = text; }
    QString first;
    std::map<QString, QString> pages;
};

// Three pictures whose originals are not on disk (so no screen-size copies),
// names that need encoding and escaping, one without a known size.
GalleryInput fixedSet(const QString& folder)
{
    GalleryInput in;
    in.options.Responsive = true;
    in.options.OriginalLinkPrefix = QStringLiteral("../pics/");
    in.options.ThumbLinkPrefix = QStringLiteral("../thumbs/");
    in.options.ThmPerPage = QStringLiteral("2");
    in.options.BannerString = QStringLiteral("Summer <2024> & more");
    const char* names[] = {"alps.jpg", "my \"best\" #1.jpg", "sea.png"};
    for (int i = 0; i < 3; ++i) {
        ProcessedFile e;
        e.OriginalPath = QStringLiteral("/nowhere/pics/") + QString::fromUtf8(names[i]);
        e.OutputPath = QStringLiteral("/nowhere/thumbs/Thumb%1.jpg").arg(i + 1, 3, 10, QLatin1Char('0'));
        e.OriginalSize = 1000 * (i + 1);
        e.Width = i == 2 ? -1 : 96;
        e.Height = i == 2 ? -1 : 64;
        in.entries.push_back(e);
    }
    in.htmlFolder = folder;
    in.pageName = QStringLiteral("index.htm");
    return in;
}

QString golden(const char* name)
{
    return QString::fromUtf8(testing::readAll(QStringLiteral(TESSALY_TEST_DATA "/gallery/") + QLatin1String(name)));
}

// The two pages of a small fixed set, byte for byte: HTML5 with the style
// and the viewer inline, thumbnails that link to their pictures with their
// sizes, lazy loading and alt text, Prev and Next, and the list of every
// picture for the viewer.
TEST(ResponsiveGallery, GoldenPages)
{
    TempFolder folder;
    RecordingSink sink;
    const GalleryInput in = fixedSet(folder.path());
    const GalleryResult result = writeGallery(in, sink);
    const QString first = folder.path() + QStringLiteral("/index.htm");
    const QString second = folder.path() + QStringLiteral("/index_1.htm");
    EXPECT_EQ(sink.first, first);
    EXPECT_EQ(result.shownPath, first);
    EXPECT_EQ(result.pagesWritten, 2);
    ASSERT_EQ(sink.pages.size(), 2u);
    EXPECT_EQ(sink.pages[first], golden("responsive-index.htm"));
    EXPECT_EQ(sink.pages[second], golden("responsive-index_1.htm"));
    EXPECT_EQ(result.shownText, sink.pages[first]);
    EXPECT_FALSE(QDir(folder.path() + QStringLiteral("/index_screen")).exists());
}

// Pages split as the options say; Prev and Next stand where the buttons
// are asked for, and never on a single page.
TEST(ResponsiveGallery, PagesAndNavigation)
{
    struct Row {
        int count;
        bool multiPage;
        const char* perPage;
        bool buttons;
        enum NavButtons placement;
        int pages;
        int navsOnFirst;
    };
    const Row rows[] = {
        {3, true, "2", true, NavButtons::Both, 2, 2},  {3, true, "2", true, NavButtons::Top, 2, 1},
        {3, true, "2", false, NavButtons::Both, 2, 0}, {4, true, "2", true, NavButtons::Both, 2, 2},
        {2, true, "2", true, NavButtons::Both, 1, 0},  {5, false, "2", true, NavButtons::Both, 1, 0},
        {0, true, "25", true, NavButtons::Both, 1, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.count << " pictures, " << row.perPage << " a page");
        TempFolder folder;
        GalleryInput in = fixedSet(folder.path());
        in.entries.resize(std::size_t(row.count), in.entries.front());
        in.options.MultiPg = row.multiPage;
        in.options.ThmPerPage = QString::fromLatin1(row.perPage);
        in.options.UseNavBtns = row.buttons;
        in.options.NavBtns = row.placement;
        RecordingSink sink;
        EXPECT_EQ(writeGallery(in, sink).pagesWritten, row.pages);
        const QString text = sink.pages[sink.first];
        EXPECT_EQ(text.count(QLatin1String("<nav class=\"pages\"")), row.navsOnFirst);
        EXPECT_EQ(text.count(QLatin1String("<li>")), std::min(row.count, row.multiPage ? 2 : row.count));
        // The viewer knows every picture, whichever page it is on.
        EXPECT_EQ(text.count(QLatin1String("{\"c\":")), row.count);
    }
}

// The page follows the reader's light or dark preference until the page,
// text or banner colour is chosen in the dialog; then it shows those.
TEST(ResponsiveGallery, ColoursFollowTheSchemeUnlessChosen)
{
    struct Row {
        const char* what;
        StoredColor page, text, banner;
        bool follows;
    };
    const Row rows[] = {
        {"defaults", storedColor(255, 255, 255), 0, 0, true},
        {"page colour", storedColor(0, 0, 64), 0, 0, false},
        {"text colour", storedColor(255, 255, 255), storedColor(1, 2, 3), 0, false},
        {"banner colour", storedColor(255, 255, 255), 0, storedColor(255, 0, 0), false},
    };
    for (const Row& row : rows) {
        GalleryOptions o;
        o.PageBkgd = row.page;
        o.Text = row.text;
        o.BannerText = row.banner;
        EXPECT_EQ(followsColorScheme(o), row.follows) << row.what;
        const QString page = buildResponsivePage(o, QStringLiteral("a.htm"), {}, 1, 1);
        EXPECT_EQ(page.contains(QLatin1String("prefers-color-scheme:dark")), row.follows) << row.what;
        if (!row.follows) {
            EXPECT_TRUE(page.contains(QStringLiteral("--bg:#%1;--fg:#%2;--banner:#%3")
                                          .arg(HtmlColor(row.page), HtmlColor(row.text), HtmlColor(row.banner))))
                << row.what;
        }
    }
}

// Each picture longer than 2048 pixels gets an upright 2048-pixel JPEG in
// the folder beside the page, which the viewer shows; smaller or unreadable
// pictures are shown as they are. A copy newer than its picture is kept.
// The viewer's caption gets the date taken and the camera.
TEST(ResponsiveGallery, ScreenCopiesOfLargePictures)
{
    TempFolder folder;
    const QString pics = folder.makeFolder(QStringLiteral("pics"));
    const QString web = folder.makeFolder(QStringLiteral("web"));
    JpegOutput jpeg;
    Bitmap wide;
    wide.resize(2100, 1000);
    jpeg.assign(wide);
    // Stored on its side (orientation 6): upright it is 1000 by 2100.
    const QByteArray exif = testing::exifSegment({{0x0110, QByteArray("Snap 7", 7)}, {0x0112, {}, 6}, {0x8769, {}}},
                                                 {{0x9003, QByteArray("2024:05:01 14:03:22", 20)}});
    const QString big = folder.write(QStringLiteral("pics/big.jpg"), testing::withSegment(jpeg.fileBytes(), exif));
    const QString square = testing::writePicture(pics + QStringLiteral("/square.png"), 2048, 2048);
    const QString broken = folder.write(QStringLiteral("pics/broken.jpg"), "not a picture");
    GalleryInput in = fixedSet(web);
    in.options.OriginalLinkPrefix = QStringLiteral("../pics/");
    in.entries.resize(3);
    in.entries[0].OriginalPath = big;
    in.entries[1].OriginalPath = square;
    in.entries[2].OriginalPath = broken;
    in.options.MultiPg = false;

    RecordingSink sink;
    writeGallery(in, sink);
    const QString copy = web + QStringLiteral("/index_screen/big.jpg");
    EXPECT_EQ(QImageReader(copy).size(), QSize(975, 2048));
    EXPECT_EQ(QDir(web + QStringLiteral("/index_screen")).entryList(QDir::Files),
              QStringList{QStringLiteral("big.jpg")});
    const QString page = sink.pages[sink.first];
    EXPECT_TRUE(page.contains(QLatin1String("href=\"index_screen/big.jpg\"")));
    EXPECT_TRUE(page.contains(
        QLatin1String("{\"c\":\"Snap 7\",\"d\":\"2024-05-01 14:03\",\"n\":\"big.jpg\",\"o\":\"../pics/big.jpg\"")));
    EXPECT_TRUE(page.contains(QLatin1String("href=\"../pics/square.png\"")));
    EXPECT_TRUE(page.contains(QLatin1String("href=\"../pics/broken.jpg\"")));

    // Written again: the copy is newer than its picture and stays as it is.
    QFile marker(copy);
    ASSERT_TRUE(marker.open(QIODevice::Append));
    marker.write("kept");
    marker.close();
    writeGallery(in, sink);
    EXPECT_TRUE(testing::readAll(copy).endsWith("kept"));
}

// Options the page cannot use stop it before anything is written, with a
// message; so does a screen-size folder that cannot be made.
TEST(ResponsiveGallery, FailuresAreReportedAndWriteNothing)
{
    struct Row {
        const char* what;
        std::function<void(GalleryInput&)> spoil;
        const char* message;
    };
    TempFolder folder;
    const QString pics = folder.makeFolder(QStringLiteral("pics"));
    const QString big = testing::writePicture(pics + QStringLiteral("/big.jpg"), 2100, 50);
    const Row rows[] = {
        {"border", [](GalleryInput& in) { in.options.LinkBorderSize = QStringLiteral("1px"); },
         "'1px' is not a valid integer value"},
        {"per page", [](GalleryInput& in) { in.options.ThmPerPage = QStringLiteral("0"); },
         "The number of thumbnails per page must be at least 1."},
        {"screen folder",
         [&](GalleryInput& in) {
             in.entries[0].OriginalPath = big;
             QFile file(in.htmlFolder + QStringLiteral("/index_screen"));
             ASSERT_TRUE(file.open(QIODevice::WriteOnly));
         },
         "Cannot make the folder"},
    };
    for (const Row& row : rows) {
        TempFolder web;
        GalleryInput in = fixedSet(web.path());
        row.spoil(in);
        RecordingSink sink;
        try {
            writeGallery(in, sink);
            ADD_FAILURE() << row.what << " was accepted";
        } catch (const GalleryError& error) {
            EXPECT_TRUE(error.message().startsWith(QLatin1String(row.message)))
                << row.what << ": " << error.message().toStdString();
        }
        EXPECT_TRUE(sink.pages.empty()) << row.what;
    }
}

// The command line's styles set the options as the dialog's boxes would.
TEST(GalleryStyles, WordsChooseTheWriter)
{
    struct Row {
        const char* word;
        bool responsive, tables, frames;
    };
    for (const Row& row : {Row{"responsive", true, false, false}, Row{"table", false, true, false},
                           Row{"plain", false, false, false}, Row{"frames", false, true, true}}) {
        GalleryOptions o;
        o.UseTables = false;
        o.LinkOriginal = false;
        o.Responsive = !row.responsive;
        const auto style = galleryStyleFromWord(QString::fromLatin1(row.word));
        ASSERT_TRUE(style) << row.word;
        applyGalleryStyle(o, *style);
        EXPECT_EQ(o.Responsive, row.responsive) << row.word;
        EXPECT_EQ(o.UseFrames, row.frames) << row.word;
        if (!row.responsive) {
            EXPECT_EQ(o.UseTables, row.tables) << row.word;
        }
        EXPECT_EQ(o.LinkOriginal, row.frames) << row.word;
    }
    EXPECT_FALSE(galleryStyleFromWord(QStringLiteral("Responsive")));
    EXPECT_FALSE(galleryStyleFromWord(QString()));
}

}  // namespace
}  // namespace tessaly
