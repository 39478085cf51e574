#pragma once

#include "batch/outputnaming.h"
#include "batch/runs.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace tessaly {

// Where a run puts the source at `position`: the path it writes or renames
// to (for the thumbnail and convert runs without the extension yet) and, for
// those two, the type it is written in. The job is read now, as the runs
// read it file by file; the runs and the dry run both name files here.
struct PlannedOutput {
    QString path;
    FileType type = FileType::None;
};

// Throws Error when the job has no naming option, NotAnInteger when a
// sequence option meets a sequence field that is no whole number.
PlannedOutput plannedOutput(RunKindChosen kind, const JobSource& job, const SequenceFormat& format,
                            const QStringList& sources, int position);

// Two sources the run would write to one path: the first two found, in
// list order.
struct OutputCollision {
    QString firstSource, secondSource, output;
};
// Throws as plannedOutput does.
std::optional<OutputCollision> findOutputCollision(const JobSource& job, const QStringList& sources);

}  // namespace tessaly
