#include "gallery/pagebuilder.h"
#include "support/printers.h"

#include <gtest/gtest.h>
#include <optional>

namespace tessaly {
namespace {

ProcessedFile entry(const char* original, int size, const char* output, int width, int height)
{
    ProcessedFile e;
    e.OriginalPath = QString::fromLatin1(original);
    e.OriginalSize = size;
    e.OutputPath = QString::fromLatin1(output);
    e.Width = width;
    e.Height = height;
    return e;
}

TEST(HtmlColor, TwoUpperCaseDigitsRedGreenBlue)
{
    EXPECT_EQ(HtmlColor(storedColor(255, 255, 255)), QStringLiteral("FFFFFF"));
    EXPECT_EQ(HtmlColor(storedColor(160, 160, 160)), QStringLiteral("A0A0A0"));
    EXPECT_EQ(HtmlColor(storedColor(255, 0, 0)), QStringLiteral("FF0000"));
    EXPECT_EQ(HtmlColor(storedColor(0, 0, 10)), QStringLiteral("00000A"));
    EXPECT_EQ(HtmlColor(storedColor(1, 2, 171)), QStringLiteral("0102AB"));
}

TEST(PageNames, BaseNameAndPagePaths)
{
    EXPECT_EQ(PageBaseName(QStringLiteral("MyWeb.htm")), QStringLiteral("MyWeb"));
    EXPECT_EQ(PageBaseName(QStringLiteral("MyWeb.html")), QStringLiteral("MyWeb"));
    EXPECT_EQ(PageBaseName(QStringLiteral("a.htm.htm")), QStringLiteral("a"));
    EXPECT_EQ(pagePath(QStringLiteral("/web"), QStringLiteral("MyWeb.html"), 1), QStringLiteral("/web/MyWeb.html"));
    EXPECT_EQ(pagePath(QStringLiteral("/web"), QStringLiteral("MyWeb.html"), 2), QStringLiteral("/web/MyWeb_1.htm"));
    EXPECT_EQ(pagePath(QStringLiteral("/"), QStringLiteral("MyWeb.htm"), 3), QStringLiteral("/MyWeb_2.htm"));
}

// The worked example: defaults, prefixes ../Pics/ and ../Thumbs/.
TEST(ThumbnailLink, WorkedExampleByteForByte)
{
    GalleryOptions o;
    o.OriginalLinkPrefix = QStringLiteral("../Pics/");
    o.ThumbLinkPrefix = QStringLiteral("../Thumbs/");
    const ProcessedFile cat = entry("/Pics/cat.jpg", 812, "/Thumbs/tcat.jpg", 96, 72);
    EXPECT_EQ(
        ThumbnailLink(o, cat, LinkTarget(o)),
        QStringLiteral("<A TARGET=\"_self\" HREF=\"../Pics/cat.jpg\"><IMG BORDER=\"1\" SRC=\"../Thumbs/tcat.jpg\" "
                       "Width=\"96\" Height=\"72\" ALT=\"cat.jpg (812 bytes)\"></A><P><A TARGET=\"_self\" "
                       "HREF=\"../Pics/cat.jpg\">cat.jpg</A></P>"));
}

// Every optional piece: no stats ends in a blank, no border writes 0, no
// link means no caption, heights of 0 or -1 write no size.
TEST(ThumbnailLink, OptionalPieces)
{
    GalleryOptions o;
    o.OriginalLinkPrefix.clear();
    o.ThumbLinkPrefix.clear();
    o.LinkStats = false;
    o.LinkBorder = false;
    o.LinkOriginal = false;
    EXPECT_EQ(ThumbnailLink(o, entry("/p/a.jpg", 5, "/t/b.jpg", 10, 0), LinkTarget(o)),
              QStringLiteral("<IMG BORDER=\"0\" SRC=\"b.jpg\" >"));
    EXPECT_EQ(ThumbnailLink(o, entry("/p/a.jpg", 5, "/t/b.jpg", -1, -1), LinkTarget(o)),
              QStringLiteral("<IMG BORDER=\"0\" SRC=\"b.jpg\" >"));
    o.LinkOriginal = true;
    o.LinkName = false;
    o.WindowOpt = WindowOption::NewWindow;
    EXPECT_EQ(ThumbnailLink(o, entry("/p/a.jpg", 5, "/t/b.jpg", 3, 4), LinkTarget(o)),
              QStringLiteral("<A TARGET=\"_blank\" HREF=\"a.jpg\"><IMG BORDER=\"0\" SRC=\"b.jpg\" Width=\"3\" "
                             "Height=\"4\" ></A>"));
    EXPECT_EQ(ThumbnailLink(o, entry("/p/a.jpg", 5, "/t/b.jpg", 3, 4), QString()),
              QStringLiteral("<A HREF=\"a.jpg\"><IMG BORDER=\"0\" SRC=\"b.jpg\" Width=\"3\" Height=\"4\" ></A>"));
}

// Names that would break their link or the markup are escaped where they
// stand in an address or attribute; ordinary names stay as they are.
TEST(ThumbnailLink, UnusualNamesAreEscaped)
{
    GalleryOptions o;
    o.OriginalLinkPrefix = QStringLiteral("pics/");
    o.ThumbLinkPrefix = QStringLiteral("thumbs/");
    const ProcessedFile odd = entry("/p/My \"best\" <cat> & #1 100%.jpg", 9, "/t/Thumb a&b.jpg", 0, 0);
    EXPECT_EQ(
        ThumbnailLink(o, odd, LinkTarget(o)),
        QStringLiteral("<A TARGET=\"_self\" HREF=\"pics/My%20%22best%22%20%3Ccat%3E%20%26%20%231%20100%25.jpg\">"
                       "<IMG BORDER=\"1\" SRC=\"thumbs/Thumb%20a%26b.jpg\" "
                       "ALT=\"My &quot;best&quot; &lt;cat&gt; &amp; #1 100%.jpg (9 bytes)\"></A><P><A TARGET=\"_self\" "
                       "HREF=\"pics/My%20%22best%22%20%3Ccat%3E%20%26%20%231%20100%25.jpg\">"
                       "My &quot;best&quot; &lt;cat&gt; &amp; #1 100%.jpg</A></P>"));
    EXPECT_EQ(urlName(QStringLiteral("Image_001-a.B.jpg")), QStringLiteral("Image_001-a.B.jpg"));
    EXPECT_EQ(urlName(QStringLiteral("it's.jpg")), QStringLiteral("it%27s.jpg"));
    EXPECT_EQ(urlName(QStringLiteral("café.jpg")), QStringLiteral("caf%C3%A9.jpg"));
}

TEST(TableTag, OptionalAttributes)
{
    GalleryOptions o;
    EXPECT_EQ(TableTag(o, o.TableBkgd),
              QStringLiteral("<TABLE BORDER=\"1\" CELLSPACING=\"2\" CELLPADDING=\"2\" WIDTH=\"0%\" ALIGN=\"Center\" "
                             "BGCOLOR=\"#A0A0A0\">\r\n"));
    o.CellSpace.clear();
    o.CellPad.clear();
    o.TableWidth.clear();
    o.BorderSize.clear();
    o.UseBkgdColor = false;
    EXPECT_EQ(TableTag(o, o.TableBkgd), QStringLiteral("<TABLE BORDER=\"\" WIDTH=\"%\" ALIGN=\"Center\">\r\n"));
}

TEST(NavButtons, FirstMiddleAndLastPages)
{
    const QString name = QStringLiteral("MyWeb.html");
    EXPECT_EQ(NavButtons(name, 1, true), QString());
    EXPECT_EQ(NavButtons(name, 1, false),
              QStringLiteral("<CENTER>\r\n<FORM>\r\n<INPUT TYPE=\"BUTTON\" VALUE=\"Next\" "
                             "onClick=\"window.location.href='MyWeb_1.htm'\">\r\n</FORM>\r\n</CENTER>\r\n"));
    EXPECT_EQ(NavButtons(name, 2, false),
              QStringLiteral("<CENTER>\r\n<FORM>\r\n<INPUT TYPE=\"BUTTON\" VALUE=\"Prev\" "
                             "onClick=\"window.location.href='MyWeb.html'\">\r\n<INPUT TYPE=\"BUTTON\" VALUE=\"Next\" "
                             "onClick=\"window.location.href='MyWeb_2.htm'\">\r\n</FORM>\r\n</CENTER>\r\n"));
    EXPECT_EQ(NavButtons(name, 3, true),
              QStringLiteral("<CENTER>\r\n<FORM>\r\n<INPUT TYPE=\"BUTTON\" VALUE=\"Prev\" "
                             "onClick=\"window.location.href='MyWeb_1.htm'\">\r\n</FORM>\r\n</CENTER>\r\n"));
}

TEST(PageHeadAndFoot, BannerColoursAndHeading)
{
    GalleryOptions o;
    o.BannerHeadSize = 2;
    o.BannerText = storedColor(0, 0, 10);
    o.PageBkgd = storedColor(255, 0, 0);
    EXPECT_EQ(
        PageHead(o),
        QStringLiteral("<!DOCTYPE HTML PUBLIC \"Quorvane 2001\">\r\n<HTML>\r\n<HEAD>\r\n<TITLE>Tessaly</TITLE>\r\n"
                       "<META NAME=\"GENERATOR\" CONTENT=\"Quorvane Tessaly\">\r\n</HEAD>\r\n"
                       "<BODY bgcolor=\"#FF0000\" TEXT=\"#000000\">\r\n"
                       "<H3 align=\"center\"><FONT color=\"#00000A\">Tessaly</FONT></H3>\r\n<P align=\"center\">\r\n"));
    EXPECT_EQ(PageFoot(), QStringLiteral("</P>\r\n</BODY>\r\n</HTML>"));
}

// Guards the page's links: folder parts of addresses are encoded as file names
// are, and a folder name cannot put markup into the page; ordinary names stay.
TEST(PageBuilder, AddressPrefixesAreEncoded)
{
    struct Case {
        std::optional<LinkMode> mode;
        const char* prefix;
        const char* expected;
    };
    const Case cases[] = {
        {LinkMode::Relative, "../thumbs/", "../thumbs/"},
        {LinkMode::Relative, "", ""},
        {LinkMode::Relative, "t#h/", "t%23h/"},
        {LinkMode::Relative, "../src\"><img src=x onerror=alert(1)>/",
         "../src%22%3E%3Cimg%20src%3Dx%20onerror%3Dalert%281%29%3E/"},
        {LinkMode::Local, "file:///home/ann/pics/", "file:///home/ann/pics/"},
        {LinkMode::Local, "file:///home/ann/my pics/", "file:///home/ann/my pics/"},
        {LinkMode::Local, "file:///tmp/src\"><img>/", "file:///tmp/src%22%3E%3Cimg%3E/"},
        {LinkMode::Explicit, "http://example.com/pics/", "http://example.com/pics/"},
        {LinkMode::Explicit, "http://example.com/a?b=c&d=", "http://example.com/a?b=c&d="},
        {LinkMode::Explicit, "x\");alert(1);//", "x%22);alert(1);//"},
        {LinkMode::Explicit, "t#h/", "t%23h/"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(addressPrefix(c.mode, QString::fromUtf8(c.prefix)), QString::fromUtf8(c.expected)) << c.prefix;
}

}  // namespace
}  // namespace tessaly
