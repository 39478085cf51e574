#pragma once

#include "batch/processedfiles.h"
#include "gallery/galleryoptions.h"

#include <QString>

namespace tessaly {

// Line end of every generated page.
inline const QString kCrLf = QStringLiteral("\r\n");

// The head lines every page has (in an order that differs by page).
inline const QString kDoctypeLine = QStringLiteral("<!DOCTYPE HTML PUBLIC \"Quorvane 2001\">");
inline const QString kGeneratorLine = QStringLiteral("<META NAME=\"GENERATOR\" CONTENT=\"Quorvane Tessaly\">");
QString titleLine(const GalleryOptions& options);  // the banner text as the title

// "RRGGBB" in upper-case hexadecimal: white is "FFFFFF".
QString HtmlColor(StoredColor color);
// "H1", "H2" or "H3".
QString HeadingTag(const GalleryOptions& options);
// " TARGET=\"_blank\"" for a new window, " TARGET=\"_self\"" otherwise.
QString LinkTarget(const GalleryOptions& options);
// The page file name up to its first ".htm": "MyWeb.htm" gives "MyWeb".
QString PageBaseName(const QString& pageName);
// The file name of page p (from 1): the page name itself, then
// base_1.htm, base_2.htm ...
QString pageFileName(const QString& pageName, int page);
QString pagePath(const QString& htmlFolder, const QString& pageName, int page);

// A file name as it stands in an address: letters, digits and ".-_~" stay
// as they are, anything else is percent-encoded in UTF-8, so that spaces,
// quotes, "#", "%", "&" and angle brackets neither break the link nor the
// markup around it.
QString urlName(const QString& fileName);
// A link prefix as it stands in a page's addresses. A relative prefix
// ("../t#h/") has its folder names encoded as urlName encodes file names
// ("../t%23h/"); a file address or a typed one keeps its text except for
// the characters that would end the attribute or script string around it
// or open markup (quotes, angle brackets, backslash, controls, and "#",
// which would cut the file name off). Ordinary names stay byte for byte.
QString addressPrefix(std::optional<LinkMode> mode, const QString& prefix);
// Text for an attribute value or element: "&", "<", ">" and '"' as entities.
QString htmlText(const QString& text);

QString PageHead(const GalleryOptions& options);
QString PageFoot();
QString NavButtons(const QString& pageName, int page, bool last);
QString TableTag(const GalleryOptions& options, StoredColor background);
// One thumbnail with its link and file-name caption; `target` is the link
// target or empty.
QString ThumbnailLink(const GalleryOptions& options, const ProcessedFile& entry, const QString& target);
// The thumbnail of a tiling frames gallery: a click hands the file name to
// the page's script instead of following a link.
QString FrameThumbnailLink(const GalleryOptions& options, const ProcessedFile& entry);

}  // namespace tessaly
