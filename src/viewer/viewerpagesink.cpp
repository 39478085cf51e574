#include "viewer/viewerpagesink.h"

#include "viewer/tfhtm.h"

namespace tessaly {

ViewerPageSink::ViewerPageSink(TfHTM& viewer, QString htmlFolder)
    : m_viewer(viewer), m_htmlFolder(std::move(htmlFolder))
{
}

ViewerPageSink::~ViewerPageSink()
{
    m_viewer.setBrowseEnabled(true);
}

void ViewerPageSink::saveFirstPage(const QString& path, const QString& text)
{
    m_viewer.showViewer();
    m_viewer.putPage(text);
    m_viewer.setPageCaption(path);
    m_viewer.pointDialogsAt(path, m_htmlFolder);
    try {
        m_viewer.savePage(path);
    } catch (const ViewerFileError& error) {
        throw GalleryError(error.message());
    }
    // Later pages of a multi-page gallery are still being written.
    m_viewer.setBrowseEnabled(false);
}

void ViewerPageSink::savePage(const QString& path, const QString& text)
{
    m_files.savePage(path, text);
}

void ViewerPageSink::finish(const GalleryResult& result)
{
    m_viewer.setPageCaption(result.shownPath);
    if (!result.browsePath.isEmpty())
        m_viewer.setBrowseFile(result.browsePath);
    m_viewer.setBrowseEnabled(true);
}

GalleryResult writeGalleryThroughViewer(const GalleryInput& input, TfHTM& viewer)
{
    ViewerPageSink sink(viewer, input.htmlFolder);
    const GalleryResult result = writeGallery(input, sink);
    sink.finish(result);
    return result;
}

}  // namespace tessaly
