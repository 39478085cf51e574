// Metafiles built to break the metafile libraries: every record is checked
// before a library sees it, and what the libraries do with files from
// other programs happens in a player process whose crash, hang or growth
// ends in "cannot open", never in the end of the run.

#include "imaging/codecs/codecerror.h"
#include "imaging/codecs/metafilecodec.h"
#include "imaging/codecs/metafileplayer.h"
#include "imaging/picture.h"
#include "support/imagingtesttools.h"

#include <QElapsedTimer>
#include <cerrno>
#include <csignal>
#include <gtest/gtest.h>
#include <limits>
#include <new>

namespace tessaly {
namespace {

using testing::makeBitmap;
using testing::Rgb;

void put16(QByteArray& bytes, qsizetype at, std::uint32_t value)
{
    bytes[at] = char(value & 0xff);
    bytes[at + 1] = char((value >> 8) & 0xff);
}

void put32(QByteArray& bytes, qsizetype at, std::uint32_t value)
{
    put16(bytes, at, value & 0xffff);
    put16(bytes, at + 2, value >> 16);
}

std::uint32_t get32(const QByteArray& bytes, qsizetype at)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | std::uint8_t(bytes[at + i]);
    return value;
}

QByteArray inkscapeEmf()
{
    return testing::readTestFile(QStringLiteral("shapes-inkscape.emf"));
}

// The offset of the first record of `type` in an EMF.
qsizetype emfRecord(const QByteArray& emf, std::uint32_t type)
{
    for (qsizetype at = 0; at + 8 <= emf.size(); at += get32(emf, at + 4))
        if (get32(emf, at) == type)
            return at;
    return -1;
}

// An EMF with `record` inserted before its end record (sizes fixed up).
QByteArray withRecord(QByteArray emf, const QByteArray& record)
{
    const qsizetype eof = emfRecord(emf, 14);
    emf.insert(eof, record);
    put32(emf, 48, std::uint32_t(emf.size()));
    put32(emf, 52, get32(emf, 52) + 1);
    return emf;
}

QByteArray record(std::uint32_t type, QByteArray body)
{
    QByteArray bytes(8, '\0');
    put32(bytes, 0, type);
    while ((body.size() + 8) % 4)
        body.append('\0');
    put32(bytes, 4, std::uint32_t(body.size() + 8));
    return bytes + body;
}

void expectRefused(const QByteArray& bytes, const char* name)
{
    QElapsedTimer timer;
    timer.start();
    EXPECT_THROW(decodePicture(bytes, QString::fromLatin1(name)), LoadError) << name;
    EXPECT_LT(timer.elapsed(), 2000) << name;
}

// Guards the EMF reader: an EMF+ record larger than the comment that holds it
// is refused; one that fits is read.
TEST(HostileMetafiles, OversizedEmfPlusRecord)
{
    QByteArray body(4, '\0');
    put32(body, 0, 24);  // comment data: "EMF+" and one record
    body.append("EMF+", 4);
    QByteArray plus(12, '\0');
    put16(plus, 0, 0x4001);   // EMF+ header record
    put32(plus, 4, 0x10000);  // claims 64 KB
    put32(plus, 8, 0xFFF0);
    body.append(plus);
    body.append(QByteArray(8, '\0'));
    const QByteArray emf = withRecord(inkscapeEmf(), record(70, body));
    expectRefused(emf, "plus.emf");
    // The same comment with a record that fits is fine.
    QByteArray fitting = body;
    put32(fitting, 8 + 4, 20);
    put32(fitting, 8 + 8, 8);
    EXPECT_NO_THROW(decodePicture(withRecord(inkscapeEmf(), record(70, fitting)), QStringLiteral("fine.emf")));
}

// Guards the EMF size against overflow: header bounds and frames at the
// extremes of 32-bit numbers give a picture of a sane width or a refusal.
TEST(HostileMetafiles, HeaderBoundsAtTheExtremes)
{
    const std::uint32_t extremes[] = {0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu, 0};
    for (std::uint32_t a : extremes)
        for (std::uint32_t b : extremes) {
            QByteArray emf = inkscapeEmf();
            put32(emf, 8, a);   // bounds left
            put32(emf, 16, b);  // bounds right
            put32(emf, 24, b);  // frame left
            put32(emf, 32, a);  // frame right
            try {
                const Picture picture = decodePicture(emf, QStringLiteral("edge.emf"));
                EXPECT_GT(picture.width(), 0);
                EXPECT_LE(picture.width(), 32767);
            } catch (const LoadError&) {
            }
        }
}

// Guards libwmf's buffers: a WMF whose header and records claim gigabytes is
// corrected from the file or refused.
TEST(HostileMetafiles, WmfHugeSizesAndCounts)
{
    const QByteArray wmf = testing::readTestFile(QStringLiteral("shapes-inkscape.wmf"));
    // The header's largest record and file size are made true before
    // libwmf sizes its buffers by them.
    QByteArray lying = wmf;
    put32(lying, 22 + 6, 0x7FFFFFFFu);
    put32(lying, 22 + 12, 0x7FFFFFFFu);
    const QByteArray checked = checkedMetafile(lying, MetafileFormat::Windows);
    EXPECT_EQ(get32(checked, 22 + 6), std::uint32_t((wmf.size() - 22) / 2));
    EXPECT_LT(get32(checked, 22 + 12), 1000u);
    EXPECT_NO_THROW(decodePicture(lying, QStringLiteral("lying.wmf")).render(50, 25));

    // A polygon record whose point count runs far past its record, and a
    // record whose size runs past the file.
    qsizetype at = 22 + 18;
    while (at + 6 <= wmf.size() && (std::uint8_t(wmf[at + 4]) | std::uint8_t(wmf[at + 5]) << 8) != 0x0324)
        at += qsizetype(get32(wmf, at)) * 2;
    ASSERT_LT(at + 6, wmf.size());
    QByteArray count = wmf;
    put16(count, at + 6, 0xFFFF);
    expectRefused(count, "count.wmf");
    QByteArray size = wmf;
    put32(size, at, 0x40000000u);
    expectRefused(size, "size.wmf");
}

// Guards memory in the EMF library: a bitmap record whose run-length data
// claims a picture far larger than the data (the EMF library expands it without
// end).
TEST(HostileMetafiles, RunLengthBitmapOverLittleData)
{
    QByteArray body(72, '\0');  // STRETCHDIBITS after type and size
    const qsizetype bmiAt = 80, bitsAt = 80 + 40 + 8;
    put32(body, 40, bmiAt);
    put32(body, 44, 48);
    put32(body, 48, bitsAt);
    put32(body, 52, 8);
    put32(body, 56, 0);  // DIB_RGB_COLORS
    put32(body, 60, 0x00CC0020u);
    QByteArray info(40, '\0');
    put32(info, 0, 40);
    put32(info, 4, 30000);
    put32(info, 8, 30000);
    put16(info, 12, 1);
    put16(info, 14, 8);
    put32(info, 16, 1);  // RLE8
    put32(info, 32, 2);
    body.append(info);
    body.append(QByteArray("\0\0\0\0\xff\xff\xff\0", 8));
    body.append(QByteArray("\xff\x01\x00\x02\xff\xff\x00\x01", 8));
    expectRefused(withRecord(inkscapeEmf(), record(81, body)), "rle.emf");
}

// Guards the caller against the metafile player: whatever the player does, the
// caller gets an answer within its limits: a crash, a hang and growing memory
// are each "cannot open".
TEST(MetafilePlayer, CrashHangAndGrowthAreContained)
{
    QString program = metafilePlayerPath();
    program.replace(QStringLiteral("tessaly-metafile-player"), QStringLiteral("hostile_player"));
    const QByteArray input(300000, 'x');  // more than a socket buffer holds
    PlayerLimits limits;
    limits.memoryBytes = std::int64_t(256) << 20;
    limits.time = std::chrono::milliseconds(1500);
    // The growing player is given time enough to reach the memory limit
    // even on a busy machine under the sanitizer, so that it is the memory
    // that stops it.
    struct Case {
        const char* mode;
        PlayerOutcome outcome;
        std::chrono::milliseconds time;
    };
    const std::chrono::milliseconds quick(1500), ample(30000);
    for (const Case& c : {Case{"crash", PlayerOutcome::Crashed, quick}, Case{"hang", PlayerOutcome::TooSlow, quick},
                          Case{"grow", PlayerOutcome::TooLarge, ample}, Case{"fail", PlayerOutcome::Refused, quick}}) {
        PlayerLimits caseLimits = limits;
        caseLimits.time = c.time;
        QElapsedTimer timer;
        timer.start();
        const PlayerResult result = runPlayer(program, {QString::fromLatin1(c.mode)}, input, caseLimits, 100);
        EXPECT_EQ(result.outcome, c.outcome) << c.mode;
        EXPECT_TRUE(result.output.isEmpty()) << c.mode;
        EXPECT_LT(timer.elapsed(), c.time.count() + 3500) << c.mode;
    }
    const PlayerResult echo = runPlayer(program, {QStringLiteral("echo")}, input, limits, input.size());
    EXPECT_EQ(echo.outcome, PlayerOutcome::Done);
    EXPECT_EQ(echo.output, input);
    // More output than asked for is refused.
    EXPECT_EQ(runPlayer(program, {QStringLiteral("echo")}, input, limits, 1000).outcome, PlayerOutcome::Refused);
    EXPECT_EQ(runPlayer(QStringLiteral("/nonexistent/player"), {}, input, limits, 10).outcome,
              PlayerOutcome::NotStarted);
}

// Every child is killed and reaped on every path: when taking its output
// throws (an allocation failure while it is read), and when its owner goes
// before it ends. None is left running or as a zombie: its process number
// is free again (a zombie still answers kill(pid, 0)).
TEST(MetafilePlayer, EveryChildIsReaped)
{
    QString program = metafilePlayerPath();
    program.replace(QStringLiteral("tessaly-metafile-player"), QStringLiteral("hostile_player"));
    const auto gone = [](pid_t pid) { return ::kill(pid, 0) != 0 && errno == ESRCH; };
    const QByteArray input(300000, 'x');
    PlayerLimits limits;
    limits.memoryBytes = std::int64_t(256) << 20;
    limits.time = std::chrono::milliseconds(5000);
    pid_t pid = -1;
    {
        ChildProcess child;
        ASSERT_TRUE(child.start(program, {QStringLiteral("echo")}));
        pid = child.pid();
        EXPECT_THROW(
            child.communicate(input, limits, input.size(), [](const char*, std::int64_t) { throw std::bad_alloc(); }),
            std::bad_alloc);
    }
    EXPECT_TRUE(gone(pid));
    {
        ChildProcess child;
        ASSERT_TRUE(child.start(program, {QStringLiteral("hang")}));
        pid = child.pid();
    }
    EXPECT_TRUE(gone(pid));
    // A child that ran to its end is reaped by the run itself.
    ChildProcess child;
    ASSERT_TRUE(child.start(program, {QStringLiteral("fail")}));
    pid = child.pid();
    EXPECT_EQ(child.communicate(input, limits, 10, [](const char*, std::int64_t) {}), ChildOutcome::Refused);
    EXPECT_TRUE(gone(pid));
}

// Files from other programs are drawn by the player exactly as the
// libraries draw them here.
TEST(MetafilePlayer, ForeignFilesArePlayedApart)
{
    for (const char* name : {"shapes-inkscape.emf", "shapes-inkscape.wmf", "rect-gnuplot.emf"}) {
        const QByteArray bytes = testing::readTestFile(QString::fromLatin1(name));
        const auto format = QByteArray(name).endsWith("emf") ? MetafileFormat::Enhanced : MetafileFormat::Windows;
        EXPECT_EQ(decodePicture(bytes, QString::fromLatin1(name)).render(100, 50),
                  renderMetafileWithLibraries(checkedMetafile(bytes, format), format, 100, 50))
            << name;
    }
}

}  // namespace
}  // namespace tessaly
