#include "batch/runs.h"

#include "batch/integertext.h"
#include "batch/jobchecks.h"
#include "batch/keptinformation.h"
#include "batch/outputnaming.h"
#include "batch/plannedoutput.h"
#include "batch/renamejournal.h"
#include "batch/thumbnailreadahead.h"
#include "imaging/codecs/jpegcoefficients.h"
#include "imaging/picture.h"
#include "imaging/resample.h"
#include "imaging/sizing.h"
#include "platform/fileops.h"
#include "platform/paths.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>

namespace tessaly {

namespace {

// The per-file frame every run shares.
class Skeleton {
public:
    explicit Skeleton(RunContext& run) : m_run(run) { m_run.view.setProgressMaximum(int(m_run.sources.size())); }
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
        m_run.fileInHand = i;
        m_run.view.setCounter(i + 1, count());
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

// A source that could not be opened stops the run after telling the user;
// the reason is kept for those who can show it.
void stopCouldNotOpen(RunContext& run, const QString& name, const QString& reason)
{
    run.view.report(QStringLiteral("Could not open ") + name);
    run.state.CancelRequested = true;
    run.state.Unopened = RunFailure{paths::join(run.job.inputFolder(), name), reason};
}

// The size of a file as an entry records it; 0 for a file that is gone.
std::int64_t entrySize(const QString& path)
{
    return fileSize(path).value_or(0);
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
    std::optional<PhotoOutput> photoOutput;
    const auto asPhoto = [&](PhotoFormat format) {
        photoOutput.emplace(p.WorkBitmap, format, run.job.jpegQuality());
        return &*photoOutput;
    };
    switch (type) {
    case FileType::Jpg:
        EncodeJpeg(p.OutputJpeg, p.WorkBitmap, run.job.jpegQuality());
        // Set for every file: the encoder object serves the whole run.
        p.OutputJpeg.setInformation(run.job.keepMetadata()
                                        ? keptInformation(sourcePath, run.job.autoOrient(), run.job.keepLocation(),
                                                          p.WorkBitmap.width(), p.WorkBitmap.height())
                                        : QByteArray());
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
    case FileType::Png: output = asPhoto(PhotoFormat::Png); break;
    case FileType::Webp: output = asPhoto(PhotoFormat::Webp); break;
    case FileType::Tiff: output = asPhoto(PhotoFormat::Tiff); break;
    case FileType::Heif: output = asPhoto(PhotoFormat::Heif); break;
    case FileType::Avif: output = asPhoto(PhotoFormat::Avif); break;
    case FileType::None: break;
    }
    if (sameFile(path, sourcePath))
        return path;
    if (SaveOutput(*output, path, run.job.overwrite()))
        ++run.state.ProcessedCount;
    return path;
}

// Loads the source at `position` and enters its size and path; a source
// that cannot be opened stops the run with the message and gives none.
std::optional<Picture> loadSource(RunContext& run, int position, const QString& sourcePath)
{
    ProcessedFile& entry = run.state.ProcessedFiles[std::size_t(position)];
    std::optional<Picture> picture;
    std::int64_t size = 0;
    try {
        // The size is the one of the file that was read.
        picture = LoadPicture(sourcePath, PhotoOptions{run.job.autoOrient()}, &size);
    } catch (const LoadError& error) {
        stopCouldNotOpen(run, run.sources[position], error.message());
        return std::nullopt;
    }
    entry.OriginalSize = size;
    entry.OriginalPath = sourcePath;
    return picture;
}

// The thumbnail and convert runs: each source is loaded, drawn into the
// work bitmap by `draw` (which also enters the picture's size), named with
// the run's qualifier and written in its output type into the output folder.
// `drawMadeAhead`, when given, may put a picture made ahead into the work
// bitmap instead and enter its sizes and path; it says whether it did.
enum class Qualifier { Thumb, Image };
using DrawMadeAhead = std::function<bool(int position, const QString& folder, ProcessedFile&)>;
void writePictures(RunContext& run, Qualifier qualifier,
                   const std::function<void(const Picture&, ProcessedFile&)>& draw,
                   const DrawMadeAhead& drawMadeAhead = {})
{
    Skeleton skeleton(run);
    const SequenceFormat format(run.job.sequenceField());
    for (int i = 0; i < skeleton.count(); ++i) {
        skeleton.startFile(i);
        const QString& name = run.sources[i];
        ProcessedFile& entry = run.state.ProcessedFiles[std::size_t(i)];
        const QString folder = run.job.inputFolder();
        const QString sourcePath = paths::join(folder, name);
        if (!drawMadeAhead || !drawMadeAhead(i, folder, entry)) {
            const std::optional<Picture> loaded = loadSource(run, i, sourcePath);
            if (!loaded)
                break;
            // A metafile is played back only now; one that cannot be is a
            // source that cannot be opened.
            try {
                draw(*loaded, entry);
            } catch (const LoadError& error) {
                stopCouldNotOpen(run, name, error.message());
                break;
            }
        }

        const RunKindChosen kind = qualifier == Qualifier::Thumb ? RunKindChosen::Thumbnails : RunKindChosen::Convert;
        const PlannedOutput planned = plannedOutput(kind, run.job, format, run.sources, i);
        entry.OutputPath = encodeAndSave(run, planned.type, planned.path, sourcePath);
        if (!skeleton.finishFile())
            break;
    }
}

}  // namespace

void runThumbnails(RunContext& run)
{
    const bool keepAspect = run.job.keepAspect();
    const int fixedWidth = parseSizeField(run.job.widthText());
    const int fixedHeight = parseSizeField(run.job.heightText());
    run.state.maxThumbSize = std::abs(fixedWidth);
    // The size rules as they stand at a file's turn.
    const auto sizeOptions = [&] {
        SizeOptions sizes;
        sizes.keepAspect = keepAspect;
        sizes.forceWidth = run.job.forceWidth();
        sizes.forceHeight = run.job.forceHeight();
        sizes.fixedWidth = fixedWidth;
        sizes.fixedHeight = fixedHeight;
        sizes.maximum = run.state.maxThumbSize;
        return sizes;
    };

    // JPEG thumbnails come from only the rows the resize reads, the next
    // files' made on the other processors meanwhile; the bytes are those of
    // the whole decode and resize below, which makes everything else.
    ThumbnailReadAhead readAhead(run.sources, ThumbnailReadAhead::defaultWorkers());
    const auto drawMadeAhead = [&](int position, const QString& folder, ProcessedFile& entry) {
        ThumbnailOptions options;
        options.folder = folder;
        options.sizes = sizeOptions();
        options.quality = run.job.resizeSpeed() != ResizeSpeed::Fast;
        options.turnUpright = run.job.autoOrient();
        std::optional<PreparedThumbnail> prepared = readAhead.take(position, options);
        const QString sourcePath = paths::join(folder, run.sources[position]);
        const std::optional<std::int64_t> fileBytes = fileSize(sourcePath);
        if (!prepared || !fileBytes)
            return false;
        entry.OriginalSize = *fileBytes;
        entry.OriginalPath = sourcePath;
        const TargetSize size = thumbnailSize(prepared->sourceWidth, prepared->sourceHeight, options.sizes);
        entry.Width = size.width;
        entry.Height = size.height;
        std::swap(run.pictures.WorkBitmap, prepared->thumbnail);
        return true;
    };

    writePictures(
        run, Qualifier::Thumb,
        [&](const Picture& picture, ProcessedFile& entry) {
            const TargetSize size = thumbnailSize(picture.width(), picture.height(), sizeOptions());
            entry.Width = size.width;
            entry.Height = size.height;
            if (run.job.resizeSpeed() == ResizeSpeed::Fast) {
                FastResize(run.pictures.WorkBitmap, picture, size.width, size.height);
            } else {
                DrawToBitmap(run.pictures.WorkBitmap, picture);
                QualityResize(run.pictures.WorkBitmap, run.pictures.ResampleBitmap, size.width, size.height);
            }
        },
        drawMadeAhead);
}

void runConvert(RunContext& run)
{
    run.state.ProcessedCount = 0;
    writePictures(run, Qualifier::Image, [&](const Picture& picture, ProcessedFile& entry) {
        entry.Width = picture.width();
        entry.Height = picture.height();
        DrawToBitmap(run.pictures.WorkBitmap, picture);
    });
}

void runRename(RunContext& run)
{
    Skeleton skeleton(run);
    const SequenceFormat format(run.job.sequenceField());
    for (int i = 0; i < skeleton.count(); ++i) {
        skeleton.startFile(i);
        const QString& name = run.sources[i];
        const QString newPath = plannedOutput(RunKindChosen::Rename, run.job, format, run.sources, i).path;
        const QString oldPath = paths::join(run.job.inputFolder(), name);

        ProcessedFile& entry = run.state.ProcessedFiles[std::size_t(i)];
        entry.OriginalSize = entrySize(oldPath);
        entry.OriginalPath = newPath;
        entry.OutputPath = newPath;
        entry.Width = -1;
        entry.Height = -1;

        if (fileExists(newPath)) {
            run.view.report(QStringLiteral("Error - duplicate name in folder.  Rename Operation stopped."));
            run.state.ProcessedCount = i;
            run.view.refreshLists();
            run.view.resetProgress();
            run.state.CancelRequested = true;
        } else {
            // A file that has vanished or is refused is passed over without
            // a message box; its entry names it as it is, and the run
            // records it for the command line to name.
            if (run.journal)
                run.journal->beforeRename(oldPath, newPath);
            const bool renamed = renameNoReplace(oldPath, newPath);
            const int renameError = errno;
            if (run.journal)
                run.journal->afterRename(renamed);
            if (!renamed) {
                const QString reason = QString::fromLocal8Bit(std::strerror(renameError));
                entry.OriginalPath = oldPath;
                entry.OutputPath = oldPath;
                run.state.RefusedRenames.push_back(
                    {oldPath, QStringLiteral("not renamed to %1: %2").arg(newPath, reason)});
            }
            run.state.ProcessedCount = i + 1;
        }
        if (!skeleton.finishFile())
            break;
    }
}

namespace {

// Copies through a 2048-byte buffer into a temporary file beside the
// target that replaces it only once complete. The source is read as far
// as its size when opened, so a device behind its name cannot fill the disk.
void copyFile(const QString& sourcePath, const QString& targetPath)
{
    SourceFile source;
    if (const Status opened = source.open(sourcePath); opened.failed())
        throw Error(QStringLiteral("cannot open the file: %1").arg(opened.reason()));
    FileReplacement target(targetPath);
    if (const Status opened = target.open(); opened.failed())
        throw Error(QStringLiteral("cannot create %1: %2").arg(targetPath, opened.reason()));
    char buffer[2048];
    for (;;) {
        const std::int64_t read = source.read(buffer, sizeof buffer);
        if (read < 0)
            throw Error(QStringLiteral("cannot read the file: %1").arg(QString::fromLocal8Bit(std::strerror(errno))));
        if (read == 0 && !source.readToTheEnd())
            throw Error(QStringLiteral("cannot read the file: it was cut short while it was copied"));
        if (read == 0)
            break;
        if (const Status written = target.write(buffer, read); written.failed())
            throw Error(QStringLiteral("cannot write %1: %2").arg(targetPath, written.reason()));
    }
    if (const Status committed = target.commit(); committed.failed())
        throw Error(QStringLiteral("cannot write %1: %2").arg(targetPath, committed.reason()));
}

}  // namespace

void runPlainCopy(RunContext& run)
{
    Skeleton skeleton(run);
    const SequenceFormat format(run.job.sequenceField());
    for (int i = 0; i < skeleton.count(); ++i) {
        skeleton.startFile(i);
        const QString& name = run.sources[i];
        const QString targetPath = plannedOutput(RunKindChosen::PlainCopy, run.job, format, run.sources, i).path;
        const QString sourcePath = paths::join(run.job.inputFolder(), name);

        ProcessedFile& entry = run.state.ProcessedFiles[std::size_t(i)];
        entry.OriginalSize = entrySize(sourcePath);
        entry.OriginalPath = sourcePath;
        entry.OutputPath = targetPath;
        entry.Width = -1;
        entry.Height = -1;

        const bool exists = fileExists(targetPath);
        // A copy onto the source itself would only destroy it: it is left.
        if (!(exists && (!run.job.overwrite() || sameFile(sourcePath, targetPath))))
            copyFile(sourcePath, targetPath);
        run.state.ProcessedCount = i + 1;
        if (!skeleton.finishFile())
            break;
    }
}

void RunView::reportFailure(const QString& text, const RunFailure&)
{
    report(text);
}

RunKindChosen chooseRun(const JobSource& job)
{
    if (job.thumbnails())
        return RunKindChosen::Thumbnails;
    if (job.renameOnly())
        return RunKindChosen::Rename;
    if (job.outputType() == OutputType::NoConversion)
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
    // Memory for decoding one picture after another is kept for the run only.
    const KeepCoefficients keeping;
    RunOutcome outcome;
    // One entry per source; entries that keep their position keep their values.
    run.state.ProcessedFiles.resize(std::size_t(run.sources.size()));
    run.state.ProcessedCount = 0;
    run.state.RefusedRenames.clear();
    run.state.Unopened.reset();
    run.fileInHand = -1;
    outcome.kind = chooseRun(run.job);
    // A qualifier that would write outside the output folder is refused
    // before anything is written.
    const QString qualifier =
        outcome.kind == RunKindChosen::Thumbnails ? run.job.thumbQualifier() : run.job.imageQualifier();
    if (const auto refusal = checkQualifier(qualifier)) {
        run.view.report(*refusal);
        outcome.failed = true;
        outcome.failure.reason = *refusal;
        outcome.completionText = completionText(true, 0, int(run.sources.size()));
        return outcome;
    }
    std::optional<QString> reason;
    try {
        switch (outcome.kind) {
        case RunKindChosen::Thumbnails: runThumbnails(run); break;
        case RunKindChosen::Rename: runRename(run); break;
        case RunKindChosen::PlainCopy: runPlainCopy(run); break;
        case RunKindChosen::Convert: runConvert(run); break;
        }
    } catch (const Error& error) {
        reason = error.message();
    } catch (const std::exception& error) {
        reason = QString::fromLocal8Bit(error.what());
    }
    if (reason) {
        outcome.failed = true;
        outcome.failure.reason = *reason;
        if (run.fileInHand >= 0 && run.fileInHand < run.sources.size())
            outcome.failure.file = paths::join(run.job.inputFolder(), run.sources[run.fileInHand]);
        run.view.reportFailure(QStringLiteral("Error during processing!"), outcome.failure);
    }
    outcome.refused = run.state.RefusedRenames;
    outcome.unopened = run.state.Unopened;
    // A file the system refused to rename was passed over: the run did not
    // do all it was asked, and the files it did are counted.
    const bool incomplete = run.state.CancelRequested || outcome.failed || !outcome.refused.empty();
    outcome.complete = !incomplete;
    outcome.completionText = completionText(
        incomplete, run.state.ProcessedCount - int(outcome.refused.size()), int(run.sources.size()));
    return outcome;
}

}  // namespace tessaly
