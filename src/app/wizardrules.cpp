#include "app/wizardrules.h"

namespace tessaly {

ModeVisibility visibilityFor(JobMode mode, bool renameOnly)
{
    if (mode == JobMode::Thumbnails)
        return {false, true, true, true, true, false, true, false, QStringLiteral("Create Thumbnails")};
    if (renameOnly)
        return {true, false, false, false, false, true, false, true, QStringLiteral("Rename/Convert Files")};
    return {true, true, true, true, true, false, false, true, QStringLiteral("Rename/Convert Files")};
}

std::optional<QString> outputNamesSentence(int namingIndex, const QString& qualifier, const QString& sequence)
{
    return outputNamesSentence(namingOptionFromIndex(namingIndex), qualifier, sequence);
}

}  // namespace tessaly
