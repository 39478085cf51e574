#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <utility>

namespace tessaly {

enum class JobMode { Thumbnails, RenameCopyConvert };

// Two selected files whose names are equal once their last three characters
// are cut ("MYPIC1.BMP" and "MYPIC1.JPG"): converted, one would overwrite
// the other. The shortened names are sorted without regard to case and
// compared with case; the last matching neighbours are reported, in the
// order the two stand in `sourceList`. None when no names clash.
std::optional<std::pair<QString, QString>> findDuplicateNames(const QStringList& sourceList);

// Which controls of the output page (and the overwrite box) are shown for a
// mode, and what the mode label reads.
struct ModeVisibility {
    bool renameChoice;   // rbRenameOnly, rbCpyCvrt
    bool convertType;    // cbConvert, Label7
    bool outputFolder;   // fNewDir, fNewBox
    bool maskButtons;    // sbShowAll, sbShowGrafx
    bool overwrite;      // cbOverWrite
    bool sameFolderNote; // l6
    bool thumbQualifier; // ePreT
    bool imageQualifier; // ePreI
    QString modeText;    // lOutput
};
ModeVisibility visibilityFor(JobMode mode, bool renameOnly);

// The sentence of the confirmation page that says how output files are
// named, from the naming list index, the qualifier and the sequence text.
// None for an index outside the four options.
std::optional<QString> outputNamesSentence(int namingIndex, const QString& qualifier,
                                           const QString& sequence);

}  // namespace tessaly
