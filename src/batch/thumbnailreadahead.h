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
// read: the folder the file is in, the size rules and the method.
struct ThumbnailOptions {
    QString folder;
    SizeOptions sizes;
    bool quality = true;
};
bool operator==(const ThumbnailOptions& a, const ThumbnailOptions& b);

// A JPEG thumbnail made ahead of its file's turn.
struct PreparedThumbnail {
    int sourceWidth = 0;
    int sourceHeight = 0;
    Bitmap thumbnail;
};

// Makes the thumbnails of the JPEG files of a run from only the rows the
// resize reads, and those of the next files ahead of their turn on other
// processors while the run writes the files before them. Nothing is written here and nothing is
// shown: the run still takes each file in order and does everything the
// user sees (counter, messages, output file) at that file's turn.
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
    // `workers` background threads (0: none) and the thread that takes the
    // files work on the file in hand and at most `workers + 1` after it;
    // while a worker makes the file in hand, the taking thread makes a
    // later one rather than wait.
    ThumbnailReadAhead(QStringList sources, int workers);
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

    // Background threads worth starting on this machine: one fewer than
    // its processors, at most 2 (each decode of a large progressive JPEG
    // holds its whole coefficient buffer, about 6 bytes a pixel).
    static int defaultWorkers();

private:
    struct Slot;
    struct Maker;
    void work();
    // A planned slot inside the window, or -1; the mutex is held.
    int nextPlanned() const;
    // Makes slot `position` with the mutex released; held again on return.
    void make(std::unique_lock<std::mutex>& lock, int position, Maker& maker);

    const QStringList m_sources;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::unique_ptr<Slot>> m_slots;  // by position; null until planned
    int m_turn = 0;
    int m_window = 0;
    bool m_stopping = false;
    std::unique_ptr<Maker> m_ownMaker;  // the taking thread's buffers
    std::vector<std::thread> m_threads;
};

}  // namespace tessaly
