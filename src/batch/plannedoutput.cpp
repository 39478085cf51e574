#include "batch/plannedoutput.h"

#include "platform/error.h"
#include "platform/paths.h"

#include <QHash>

namespace tessaly {

PlannedOutput plannedOutput(RunKindChosen kind, const JobSource& job, const SequenceFormat& format,
                            const QStringList& sources, int position)
{
    const auto option = job.naming();
    if (!option)
        throw Error(QStringLiteral("no naming option chosen"));
    const bool pictures = kind == RunKindChosen::Thumbnails || kind == RunKindChosen::Convert;
    NamingInputs naming;
    naming.option = *option;
    naming.qualifier = kind == RunKindChosen::Thumbnails ? job.thumbQualifier() : job.imageQualifier();
    naming.sequenceField = job.sequenceField();
    // A file from a list of several folders stands as its path; its name makes the new name.
    naming.sourceName = paths::fileNameOf(sources[position]);
    naming.position = position;
    // Renaming stays in the input folder; the others write to the output folder.
    naming.folder = kind == RunKindChosen::Rename ? job.inputFolder() : job.outputFolder();

    PlannedOutput planned;
    planned.path = BuildOutputName(pictures ? RunKind::ThumbnailOrConvert : RunKind::RenameOrCopy, format, naming);
    if (pictures)
        planned.type = outputTypeOf(job.outputType(), sources[position]);
    return planned;
}

std::optional<OutputCollision> findOutputCollision(const JobSource& job, const QStringList& sources)
{
    const RunKindChosen kind = chooseRun(job);
    const SequenceFormat format(job.sequenceField());
    QHash<QString, int> firstWith;
    firstWith.reserve(sources.size());
    for (int i = 0; i < sources.size(); ++i) {
        const PlannedOutput planned = plannedOutput(kind, job, format, sources, i);
        const QString path = planned.path + extensionOf(planned.type);
        const auto found = firstWith.constFind(path);
        if (found != firstWith.constEnd())
            return OutputCollision{paths::join(job.inputFolder(), sources[*found]),
                                   paths::join(job.inputFolder(), sources[i]), path};
        firstWith.insert(path, i);
    }
    return std::nullopt;
}

}  // namespace tessaly
