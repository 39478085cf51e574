#pragma once

#include "imaging/bitmap.h"
#include "imaging/sizing.h"

#include <QString>
#include <QStringList>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace tessaly {

// What a thumbnail run asks of one file, as the options stand when it is
// read: the folder the file is in, the size rules, the method and whether
// photos are turned as their camera orientation says.
struct ThumbnailOptions {
    QString folder;
    SizeOptions sizes;
    bool quality = true;
    bool turnUpright = true;
};
bool operator==(const ThumbnailOptions& a, const ThumbnailOptions& b);

// A JPEG thumbnail made ahead of its file's turn, with the size of the
// picture it was made from (upright when the photo was turned).
struct PreparedThumbnail {
    int sourceWidth = 0;
    int sourceHeight = 0;
    Bitmap thumbnail;
};

// One file inside the window of files a ThumbnailReadAhead works on, as
// the choice of the next file to make sees it.
struct AheadFile {
    enum class State { Planned, Running, Done };
    State state = State::Planned;
    std::int64_t cost = 0;         // a rough measure of the time making it takes
    std::int64_t memory = 0;       // the most memory making it holds
    std::int64_t resultBytes = 0;  // the size of its thumbnail
};

// The memory that work ahead holds and may hold.
struct AheadMemory {
    std::int64_t making = 0;       // by the files being made
    std::int64_t makingLimit = 0;  // by those at most (one file that needs more is made alone)
    std::int64_t madeAhead = 0;    // by the thumbnails made ahead and not yet taken
    std::int64_t madeAheadLimit = 0;
};

// Which file of `window` (the file in hand first, then those after it in
// order) a thread that is free makes next, as an index into `window`, or
// -1 for none. The thread that takes the files in order makes the first
// planned one, so that the file in hand and those right after it are ready
// soonest; the other threads make the large ones (the earliest of those
// costing at least half as much as the costliest), so that the large files
// are started early and do not end up alone at the end of the run. A file
// is only started when its decoding fits the memory left (or nothing is
// being made at all), and, unless it is the file in hand, when its
// thumbnail fits beside those made ahead.
int chooseNextFile(const std::vector<AheadFile>& window, bool takingThread, const AheadMemory& memory);

// How far ahead a ThumbnailReadAhead works, and with how much memory.
struct ReadAheadLimits {
    // Files after the one in hand that may be made ahead: enough for the
    // large files of a folder to be started early.
    int lookAhead = 32;
    // The memory the files being made may hold at once (one file that
    // needs more is made alone). The decoding of a progressive JPEG holds
    // all its coefficients, about 6 bytes a pixel: 88 MB for a 5120 by
    // 2880 photo.
    std::int64_t decodeMemory = std::int64_t(112) << 20;
    // The thumbnails made ahead and not yet taken.
    std::int64_t madeAheadMemory = std::int64_t(24) << 20;
};

// Makes the thumbnails of the JPEG files of a run from only the rows the
// resize reads, and those of the next files ahead of their turn on other
// processors while the run writes the files before them. Nothing is
// written here and nothing is shown: the run still takes each file in
// order and does everything the user sees (counter, messages, output
// file) at that file's turn.
//
// Work done ahead is only handed over when it still holds at the file's
// turn: made with the options read then, from the file as it is then. A
// file whose work failed, does not hold, or that the row decoder does not
// take (other kinds, sizes below 1 pixel, pictures too small for the
// quality method) gets no result, and the run makes it as it always has,
// so errors come at the file they belong to and with the same words. When
// the run stops, work for files whose turn never came is dropped.
class ThumbnailReadAhead {
public:
    using Limits = ReadAheadLimits;

    // `workers` background threads (0: none) and the thread that takes the
    // files work on the file in hand and the files after it; while a worker
    // makes the file in hand, the taking thread makes a later one rather
    // than wait.
    ThumbnailReadAhead(QStringList sources, int workers, Limits limits = Limits());
    ~ThumbnailReadAhead();
    ThumbnailReadAhead(const ThumbnailReadAhead&) = delete;
    ThumbnailReadAhead& operator=(const ThumbnailReadAhead&) = delete;

    // At the turn of file `position`, with the options read for it: the
    // files after it are planned with these options, and the file's own
    // thumbnail is handed over when it was made ahead with the same options
    // from the file as it is now, else made now. None when the run is to
    // make the file itself. Positions are taken in ascending order.
    std::optional<PreparedThumbnail> take(int position, const ThumbnailOptions& options);

    // Waits until no file ahead is left to be made or being made.
    void settle();

    // How many times a file was made, here or ahead (for tests).
    int filesMade() const;

    // Background threads worth starting on this machine: one fewer than
    // its processors, at most 2.
    static int defaultWorkers();

private:
    struct Slot;
    struct Maker;
    void work();
    // The next slot the calling thread is to make, or -1; the mutex is held.
    int nextToMake(bool takingThread) const;
    // Makes slot `position` with the mutex released; held again on return.
    void make(std::unique_lock<std::mutex>& lock, int position, Maker& maker);

    const QStringList m_sources;
    const Limits m_limits;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::unique_ptr<Slot>> m_slots;  // by position; null until planned
    int m_turn = 0;
    std::int64_t m_making = 0;     // memory of the slots being made
    std::int64_t m_madeAhead = 0;  // bytes of the thumbnails done and not taken
    bool m_stopping = false;
    int m_filesMade = 0;
    std::unique_ptr<Maker> m_ownMaker;  // the taking thread's buffers
    std::vector<std::thread> m_threads;
};

}  // namespace tessaly
