#include "gallery/responsivepage.h"

#include "batch/integertext.h"
#include "gallery/pagebuilder.h"
#include "gallery/screencopies.h"
#include "platform/paths.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

namespace tessaly {

namespace {


QString attribute(const QString& text)
{
    return text.toHtmlEscaped();
}

// The colour variables: the dialog's colours, or light and dark ones that
// follow the reader's preference.
QString colorRules(const GalleryOptions& o)
{
    if (!followsColorScheme(o))
        return QStringLiteral(":root{color-scheme:light;--bg:#%1;--fg:#%2;--banner:#%3;--accent:currentColor}\n")
            .arg(HtmlColor(o.PageBkgd), HtmlColor(o.Text), HtmlColor(o.BannerText));
    return QStringLiteral(":root{color-scheme:light dark;--bg:#FFFFFF;--fg:#000000;--banner:#000000;--accent:#0B57D0}\n"
                          "@media (prefers-color-scheme:dark){:root{--bg:#121212;--fg:#E8E8E8;--banner:#E8E8E8;"
                          "--accent:#8AB4F8}}\n");
}

// Every picture, for the viewer; "<" written as an escape so that no text
// can end the script element.
QString pictureList(const std::vector<ResponsivePicture>& pictures, const QString& pageName)
{
    QJsonArray list;
    for (const ResponsivePicture& p : pictures) {
        QJsonObject item;
        item[QStringLiteral("n")] = p.name;
        item[QStringLiteral("s")] = p.shown;
        item[QStringLiteral("o")] = p.original;
        item[QStringLiteral("d")] = p.details.dateTaken;
        item[QStringLiteral("c")] = p.details.camera;
        item[QStringLiteral("p")] = urlName(pageFileName(pageName, p.page));
        list.append(item);
    }
    return QString::fromUtf8(QJsonDocument(list).toJson(QJsonDocument::Compact))
        .replace(u'<', QStringLiteral("\\u003c"));
}

QString navigation(const QString& pageName, int page, int pages)
{
    QString nav = QStringLiteral("<nav class=\"pages\" aria-label=\"Pages\">");
    if (page > 1)
        nav += QStringLiteral("<a rel=\"prev\" href=\"%1\">Prev</a>").arg(urlName(pageFileName(pageName, page - 1)));
    if (page < pages)
        nav += QStringLiteral("<a rel=\"next\" href=\"%1\">Next</a>").arg(urlName(pageFileName(pageName, page + 1)));
    return nav + QStringLiteral("</nav>\n");
}

QString tile(const GalleryOptions& o, const ResponsivePicture& p, int index)
{
    const QString target = o.WindowOpt == WindowOption::NewWindow ? QStringLiteral(" target=\"_blank\"") : QString();
    QString item = QStringLiteral("<li><a id=\"picture-%1\" data-index=\"%2\" href=\"%3\"%4><img src=\"%5\"")
                       .arg(index + 1)
                       .arg(index)
                       .arg(attribute(p.shown), target, attribute(p.thumbnail));
    if (p.width > 0 && p.height > 0)
        item += QStringLiteral(" width=\"%1\" height=\"%2\"").arg(p.width).arg(p.height);
    item += QStringLiteral(" loading=\"lazy\" alt=\"%1\"></a>").arg(htmlText(p.name));
    if (o.LinkName)
        item += QStringLiteral("<span class=\"name\">%1</span>").arg(htmlText(p.name));
    return item + QStringLiteral("</li>\n");
}

}  // namespace

QString screenFolderName(const QString& pageName)
{
    return PageBaseName(pageName) + QStringLiteral("_screen");
}

bool followsColorScheme(const GalleryOptions& o)
{
    const GalleryOptions defaults;
    return o.PageBkgd == defaults.PageBkgd && o.Text == defaults.Text && o.BannerText == defaults.BannerText;
}

QString buildResponsivePage(const GalleryOptions& o, const QString& pageName,
                            const std::vector<ResponsivePicture>& pictures, int page, int pages)
{
    int tileWidth = 0;
    for (const ResponsivePicture& p : pictures)
        tileWidth = std::max(tileWidth, p.width);
    if (tileWidth <= 0)
        tileWidth = 150;
    const int border = o.LinkBorder ? std::max(0, galleryWholeNumber(o.LinkBorderSize)) : 0;
    const QString banner = htmlText(o.BannerString);
    const QString heading = HeadingTag(o).toLower();
    const bool buttons = pages > 1 && o.UseNavBtns;

    QString text;
    text += QStringLiteral("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                           "<meta name=\"generator\" content=\"Tessaly\">\n");
    text += QStringLiteral("<title>%1</title>\n<style>\n").arg(banner);
    text += colorRules(o) + QStringLiteral(":root{--tile:%1px;--border:%2px}\n").arg(tileWidth).arg(border);
    text += QString::fromUtf8(kResponsiveStyle) + QStringLiteral("</style>\n</head>\n");
    text += QStringLiteral("<body data-page=\"%1\">\n").arg(attribute(urlName(pageFileName(pageName, page))));
    text += QStringLiteral("<header><%1>%2</%1></header>\n").arg(heading, banner);
    if (buttons && showsTop(o.NavBtns))
        text += navigation(pageName, page, pages);
    text += QStringLiteral("<main>\n<ul class=\"grid\">\n");
    for (std::size_t i = 0; i < pictures.size(); ++i)
        if (pictures[i].page == page)
            text += tile(o, pictures[i], int(i));
    text += QStringLiteral("</ul>\n</main>\n");
    if (buttons && showsBottom(o.NavBtns))
        text += navigation(pageName, page, pages);
    text += QStringLiteral(
        "<div class=\"viewer\" id=\"viewer\" role=\"dialog\" aria-modal=\"true\" aria-label=\"Picture viewer\" "
        "hidden>\n"
        "<figure><img id=\"viewer-image\" alt=\"\"><figcaption><span id=\"viewer-counter\"></span>"
        "<span id=\"viewer-caption\" aria-live=\"polite\"></span>"
        "<a id=\"viewer-original\" href=\"#\">Original</a></figcaption></figure>\n"
        "<button type=\"button\" id=\"viewer-prev\" aria-label=\"Previous picture\">&#8249;</button>\n"
        "<button type=\"button\" id=\"viewer-next\" aria-label=\"Next picture\">&#8250;</button>\n"
        "<button type=\"button\" id=\"viewer-close\" aria-label=\"Close\">&#215;</button>\n"
        "</div>\n");
    text += QStringLiteral("<script type=\"application/json\" id=\"pictures\">") + pictureList(pictures, pageName) +
            QStringLiteral("</script>\n<script>\n") + QString::fromUtf8(kResponsiveScript) +
            QStringLiteral("</script>\n</body>\n</html>");
    // Every line ends as the viewer's editor saves it, so that the page the
    // window saves and the one the command line writes are the same bytes.
    return text.replace(u'\n', kCrLf);
}

GalleryResult writeResponsiveGallery(const GalleryInput& input, PageSink& sink)
{
    const GalleryOptions& o = input.options;
    const int count = int(input.entries.size());
    int perPage = std::max(count, 1);
    if (o.MultiPg) {
        perPage = galleryWholeNumber(o.ThmPerPage);
        if (perPage < 1)
            throw GalleryError(QStringLiteral("The number of thumbnails per page must be at least 1."));
    }
    const int pages = std::max(1, (count + perPage - 1) / perPage);
    // Checked before anything is written.
    if (o.LinkBorder)
        galleryWholeNumber(o.LinkBorderSize);

    const QString screenFolder = screenFolderName(input.pageName);
    const QString thumbPrefix = addressPrefix(o.ThumbLinkOpt, o.ThumbLinkPrefix);
    const QString originalPrefix = addressPrefix(o.OriginalLinkOpt, o.OriginalLinkPrefix);
    std::vector<ResponsivePicture> pictures;
    for (int i = 0; i < count; ++i) {
        const ProcessedFile& entry = input.entries[std::size_t(i)];
        ResponsivePicture p;
        p.name = paths::fileNameOf(entry.OriginalPath);
        p.thumbnail = thumbPrefix + urlName(paths::fileNameOf(entry.OutputPath));
        if (entry.Height > 0 && entry.Width > 0) {
            p.width = entry.Width;
            p.height = entry.Height;
        }
        const QString originalAddress = originalPrefix + urlName(p.name);
        const QString copyName = screenCopyName(p.name);
        const ScreenCopy copy =
            makeScreenCopy(entry.OriginalPath, paths::join(paths::join(input.htmlFolder, screenFolder), copyName));
        p.details = copy.details;
        p.shown = copy.made ? urlName(screenFolder) + u'/' + urlName(copyName) : originalAddress;
        p.original = o.LinkOriginal ? originalAddress : QString();
        p.page = i / perPage + 1;
        pictures.push_back(p);
    }

    GalleryResult result;
    for (int page = 1; page <= pages; ++page) {
        const QString text = buildResponsivePage(o, input.pageName, pictures, page, pages);
        savePageOfGallery(sink, pagePath(input.htmlFolder, input.pageName, page), text, page, result);
    }
    return result;
}

}  // namespace tessaly
