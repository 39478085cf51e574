#include "batch/nameparts.h"

#include <optional>

namespace tessaly {

namespace {

// Where the type text starts, after the last dot of the file's own name
// (a name may come with its folder); none when that name has no dot or
// starts with its only one.
std::optional<qsizetype> typeTextStart(const QString& sourceName)
{
    const qsizetype dot = sourceName.lastIndexOf(u'.');
    const qsizetype nameStart = sourceName.lastIndexOf(u'/') + 1;
    if (dot <= nameStart)
        return std::nullopt;
    return dot + 1;
}

}  // namespace

QString baseNameOf(const QString& sourceName)
{
    const auto start = typeTextStart(sourceName);
    return start ? sourceName.left(*start - 1) : sourceName;
}

QString typeTextOf(const QString& sourceName)
{
    const auto start = typeTextStart(sourceName);
    return start ? sourceName.mid(*start) : QString();
}

}  // namespace tessaly
