#pragma once

#include "gallery/galleryoptions.h"
#include "settings/inifile.h"

namespace tessaly {

// The gallery options' sections "Linking", "Layout", "Colors" and "Tables",
// read in the dialog's load order with its rules (some flags count only the
// value 1, others any value but 0; choices are clamped as a radio group
// clamps them) over `current`, the state the dialog is created in.
GalleryOptions readGalleryOptions(const IniFile& file, const GalleryOptions& current = {});

// Written in the dialog's save order. Throws SettingsWriteError.
void writeGalleryOptions(const IniFile& file, const GalleryOptions& options);

}  // namespace tessaly
