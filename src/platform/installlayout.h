#pragma once

#include <QString>
#include <QStringList>

namespace tessaly::installlayout {

// Where an installation keeps the documents, relative to the program's
// folder: <prefix>/bin beside <prefix>/share/doc/tessaly.
inline constexpr char kDocFolderFromProgram[] = "../share/doc/tessaly";

// Whether the program in `programFolder` is an installed one, that is, its
// documents folder stands beside it as the install rules put it. A program
// run from its build folder or a copied executable is not installed.
bool isInstalled(const QString& programFolder);

// Where the help document `relativeName` (for example "help/index.html")
// may be, in the order to try: beside the program (the build folder, an
// unpacked copy), then in the installed documents folder.
QStringList helpFileCandidates(const QString& programFolder, const QString& relativeName);

// The first candidate for this program that is a file, or empty.
QString findHelpFile(const QString& relativeName);

}  // namespace tessaly::installlayout
