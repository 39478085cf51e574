#pragma once

#include "batch/processedfiles.h"
#include "gallery/gallerywriter.h"

#include <QString>
#include <optional>

class QWidget;

namespace tessaly {

class DialogService;
class MessageService;
class TForm6;

// Where the gallery's first page goes: the folder (without a trailing
// separator, the root excepted) and the page's file name.
struct PageLocation {
    QString folder;
    QString pageName;
};

// The windows around a gallery run, as the run sees them.
class GalleryRunWindows {
public:
    virtual ~GalleryRunWindows() = default;
    // Asks where the gallery goes; nothing when the user cancels.
    virtual std::optional<PageLocation> chooseLocation() = 0;
    // Forgets the page that "Open in Browser" opened last.
    virtual void clearBrowseFile() = 0;
    // Takes the pages as the writers make them: the first into the viewer's
    // editor, which saves it, the others straight to disk.
    virtual PageSink& pageSink() = 0;
    // Shows the viewer with the first page once every page is written.
    virtual void showGallery(const GalleryResult& result) = 0;
};

// The run behind "Do HTML!": the location, then the options, then the
// writer the options call for (frames, table or plain), then the viewer.
// Cancel in either dialog ends it with nothing written; a writer's failure
// is reported in a message box. `processed` holds the entries the gallery
// shows (the first ProcessedCount of the last run). Whether pages were
// written.
// Its message boxes belong to `parent`.
bool runGallery(QWidget* parent, GalleryRunWindows& windows, TForm6& options, DialogService& dialogs,
                MessageService& messages, const ProcessedFileTable& processed, int maxThumbSize);

}  // namespace tessaly
