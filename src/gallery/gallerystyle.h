#pragma once

#include "gallery/galleryoptions.h"

#include <QString>
#include <optional>

namespace tessaly {

// The four kinds of gallery page, as the command line names them.
enum class GalleryStyle { Responsive, Table, Plain, Frames };

// "responsive", "table", "plain" or "frames"; none for anything else.
std::optional<GalleryStyle> galleryStyleFromWord(const QString& word);

// Sets the options that choose the style as the HTML Options dialog would:
// table and plain switch the responsive page and frames off, frames come
// with the table layout and the links to the originals, as the dialog
// makes them.
void applyGalleryStyle(GalleryOptions& options, GalleryStyle style);

}  // namespace tessaly
