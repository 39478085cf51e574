#pragma once

#include "batch/processedfiles.h"
#include "gallery/galleryoptions.h"

#include "platform/error.h"

#include <QString>

namespace tessaly {

// A gallery that could not be written: an option that must be a whole
// number and is not, or a page that cannot be written (the message names
// the file and the reason).
class GalleryError : public Error {
public:
    using Error::Error;
};

// Where the pages go. The first page (the one shown in the viewer) is
// handed over apart, so that the viewer can save it through its editor;
// until then both are written straight to disk. Page text is saved with a
// line end after its last line.
class PageSink {
public:
    virtual ~PageSink() = default;
    virtual void saveFirstPage(const QString& path, const QString& text) = 0;
    virtual void savePage(const QString& path, const QString& text) = 0;
};

// Writes each page to its file, replacing what was there. Throws
// GalleryError naming the file and the reason.
class FilePageSink final : public PageSink {
public:
    void saveFirstPage(const QString& path, const QString& text) override { savePage(path, text); }
    void savePage(const QString& path, const QString& text) override;
};

struct GalleryInput {
    GalleryOptions options;
    // The first ProcessedCount entries of the last run.
    ProcessedFileTable entries;
    QString htmlFolder;
    QString pageName;      // contains ".htm"
    int maxThumbSize = 0;  // the frames gallery's column
};

// What the viewer shows afterwards: the page in its editor and the page
// that "Open in Browser" opens.
struct GalleryResult {
    QString shownPath;
    QString shownText;
    QString browsePath;
    int pagesWritten = 0;
};

// A whole-number option of the gallery; one that is not throws GalleryError
// with the "is not a valid integer value" message.
int galleryWholeNumber(const QString& text);

// Saves page `page` (from 1) of a gallery to `path` and counts it; the first
// page goes through the sink's first-page door and is the one shown.
void savePageOfGallery(PageSink& sink, const QString& path, const QString& text, int page, GalleryResult& result);

// The table gallery on one page or several joined by Prev and Next.
GalleryResult writeTableGallery(const GalleryInput& input, PageSink& sink);
// One page without a table; the thumbnails follow one another.
GalleryResult writePlainGallery(const GalleryInput& input, PageSink& sink);
// The frames gallery: frameset, banner, pictures and thumbnails pages.
GalleryResult writeFramesGallery(const GalleryInput& input, PageSink& sink);
// The writer the options call for (the responsive page's is in
// responsivepage.h).
GalleryResult writeGallery(const GalleryInput& input, PageSink& sink);

// The frames gallery's four page texts, in writing order.
struct FramesPages {
    QString frameset, banner, pictures, thumbnails;
};
FramesPages buildFramesPages(const GalleryInput& input);
int framesColumnWidth(const GalleryOptions& options, int maxThumbSize);

}  // namespace tessaly
