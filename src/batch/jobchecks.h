#pragma once

#include "batch/modes.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <utility>

// The wizard's checks on a job, shared by the window (page by page, as the
// user moves on) and tessaly-batch (all at once, before the run). Each check
// is the condition; what happens when it holds (a message box, a question,
// a refusal on the command line) is the caller's.
namespace tessaly {

namespace checktexts {
inline const QString kNoFilesSelected = QStringLiteral("No files selected!");
// The window asks this with "\r\rContinue?" after it (kSameFoldersQuestion).
inline const QString kSameFolders = QStringLiteral(
    "Input and Output Directories are the same. This could result in files being overwritten or not processed.");
inline const QString kSameFoldersQuestion = kSameFolders + QStringLiteral("\r\rContinue?");
inline const QString kMissingQualifier = QStringLiteral(
    "Invalid output qualifier for option chosen.  Please specify a qualifier, or choose a different naming option.");
}  // namespace checktexts

// Page 1: at least one file must be selected; the message, or none.
std::optional<QString> checkFilesSelected(qsizetype selectedCount);

// Two selected files whose names are equal once their last three characters
// are cut ("MYPIC1.BMP" and "MYPIC1.JPG"): converted, one would overwrite
// the other. The shortened names are sorted without regard to case and
// compared with case; the last matching neighbours are reported, in the
// order the two stand in `sourceList`. None when no names clash.
std::optional<std::pair<QString, QString>> findDuplicateNames(const QStringList& sourceList);

// Page 2: writing into the input folder may overwrite sources or process
// new files again, so the user is asked first. Renaming in place writes
// there by design and is not asked about. Folders compare as texts.
bool needsSameFolderQuestion(bool renamingInPlace, const QString& inputFolder, const QString& outputFolder);

// Page 2: renaming in place with a name option that keeps the source name
// (PreName, SufName) and an empty qualifier would rename nothing; the
// message, or none. No naming option (typed text) is not this check's case.
std::optional<QString> checkRenameQualifier(bool renamingInPlace, std::optional<NamingOption> naming,
                                            const QString& qualifier);

// The confirmation page's sentence on how output files are named, from the
// naming option, the qualifier and the sequence text. None without option.
std::optional<QString> outputNamesSentence(std::optional<NamingOption> naming, const QString& qualifier,
                                           const QString& sequence);

}  // namespace tessaly
