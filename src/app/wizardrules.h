#pragma once

#include "batch/jobchecks.h"

#include <QString>
#include <optional>

namespace tessaly {

enum class JobMode { Thumbnails, RenameCopyConvert };

// Which controls of the output page (and the overwrite box) are shown for a
// mode, and what the mode label reads.
struct ModeVisibility {
    bool renameChoice;    // rbRenameOnly, rbCpyCvrt
    bool convertType;     // cbConvert, Label7
    bool outputFolder;    // fNewDir, fNewBox
    bool maskButtons;     // sbShowAll, sbShowGrafx
    bool overwrite;       // cbOverWrite
    bool sameFolderNote;  // l6
    bool thumbQualifier;  // ePreT
    bool imageQualifier;  // ePreI
    QString modeText;     // lOutput
};
ModeVisibility visibilityFor(JobMode mode, bool renameOnly);

// outputNamesSentence of the naming list's index.
std::optional<QString> outputNamesSentence(int namingIndex, const QString& qualifier, const QString& sequence);

}  // namespace tessaly
