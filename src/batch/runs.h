#pragma once

#include "batch/runinterfaces.h"
#include "imaging/workingpictures.h"

#include <QStringList>
#include <optional>
#include <vector>

namespace tessaly {

class RenameJournal;

// Everything a run works on: the job, the view, the run state, the
// working pictures and the selected source names in list order.
struct RunContext {
    JobSource& job;
    RunView& view;
    RunState& state;
    WorkingPictures& pictures;
    const QStringList& sources;
    // The position of the source in hand, -1 before the first; the driver
    // names it when an error escapes.
    int fileInHand = -1;
    // When set, the rename run records each rename here, before and after it.
    RenameJournal* journal = nullptr;
};

// The four runs. Each follows the same skeleton: the counter before each
// file, progress and pending events after it, Cancel seen there, and the
// lists refreshed and the progress reset at the end. Errors they do not
// handle themselves escape to the driver.
void runThumbnails(RunContext& run);
void runRename(RunContext& run);
void runPlainCopy(RunContext& run);
void runConvert(RunContext& run);

enum class RunKindChosen { Thumbnails, Rename, PlainCopy, Convert };
RunKindChosen chooseRun(const JobSource& job);

// The end of a GO: which run ran, whether it was complete, and the text of
// the completion label.
struct RunOutcome {
    RunKindChosen kind = RunKindChosen::Thumbnails;
    bool failed = false;
    RunFailure failure;  // when failed
    // Files a rename run passed over because the file system refused to
    // rename them (the window says nothing of them; the command line names
    // each). Their entries name them as they are.
    std::vector<RunFailure> refused;
    // The source that stopped the run as one it could not open, and why.
    std::optional<RunFailure> unopened;
    bool complete = false;
    QString completionText;
};

// Resets the count, runs the run the job calls for, reports any error that
// escapes it as "Error during processing!", and says how it ended. The
// caller has already sized the table and cleared the cancel flag.
RunOutcome runBatch(RunContext& run);

// "Operation complete. 5 files processed." or "Operation Incomplete. 3
// files processed.".
QString completionText(bool incomplete, int processedCount, int sourceCount);

}  // namespace tessaly
