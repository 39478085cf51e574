#include "settings/inifile.h"
#include "support/tempfolder.h"

#include <QElapsedTimer>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace tessaly {
namespace {

using testing::TempFolder;

// Missing file, section or key: the default; names match without case.
TEST(IniFile, ReadsValuesOrDefaults)
{
    TempFolder temp;
    const IniFile missing(temp.path() + QStringLiteral("/none.ini"));
    EXPECT_EQ(missing.readString(QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("dflt")),
              QStringLiteral("dflt"));
    EXPECT_EQ(missing.readInteger(QStringLiteral("A"), QStringLiteral("k"), 7), 7);

    const IniFile file(temp.write(
        QStringLiteral("t.ini"), "; a comment\n[Thumbnails]\nThumb Width = 120 \nResize Speed=Fast\n\n[Other]\nx=1\n"));
    EXPECT_EQ(file.readString(QStringLiteral("Thumbnails"), QStringLiteral("Thumb Width"), QString()),
              QStringLiteral("120"));
    EXPECT_EQ(file.readString(QStringLiteral("thumbnails"), QStringLiteral("resize speed"), QString()),
              QStringLiteral("Fast"));
    EXPECT_EQ(file.readString(QStringLiteral("Thumbnails"), QStringLiteral("x"), QStringLiteral("none")),
              QStringLiteral("none"));
    EXPECT_EQ(file.readString(QStringLiteral("Missing"), QStringLiteral("x"), QStringLiteral("none")),
              QStringLiteral("none"));
}

// Integers in decimal or hexadecimal; anything else gives the default.
TEST(IniFile, IntegerForms)
{
    struct Case {
        const char* text;
        int expected;
    };
    const Case cases[] = {{"42", 42},   {"-5", -5},          {"0x1F", 31},      {"0X1f", 31}, {"$FF", 255},
                          {" 12 ", 12}, {"abc", 99},         {"12a", 99},       {"", 99},     {"0x", 99},
                          {"1.5", 99},  {"99999999999", 99}, {"$FFFFFFFF", -1}, {"+3", 3}};
    TempFolder temp;
    const IniFile file(temp.path() + QStringLiteral("/i.ini"));
    for (const Case& c : cases) {
        file.writeString(QStringLiteral("S"), QStringLiteral("n"), QString::fromLatin1(c.text));
        EXPECT_EQ(file.readInteger(QStringLiteral("S"), QStringLiteral("n"), 99), c.expected) << c.text;
    }
}

// Texts are read up to 2047 characters.
TEST(IniFile, LongTextsAreCut)
{
    TempFolder temp;
    const IniFile file(temp.path() + QStringLiteral("/l.ini"));
    file.writeString(QStringLiteral("S"), QStringLiteral("long"), QString(3000, u'x'));
    EXPECT_EQ(file.readString(QStringLiteral("S"), QStringLiteral("long"), QString()).size(), 2047);
}

// A write replaces one value in place; a new key goes to the end of its
// section, a new section to the end of the file; comments, unknown
// sections and the file's own order stay.
TEST(IniFile, WritesInPlaceAndKeepsTheRest)
{
    TempFolder temp;
    const QString path =
        temp.write(QStringLiteral("w.ini"), "; kept comment\r\n[Thumbnails]\r\nJpg Compression=50\r\nThumb Width=10\r\n"
                                            "\r\n[Mine]\r\nfoo=bar\r\n");
    const IniFile file(path);
    file.writeString(QStringLiteral("Thumbnails"), QStringLiteral("Thumb Width"), QStringLiteral("96"));
    file.writeString(QStringLiteral("Thumbnails"), QStringLiteral("Resize Speed"), QStringLiteral("Quality"));
    file.writeString(QStringLiteral("Directories"), QStringLiteral("Input"), QStringLiteral("/pics"));
    EXPECT_EQ(testing::readAll(path),
              QByteArray("; kept comment\r\n[Thumbnails]\r\nJpg Compression=50\r\nThumb Width=96\r\n"
                         "Resize Speed=Quality\r\n\r\n[Mine]\r\nfoo=bar\r\n\r\n[Directories]\r\nInput=/pics\r\n"));
}

// A file that cannot be written raises the error naming its full path.
TEST(IniFile, UnwritableFileRaisesTheError)
{
    TempFolder temp;
    const QString path = temp.path() + QStringLiteral("/gone/Tessaly.ini");
    const IniFile file(path);
    try {
        file.writeInteger(QStringLiteral("S"), QStringLiteral("k"), 1);
        ADD_FAILURE() << "no error";
    } catch (const SettingsWriteError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Unable to write to ") + path);
    }
}

// Guards against a hang on reading settings: settings are read only from a
// regular file of a settings file's size; a device, a pipe, a folder or a huge
// file is refused with a reason and read as no file (the defaults), at once.
TEST(IniFile, OnlyRegularFilesOfSaneSize)
{
    TempFolder temp;
    const QString fifo = temp.path() + QStringLiteral("/pipe.ini");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString huge = temp.write(QStringLiteral("huge.ini"), "[A]\nkey=big\n" + QByteArray(2 << 20, ';'));
    for (const QString& path : {QStringLiteral("/dev/zero"), fifo, huge, temp.path()}) {
        QElapsedTimer timer;
        timer.start();
        const auto reason = checkSettingsFile(path);
        ASSERT_TRUE(reason) << path.toStdString();
        EXPECT_TRUE(reason->startsWith(path + QStringLiteral(" is not a settings file"))) << reason->toStdString();
        EXPECT_EQ(IniFile(path).readString(QStringLiteral("A"), QStringLiteral("key"), QStringLiteral("none")),
                  QStringLiteral("none"));
        EXPECT_LT(timer.elapsed(), 2000) << path.toStdString();
    }
    const QString fine = temp.write(QStringLiteral("fine.ini"), "[A]\nkey=value\n");
    EXPECT_FALSE(checkSettingsFile(fine));
    EXPECT_FALSE(checkSettingsFile(temp.path() + QStringLiteral("/missing.ini")));
    EXPECT_EQ(IniFile(fine).readString(QStringLiteral("A"), QStringLiteral("key"), QString()), QStringLiteral("value"));
}

}  // namespace
}  // namespace tessaly
