#include "batch/thumbnailreadahead.h"

#include "imaging/codecs/jpegcodec.h"
#include "imaging/jpegthumbnail.h"
#include "imaging/photo/colourprofile.h"
#include "imaging/photo/jpegmetadata.h"
#include "imaging/photo/orientation.h"
#include "imaging/picture.h"
#include "platform/filenames.h"
#include "platform/fileops.h"
#include "platform/paths.h"

#include <QFile>
#include <algorithm>
#include <mutex>
#include <sys/stat.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace tessaly {

// What tells one state of a file from another: any write, a replacement
// or a rename over it changes one of these. Outside the file's unnamed
// namespace, as a slot of the read-ahead (a class of the header) holds one.
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = -1;
    std::int64_t modified = 0;
    std::int64_t changed = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

namespace {

FileStamp stampOf(const struct stat& info)
{
    FileStamp stamp;
    stamp.device = info.st_dev;
    stamp.inode = info.st_ino;
    stamp.size = info.st_size;
    stamp.modified = std::int64_t(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    stamp.changed = std::int64_t(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec;
    return stamp;
}

std::optional<FileStamp> stampOf(const QString& path)
{
    struct stat info {};
    // Only plain files are read ahead: opening a pipe or a device could
    // block a worker for a file whose turn may never come.
    if (::stat(encodeFileName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    return stampOf(info);
}

// The stamp of a file opened as a SourceFile (an ordinary file), from its
// descriptor: the state of the very file that is read.
std::optional<FileStamp> stampOf(const SourceFile& file)
{
    struct stat info {};
    if (::fstat(file.descriptor(), &info) != 0)
        return std::nullopt;
    return stampOf(info);
}

// Memory the allocator holds free is given back to the system. glibc keeps
// what its arenas hold free (one arena a thread): left alone, the buffers of
// a large picture decoded on one thread (its file, its rows) stay beside
// those of the next decoded on the other, and the memory of a run grows past
// what it decodes at once. The largest blocks, a progressive picture's
// coefficients, are kept apart and reused on purpose (see
// imaging/codecs/jpegcoefficients.h): a few blocks, each as large as one
// picture needs, so the peak stays what two decodes at once hold. (Keeping
// everything instead, with one arena and high mmap and trim thresholds, made
// the peak depend on how the blocks of successive pictures happened to fit
// together: 157 to 178 MB on the corpus where this keeps it at 143 MB.)
void giveBackFreeMemory()
{
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

// A file whose decoding holds at least this much gives its memory back
// when it is done.
constexpr std::int64_t kLargeDecode = std::int64_t(16) << 20;

}  // namespace

bool operator==(const ThumbnailOptions& a, const ThumbnailOptions& b)
{
    const SizeOptions& x = a.sizes;
    const SizeOptions& y = b.sizes;
    return a.folder == b.folder && a.quality == b.quality && a.turnUpright == b.turnUpright &&
           x.keepAspect == y.keepAspect && x.forceWidth == y.forceWidth && x.forceHeight == y.forceHeight &&
           x.fixedWidth == y.fixedWidth && x.fixedHeight == y.fixedHeight && x.maximum == y.maximum;
}

int chooseNextFile(const std::vector<AheadFile>& window, bool takingThread, const AheadMemory& memory)
{
    const auto fits = [&](std::size_t i) {
        const AheadFile& file = window[i];
        const bool decodeFits = memory.making == 0 || memory.making + file.memory <= memory.makingLimit;
        const bool resultFits = i == 0 || memory.madeAhead + file.resultBytes <= memory.madeAheadLimit;
        return file.state == AheadFile::State::Planned && decodeFits && resultFits;
    };
    // The file in hand is wanted now, whoever makes it.
    if (!window.empty() && fits(0))
        return 0;
    std::int64_t largest = -1;
    for (std::size_t i = 1; i < window.size(); ++i) {
        if (!fits(i))
            continue;
        if (takingThread)
            return int(i);
        largest = std::max(largest, window[i].cost);
    }
    // Of the large files (at least half the cost of the costliest), the
    // earliest: the run's writes wait for it first, and when the last
    // large file is done little is left to write.
    for (std::size_t i = 1; i < window.size() && largest >= 0; ++i)
        if (fits(i) && window[i].cost * 2 >= largest)
            return int(i);
    return -1;
}

namespace {

// What making a file's thumbnail ahead will take, from its size and the
// frame header near its start: planning only, never the thumbnail itself.
AheadFile estimate(const QString& path, const ThumbnailOptions& options, std::int64_t makingLimit)
{
    AheadFile file;
    // Other kinds and what is not a plain file are left to the run at
    // once; nothing is read of them.
    if (pictureKindForName(path) != PictureKind::Jpeg)
        return file;
    SourceFile source;
    QFile stream;
    if (source.open(path).failed() ||
        !stream.open(source.descriptor(), QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::DontCloseHandle))
        return file;
    const std::int64_t bytes = stream.size();
    const std::optional<JpegFrame> frame = peekJpegFrame(stream);
    if (!frame || frame->width < 1 || frame->height < 1) {
        // Damaged, or no JPEG after all: made alone.
        file.cost = bytes;
        file.memory = makingLimit;
        return file;
    }
    const TargetSize target = thumbnailSize(frame->width, frame->height, options.sizes);
    if (target.width < 1 || target.height < 1)
        return file;
    // The rows kept: two source rows a target row for the quality method
    // (a target column when a turned photo's sides swap; the orientation
    // is not read here, so the longer side counts).
    const std::int64_t rows = std::min<std::int64_t>(
        std::int64_t(std::max(target.width, target.height)) * (options.quality ? 2 : 1), frame->height);
    file.memory = frame->coefficientBytes + rows * frame->width * 3;
    file.resultBytes = std::int64_t(target.width) * target.height * 3;
    // Decoding time follows the entropy-coded data; a progressive file's
    // goes through several scans over the whole picture, about five times
    // as slow a byte (measured on photos).
    file.cost = (bytes - frame->offset) * (frame->progressive ? 5 : 1);
    return file;
}

}  // namespace

struct ThumbnailReadAhead::Slot {
    AheadFile::State state = AheadFile::State::Planned;
    ThumbnailOptions options;
    AheadFile plan;
    std::optional<FileStamp> stamp;  // the file as it was read
    std::optional<PreparedThumbnail> result;
    std::int64_t madeAheadBytes = 0;  // of the result, while counted as made ahead
};

namespace {

// Whether the thumbnail of a JPEG picture of that size is made from the
// rows the resize reads: the one place that chooses. Otherwise the run
// decodes the whole picture at the file's turn, as it does for every other
// kind; so for sizes the resize methods do not make from rows (below 1
// pixel, below 2 source pixels for the quality method), which the run then
// reports.
bool madeFromRows(int sourceWidth, int sourceHeight, const TargetSize& target, bool quality)
{
    if (target.width < 1 || target.height < 1)
        return false;
    return !quality || (sourceWidth >= 2 && sourceHeight >= 2);
}

}  // namespace

// One thread's reusable buffers.
struct ThumbnailReadAhead::Maker {
    JpegThumbnailer thumbnailer;
    QByteArray bytes;

    // The thumbnail of the file at `path` for `options`, and the file's
    // stamp from before it was read; none for what the run makes itself.
    std::optional<PreparedThumbnail> make(const QString& path, const ThumbnailOptions& options,
                                          std::optional<FileStamp>& stamp)
    {
        // The file as its name shows it now; for the file that is read,
        // its own state (take() compares the name's state with this).
        stamp = stampOf(path);
        if (!stamp || pictureKindForName(path) != PictureKind::Jpeg)
            return std::nullopt;
        try {
            // Opened once; the stamp is the opened file's, taken before it
            // is read.
            SourceFile file;
            if (file.open(path).failed() || file.size() > std::numeric_limits<int>::max())
                return std::nullopt;
            const std::optional<FileStamp> opened = stampOf(file);
            if (!opened)
                return std::nullopt;
            stamp = opened;
            // The buffer keeps its capacity from one file to the next.
            const qsizetype size = qsizetype(file.size());
            bytes.resize(size);
            if (file.read(bytes.data(), size) != size)
                return std::nullopt;
            // Photos to be put into sRGB take the run's full decode, where
            // that happens; those to be turned upright are turned here.
            const PhotoMetadata metadata = readJpegMetadata(bytes);
            if (changesOnWayToSrgb(metadata.iccProfile))
                return std::nullopt;
            const int orientation = options.turnUpright ? metadata.orientation : 1;
            int storedWidth = 0, storedHeight = 0;
            readJpegSize(bytes, storedWidth, storedHeight);
            PreparedThumbnail prepared;
            prepared.sourceWidth = swapsSides(orientation) ? storedHeight : storedWidth;
            prepared.sourceHeight = swapsSides(orientation) ? storedWidth : storedHeight;
            const TargetSize target = thumbnailSize(prepared.sourceWidth, prepared.sourceHeight, options.sizes);
            if (!madeFromRows(prepared.sourceWidth, prepared.sourceHeight, target, options.quality))
                return std::nullopt;
            thumbnailer.makeThumbnail(bytes, storedWidth, storedHeight, target.width, target.height, options.quality,
                                      prepared.thumbnail, orientation);
            return prepared;
        } catch (...) {
            // Whatever went wrong goes wrong again at the file's turn, where
            // the run reports it.
            return std::nullopt;
        }
    }
};

ThumbnailReadAhead::ThumbnailReadAhead(QStringList sources, int workers, Limits limits)
    : m_sources(std::move(sources)), m_limits(limits), m_ownMaker(std::make_unique<Maker>())
{
    m_slots.resize(std::size_t(m_sources.size()));
    for (int i = 0; i < workers; ++i)
        m_threads.emplace_back([this] { work(); });
}

ThumbnailReadAhead::~ThumbnailReadAhead()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    // A worker finishes the file it is making; nothing it made is used.
    for (std::thread& thread : m_threads)
        thread.join();
    m_slots.clear();
    m_ownMaker.reset();
    giveBackFreeMemory();
}

int ThumbnailReadAhead::defaultWorkers()
{
    const int processors = int(std::thread::hardware_concurrency());
    return std::clamp(processors - 1, 0, 2);
}

int ThumbnailReadAhead::filesMade() const
{
    const std::lock_guard lock(m_mutex);
    return m_filesMade;
}

int ThumbnailReadAhead::nextToMake(bool takingThread) const
{
    const int end = std::min(m_turn + 1 + m_limits.lookAhead, int(m_slots.size()));
    std::vector<AheadFile> window;
    window.reserve(std::size_t(std::max(end - m_turn, 0)));
    for (int p = m_turn; p < end; ++p) {
        const Slot* slot = m_slots[std::size_t(p)].get();
        AheadFile file;
        file.state = AheadFile::State::Done;  // not planned yet: nothing to make
        if (slot) {
            file = slot->plan;
            file.state = slot->state;
        }
        window.push_back(file);
    }
    const AheadMemory memory{m_making, m_limits.decodeMemory, m_madeAhead, m_limits.madeAheadMemory};
    const int chosen = chooseNextFile(window, takingThread, memory);
    return chosen < 0 ? -1 : m_turn + chosen;
}

void ThumbnailReadAhead::make(std::unique_lock<std::mutex>& lock, int position, Maker& maker)
{
    Slot& slot = *m_slots[std::size_t(position)];
    slot.state = AheadFile::State::Running;
    m_making += slot.plan.memory;
    ++m_filesMade;
    const ThumbnailOptions options = slot.options;
    const QString path = paths::join(options.folder, m_sources[position]);
    lock.unlock();
    std::optional<FileStamp> stamp;
    std::optional<PreparedThumbnail> result = maker.make(path, options, stamp);
    if (slot.plan.memory >= kLargeDecode)
        giveBackFreeMemory();
    lock.lock();
    m_making -= slot.plan.memory;
    if (position < m_turn) {
        // Its turn has passed meanwhile.
        m_slots[std::size_t(position)].reset();
    } else {
        slot.stamp = stamp;
        slot.result = std::move(result);
        slot.state = AheadFile::State::Done;
        if (slot.result)
            slot.madeAheadBytes = std::int64_t(slot.result->thumbnail.rowBytes()) * slot.result->thumbnail.height();
        m_madeAhead += slot.madeAheadBytes;
    }
    m_changed.notify_all();
}

void ThumbnailReadAhead::work()
{
    Maker maker;
    std::unique_lock lock(m_mutex);
    for (;;) {
        int position = -1;
        m_changed.wait(lock, [&] { return m_stopping || (position = nextToMake(false)) >= 0; });
        if (m_stopping)
            return;
        make(lock, position, maker);
    }
}

void ThumbnailReadAhead::settle()
{
    std::unique_lock lock(m_mutex);
    // Without workers the files ahead are never made: nothing to wait for.
    if (m_threads.empty())
        return;
    m_changed.wait(lock, [&] { return nextToMake(false) < 0 && m_making == 0; });
}

std::optional<PreparedThumbnail> ThumbnailReadAhead::take(int position, const ThumbnailOptions& options)
{
    const int end = std::min(position + 1 + m_limits.lookAhead, int(m_slots.size()));
    const auto needsPlan = [&](const std::unique_ptr<Slot>& slot) {
        return !slot || (slot->state != AheadFile::State::Running && !(slot->options == options));
    };
    std::vector<int> toPlan;
    {
        std::unique_lock lock(m_mutex);
        // Work for earlier files is no longer wanted; what is being made
        // is dropped when it is done.
        for (int p = m_turn; p < position; ++p) {
            std::unique_ptr<Slot>& slot = m_slots[std::size_t(p)];
            if (slot && slot->state != AheadFile::State::Running) {
                m_madeAhead -= slot->madeAheadBytes;
                slot.reset();
            }
        }
        m_turn = position;
        for (int p = position; p < end; ++p)
            if (needsPlan(m_slots[std::size_t(p)]))
                toPlan.push_back(p);
    }
    // The files ahead are planned with the options as they stand now
    // (those made with others are made again), from what their headers
    // say, without holding up the workers.
    std::vector<std::unique_ptr<Slot>> plans;
    for (const int p : toPlan) {
        auto slot = std::make_unique<Slot>();
        slot->options = options;
        slot->plan = estimate(paths::join(options.folder, m_sources[p]), options, m_limits.decodeMemory);
        plans.push_back(std::move(slot));
    }

    std::unique_lock lock(m_mutex);
    for (std::size_t i = 0; i < toPlan.size(); ++i) {
        std::unique_ptr<Slot>& slot = m_slots[std::size_t(toPlan[i])];
        if (!needsPlan(slot))
            continue;
        if (slot)
            m_madeAhead -= slot->madeAheadBytes;
        slot = std::move(plans[i]);
    }
    m_changed.notify_all();

    const QString path = paths::join(options.folder, m_sources[position]);
    for (;;) {
        Slot& slot = *m_slots[std::size_t(position)];
        if (slot.state == AheadFile::State::Done) {
            // Made with other options, or the file has changed since:
            // made again, now.
            if (slot.options == options && stampOf(path) == slot.stamp)
                break;
            m_madeAhead -= slot.madeAheadBytes;
            slot.madeAheadBytes = 0;
            slot.result.reset();
            slot.options = options;
            slot.state = AheadFile::State::Planned;
            continue;
        }
        // The file in hand when it may be started, else a later one while
        // a worker makes it or memory is short; else wait for a worker.
        const int next = nextToMake(true);
        if (next >= 0)
            make(lock, next, *m_ownMaker);
        else
            m_changed.wait(lock);
    }
    m_madeAhead -= m_slots[std::size_t(position)]->madeAheadBytes;
    const std::unique_ptr<Slot> done = std::move(m_slots[std::size_t(position)]);
    return std::move(done->result);
}

}  // namespace tessaly
