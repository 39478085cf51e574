#pragma once

#include <QString>

namespace tessaly {

// A source name is its base name and its type text, parted at the last dot
// ("cat.jpeg": "cat" and "jpeg", case kept). A name without a dot, or whose
// only dot starts it, is all base name. A folder in front of the name
// stays with the base name.
QString baseNameOf(const QString& sourceName);
QString typeTextOf(const QString& sourceName);

}  // namespace tessaly
