#include "gallery/gallerywriter.h"
#include "support/tempfolder.h"

#include <QDir>
#include <gtest/gtest.h>
#include <limits>

namespace tessaly {
namespace {

using testing::TempFolder;

GalleryInput framesInput(const TempFolder& folder, int count)
{
    GalleryInput in;
    in.options.UseFrames = true;
    in.options.OriginalLinkPrefix = QStringLiteral("../pics/");
    in.options.ThumbLinkPrefix = QStringLiteral("../thumbs/");
    for (int i = 1; i <= count; ++i) {
        ProcessedFile e;
        e.OriginalPath = QStringLiteral("/pics/p%1.jpg").arg(i);
        e.OriginalSize = 500 + i;
        e.OutputPath = QStringLiteral("/thumbs/t%1.jpg").arg(i);
        e.Width = 80;
        e.Height = 60;
        in.entries.push_back(e);
    }
    in.htmlFolder = folder.path();
    in.pageName = QStringLiteral("MyWeb.htm");
    in.maxThumbSize = 96;
    return in;
}

QString file(const TempFolder& folder, const char* name)
{
    return QString::fromUtf8(testing::readAll(folder.path() + u'/' + QLatin1String(name)));
}

const QString kMetaTitle =
    QStringLiteral("<!DOCTYPE HTML PUBLIC \"Quorvane 2001\">\r\n<HTML>\r\n<HEAD>\r\n"
                   "<META NAME=\"GENERATOR\" CONTENT=\"Quorvane Tessaly\">\r\n<TITLE>Tessaly</TITLE>\r\n");
const QString kBody = QStringLiteral("<BODY BGCOLOR=\"#FFFFFF\" TEXT=\"#000000\">\r\n");

// The four files with the defaults, each ending in its extra line end.
TEST(FramesGallery, FourFilesGolden)
{
    TempFolder folder;
    FilePageSink sink;
    const GalleryResult result = writeGallery(framesInput(folder, 2), sink);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files, QDir::Name),
              (QStringList{QStringLiteral("MyWeb.htm"), QStringLiteral("MyWebb.htm"), QStringLiteral("MyWebp.htm"),
                           QStringLiteral("MyWebt.htm")}));
    EXPECT_EQ(
        file(folder, "MyWeb.htm"),
        QStringLiteral("<!DOCTYPE HTML PUBLIC \"Quorvane 2001\">\r\n<HTML>\r\n<HEAD>\r\n<TITLE>Tessaly</TITLE>\r\n"
                       "<META NAME=\"GENERATOR\" CONTENT=\"Quorvane Tessaly\">\r\n</HEAD>\r\n"
                       "<FRAMESET COLS=\"156,*\">\r\n"
                       "  <FRAME NAME=\"thumbs\" SCROLLING=\"auto\" TARGET=\"pics\" SRC=\"MyWebt.htm\">\r\n"
                       "    <FRAMESET ROWS=\"12%,*\">\r\n      <FRAME NAME=\"banner\" SRC=\"MyWebb.htm\">\r\n"
                       "      <FRAME NAME=\"pics\" SRC=\"MyWebp.htm\">\r\n    </FRAMESET>\r\n  <NOFRAMES>\r\n"
                       "    <BODY>\r\n      <P>This page uses frames, but your browser does not support them.</P>\r\n"
                       "    </BODY>\r\n  </NOFRAMES>\r\n</FRAMESET>\r\n</HTML>\r\n\r\n"));
    EXPECT_EQ(
        file(folder, "MyWebb.htm"),
        kMetaTitle + QStringLiteral("<BASE TARGET=\"pics\">\r\n</HEAD>\r\n") + kBody +
            QStringLiteral(
                "<H1 ALIGN=\"center\"><FONT color=\"#000000\">Tessaly</FONT></H1>\r\n</BODY>\r\n</HTML>\r\n\r\n"));
    EXPECT_EQ(
        file(folder, "MyWebp.htm"),
        kMetaTitle + QStringLiteral("</HEAD>\r\n") + kBody +
            QStringLiteral("<P ALIGN=\"center\">Tessaly</P>\r\n<CENTER><B>Full size images will be displayed here</B>"
                           "</CENTER>\r\n</BODY>\r\n</HTML>\r\n\r\n"));
    const QString row =
        QStringLiteral("<TR>\r\n<TD ALIGN=\"center\" VALIGN=\"middle\"><A HREF=\"../pics/p%1.jpg\"><IMG BORDER=\"1\" "
                       "SRC=\"../thumbs/t%1.jpg\" Width=\"80\" Height=\"60\" ALT=\"p%1.jpg (50%1 bytes)\"></A>"
                       "<P><A HREF=\"../pics/p%1.jpg\">p%1.jpg</A></P></TD>\r\n</TR>\r\n");
    EXPECT_EQ(
        file(folder, "MyWebt.htm"),
        kMetaTitle + QStringLiteral("<BASE TARGET=\"pics\">\r\n</HEAD>\r\n") + kBody +
            QStringLiteral("<P Align=\"center\">Click thumbnail to see full size image</P>\r\n"
                           "<TABLE BORDER=\"1\" CELLSPACING=\"2\" CELLPADDING=\"2\" WIDTH=\"0%\" ALIGN=\"Center\" "
                           "BGCOLOR=\"#A0A0A0\">\r\n") +
            row.arg(1) + row.arg(2) + QStringLiteral("</TABLE>\r\n</BODY>\r\n</HTML>\r\n\r\n"));
    EXPECT_EQ(result.shownPath, folder.path() + QStringLiteral("/MyWebt.htm"));
    EXPECT_EQ(result.browsePath, folder.path() + QStringLiteral("/MyWeb.htm"));
}

// Tiling: the thumbnails hand their name to the script, which writes the
// picture as the frame's background; sample text adds 101 lines.
TEST(FramesGallery, TilingScriptAndSampleText)
{
    TempFolder folder;
    GalleryInput in = framesInput(folder, 1);
    in.options.TileBkgd = true;
    FilePageSink sink;
    writeGallery(in, sink);
    const QString script =
        QStringLiteral("<script>\r\n  function setbg(im)\r\n  {\r\n    parent.pics.document.close();\r\n    "
                       "parent.pics.document.open();\r\n"
                       "    parent.pics.document.write(\"<html>\\n<head>\\n<title>Tessaly</title>\\n\");\r\n"
                       "    parent.pics.document.write(\"</head>\\n\");\r\n"
                       "    parent.pics.document.write(\"<body bgcolor=\\\"#888888\\\" background=\" + '\"' + "
                       "\"../pics/\" + im + '\"' + "
                       "\">\\n</body>\\n</html>\");\r\n");
    const QString thumbs = file(folder, "MyWebt.htm");
    EXPECT_EQ(thumbs,
              kMetaTitle + QStringLiteral("<BASE TARGET=\"pics\">\r\n") + script +
                  QStringLiteral("  }\r\n</script>\r\n</HEAD>\r\n") + kBody +
                  QStringLiteral(
                      "<P Align=\"center\">Click thumbnail to see full size image</P>\r\n"
                      "<TABLE BORDER=\"1\" CELLSPACING=\"2\" CELLPADDING=\"2\" WIDTH=\"0%\" ALIGN=\"Center\" "
                      "BGCOLOR=\"#A0A0A0\">\r\n<TR>\r\n<TD ALIGN=\"center\" VALIGN=\"middle\"><A HREF=\"bogus.htm\" "
                      "onClick=\"setbg('p1.jpg');return false\"><IMG BORDER=\"1\" SRC=\"../thumbs/t1.jpg\" "
                      "Width=\"80\" Height=\"60\" ALT=\"p1.jpg (501 bytes)\"></A></TD>\r\n</TR>\r\n"
                      "</TABLE>\r\n</BODY>\r\n</HTML>\r\n\r\n"));

    in.options.SampleText = true;
    writeGallery(in, sink);
    const QStringList lines = file(folder, "MyWebt.htm").split(QStringLiteral("\r\n"));
    QStringList samples;
    for (const QString& line : lines)
        if (line.contains(QLatin1String("Sample text")))
            samples << line;
    ASSERT_EQ(samples.size(), 101);
    EXPECT_EQ(
        samples.front(),
        QStringLiteral("    parent.pics.document.write(\"<p><font color=\\\"#000000\\\">Sample text - #000000 - Sample "
                       "Text - <b>Sample Text</b></font><br>\");"));
    EXPECT_EQ(samples[1],
              QStringLiteral("    parent.pics.document.write(\"<font color=\\\"#400000\\\">Sample text - #400000 - "
                             "Sample Text - <b>Sample Text</b></font><br>\");"));
    EXPECT_TRUE(samples.back().contains(QLatin1String("#FFFFFF\\\">Sample text - #FFFFFF")));
    EXPECT_TRUE(samples[6].contains(QLatin1String("#404000")));

    // Sample text without tiling writes no script at all.
    in.options.TileBkgd = false;
    writeGallery(in, sink);
    EXPECT_FALSE(file(folder, "MyWebt.htm").contains(QLatin1String("<script>")));
}

// The column: 2 x border + maximum thumbnail + 2 x spacing + 2 x padding + 50;
// the three options must be whole numbers, and nothing is written if not.
TEST(FramesGallery, ColumnWidthAndIntegerErrors)
{
    GalleryOptions options;
    EXPECT_EQ(framesColumnWidth(options, 96), 156);
    EXPECT_EQ(framesColumnWidth(options, 0), 60);
    for (const char* field : {"BorderSize", "CellSpace", "CellPad"}) {
        TempFolder folder;
        GalleryInput in = framesInput(folder, 3);
        QString& text = QByteArray(field) == "BorderSize"  ? in.options.BorderSize
                        : QByteArray(field) == "CellSpace" ? in.options.CellSpace
                                                           : in.options.CellPad;
        text.clear();
        FilePageSink sink;
        try {
            writeGallery(in, sink);
            ADD_FAILURE() << field;
        } catch (const GalleryError& error) {
            EXPECT_EQ(error.message(), QStringLiteral("'' is not a valid integer value"));
        }
        EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).isEmpty()) << field;
    }
}

// Three pictures give three rows of one cell, whatever the column count;
// MyWeb.html names the frameset and the frames MyWebt.htm and so on.
TEST(FramesGallery, OneCellPerRowAndHtmlSuffix)
{
    TempFolder folder;
    GalleryInput in = framesInput(folder, 3);
    in.options.Columns = QStringLiteral("abc");
    in.pageName = QStringLiteral("MyWeb.html");
    FilePageSink sink;
    writeGallery(in, sink);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files, QDir::Name),
              (QStringList{QStringLiteral("MyWeb.html"), QStringLiteral("MyWebb.htm"), QStringLiteral("MyWebp.htm"),
                           QStringLiteral("MyWebt.htm")}));
    EXPECT_EQ(file(folder, "MyWebt.htm").count(QStringLiteral("<TR>")), 3);
}

// Guards the frames page's column width against overflow: the settings file
// may hold any 32-bit numbers (the sanitizer run would stop on an overflow).
TEST(FramesGallery, ColumnWidthWithoutOverflow)
{
    GalleryOptions options;
    options.BorderSize = QStringLiteral("2147483647");
    options.CellPad = QStringLiteral("2147483647");
    EXPECT_EQ(framesColumnWidth(options, 96), std::numeric_limits<int>::max());
    options.BorderSize = QStringLiteral("-2147483648");
    options.CellPad = QStringLiteral("-2147483648");
    EXPECT_EQ(framesColumnWidth(options, 96), std::numeric_limits<int>::min());
}

}  // namespace
}  // namespace tessaly
