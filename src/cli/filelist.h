#pragma once

#include "cli/batchcommand.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tessaly {

// The paths of a --files-from list: one per line, or ended by NUL bytes
// (`find -print0`) when `nullSeparated`. Empty entries are skipped; nothing
// else is trimmed, so names may hold blanks, and with NUL also newlines.
QStringList splitPathList(const QByteArray& bytes, bool nullSeparated);

struct PathList {
    QStringList paths;
    QString error;
};
// Reads the list from `file`, or from standard input for "-".
PathList readPathList(const QString& file, bool nullSeparated);

// The selected files of FILE arguments followed by a list, in that order:
// a file stands for itself, a folder for its files matching `mask` in name
// order; a file given twice counts once. From one folder they are that
// folder and names as resolveSourceFiles gives them; from several (not
// allowed when `oneFolder`) the folder is empty and the names are paths.
SourceFiles resolveListedFiles(const QStringList& inputs, const QStringList& listed, const QString& mask,
                               bool oneFolder);

}  // namespace tessaly
