#include "gallery/gallerystyle.h"

namespace tessaly {

std::optional<GalleryStyle> galleryStyleFromWord(const QString& word)
{
    if (word == QLatin1String("responsive"))
        return GalleryStyle::Responsive;
    if (word == QLatin1String("table"))
        return GalleryStyle::Table;
    if (word == QLatin1String("plain"))
        return GalleryStyle::Plain;
    if (word == QLatin1String("frames"))
        return GalleryStyle::Frames;
    return std::nullopt;
}

void applyGalleryStyle(GalleryOptions& o, GalleryStyle style)
{
    o.Responsive = style == GalleryStyle::Responsive;
    switch (style) {
    case GalleryStyle::Responsive: break;
    case GalleryStyle::Table:
        o.UseTables = true;
        o.UseFrames = false;
        break;
    case GalleryStyle::Plain:
        o.UseTables = false;
        o.UseFrames = false;
        break;
    case GalleryStyle::Frames:
        o.UseTables = true;
        o.UseFrames = true;
        o.LinkOriginal = true;
        break;
    }
}

}  // namespace tessaly
