#include "batch/thumbnailreadahead.h"

#include "imaging/codecs/jpegcodec.h"
#include "imaging/jpegthumbnail.h"
#include "imaging/photo/jpegmetadata.h"
#include "imaging/photo/photoadjust.h"
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

namespace {

// What tells one state of a file from another: any write, a replacement
// or a rename over it changes one of these.
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = -1;
    std::int64_t modified = 0;
    std::int64_t changed = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

std::optional<FileStamp> stampOf(const QString& path)
{
    struct stat info {};
    // Only plain files are read ahead: opening a pipe or a device could
    // block a worker for a file whose turn may never come.
    if (::stat(encodeFileName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    FileStamp stamp;
    stamp.device = info.st_dev;
    stamp.inode = info.st_ino;
    stamp.size = info.st_size;
    stamp.modified = std::int64_t(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    stamp.changed = std::int64_t(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec;
    return stamp;
}

// libjpeg takes its buffers from malloc: for a large progressive picture
// its coefficients, about 6 bytes a pixel, in blocks of tens of megabytes.
// glibc hands blocks that large out as fresh mappings, whose every page
// then costs a fault and a clearing, picture after picture. Kept in one
// heap instead, the blocks of one picture are reused for the next; what is
// free is given back when the run ends.
void keepLargeBlocksForReuse()
{
#ifdef __GLIBC__
    static std::once_flag once;
    std::call_once(once, [] {
        mallopt(M_ARENA_MAX, 1);
        mallopt(M_MMAP_THRESHOLD, 128 * 1024 * 1024);
        mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
    });
#endif
}

void giveBackFreeMemory()
{
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

}  // namespace

bool operator==(const ThumbnailOptions& a, const ThumbnailOptions& b)
{
    const SizeOptions& x = a.sizes;
    const SizeOptions& y = b.sizes;
    return a.folder == b.folder && a.quality == b.quality && x.keepAspect == y.keepAspect &&
           x.forceWidth == y.forceWidth && x.forceHeight == y.forceHeight && x.fixedWidth == y.fixedWidth &&
           x.fixedHeight == y.fixedHeight && x.maximum == y.maximum;
}

struct ThumbnailReadAhead::Slot {
    enum class State { Planned, Running, Done } state = State::Planned;
    ThumbnailOptions options;
    std::optional<FileStamp> stamp;  // the file as it was read
    std::optional<PreparedThumbnail> result;
};

// One thread's reusable buffers.
struct ThumbnailReadAhead::Maker {
    JpegThumbnailer thumbnailer;
    QByteArray bytes;

    // The thumbnail of the file at `path` for `options`, and the file's
    // stamp from before it was read; none for what the run makes itself.
    std::optional<PreparedThumbnail> make(const QString& path, const ThumbnailOptions& options,
                                          std::optional<FileStamp>& stamp)
    {
        stamp = stampOf(path);
        if (!stamp || pictureKindForName(path) != PictureKind::Jpeg)
            return std::nullopt;
        try {
            QFile file;
            if (openForReading(file, path) || file.size() > std::numeric_limits<int>::max())
                return std::nullopt;
            // The buffer keeps its capacity from one file to the next.
            const qsizetype size = qsizetype(file.size());
            bytes.resize(size);
            if (file.read(bytes.data(), size) != size || !file.atEnd())
                return std::nullopt;
            // Photos to be turned upright or put into sRGB take the run's full
            // decode, where that happens.
            if (photoNeedsAdjusting(readJpegMetadata(bytes)))
                return std::nullopt;
            PreparedThumbnail prepared;
            readJpegSize(bytes, prepared.sourceWidth, prepared.sourceHeight);
            const TargetSize target = thumbnailSize(prepared.sourceWidth, prepared.sourceHeight, options.sizes);
            if (target.width < 1 || target.height < 1 ||
                (options.quality && (prepared.sourceWidth < 2 || prepared.sourceHeight < 2)))
                return std::nullopt;
            thumbnailer.makeThumbnail(bytes, prepared.sourceWidth, prepared.sourceHeight, target.width, target.height,
                                      options.quality, prepared.thumbnail);
            return prepared;
        } catch (...) {
            // Whatever went wrong goes wrong again at the file's turn, where
            // the run reports it.
            return std::nullopt;
        }
    }
};

ThumbnailReadAhead::ThumbnailReadAhead(QStringList sources, int workers)
    : m_sources(std::move(sources)), m_ownMaker(std::make_unique<Maker>())
{
    keepLargeBlocksForReuse();
    m_slots.resize(std::size_t(m_sources.size()));
    m_window = std::max(workers, 0) + 2;
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

int ThumbnailReadAhead::nextPlanned() const
{
    const int end = std::min(m_turn + m_window, int(m_slots.size()));
    for (int p = m_turn; p < end; ++p)
        if (m_slots[std::size_t(p)] && m_slots[std::size_t(p)]->state == Slot::State::Planned)
            return p;
    return -1;
}

void ThumbnailReadAhead::make(std::unique_lock<std::mutex>& lock, int position, Maker& maker)
{
    Slot& slot = *m_slots[std::size_t(position)];
    slot.state = Slot::State::Running;
    const ThumbnailOptions options = slot.options;
    const QString path = paths::join(options.folder, m_sources[position]);
    lock.unlock();
    std::optional<FileStamp> stamp;
    std::optional<PreparedThumbnail> result = maker.make(path, options, stamp);
    lock.lock();
    slot.stamp = stamp;
    slot.result = std::move(result);
    slot.state = Slot::State::Done;
    m_changed.notify_all();
}

void ThumbnailReadAhead::work()
{
    Maker maker;
    std::unique_lock lock(m_mutex);
    for (;;) {
        int position = -1;
        m_changed.wait(lock, [&] { return m_stopping || (position = nextPlanned()) >= 0; });
        if (m_stopping)
            return;
        make(lock, position, maker);
    }
}

void ThumbnailReadAhead::settle()
{
    std::unique_lock lock(m_mutex);
    const auto busy = [&] {
        return std::any_of(m_slots.begin(), m_slots.end(),
                           [](const auto& slot) { return slot && slot->state != Slot::State::Done; });
    };
    // Without workers the files ahead are never made: nothing to wait for.
    if (m_threads.empty())
        return;
    m_changed.wait(lock, [&] { return !busy(); });
}

std::optional<PreparedThumbnail> ThumbnailReadAhead::take(int position, const ThumbnailOptions& options)
{
    std::unique_lock lock(m_mutex);
    // Work for earlier files is no longer wanted.
    for (int p = std::max(m_turn - m_window, 0); p < position; ++p)
        if (m_slots[std::size_t(p)] && m_slots[std::size_t(p)]->state != Slot::State::Running)
            m_slots[std::size_t(p)].reset();
    m_turn = position;
    // The files ahead are made with the options as they stand now; those
    // made with others are made again.
    const int end = std::min(position + m_window, int(m_slots.size()));
    for (int p = position; p < end; ++p) {
        std::unique_ptr<Slot>& slot = m_slots[std::size_t(p)];
        if (!slot || (slot->state != Slot::State::Running && slot->options != options)) {
            slot = std::make_unique<Slot>();
            slot->options = options;
        }
    }
    m_changed.notify_all();

    const QString path = paths::join(options.folder, m_sources[position]);
    for (;;) {
        Slot& slot = *m_slots[std::size_t(position)];
        if (slot.state == Slot::State::Planned) {
            make(lock, position, *m_ownMaker);
            break;
        }
        if (slot.state == Slot::State::Done) {
            // Made with other options, or the file has changed since:
            // made again, now.
            if (slot.options == options && stampOf(path) == slot.stamp)
                break;
            slot = Slot();
            slot.options = options;
            continue;
        }
        // A worker has it: make a later file meanwhile, or wait.
        const int later = nextPlanned();
        if (later >= 0)
            make(lock, later, *m_ownMaker);
        else
            m_changed.wait(lock, [&] { return slot.state == Slot::State::Done || nextPlanned() >= 0; });
    }
    const std::unique_ptr<Slot> done = std::move(m_slots[std::size_t(position)]);
    return std::move(done->result);
}

}  // namespace tessaly
