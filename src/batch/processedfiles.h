#pragma once

#include <QString>
#include <cstdint>
#include <vector>

namespace tessaly {

// What a run recorded about the source file at one position of the source
// list; the gallery reads these. Width and height are -1 for entries
// without picture dimensions (renamed and plainly copied files).
struct ProcessedFile {
    std::int64_t OriginalSize = 0;  // bytes; files of 2 GiB and more are common
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    QString OriginalPath;
    QString OutputPath;
};

using ProcessedFileTable = std::vector<ProcessedFile>;

}  // namespace tessaly
