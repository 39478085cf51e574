#include "platform/filenames.h"
#include "platform/fileops.h"
#include "support/tempfolder.h"

#include <QDir>
#include <QFile>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace tessaly {
namespace {

// Every byte string comes back exactly; only bytes that are not UTF-8 are
// escaped, and they show as "\xNN".
TEST(FileNames, BytesSurviveTheTripThroughText)
{
    struct Case {
        QByteArray bytes;
        QString shown;
        bool raw;
    };
    const Case cases[] = {
        {"plain.jpg", QStringLiteral("plain.jpg"), false},
        {"caf\xc3\xa9.jpg", QStringLiteral("café.jpg"), false},
        {"caf\xe9.jpg", QStringLiteral("caf\\xE9.jpg"), true},
        {"\xc0\xaf", QStringLiteral("\\xC0\\xAF"), true},                     // overlong "/"
        {"\xed\xa0\x80", QStringLiteral("\\xED\\xA0\\x80"), true},            // an encoded surrogate
        {"a\xe2\x82", QStringLiteral("a\\xE2\\x82"), true},                   // cut short
        {"\xf0\x9f\x98\x80\xff", QStringLiteral("😀\\xFF"), true},             // a pair, then a raw byte
        {"\xf0\x90\x82\x80", QString(QChar(0xD800)) + QChar(0xDC80), false},  // U+10080: a pair, no escape
        {"\xf4\x90\x80\x80", QStringLiteral("\\xF4\\x90\\x80\\x80"), true},   // past U+10FFFF
    };
    for (const Case& c : cases) {
        const QString text = decodeFileName(c.bytes);
        EXPECT_EQ(encodeFileName(text), c.bytes) << c.bytes.toHex().constData();
        EXPECT_EQ(hasRawBytes(text), c.raw) << c.bytes.toHex().constData();
        EXPECT_EQ(displayFileName(text), c.shown) << c.bytes.toHex().constData();
        if (!c.raw) {
            EXPECT_EQ(text, QString::fromUtf8(c.bytes));
        }
    }
}

// A file whose name is not UTF-8 is found, read, written, renamed and
// removed by its own bytes, never by a look-alike name.
TEST(FileNames, FileOperationsReachTheExactFile)
{
    testing::TempFolder temp;
    const QString folder = temp.path();
    const QString raw = folder + u'/' + decodeFileName("caf\xe9.jpg");
    // The name Qt would make of it, holding other bytes.
    const QString lookAlike = temp.write(QStringLiteral("caf\uFFFD.jpg"), "look-alike");
    ASSERT_TRUE(writeWholeFile(raw, "first").ok());
    ASSERT_TRUE(writeWholeFile(raw, "second").ok());
    EXPECT_TRUE(fileExists(raw));
    EXPECT_EQ(fileSize(raw), 6);
    QFile file;
    ASSERT_TRUE(openForReading(file, raw).ok());
    EXPECT_EQ(file.readAll(), "second");
    file.close();
    EXPECT_EQ(testing::readAll(lookAlike), "look-alike");

    const QString renamed = folder + u'/' + decodeFileName("T_caf\xe9.jpg");
    EXPECT_TRUE(renameNoReplace(raw, renamed));
    const int fd = ::open(QByteArray(QFile::encodeName(folder) + "/T_caf\xe9.jpg").constData(), O_RDONLY);
    EXPECT_GE(fd, 0);
    ::close(fd);
    EXPECT_FALSE(fileExists(raw));
    EXPECT_TRUE(removeFile(renamed));
    EXPECT_FALSE(fileExists(renamed));
    // Nothing else is left behind: no temporary file.
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("caf\uFFFD.jpg")});
}

}  // namespace
}  // namespace tessaly
