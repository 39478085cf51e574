#pragma once

#include "gallery/gallerywriter.h"
#include "imaging/photo/photodetails.h"

#include <QString>
#include <vector>

namespace tessaly {

// One picture of a responsive gallery, with its addresses as the pages
// write them (encoded, relative to the page folder or as the prefixes say).
struct ResponsivePicture {
    QString name;       // the original's file name
    QString thumbnail;  // the thumbnail's address
    int width = 0;      // the thumbnail's size; 0 when unknown
    int height = 0;
    QString shown;     // what the viewer shows: the screen-size copy or the original
    QString original;  // the original's address; empty when not linked
    PhotoDetails details;
    int page = 1;  // the page (from 1) that holds its thumbnail
};

// The folder beside the pages that holds the screen-size copies:
// "MyWeb.htm" gives "MyWeb_screen".
QString screenFolderName(const QString& pageName);

// Whether the page follows the reader's light or dark preference: only
// while the page, text and banner colours are the dialog's defaults.
bool followsColorScheme(const GalleryOptions& options);

// The text of page `page` (from 1) of `pages`: an HTML5 page with its
// style and viewer script inline, a grid of the pictures of that page, and
// the list of every picture for the viewer, which moves across pages.
QString buildResponsivePage(const GalleryOptions& options, const QString& pageName,
                            const std::vector<ResponsivePicture>& pictures, int page, int pages);

// The responsive gallery: screen-size copies of the large pictures, then
// the pages (one, or several joined by Prev and Next as the options say).
GalleryResult writeResponsiveGallery(const GalleryInput& input, PageSink& sink);

// The style sheet and the viewer script every page carries.
extern const char* const kResponsiveStyle;
extern const char* const kResponsiveScript;

}  // namespace tessaly
