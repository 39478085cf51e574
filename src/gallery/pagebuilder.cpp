#include "gallery/pagebuilder.h"

#include "platform/filenames.h"
#include "platform/paths.h"

#include <QStringList>

namespace tessaly {

namespace {

QString fileNameOf(const QString& path)
{
    return paths::fileNameOf(path);
}

// The prefixes as they stand in the pages' addresses.
QString thumbPrefix(const GalleryOptions& o)
{
    return addressPrefix(o.ThumbLinkOpt, o.ThumbLinkPrefix);
}

QString originalPrefix(const GalleryOptions& o)
{
    return addressPrefix(o.OriginalLinkOpt, o.OriginalLinkPrefix);
}

// The IMG tag's attributes after "<IMG " up to the closing ">".
QString imageAttributes(const GalleryOptions& o, const ProcessedFile& entry)
{
    QString tag;
    tag += o.LinkBorder ? QStringLiteral("BORDER=\"") + o.LinkBorderSize + QStringLiteral("\" ")
                        : QStringLiteral("BORDER=\"0\" ");
    tag += QStringLiteral("SRC=\"") + thumbPrefix(o) + urlName(fileNameOf(entry.OutputPath)) + QStringLiteral("\" ");
    if (entry.Height > 0)
        tag += QStringLiteral("Width=\"%1\" Height=\"%2\" ").arg(entry.Width).arg(entry.Height);
    if (o.LinkStats)
        tag += QStringLiteral("ALT=\"") + htmlText(fileNameOf(entry.OriginalPath)) +
               QStringLiteral(" (%1 bytes)\"").arg(entry.OriginalSize);
    return tag;
}

}  // namespace

QString HtmlColor(StoredColor color)
{
    const auto value = std::uint32_t(color);
    const int red = int(value & 0xff), green = int((value >> 8) & 0xff), blue = int((value >> 16) & 0xff);
    return QStringLiteral("%1%2%3")
        .arg(red, 2, 16, QLatin1Char('0'))
        .arg(green, 2, 16, QLatin1Char('0'))
        .arg(blue, 2, 16, QLatin1Char('0'))
        .toUpper();
}

QString HeadingTag(const GalleryOptions& options)
{
    switch (options.BannerHeadSize) {
    case 1: return QStringLiteral("H2");
    case 2: return QStringLiteral("H3");
    default: return QStringLiteral("H1");
    }
}

QString LinkTarget(const GalleryOptions& options)
{
    return options.WindowOpt == WindowOption::NewWindow ? QStringLiteral(" TARGET=\"_blank\"")
                                                        : QStringLiteral(" TARGET=\"_self\"");
}

QString PageBaseName(const QString& pageName)
{
    const qsizetype at = pageName.indexOf(QLatin1String(".htm"));
    return at < 0 ? pageName : pageName.left(at);
}

QString pageFileName(const QString& pageName, int page)
{
    if (page <= 1)
        return pageName;
    return PageBaseName(pageName) + QStringLiteral("_%1.htm").arg(page - 1);
}

QString pagePath(const QString& htmlFolder, const QString& pageName, int page)
{
    return paths::join(htmlFolder, pageFileName(pageName, page));
}

QString urlName(const QString& fileName)
{
    static const QByteArray kKept = QByteArrayLiteral("-._~");
    // The name's own bytes: a name that is not UTF-8 keeps them ("caf%E9.jpg").
    const QByteArray encoded = encodeFileName(fileName).toPercentEncoding(kKept);
    return QString::fromLatin1(encoded);
}

QString addressPrefix(std::optional<LinkMode> mode, const QString& prefix)
{
    if (mode == LinkMode::Relative) {
        // Folder names, encoded as file names are; ".." and "/" stay.
        QStringList parts = prefix.split(u'/');
        for (QString& part : parts)
            if (part != QLatin1String(".."))
                part = urlName(part);
        return parts.join(u'/');
    }
    // A file address or one the user typed: only what would end the
    // attribute or the script string around it, or start markup, is
    // encoded; the rest stays as written.
    QString encoded;
    for (const QChar c : prefix) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u == u'"' || u == u'\'' || u == u'<' || u == u'>' || u == u'\\' || u == u'`' ||
            (u == u'#' && mode != LinkMode::Local))
            encoded += QStringLiteral("%%1").arg(int(u), 2, 16, QLatin1Char('0')).toUpper();
        else
            encoded += c;
    }
    return encoded;
}

QString htmlText(const QString& text)
{
    return displayFileName(text).toHtmlEscaped();
}

QString titleLine(const GalleryOptions& o)
{
    return QStringLiteral("<TITLE>") + o.BannerString + QStringLiteral("</TITLE>");
}

QString PageHead(const GalleryOptions& o)
{
    const QString heading = HeadingTag(o);
    QString head;
    head += kDoctypeLine + kCrLf;
    head += QStringLiteral("<HTML>") + kCrLf;
    head += QStringLiteral("<HEAD>") + kCrLf;
    head += titleLine(o) + kCrLf;
    head += kGeneratorLine + kCrLf;
    head += QStringLiteral("</HEAD>") + kCrLf;
    head += QStringLiteral("<BODY bgcolor=\"#") + HtmlColor(o.PageBkgd) + QStringLiteral("\" TEXT=\"#") +
            HtmlColor(o.Text) + QStringLiteral("\">") + kCrLf;
    head += u'<' + heading + QStringLiteral(" align=\"center\"><FONT color=\"#") + HtmlColor(o.BannerText) +
            QStringLiteral("\">") + o.BannerString + QStringLiteral("</FONT></") + heading + u'>' + kCrLf;
    head += QStringLiteral("<P align=\"center\">") + kCrLf;
    return head;
}

QString PageFoot()
{
    return QStringLiteral("</P>") + kCrLf + QStringLiteral("</BODY>") + kCrLf + QStringLiteral("</HTML>");
}

QString NavButtons(const QString& pageName, int page, bool last)
{
    if (page == 1 && last)
        return {};
    QString block = QStringLiteral("<CENTER>\r\n<FORM>\r\n");
    const QString button = QStringLiteral("<INPUT TYPE=\"BUTTON\" VALUE=\"%1\" onClick=\"window.location.href='%2'\">");
    if (page > 1)
        block += button.arg(QStringLiteral("Prev"), urlName(pageFileName(pageName, page - 1))) + kCrLf;
    if (!last)
        block += button.arg(QStringLiteral("Next"), urlName(pageFileName(pageName, page + 1))) + kCrLf;
    block += QStringLiteral("</FORM>") + kCrLf + QStringLiteral("</CENTER>") + kCrLf;
    return block;
}

QString TableTag(const GalleryOptions& o, StoredColor background)
{
    QString tag = QStringLiteral("<TABLE BORDER=\"") + o.BorderSize + u'"';
    if (!o.CellSpace.isEmpty())
        tag += QStringLiteral(" CELLSPACING=\"") + o.CellSpace + u'"';
    if (!o.CellPad.isEmpty())
        tag += QStringLiteral(" CELLPADDING=\"") + o.CellPad + u'"';
    tag += QStringLiteral(" WIDTH=\"") + o.TableWidth + QStringLiteral("%\"");
    tag += QStringLiteral(" ALIGN=\"") + o.TableAlignment + u'"';
    if (o.UseBkgdColor)
        tag += QStringLiteral(" BGCOLOR=\"#") + HtmlColor(background) + u'"';
    return tag + u'>' + kCrLf;
}

QString ThumbnailLink(const GalleryOptions& o, const ProcessedFile& entry, const QString& target)
{
    const QString image = QStringLiteral("<IMG ") + imageAttributes(o, entry) + u'>';
    if (!o.LinkOriginal)
        return image;
    const QString original = fileNameOf(entry.OriginalPath);
    const QString href = QStringLiteral(" HREF=\"") + originalPrefix(o) + urlName(original) + QStringLiteral("\">");
    QString link = QStringLiteral("<A") + target + href + image + QStringLiteral("</A>");
    if (o.LinkName)
        link += QStringLiteral("<P><A") + target + href + htmlText(original) + QStringLiteral("</A></P>");
    return link;
}

QString FrameThumbnailLink(const GalleryOptions& o, const ProcessedFile& entry)
{
    return QStringLiteral("<A HREF=\"bogus.htm\" onClick=\"setbg('") + urlName(fileNameOf(entry.OriginalPath)) +
           QStringLiteral("');return false\"><IMG ") + imageAttributes(o, entry) + QStringLiteral("></A>");
}

}  // namespace tessaly
