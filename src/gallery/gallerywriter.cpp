#include "gallery/gallerywriter.h"

#include "batch/integertext.h"
#include "gallery/pagebuilder.h"
#include "gallery/responsivepage.h"
#include "platform/fileops.h"
#include "platform/paths.h"

#include <QStringList>
#include <algorithm>
#include <cstdint>
#include <limits>

namespace tessaly {

namespace {


QString lines(std::initializer_list<QString> parts)
{
    QString text;
    for (const QString& line : parts)
        text += line + kCrLf;
    return text;
}

QString bodyLine(const GalleryOptions& o)
{
    return QStringLiteral("<BODY BGCOLOR=\"#") + HtmlColor(o.PageBkgd) + QStringLiteral("\" TEXT=\"#") +
           HtmlColor(o.Text) + QStringLiteral("\">");
}

// Lines 1 to 5 of the banner, pictures and thumbnails pages.
QString framesHead(const GalleryOptions& o)
{
    return lines({kDoctypeLine, QStringLiteral("<HTML>"), QStringLiteral("<HEAD>"), kGeneratorLine, titleLine(o)});
}

QString hex2(int value)
{
    return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
}

QString sampleLine(const QString& colour, bool first)
{
    return QStringLiteral("    parent.pics.document.write(\"") +
           (first ? QStringLiteral("<p><font color=\\\"#") : QStringLiteral("<font color=\\\"#")) + colour +
           QStringLiteral("\\\">Sample text - #") + colour +
           QStringLiteral(" - Sample Text - <b>Sample Text</b></font><br>\");");
}

QString setbgScript(const GalleryOptions& o)
{
    QStringList script = {
        QStringLiteral("<script>"),
        QStringLiteral("  function setbg(im)"),
        QStringLiteral("  {"),
        QStringLiteral("    parent.pics.document.close();"),
        QStringLiteral("    parent.pics.document.open();"),
        QStringLiteral("    parent.pics.document.write(\"<html>\\n<head>\\n<title>") + o.BannerString +
            QStringLiteral("</title>\\n\");"),
        QStringLiteral("    parent.pics.document.write(\"</head>\\n\");"),
        QStringLiteral("    parent.pics.document.write(\"<body bgcolor=\\\"#888888\\\" background=\" + '\"' + \"") +
            addressPrefix(o.OriginalLinkOpt, o.OriginalLinkPrefix) +
            QStringLiteral("\" + im + '\"' + \">\\n</body>\\n</html>\");"),
    };
    if (o.SampleText) {
        script << sampleLine(QStringLiteral("000000"), true);
        for (int red : {64, 128, 192, 255})
            for (int green : {0, 64, 128, 192, 255})
                for (int blue : {0, 64, 128, 192, 255})
                    script << sampleLine(hex2(red) + hex2(green) + hex2(blue), false);
    }
    script << QStringLiteral("  }") << QStringLiteral("</script>");
    return script.join(kCrLf) + kCrLf;
}

}  // namespace

void FilePageSink::savePage(const QString& path, const QString& text)
{
    // Whole or not at all (a full disk leaves no short page); in a folder
    // where no file can be made, an existing page is rewritten in place.
    if (const Status written = writeWholeFile(path, (text + kCrLf).toUtf8()); written.failed())
        throw GalleryError(QStringLiteral("Cannot write %1: %2").arg(path, written.reason()));
}

int galleryWholeNumber(const QString& text)
{
    try {
        return parseWholeNumber(text);
    } catch (const NotAnInteger& error) {
        throw GalleryError(error.message());
    }
}

void savePageOfGallery(PageSink& sink, const QString& path, const QString& text, int page, GalleryResult& result)
{
    if (page == 1) {
        sink.saveFirstPage(path, text);
        result.shownPath = path;
        result.shownText = text;
    } else {
        sink.savePage(path, text);
    }
    ++result.pagesWritten;
}

GalleryResult writeTableGallery(const GalleryInput& input, PageSink& sink)
{
    const GalleryOptions& o = input.options;
    const int count = int(input.entries.size());
    const int columns = galleryWholeNumber(o.Columns);
    int perPage = count;
    int pages = 1;
    if (o.MultiPg) {
        perPage = galleryWholeNumber(o.ThmPerPage);
        if (perPage < 1)
            throw GalleryError(QStringLiteral("The number of thumbnails per page must be at least 1."));
    }
    if (columns < 1)
        throw GalleryError(QStringLiteral("The number of columns must be at least 1."));
    if (o.MultiPg && count >= perPage)
        pages = count / perPage + (count % perPage ? 1 : 0);
    const int rows = perPage / columns + (perPage % columns ? 1 : 0);

    GalleryResult result;
    int index = 0;
    for (int page = 1; page <= pages; ++page) {
        const bool last = page == pages;
        const bool buttons = pages > 1 && o.UseNavBtns;
        QString text = PageHead(o);
        if (buttons && showsTop(o.NavBtns))
            text += NavButtons(input.pageName, page, last);
        text += TableTag(o, o.TableBkgd);
        if (o.IncludeCaption)
            text += QStringLiteral("<CAPTION ALIGN=\"") + o.CaptionAlign + QStringLiteral("\">") + o.TableCaption +
                    QStringLiteral("</CAPTION>") + kCrLf;
        int onPage = 0;
        for (int row = 0; row < rows && index < count && onPage < perPage; ++row) {
            text += QStringLiteral("<TR>") + kCrLf;
            for (int column = 0; column < columns && index < count && onPage < perPage; ++column) {
                text += QStringLiteral("<TD ALIGN=\"") + o.CellHAlign + QStringLiteral("\" VALIGN=\"") + o.CellVAlign +
                        u'"';
                if (o.UseCellColor)
                    text += QStringLiteral(" BGCOLOR=\"#") + HtmlColor(o.CellBkgd) + u'"';
                text += u'>' + ThumbnailLink(o, input.entries[std::size_t(index)], LinkTarget(o)) +
                        QStringLiteral("</TD>") + kCrLf;
                ++index;
                ++onPage;
            }
            text += QStringLiteral("</TR>") + kCrLf;
        }
        text += QStringLiteral("</TABLE>") + kCrLf;
        if (buttons && showsBottom(o.NavBtns))
            text += NavButtons(input.pageName, page, last);
        text += PageFoot();

        savePageOfGallery(sink, pagePath(input.htmlFolder, input.pageName, page), text, page, result);
    }
    return result;
}

GalleryResult writePlainGallery(const GalleryInput& input, PageSink& sink)
{
    GalleryOptions o = input.options;
    // The plain page has no file-name captions.
    o.LinkName = false;
    QString text = PageHead(o);
    for (const ProcessedFile& entry : input.entries)
        text += ThumbnailLink(o, entry, LinkTarget(o)) + kCrLf;
    text += PageFoot();
    GalleryResult result;
    result.shownPath = pagePath(input.htmlFolder, input.pageName, 1);
    result.shownText = text;
    sink.saveFirstPage(result.shownPath, text);
    result.pagesWritten = 1;
    return result;
}

int framesColumnWidth(const GalleryOptions& o, int maxThumbSize)
{
    const int border = galleryWholeNumber(o.BorderSize);
    const int spacing = galleryWholeNumber(o.CellSpace);
    const int padding = galleryWholeNumber(o.CellPad);
    // In 64 bits: the settings file may hold any 32-bit numbers.
    const std::int64_t width =
        2 * std::int64_t(border) + maxThumbSize + 2 * std::int64_t(spacing) + 2 * std::int64_t(padding) + 50;
    return int(std::clamp<std::int64_t>(width, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

FramesPages buildFramesPages(const GalleryInput& input)
{
    const GalleryOptions& o = input.options;
    const QString heading = HeadingTag(o);
    const int width = framesColumnWidth(o, input.maxThumbSize);
    const QString base = PageBaseName(input.pageName);

    FramesPages pages;
    pages.frameset = lines({
        kDoctypeLine,
        QStringLiteral("<HTML>"),
        QStringLiteral("<HEAD>"),
        titleLine(o),
        kGeneratorLine,
        QStringLiteral("</HEAD>"),
        QStringLiteral("<FRAMESET COLS=\"%1,*\">").arg(width),
        QStringLiteral("  <FRAME NAME=\"thumbs\" SCROLLING=\"auto\" TARGET=\"pics\" SRC=\"") +
            urlName(base + QStringLiteral("t.htm")) + QStringLiteral("\">"),
        QStringLiteral("    <FRAMESET ROWS=\"12%,*\">"),
        QStringLiteral("      <FRAME NAME=\"banner\" SRC=\"") + urlName(base + QStringLiteral("b.htm")) +
            QStringLiteral("\">"),
        QStringLiteral("      <FRAME NAME=\"pics\" SRC=\"") + urlName(base + QStringLiteral("p.htm")) +
            QStringLiteral("\">"),
        QStringLiteral("    </FRAMESET>"),
        QStringLiteral("  <NOFRAMES>"),
        QStringLiteral("    <BODY>"),
        QStringLiteral("      <P>This page uses frames, but your browser does not support them.</P>"),
        QStringLiteral("    </BODY>"),
        QStringLiteral("  </NOFRAMES>"),
        QStringLiteral("</FRAMESET>"),
        QStringLiteral("</HTML>"),
    });
    const QString target = QStringLiteral("<BASE TARGET=\"pics\">");
    pages.banner = framesHead(o) +
                   lines({
                       target,
                       QStringLiteral("</HEAD>"),
                       bodyLine(o),
                       u'<' + heading + QStringLiteral(" ALIGN=\"center\"><FONT color=\"#") + HtmlColor(o.BannerText) +
                           QStringLiteral("\">") + o.BannerString + QStringLiteral("</FONT></") + heading + u'>',
                       QStringLiteral("</BODY>"),
                       QStringLiteral("</HTML>"),
                   });
    pages.pictures =
        framesHead(o) + lines({
                            QStringLiteral("</HEAD>"),
                            bodyLine(o),
                            QStringLiteral("<P ALIGN=\"center\">") + o.BannerString + QStringLiteral("</P>"),
                            QStringLiteral("<CENTER><B>Full size images will be displayed here</B></CENTER>"),
                            QStringLiteral("</BODY>"),
                            QStringLiteral("</HTML>"),
                        });
    QString thumbs = framesHead(o) + lines({target});
    if (o.TileBkgd)
        thumbs += setbgScript(o);
    thumbs += lines({QStringLiteral("</HEAD>"), bodyLine(o)});
    if (o.IncludeCaption)
        thumbs += QStringLiteral("<P Align=\"center\">") + o.TableCaption + QStringLiteral("</P>") + kCrLf;
    thumbs += TableTag(o, o.TableBkgd);
    for (const ProcessedFile& entry : input.entries) {
        QString cell = QStringLiteral("<TD ALIGN=\"center\" VALIGN=\"middle\"");
        if (o.UseCellColor)
            cell += QStringLiteral(" BGCOLOR=\"#") + HtmlColor(o.CellBkgd) + u'"';
        cell += u'>' + (o.TileBkgd ? FrameThumbnailLink(o, entry) : ThumbnailLink(o, entry, QString())) +
                QStringLiteral("</TD>");
        thumbs += lines({QStringLiteral("<TR>"), cell, QStringLiteral("</TR>")});
    }
    thumbs += lines({QStringLiteral("</TABLE>"), QStringLiteral("</BODY>"), QStringLiteral("</HTML>")});
    pages.thumbnails = thumbs;
    return pages;
}

GalleryResult writeFramesGallery(const GalleryInput& input, PageSink& sink)
{
    const FramesPages pages = buildFramesPages(input);
    const QString base = PageBaseName(input.pageName);
    const QString framesetPath = paths::join(input.htmlFolder, input.pageName);
    const QString thumbsPath = paths::join(input.htmlFolder, base + QStringLiteral("t.htm"));
    sink.savePage(framesetPath, pages.frameset);
    sink.savePage(paths::join(input.htmlFolder, base + QStringLiteral("b.htm")), pages.banner);
    sink.savePage(paths::join(input.htmlFolder, base + QStringLiteral("p.htm")), pages.pictures);
    sink.saveFirstPage(thumbsPath, pages.thumbnails);
    GalleryResult result;
    result.shownPath = thumbsPath;
    result.shownText = pages.thumbnails;
    result.browsePath = framesetPath;
    result.pagesWritten = 4;
    return result;
}

GalleryResult writeGallery(const GalleryInput& input, PageSink& sink)
{
    if (input.options.Responsive)
        return writeResponsiveGallery(input, sink);
    if (input.options.UseFrames)
        return writeFramesGallery(input, sink);
    if (input.options.UseTables)
        return writeTableGallery(input, sink);
    return writePlainGallery(input, sink);
}

}  // namespace tessaly
