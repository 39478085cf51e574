#pragma once

#include "batch/runs.h"
#include "imaging/sizing.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

namespace tessaly {

// What a run would do to one source file, worked out without writing.
struct PlannedFile {
    QString sourcePath;
    // The path the file would be written or renamed to; for a thumbnail or
    // convert run without an output type, the name without extension.
    QString outputPath;
    // The size of the picture written (thumbnail and convert runs).
    std::optional<TargetSize> size;
    enum class Effect {
        Write,         // a new file
        Replace,       // over an existing file (overwrite on)
        KeepExisting,  // an existing file is left alone (overwrite off)
        KeepSource,    // the target is the source itself: left alone
        NoType,        // no output type: nothing is written
        Rename,        // renamed
        NameTaken,     // renaming stops here: the name is taken
        CannotOpen,    // the picture cannot be read: the run stops here
        CannotWrite,   // a folder or a file that cannot be written is in the way: the run stops here
    } effect = Effect::Write;
};

// A dry run: the run the job calls for, file by file in order, with the
// same names, sizes and checks, but nothing read beyond the sources and
// nothing written. Files the run would have written or renamed earlier in
// the list count as there for the later ones. Sizes come from the
// pictures' headers where they tell (see pictureSizeFromHeader), so a
// picture whose data is damaged behind a sound header is found by the run.
struct DryRunResult {
    RunKindChosen kind = RunKindChosen::Thumbnails;
    std::vector<PlannedFile> files;
    // The run would stop early (a taken name, a picture it cannot open, an
    // error): it would end incomplete. `message` is what it would say.
    bool incomplete = false;
    QString message;
    // Stopped on the caller's word before every file was planned.
    bool cancelled = false;
};

// Told before each picture is planned how many of how many are done; false
// stops the plan there (thumbnail and convert runs, which read each
// picture's header: the others plan at once).
using PlanProgress = std::function<bool(int done, int count)>;

DryRunResult planRun(const JobSource& job, const QStringList& sources, const PlanProgress& progress = {});

// A short note on the effect ("replaces an existing file"); empty for a plain
// write or rename.
QString effectText(PlannedFile::Effect effect);

}  // namespace tessaly
