#include "gallery/dialogs/galleryrun.h"

#include "gallery/dialogs/optionsrules.h"
#include "gallery/dialogs/tform6.h"
#include "platform/dialogs.h"
#include "platform/messages.h"

namespace tessaly {

bool runGallery(QWidget* parent, GalleryRunWindows& windows, TForm6& options, DialogService& dialogs,
                MessageService& messages, const ProcessedFileTable& processed, int maxThumbSize)
{
    const std::optional<PageLocation> location = windows.chooseLocation();
    if (!location)
        return false;
    windows.clearBrowseFile();
    options.setGallery(location->folder, processed);
    options.setWindowTitle(htmlOptionsCaption(location->folder, location->pageName, int(processed.size())));
    if (dialogs.run(options) != QDialog::Accepted)
        return false;

    GalleryInput input;
    input.options = options.options();
    input.entries = processed;
    input.htmlFolder = location->folder;
    input.pageName = location->pageName;
    input.maxThumbSize = maxThumbSize;
    try {
        windows.showGallery(writeGallery(input, windows.pageSink()));
    } catch (const GalleryError& error) {
        messages.error(parent, error.message());
        return false;
    }
    return true;
}

}  // namespace tessaly
