#pragma once

#include <QString>
#include <QStringList>

namespace tessaly {

// The names of the ordinary files of `folder` that match any of the
// ";"-separated patterns of `mask`, without regard to letter case; hidden
// files are left out. Sorted by name without regard to case.
QStringList listMatchingFiles(const QString& folder, const QString& mask);

// Sorts names without regard to letter case in the collation of the user's
// locale (QCollator), so that the window's lists, the dry run and
// tessaly-batch number files alike; names equal but for case keep a fixed
// order (upper case first) so that listings are repeatable.
void sortNamesIgnoringCase(QStringList& names);

}  // namespace tessaly
