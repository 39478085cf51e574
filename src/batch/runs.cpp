#include "batch/runs.h"

#include "batch/integertext.h"
#include "batch/outputnaming.h"
#include "imaging/picture.h"
#include "imaging/resample.h"
#include "imaging/sizing.h"
#include "platform/fileops.h"
#include "platform/paths.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cstdlib>
#include <limits>
#include <optional>
#include <stdexcept>

namespace tessaly {

namespace {

// The per-file frame every run shares.
class Skeleton {
public:
    explicit Skeleton(RunContext& run) : m_run(run)
    {
        m_run.view.setProgressMaximum(int(m_run.sources.size()));
    }
    ~Skeleton()
    {
        // Also after a stop or an error.
        m_run.view.refreshLists();
        m_run.view.resetProgress();
    }
    Skeleton(const Skeleton&) = delete;
    Skeleton& operator=(const Skeleton&) = delete;

    int count() const { return int(m_run.sources.size()); }
    void startFile(int i)
    {
        m_run.view.setCounter(QStringLiteral("%1 of %2").arg(i + 1).arg(count()));
    }
    // After the file's work; false when the run is to stop.
    bool finishFile()
    {
        m_run.view.advanceProgress();
        m_run.view.processEvents();
        return !m_run.state.CancelRequested;
    }

private:
    RunContext& m_run;
};

NamingOption namingOf(const JobSource& job)
{
    const auto option = namingOptionFromIndex(job.namingIndex());
    if (!option)
        throw std::runtime_error("no naming option chosen");
    return *option;
}

// A source that could not be opened stops the run after telling the user.
void stopCouldNotOpen(RunContext& run, const QString& name)
{
    run.view.report(QStringLiteral("Could not open ") + name);
    run.state.CancelRequested = true;
}

std::int32_t directorySize(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() ? std::int32_t(info.size()) : 0;
}

// Encodes the picture in the work bitmap for `type`, appends the extension
// and writes it under the overwrite rule. A target that is the source file
// itself is never written over. Returns the output path.
QString encodeAndSave(RunContext& run, FileType type, QString path, const QString& sourcePath)
{
    if (type == FileType::None)
        return path;
    path += extensionOf(type);
    WorkingPictures& p = run.pictures;
    const OutputObject* output = nullptr;
    BitmapOutput bitmapOutput(p.WorkBitmap);
    switch (type) {
    case FileType::Jpg:
        EncodeJpeg(p.OutputJpeg, p.WorkBitmap, run.job.jpegQuality());
        output = &p.OutputJpeg;
        break;
    case FileType::Emf:
    case FileType::Wmf:
        p.OutputMetafile.setEnhanced(type == FileType::Emf);
        EncodeMetafile(p.OutputMetafile, p.WorkBitmap);
        output = &p.OutputMetafile;
        break;
    case FileType::Gif:
        EncodeGif(p.OutputGif, p.WorkBitmap);
        output = &p.OutputGif;
        break;
    case FileType::Bmp: output = &bitmapOutput; break;
    case FileType::None: break;
    }
    if (sameFile(path, sourcePath))
        return path;
    if (SaveOutput(*output, path, run.job.overwrite()))
        ++run.state.ProcessedCount;
    return path;
}

// The naming inputs of the source at `position`, read from the job now.
NamingInputs namingFor(const RunContext& run, int position, const QString& qualifier, const QString& folder)
{
    NamingInputs naming;
    naming.option = namingOf(run.job);
    naming.qualifier = qualifier;
    naming.sequenceField = run.job.sequenceField();
    naming.sourceName = run.sources[position];
    naming.position = position;
    naming.folder = folder;
    return naming;
}

// Loads the source at `position` and enters its size and path; a source
// that cannot be opened stops the run with the message and gives none.
std::optional<Picture> loadSource(RunContext& run, int position, const QString& sourcePath)
{
    ProcessedFile& entry = run.state.ProcessedFiles[std::size_t(position)];
    try {
        Picture picture = LoadPicture(sourcePath);
        entry.OriginalSize = fileSizeOf(sourcePath);
        entry.OriginalPath = sourcePath;
        return picture;
    } catch (const LoadError&) {
        stopCouldNotOpen(run, run.sources[position]);
        return std::nullopt;
    }
}

int sizeField(const QString& text)
{
    const int value = parseWholeNumber(text);
    if (value == std::numeric_limits<int>::min())
        throw NotAnInteger(text);
    return value;
}

}  // namespace

void runThumbnails(RunContext& run)
{
    const bool keepAspect = run.job.keepAspect();
    const int fixedWidth = sizeField(run.job.widthText());
    const int fixedHeight = sizeField(run.job.heightText());
    run.state.maxThumbSize = std::abs(fixedWidth);
    Skeleton skeleton(run);
    const SequenceFormat format(run.job.sequenceField());

    for (int i = 0; i < skeleton.count(); ++i) {
        skeleton.startFile(i);
        const QString& name = run.sources[i];
        ProcessedFile& entry = run.state.ProcessedFiles[std::size_t(i)];
        const QString sourcePath = paths::join(run.job.inputFolder(), name);
        const std::optional<Picture> loaded = loadSource(run, i, sourcePath);
        if (!loaded)
            break;
        const Picture& picture = *loaded;

        SizeOptions sizes;
        sizes.keepAspect = keepAspect;
        sizes.forceWidth = run.job.forceWidth();
        sizes.forceHeight = run.job.forceHeight();
        sizes.fixedWidth = fixedWidth;
        sizes.fixedHeight = fixedHeight;
        sizes.maximum = run.state.maxThumbSize;
        const TargetSize size = thumbnailSize(picture.width(), picture.height(), sizes);
        entry.Width = size.width;
        entry.Height = size.height;

        if (run.job.resizeSpeed() == 0) {
            FastResize(run.pictures.WorkBitmap, picture, size.width, size.height);
        } else {
            DrawToBitmap(run.pictures.WorkBitmap, picture);
            QualityResize(run.pictures.WorkBitmap, run.pictures.ResampleBitmap, size.width, size.height);
        }

        const NamingInputs naming = namingFor(run, i, run.job.thumbQualifier(), run.job.outputFolder());
        const QString stem = BuildOutputName(RunKind::ThumbnailOrConvert, format, naming);
        const FileType type = OutputTypeOf(run.job.convertText(), name);
        entry.OutputPath = encodeAndSave(run, type, stem, sourcePath);
        if (!skeleton.finishFile())
            break;
    }
}

void runRename(RunContext& run)
{
    Skeleton skeleton(run);
    const SequenceFormat format(run.job.sequenceField());
    for (int i = 0; i < skeleton.count(); ++i) {
        skeleton.startFile(i);
        const QString& name = run.sources[i];
        const NamingInputs naming = namingFor(run, i, run.job.imageQualifier(), run.job.inputFolder());
        const QString newPath = BuildOutputName(RunKind::RenameOrCopy, format, naming);
        const QString oldPath = paths::join(naming.folder, name);

        ProcessedFile& entry = run.state.ProcessedFiles[std::size_t(i)];
        entry.OriginalSize = directorySize(oldPath);
        entry.OriginalPath = newPath;
        entry.OutputPath = newPath;
        entry.Width = -1;
        entry.Height = -1;

        if (QFileInfo::exists(newPath)) {
            run.view.report(QStringLiteral("Error - duplicate name in folder.  Rename Operation stopped."));
            run.state.ProcessedCount = i;
            run.view.refreshLists();
            run.view.resetProgress();
            run.state.CancelRequested = true;
        } else {
            // A file that has vanished or is refused is passed over quietly.
            renameNoReplace(oldPath, newPath);
            run.state.ProcessedCount = i + 1;
        }
        if (!skeleton.finishFile())
            break;
    }
}

namespace {

// Copies through a 2048-byte buffer into a temporary file beside the
// target that replaces it only once complete.
void copyFile(const QString& sourcePath, const QString& targetPath)
{
    QFile source(sourcePath);
    if (!source.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot open the source file");
    QSaveFile target(targetPath);
    if (!target.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot create the target file");
    char buffer[2048];
    for (;;) {
        const qint64 read = source.read(buffer, sizeof buffer);
        if (read < 0)
            throw std::runtime_error("cannot read the source file");
        if (read == 0)
            break;
        if (target.write(buffer, read) != read)
            throw std::runtime_error("cannot write the target file");
    }
    if (!target.commit())
        throw std::runtime_error("cannot write the target file");
}

}  // namespace

void runPlainCopy(RunContext& run)
{
    Skeleton skeleton(run);
    const SequenceFormat format(run.job.sequenceField());
    for (int i = 0; i < skeleton.count(); ++i) {
        skeleton.startFile(i);
        const QString& name = run.sources[i];
        const NamingInputs naming = namingFor(run, i, run.job.imageQualifier(), run.job.outputFolder());
        const QString targetPath = BuildOutputName(RunKind::RenameOrCopy, format, naming);
        const QString sourcePath = paths::join(run.job.inputFolder(), name);

        ProcessedFile& entry = run.state.ProcessedFiles[std::size_t(i)];
        entry.OriginalSize = directorySize(sourcePath);
        entry.OriginalPath = sourcePath;
        entry.OutputPath = targetPath;
        entry.Width = -1;
        entry.Height = -1;

        const bool exists = QFileInfo::exists(targetPath);
        // A copy onto the source itself would only destroy it: it is left.
        if (!(exists && (!run.job.overwrite() || sameFile(sourcePath, targetPath))))
            copyFile(sourcePath, targetPath);
        run.state.ProcessedCount = i + 1;
        if (!skeleton.finishFile())
            break;
    }
}

void runConvert(RunContext& run)
{
    run.state.ProcessedCount = 0;
    Skeleton skeleton(run);
    const SequenceFormat format(run.job.sequenceField());
    for (int i = 0; i < skeleton.count(); ++i) {
        skeleton.startFile(i);
        const QString& name = run.sources[i];
        ProcessedFile& entry = run.state.ProcessedFiles[std::size_t(i)];
        const QString sourcePath = paths::join(run.job.inputFolder(), name);
        const std::optional<Picture> loaded = loadSource(run, i, sourcePath);
        if (!loaded)
            break;
        entry.Width = loaded->width();
        entry.Height = loaded->height();
        DrawToBitmap(run.pictures.WorkBitmap, *loaded);

        const NamingInputs naming = namingFor(run, i, run.job.imageQualifier(), run.job.outputFolder());
        const QString stem = BuildOutputName(RunKind::ThumbnailOrConvert, format, naming);
        const FileType type = OutputTypeOf(run.job.convertText(), name);
        const QString outputPath = encodeAndSave(run, type, stem, sourcePath);
        run.view.advanceProgress();
        entry.OutputPath = outputPath;
        run.view.processEvents();
        if (run.state.CancelRequested)
            break;
    }
}

RunKindChosen chooseRun(const JobSource& job)
{
    if (job.thumbnails())
        return RunKindChosen::Thumbnails;
    if (job.renameOnly())
        return RunKindChosen::Rename;
    if (job.convertText() == QLatin1String("No Conversion"))
        return RunKindChosen::PlainCopy;
    return RunKindChosen::Convert;
}

QString completionText(bool incomplete, int processedCount, int sourceCount)
{
    if (incomplete)
        return QStringLiteral("Operation Incomplete. %1 files processed.").arg(processedCount);
    return QStringLiteral("Operation complete. %1 files processed.").arg(sourceCount);
}

RunOutcome runBatch(RunContext& run)
{
    RunOutcome outcome;
    // One entry per source; entries that keep their position keep their values.
    run.state.ProcessedFiles.resize(std::size_t(run.sources.size()));
    run.state.ProcessedCount = 0;
    outcome.kind = chooseRun(run.job);
    try {
        switch (outcome.kind) {
        case RunKindChosen::Thumbnails: runThumbnails(run); break;
        case RunKindChosen::Rename: runRename(run); break;
        case RunKindChosen::PlainCopy: runPlainCopy(run); break;
        case RunKindChosen::Convert: runConvert(run); break;
        }
    } catch (const std::exception&) {
        outcome.failed = true;
        run.view.report(QStringLiteral("Error during processing!"));
    }
    const bool incomplete = run.state.CancelRequested || outcome.failed;
    outcome.complete = !incomplete;
    outcome.completionText = completionText(incomplete, run.state.ProcessedCount, int(run.sources.size()));
    return outcome;
}

}  // namespace tessaly
