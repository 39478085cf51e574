#include "viewer/viewerpagesink.h"

#include "platform/paths.h"
#include "viewer/tfhtm.h"

namespace tessaly {

void ViewerPageSink::saveFirstPage(const QString& path, const QString& text)
{
    m_viewer.showViewer();
    m_viewer.putPage(text);
    m_viewer.setPageCaption(path);
    // Every page of a gallery lies in its HTML folder.
    m_viewer.pointDialogsAt(path, paths::folderOf(path));
    try {
        m_viewer.savePage(path);
    } catch (const ViewerFileError& error) {
        throw GalleryError(error.message());
    }
    // Later pages of a multi-page gallery are still to be written.
    m_viewer.setBrowseEnabled(false);
}

void ViewerPageSink::savePage(const QString& path, const QString& text)
{
    try {
        m_files.savePage(path, text);
    } catch (const GalleryError&) {
        m_viewer.setBrowseEnabled(true);
        throw;
    }
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
    ViewerPageSink sink(viewer);
    const GalleryResult result = writeGallery(input, sink);
    sink.finish(result);
    return result;
}

}  // namespace tessaly
