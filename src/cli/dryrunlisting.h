#pragma once

#include "batch/dryrun.h"

#include <QString>

namespace tessaly {

// The lines a dry run prints on standard output, one per file in order:
// the source path, a tab, the new path, and for pictures a tab and the size
// written ("120x80"), then a tab and a note in parentheses when the file is
// not simply written or renamed. A last line sums up.
QString dryRunListing(const DryRunResult& result, int sourceCount);

}  // namespace tessaly
