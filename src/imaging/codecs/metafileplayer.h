#pragma once

#include "imaging/bitmap.h"
#include "imaging/codecs/metafilecodec.h"

#include <QByteArray>
#include <QStringList>
#include <chrono>
#include <cstdint>

namespace tessaly {

// The metafile libraries are old C code that trusts the files it reads.
// Files from other programs are therefore played back in a separate
// player program, `tessaly-metafile-player`, installed beside this one:
// it reads the file on its standard input and writes the pixels to its
// standard output. A player that crashes, runs past its time or grows past
// its memory is stopped, and the file is one that cannot be opened; the
// run and the window go on.

// Plays `bytes` back at `width` by `height` in the player. Throws CodecError.
Bitmap renderMetafileInPlayer(const QByteArray& bytes, MetafileFormat format, int width, int height);
// libwmf's size of a Windows metafile without a placeable header, found in
// the player. Throws CodecError.
void readMetafileSizeInPlayer(const QByteArray& bytes, int& width, int& height);

// What became of one run of a player program.
enum class PlayerOutcome { Done, Refused, Crashed, TooSlow, TooLarge, NotStarted };

struct PlayerLimits {
    std::int64_t memoryBytes = 0;       // resident memory the player may use
    std::chrono::milliseconds time{0};  // wall time for the whole run
};

struct PlayerResult {
    PlayerOutcome outcome = PlayerOutcome::NotStarted;
    QByteArray output;
};

// Runs `program` with `arguments`, `input` on its standard input, and
// collects at most `maxOutput` bytes of its standard output. Done only when
// it exits with status 0 and wrote no more than `maxOutput`.
PlayerResult runPlayer(const QString& program, const QStringList& arguments, const QByteArray& input,
                       const PlayerLimits& limits, std::int64_t maxOutput);

// The path of the program `name` beside the running program (found
// through /proc, so also where no application object exists).
QString besideThisProgram(const char* name);

// Where the player program is: beside the running program.
QString metafilePlayerPath();

}  // namespace tessaly
