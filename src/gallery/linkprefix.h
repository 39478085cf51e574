#pragma once

#include "batch/modes.h"
#include "batch/processedfiles.h"
#include "gallery/galleryoptions.h"

#include <QString>

namespace tessaly {

// The prefix a link mode puts before the file names: the picture folder as
// a file address ("file:///home/ann/pics/"), the remembered explicit
// prefix, the relative prefix, or nothing (generic links, or no mode).
QString prefixForMode(std::optional<LinkMode> mode, const QString& pictureFolder, const QString& explicitPrefix,
                      const QString& relativePrefix);

// The folder of the first entry's original (or output) file, with its
// trailing separator; empty without entries.
QString sourceFolderOf(const ProcessedFileTable& entries);
QString outputFolderOf(const ProcessedFileTable& entries);

// What showing the gallery options does to the two prefixes: the relative
// prefixes are computed from the page folder to the picture folders (a
// folder that cannot be reached relatively turns its mode to local), and
// each prefix is set by its mode. The explicit prefixes are those the user
// last typed ("http://" at first).
void fillLinkPrefixes(GalleryOptions& options, const QString& htmlFolder, const ProcessedFileTable& entries,
                      const QString& explicitOriginal = QStringLiteral("http://"),
                      const QString& explicitThumb = QStringLiteral("http://"));

}  // namespace tessaly
