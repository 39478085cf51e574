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
// A qualifier is part of a file name; with a separator it would write
// outside the output folder.
inline const QString kQualifierWithSeparator =
    QStringLiteral("Invalid output qualifier \"%1\": it may not contain a path separator (/ or \\).");
inline const QString kMissingQualifier = QStringLiteral(
    "Invalid output qualifier for option chosen.  Please specify a qualifier, or choose a different naming option.");
}  // namespace checktexts

// Page 1: at least one file must be selected; the message, or none.
std::optional<QString> checkFilesSelected(qsizetype selectedCount);

// Two selected files whose names are equal but for their type text
// ("MYPIC1.BMP" and "MYPIC1.JPG", "cat.jpeg" and "cat.webp"): converted,
// one would overwrite the other. The base names are sorted without regard
// to case and compared with case; the last matching neighbours are reported, in the
// order the two stand in `sourceList`. None when no names clash.
std::optional<std::pair<QString, QString>> findDuplicateNames(const QStringList& sourceList);

// Whether two folder names stand for one folder: the same device and file
// number when both exist (so a link to a folder is that folder), else the
// same cleaned absolute path.
bool sameFolder(const QString& first, const QString& second);

// Page 2: writing into the input folder may overwrite sources or process
// new files again, so the user is asked first. Renaming in place writes
// there by design and is not asked about. Folders compare by identity
// (sameFolder).
bool needsSameFolderQuestion(bool renamingInPlace, const QString& inputFolder, const QString& outputFolder);

// Any run: a qualifier holding a path separator would put output files
// beside or above the output folder; the message, or none.
std::optional<QString> checkQualifier(const QString& qualifier);

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
