#pragma once

#include "gallery/gallerywriter.h"

namespace tessaly {

class TfHTM;

// Hands a gallery's first page (for frames, the thumbnails page) to the
// viewer, which shows it and writes it through its editor; every other page
// goes straight to its file. Both give the same bytes: the page text and
// one "\r\n". One sink serves any number of galleries.
class ViewerPageSink final : public PageSink {
public:
    explicit ViewerPageSink(TfHTM& viewer) : m_viewer(viewer) {}

    // Throws GalleryError when the page cannot be written.
    void saveFirstPage(const QString& path, const QString& text) override;
    // Throws GalleryError; "Open in Browser" is usable again then.
    void savePage(const QString& path, const QString& text) override;

    // After the writer: the caption names the page shown, "Open in Browser"
    // opens the frameset of a frames gallery and is enabled again.
    void finish(const GalleryResult& result);

private:
    TfHTM& m_viewer;
    FilePageSink m_files;
};

// Writes the gallery `input` calls for with its first page through the
// viewer. The caller empties `BrowseFile` first (at the start of every
// gallery run). Throws GalleryError as the writers do.
GalleryResult writeGalleryThroughViewer(const GalleryInput& input, TfHTM& viewer);

}  // namespace tessaly
