#include "imaging/codecs/metafileplayer.h"

#include "imaging/codecs/codecerror.h"
#include "imaging/codecs/sanitizerbuild.h"

#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace tessaly {

namespace {

// Enough for any real drawing: the libraries' own needs, the SVG text of
// the file (many times its size) and two pictures of the target size.
PlayerLimits playerLimitsFor(std::int64_t pixels, std::int64_t inputBytes)
{
    return childLimits(std::int64_t(384) << 20, 12, 64, pixels, inputBytes);
}

const char* formatWord(MetafileFormat format)
{
    return format == MetafileFormat::Enhanced ? "emf" : "wmf";
}

[[noreturn]] void playerFailed(PlayerOutcome outcome)
{
    childFailed(outcome, {QStringLiteral("the metafile"), "play back", "played back", "player", "the metafile player"});
}

}  // namespace

PlayerLimits childLimits(std::int64_t base, std::int64_t bytesPerPixel, std::int64_t bytesPerInputByte,
                         std::int64_t pixels, std::int64_t inputBytes)
{
    PlayerLimits limits;
    if (kAddressSanitizer)
        base = std::int64_t(2) << 30;
    limits.memoryBytes = base + pixels * bytesPerPixel + inputBytes * bytesPerInputByte;
    limits.time = std::chrono::seconds(kAddressSanitizer ? 60 : 20);
    return limits;
}

void childFailed(PlayerOutcome outcome, const ChildWords& words)
{
    switch (outcome) {
    case PlayerOutcome::TooSlow:
        throw CodecError(QStringLiteral("%1 took too long to %2").arg(words.subject, QLatin1String(words.verb)));
    case PlayerOutcome::TooLarge:
        throw CodecError(
            QStringLiteral("%1 needed too much memory to %2").arg(words.subject, QLatin1String(words.verb)));
    case PlayerOutcome::Crashed:
        throw CodecError(QStringLiteral("%1 crashed its %2").arg(words.subject, QLatin1String(words.role)));
    case PlayerOutcome::NotStarted:
        throw CodecError(QStringLiteral("%1 could not be started").arg(QLatin1String(words.program)));
    default: throw CodecError(QStringLiteral("%1 cannot be %2").arg(words.subject, QLatin1String(words.done)));
    }
}

QString besideThisProgram(const char* name)
{
    std::vector<char> self(4096);
    const ssize_t length = readlink("/proc/self/exe", self.data(), self.size() - 1);
    if (length <= 0)
        return QString::fromLatin1(name);
    std::string path(self.data(), std::size_t(length));
    path = path.substr(0, path.rfind('/') + 1) + name;
    return QString::fromStdString(path);
}

QString metafilePlayerPath()
{
    return besideThisProgram("tessaly-metafile-player");
}

Bitmap renderMetafileInPlayer(const QByteArray& bytes, MetafileFormat format, int width, int height)
{
    const std::int64_t pixels = std::int64_t(width) * height;
    const PlayerLimits limits = playerLimitsFor(pixels, bytes.size());
    const PlayerResult run =
        runPlayer(metafilePlayerPath(),
                  {QString::fromLatin1(formatWord(format)), QString::number(width), QString::number(height),
                   QString::number(limits.memoryBytes), QString::number(limits.time.count() / 1000)},
                  bytes, limits, pixels * 3);
    if (run.outcome != PlayerOutcome::Done)
        playerFailed(run.outcome);
    if (run.output.size() != pixels * 3)
        throw CodecError("the metafile player gave an incomplete picture");
    Bitmap bitmap(width, height);
    for (int y = 0; y < height; ++y)
        std::memcpy(bitmap.row(y), run.output.constData() + std::size_t(y) * bitmap.rowBytes(), bitmap.rowBytes());
    return bitmap;
}

void readMetafileSizeInPlayer(const QByteArray& bytes, int& width, int& height)
{
    const PlayerLimits limits = playerLimitsFor(0, bytes.size());
    const PlayerResult run =
        runPlayer(metafilePlayerPath(),
                  {QStringLiteral("wmf"), QStringLiteral("size"), QString::number(limits.memoryBytes),
                   QString::number(limits.time.count() / 1000)},
                  bytes, limits, 8);
    if (run.outcome != PlayerOutcome::Done)
        playerFailed(run.outcome);
    if (run.output.size() != 8)
        throw CodecError("the metafile player gave no size");
    std::int32_t values[2];
    std::memcpy(values, run.output.constData(), 8);
    width = values[0];
    height = values[1];
}

}  // namespace tessaly
