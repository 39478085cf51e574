#pragma once

#include "imaging/bitmap.h"
#include "imaging/codecs/metafilecodec.h"
#include "platform/childprocess.h"

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

// A child program's run: platform/childprocess.h owns every child.
using PlayerOutcome = ChildOutcome;
using PlayerLimits = ChildLimits;
using PlayerResult = ChildResult;

// Runs `program` with `arguments`, `input` on its standard input, and
// collects at most `maxOutput` bytes of its standard output. Done only when
// it exits with status 0 and wrote no more than `maxOutput`.
inline PlayerResult runPlayer(const QString& program, const QStringList& arguments, const QByteArray& input,
                              const PlayerLimits& limits, std::int64_t maxOutput)
{
    return runChild(program, arguments, input, limits, maxOutput);
}

// The limits of a child program that reads a file of `inputBytes` into a
// picture of `pixels`: `base` bytes for the libraries, and so many bytes
// more a pixel and a byte of the file. The sanitizer's shadow memory and
// quarantine need more room and time.
PlayerLimits childLimits(std::int64_t base, std::int64_t bytesPerPixel, std::int64_t bytesPerInputByte,
                         std::int64_t pixels, std::int64_t inputBytes);

// How the failures of one kind of child are told: "the metafile took too
// long to play back", "the TIFF file crashed its decoder".
struct ChildWords {
    QString subject;      // "the metafile"
    const char* verb;     // "play back"
    const char* done;     // "played back"
    const char* role;     // "player"
    const char* program;  // "the metafile player"
};

// Throws the CodecError that tells what became of a child that did not
// end Done.
[[noreturn]] void childFailed(PlayerOutcome outcome, const ChildWords& words);

// The path of the program `name` beside the running program (found
// through /proc, so also where no application object exists).
QString besideThisProgram(const char* name);

// Where the player program is: beside the running program.
QString metafilePlayerPath();

}  // namespace tessaly
