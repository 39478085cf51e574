#include "gallery/gallerywriter.h"
#include "gallery/pagebuilder.h"
#include "support/tempfolder.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace tessaly {
namespace {

using testing::TempFolder;

// Entries as a thumbnail run makes them: pictures in /pics, thumbnails in
// /thumbs.
ProcessedFileTable entries(int count)
{
    ProcessedFileTable table;
    for (int i = 1; i <= count; ++i) {
        ProcessedFile e;
        e.OriginalPath = QStringLiteral("/pics/p%1.jpg").arg(i);
        e.OriginalSize = 1000 + i;
        e.OutputPath = QStringLiteral("/thumbs/Thumb%1.jpg").arg(i, 3, 10, QLatin1Char('0'));
        e.Width = 96;
        e.Height = 72;
        table.push_back(e);
    }
    return table;
}

GalleryInput input(const TempFolder& folder, int count)
{
    GalleryInput in;
    in.options.OriginalLinkPrefix = QStringLiteral("../pics/");
    in.options.ThumbLinkPrefix = QStringLiteral("../thumbs/");
    in.entries = entries(count);
    in.htmlFolder = folder.path();
    in.pageName = QStringLiteral("MyWeb.htm");
    in.maxThumbSize = 96;
    return in;
}

QString cell(int i)
{
    const QString name = QStringLiteral("p%1.jpg").arg(i);
    const QString thumb = QStringLiteral("Thumb%1.jpg").arg(i, 3, 10, QLatin1Char('0'));
    return QStringLiteral(
               "<TD ALIGN=\"Center\" VALIGN=\"Middle\"><A TARGET=\"_self\" HREF=\"../pics/%1\"><IMG BORDER=\"1\" "
               "SRC=\"../thumbs/%2\" Width=\"96\" Height=\"72\" ALT=\"%1 (%3 bytes)\"></A><P><A TARGET=\"_self\" "
               "HREF=\"../pics/%1\">%1</A></P></TD>\r\n")
        .arg(name, thumb)
        .arg(1000 + i);
}

const QString kHead =
    QStringLiteral("<!DOCTYPE HTML PUBLIC \"Quorvane 2001\">\r\n<HTML>\r\n<HEAD>\r\n<TITLE>Tessaly</TITLE>\r\n"
                   "<META NAME=\"GENERATOR\" CONTENT=\"Quorvane Tessaly\">\r\n</HEAD>\r\n<BODY bgcolor=\"#FFFFFF\" "
                   "TEXT=\"#000000\">\r\n"
                   "<H1 align=\"center\"><FONT color=\"#000000\">Tessaly</FONT></H1>\r\n<P align=\"center\">\r\n");
const QString kTable = QStringLiteral(
    "<TABLE BORDER=\"1\" CELLSPACING=\"2\" CELLPADDING=\"2\" WIDTH=\"0%\" ALIGN=\"Center\" BGCOLOR=\"#A0A0A0\">\r\n"
    "<CAPTION ALIGN=\"Top\">Click thumbnail to see full size image</CAPTION>\r\n");
const QString kFoot = QStringLiteral("</P>\r\n</BODY>\r\n</HTML>\r\n");

QString page(const TempFolder& folder, const QString& name)
{
    return QString::fromUtf8(testing::readAll(folder.path() + u'/' + name));
}

// One page with the defaults and seven entries: rows of five.
TEST(TableGallery, OnePageGolden)
{
    TempFolder folder;
    FilePageSink sink;
    const GalleryResult result = writeTableGallery(input(folder, 7), sink);
    QString expected = kHead + kTable + QStringLiteral("<TR>\r\n");
    for (int i = 1; i <= 5; ++i)
        expected += cell(i);
    expected +=
        QStringLiteral("</TR>\r\n<TR>\r\n") + cell(6) + cell(7) + QStringLiteral("</TR>\r\n</TABLE>\r\n") + kFoot;
    EXPECT_EQ(page(folder, QStringLiteral("MyWeb.htm")), expected);
    EXPECT_EQ(result.shownPath, folder.path() + QStringLiteral("/MyWeb.htm"));
    EXPECT_EQ(result.shownText + QStringLiteral("\r\n"), expected);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 1);
}

// Sixty entries at 25 a page: three pages, buttons above and below.
TEST(TableGallery, ThreePagesGolden)
{
    TempFolder folder;
    FilePageSink sink;
    EXPECT_EQ(writeTableGallery(input(folder, 60), sink).pagesWritten, 3);
    const QString next1 = QStringLiteral("<CENTER>\r\n<FORM>\r\n<INPUT TYPE=\"BUTTON\" VALUE=\"Next\" "
                                         "onClick=\"window.location.href='MyWeb_1.htm'\">\r\n</FORM>\r\n</CENTER>\r\n");
    QString first = kHead + next1 + kTable;
    for (int row = 0; row < 5; ++row) {
        first += QStringLiteral("<TR>\r\n");
        for (int c = 1; c <= 5; ++c)
            first += cell(row * 5 + c);
        first += QStringLiteral("</TR>\r\n");
    }
    first += QStringLiteral("</TABLE>\r\n") + next1 + kFoot;
    EXPECT_EQ(page(folder, QStringLiteral("MyWeb.htm")), first);

    const QString second = page(folder, QStringLiteral("MyWeb_1.htm"));
    EXPECT_EQ(second.count(QStringLiteral("<TD ")), 25);
    EXPECT_TRUE(second.contains(cell(26)));
    EXPECT_EQ(second.count(QStringLiteral("VALUE=\"Prev\" onClick=\"window.location.href='MyWeb.htm'\"")), 2);
    EXPECT_EQ(second.count(QStringLiteral("VALUE=\"Next\" onClick=\"window.location.href='MyWeb_2.htm'\"")), 2);
    const QString third = page(folder, QStringLiteral("MyWeb_2.htm"));
    EXPECT_EQ(third.count(QStringLiteral("<TD ")), 10);
    EXPECT_EQ(third.count(QStringLiteral("<TR>")), 2);
    EXPECT_EQ(third.count(QStringLiteral("VALUE=\"Prev\" onClick=\"window.location.href='MyWeb_1.htm'\"")), 2);
    EXPECT_FALSE(third.contains(QStringLiteral("VALUE=\"Next\"")));
    EXPECT_TRUE(
        third.endsWith(QStringLiteral("</TABLE>\r\n<CENTER>\r\n<FORM>\r\n<INPUT TYPE=\"BUTTON\" VALUE=\"Prev\" "
                                      "onClick=\"window.location.href='MyWeb_1.htm'\">\r\n</FORM>\r\n</CENTER>\r\n") +
                       kFoot));
}

// Page counts and rows at the edges.
TEST(TableGallery, PageAndRowEdges)
{
    struct Case {
        int count;
        const char* perPage;
        const char* columns;
        int pages;
        QList<int> rowsOnFirstPage;  // cells in each row of page 1
    };
    const Case cases[] = {
        {25, "25", "5", 1, {5, 5, 5, 5, 5}},
        {26, "25", "5", 2, {5, 5, 5, 5, 5}},
        {0, "25", "5", 1, {}},
        {4, "3", "10", 2, {3}},
        {25, "25", "7", 1, {7, 7, 7, 4}},
        {50, "25", "7", 2, {7, 7, 7, 4}},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        GalleryInput in = input(folder, c.count);
        in.options.ThmPerPage = QString::fromLatin1(c.perPage);
        in.options.Columns = QString::fromLatin1(c.columns);
        FilePageSink sink;
        EXPECT_EQ(writeTableGallery(in, sink).pagesWritten, c.pages) << c.count;
        const QString first = page(folder, QStringLiteral("MyWeb.htm"));
        QList<int> rows;
        for (const QString& row : first.split(QStringLiteral("<TR>")).mid(1))
            rows << int(row.count(QStringLiteral("<TD ")));
        EXPECT_EQ(rows, c.rowsOnFirstPage) << c.count << " " << c.perPage << " " << c.columns;
        EXPECT_EQ(first.contains(QStringLiteral("INPUT")), c.pages > 1) << c.count;
    }
    // One more than a page: the second page holds one thumbnail and only Prev.
    TempFolder folder;
    FilePageSink sink;
    writeTableGallery(input(folder, 26), sink);
    const QString second = page(folder, QStringLiteral("MyWeb_1.htm"));
    EXPECT_EQ(second.count(QStringLiteral("<TD ")), 1);
    EXPECT_FALSE(second.contains(QStringLiteral("\"Next\"")));
}

// Without multi-page everything is on one page; without navigation buttons
// later pages have no way in; bottom-only buttons.
TEST(TableGallery, PagingOptions)
{
    TempFolder folder;
    GalleryInput in = input(folder, 30);
    in.options.MultiPg = false;
    in.options.ThmPerPage = QStringLiteral("not used");
    FilePageSink sink;
    EXPECT_EQ(writeTableGallery(in, sink).pagesWritten, 1);
    EXPECT_EQ(page(folder, QStringLiteral("MyWeb.htm")).count(QStringLiteral("<TD ")), 30);

    in.options.MultiPg = true;
    in.options.ThmPerPage = QStringLiteral("10");
    in.options.UseNavBtns = false;
    EXPECT_EQ(writeTableGallery(in, sink).pagesWritten, 3);
    EXPECT_FALSE(page(folder, QStringLiteral("MyWeb.htm")).contains(QStringLiteral("INPUT")));

    in.options.UseNavBtns = true;
    in.options.NavBtns = NavButtons::Bottom;
    writeTableGallery(in, sink);
    const QString first = page(folder, QStringLiteral("MyWeb.htm"));
    EXPECT_EQ(first.count(QStringLiteral("INPUT")), 1);
    EXPECT_GT(first.indexOf(QStringLiteral("INPUT")), first.indexOf(QStringLiteral("</TABLE>")));
}

// The name MyWeb.html: later pages are MyWeb_1.htm ..., and their Prev
// button points back to MyWeb.html.
TEST(TableGallery, HtmlSuffixPageNames)
{
    TempFolder folder;
    GalleryInput in = input(folder, 30);
    in.pageName = QStringLiteral("MyWeb.html");
    FilePageSink sink;
    writeTableGallery(in, sink);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files, QDir::Name),
              (QStringList{QStringLiteral("MyWeb.html"), QStringLiteral("MyWeb_1.htm")}));
    EXPECT_TRUE(page(folder, QStringLiteral("MyWeb_1.htm")).contains(QStringLiteral("href='MyWeb.html'")));
}

// Whole-number options that are not, and zero counts, stop the writer
// before anything is written.
TEST(TableGallery, IntegerErrorsWriteNothing)
{
    struct Case {
        const char* columns;
        const char* perPage;
        const char* message;
    };
    const Case cases[] = {
        {"abc", "25", "'abc' is not a valid integer value"},
        {"5", "", "'' is not a valid integer value"},
        {"0", "25", "The number of columns must be at least 1."},
        {"5", "0", "The number of thumbnails per page must be at least 1."},
        {"-2", "25", "The number of columns must be at least 1."},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        GalleryInput in = input(folder, 3);
        in.options.Columns = QString::fromLatin1(c.columns);
        in.options.ThmPerPage = QString::fromLatin1(c.perPage);
        FilePageSink sink;
        try {
            writeTableGallery(in, sink);
            ADD_FAILURE() << "no error for " << c.columns;
        } catch (const GalleryError& error) {
            EXPECT_EQ(error.message(), QString::fromLatin1(c.message));
        }
        EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).isEmpty());
    }
}

// A page that cannot be written stops the writer with the file and the
// reason; the pages before it stay.
TEST(TableGallery, UnwritablePageKeepsEarlierPages)
{
    TempFolder folder;
    QDir(folder.path()).mkdir(QStringLiteral("MyWeb_1.htm"));  // a folder where page 2 should go
    FilePageSink sink;
    try {
        writeTableGallery(input(folder, 30), sink);
        ADD_FAILURE() << "no error";
    } catch (const GalleryError& error) {
        EXPECT_TRUE(error.message().startsWith(QStringLiteral("Cannot write ") + folder.path() +
                                               QStringLiteral("/MyWeb_1.htm")));
    }
    EXPECT_TRUE(QFileInfo(folder.path() + QStringLiteral("/MyWeb.htm")).isFile());
}

// The plain gallery: one page, the thumbnails one per line, no captions.
TEST(PlainGallery, Golden)
{
    TempFolder folder;
    GalleryInput in = input(folder, 2);
    in.options.UseTables = false;
    FilePageSink sink;
    const GalleryResult result = writeGallery(in, sink);
    const QString link =
        QStringLiteral("<A TARGET=\"_self\" HREF=\"../pics/p%1.jpg\"><IMG BORDER=\"1\" SRC=\"../thumbs/Thumb00%1.jpg\" "
                       "Width=\"96\" Height=\"72\" ALT=\"p%1.jpg (100%1 bytes)\"></A>\r\n");
    EXPECT_EQ(page(folder, QStringLiteral("MyWeb.htm")), kHead + link.arg(1) + link.arg(2) + kFoot);
    EXPECT_EQ(result.pagesWritten, 1);
    EXPECT_TRUE(result.browsePath.isEmpty());
}

}  // namespace
}  // namespace tessaly
