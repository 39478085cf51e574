#include "batch/dryrun.h"

#include "batch/integertext.h"
#include "batch/plannedoutput.h"
#include "imaging/picture.h"
#include "imaging/pictureheader.h"
#include "platform/error.h"
#include "platform/filenames.h"
#include "platform/fileops.h"
#include "platform/paths.h"

#include <QFileInfo>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <set>
#include <unistd.h>

namespace tessaly {

namespace {

// The input and output folders as the run would leave them so far.
class PlannedFolders {
public:
    bool exists(const QString& path) const
    {
        if (m_added.count(path))
            return true;
        return !m_removed.count(path) && fileExists(path);
    }
    void add(const QString& path)
    {
        m_removed.erase(path);
        m_added.insert(path);
    }
    void remove(const QString& path)
    {
        m_added.erase(path);
        m_removed.insert(path);
    }

private:
    std::set<QString> m_added, m_removed;
};

// The picture's own size (upright when photos are turned), or none when
// the run could not open it. The header says it where it can, so that no
// pixel is decoded; what it leaves open is loaded as the run loads it.
std::optional<TargetSize> pictureSize(const QString& sourcePath, const PhotoOptions& photo)
{
    try {
        if (const std::optional<QSize> header = pictureSizeFromHeader(sourcePath, photo)) {
            if (!fileSize(sourcePath))
                return std::nullopt;
            return TargetSize{header->width(), header->height()};
        }
        const Picture picture = LoadPicture(sourcePath, photo);
        if (!fileSize(sourcePath))
            return std::nullopt;
        return TargetSize{picture.width(), picture.height()};
    } catch (const LoadError&) {
        return std::nullopt;
    }
}

// Why writing `path` would fail as the file writer meets it, or none: a
// folder of that name, or a folder in which no file may be made while no
// writable file of that name stands to be written over in place. A folder
// that is not there yet is made by the run.
std::optional<QString> writeObstacle(const QString& path)
{
    if (isFolder(path))
        return QString::fromLocal8Bit(std::strerror(EISDIR));
    const QByteArray folder = encodeFileName(paths::folderOf(path));
    if (::access(folder.constData(), W_OK) == 0 || errno == ENOENT)
        return std::nullopt;
    const int folderError = errno;
    if (fileExists(path) && ::access(encodeFileName(path).constData(), W_OK) == 0)
        return std::nullopt;
    return QString::fromLocal8Bit(std::strerror(folderError));
}

// What writing `path` under the overwrite rule would do. A target that
// would be written but cannot be stops the plan there, as it stops the run.
PlannedFile::Effect writeEffect(const PlannedFolders& folders, const QString& path, const QString& sourcePath,
                                bool overwrite, DryRunResult& result)
{
    if (sameFile(path, sourcePath))
        return PlannedFile::Effect::KeepSource;
    const bool exists = folders.exists(path);
    if (exists && !overwrite)
        return PlannedFile::Effect::KeepExisting;
    if (const auto obstacle = writeObstacle(path)) {
        result.incomplete = true;
        result.message = QStringLiteral("Error during processing! Cannot write %1: %2").arg(path, *obstacle);
        return PlannedFile::Effect::CannotWrite;
    }
    return exists ? PlannedFile::Effect::Replace : PlannedFile::Effect::Write;
}

void planPictures(const JobSource& job, const QStringList& sources, DryRunResult& result, const PlanProgress& progress)
{
    const bool thumbnails = result.kind == RunKindChosen::Thumbnails;
    SizeOptions sizes;
    if (thumbnails) {
        sizes.keepAspect = job.keepAspect();
        sizes.forceWidth = job.forceWidth();
        sizes.forceHeight = job.forceHeight();
        sizes.fixedWidth = parseSizeField(job.widthText());
        sizes.fixedHeight = parseSizeField(job.heightText());
        sizes.maximum = std::abs(sizes.fixedWidth);
    }
    const SequenceFormat format(job.sequenceField());
    PlannedFolders folders;
    for (int i = 0; i < sources.size(); ++i) {
        if (progress && !progress(i, int(sources.size()))) {
            result.cancelled = true;
            return;
        }
        PlannedFile file;
        file.sourcePath = paths::join(job.inputFolder(), sources[i]);
        const std::optional<TargetSize> own = pictureSize(file.sourcePath, PhotoOptions{job.autoOrient()});
        if (!own) {
            file.effect = PlannedFile::Effect::CannotOpen;
            result.files.push_back(file);
            result.incomplete = true;
            result.message = QStringLiteral("Could not open ") + sources[i];
            return;
        }
        file.size = thumbnails ? thumbnailSize(own->width, own->height, sizes) : *own;
        const PlannedOutput planned = plannedOutput(result.kind, job, format, sources, i);
        file.outputPath = planned.path + extensionOf(planned.type);
        if (planned.type == FileType::None)
            file.effect = PlannedFile::Effect::NoType;
        else
            file.effect = writeEffect(folders, file.outputPath, file.sourcePath, job.overwrite(), result);
        if (file.effect == PlannedFile::Effect::Write || file.effect == PlannedFile::Effect::Replace)
            folders.add(file.outputPath);
        result.files.push_back(file);
        if (file.effect == PlannedFile::Effect::CannotWrite)
            return;
    }
}

void planRename(const JobSource& job, const QStringList& sources, DryRunResult& result)
{
    const SequenceFormat format(job.sequenceField());
    PlannedFolders folders;
    for (int i = 0; i < sources.size(); ++i) {
        PlannedFile file;
        file.sourcePath = paths::join(job.inputFolder(), sources[i]);
        file.outputPath = plannedOutput(result.kind, job, format, sources, i).path;
        if (folders.exists(file.outputPath)) {
            file.effect = PlannedFile::Effect::NameTaken;
            result.files.push_back(file);
            result.incomplete = true;
            result.message = QStringLiteral("Error - duplicate name in folder.  Rename Operation stopped.");
            return;
        }
        file.effect = PlannedFile::Effect::Rename;
        folders.remove(file.sourcePath);
        folders.add(file.outputPath);
        result.files.push_back(file);
    }
}

void planCopy(const JobSource& job, const QStringList& sources, DryRunResult& result)
{
    const SequenceFormat format(job.sequenceField());
    PlannedFolders folders;
    for (int i = 0; i < sources.size(); ++i) {
        PlannedFile file;
        file.sourcePath = paths::join(job.inputFolder(), sources[i]);
        file.outputPath = plannedOutput(result.kind, job, format, sources, i).path;
        file.effect = writeEffect(folders, file.outputPath, file.sourcePath, job.overwrite(), result);
        if (file.effect == PlannedFile::Effect::Write || file.effect == PlannedFile::Effect::Replace)
            folders.add(file.outputPath);
        result.files.push_back(file);
        if (file.effect == PlannedFile::Effect::CannotWrite)
            return;
    }
}

}  // namespace

DryRunResult planRun(const JobSource& job, const QStringList& sources, const PlanProgress& progress)
{
    DryRunResult result;
    result.kind = chooseRun(job);
    try {
        switch (result.kind) {
        case RunKindChosen::Thumbnails:
        case RunKindChosen::Convert: planPictures(job, sources, result, progress); break;
        case RunKindChosen::Rename: planRename(job, sources, result); break;
        case RunKindChosen::PlainCopy: planCopy(job, sources, result); break;
        }
    } catch (const Error& error) {
        result.incomplete = true;
        result.message = QStringLiteral("Error during processing! ") + error.message();
    }
    return result;
}

QString effectText(PlannedFile::Effect effect)
{
    switch (effect) {
    case PlannedFile::Effect::Write: return {};
    case PlannedFile::Effect::Replace: return QStringLiteral("replaces an existing file");
    case PlannedFile::Effect::KeepExisting: return QStringLiteral("exists; left alone");
    case PlannedFile::Effect::KeepSource: return QStringLiteral("is the source itself; left alone");
    case PlannedFile::Effect::NoType: return QStringLiteral("no output type; nothing written");
    case PlannedFile::Effect::Rename: return {};
    case PlannedFile::Effect::NameTaken: return QStringLiteral("name taken; the rename stops here");
    case PlannedFile::Effect::CannotOpen: return QStringLiteral("cannot be opened; the run stops here");
    case PlannedFile::Effect::CannotWrite: return QStringLiteral("cannot be written; the run stops here");
    }
    return {};
}

}  // namespace tessaly
