#include "batch/jobchecks.h"
#include "platform/filenames.h"
#include "support/printers.h"

#include "support/tempfolder.h"
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessaly {
namespace {

std::optional<std::pair<QString, QString>> clash(std::initializer_list<const char*> names)
{
    QStringList list;
    for (const char* name : names)
        list << QString::fromLatin1(name);
    return findDuplicateNames(list);
}

std::pair<QString, QString> pair(const char* a, const char* b)
{
    return {QString::fromLatin1(a), QString::fromLatin1(b)};
}

// Nothing selected stops page 1 with the one message.
TEST(CheckFilesSelected, NoneSelected)
{
    EXPECT_EQ(checkFilesSelected(0), QStringLiteral("No files selected!"));
    EXPECT_FALSE(checkFilesSelected(1));
    EXPECT_FALSE(checkFilesSelected(40));
}

// Names clash when equal but for their type text, with case;
// the last clashing neighbours in sorted order are named, in list order.
TEST(FindDuplicateNames, ClashesByNameWithoutType)
{
    EXPECT_EQ(clash({"MYPIC1.BMP", "MYPIC1.JPG"}), pair("MYPIC1.BMP", "MYPIC1.JPG"));
    EXPECT_EQ(clash({"a.gif", "a.jpeg", "a.jpg"}), pair("a.jpeg", "a.jpg"));
    EXPECT_EQ(clash({"cat.jpeg", "cat.webp"}), pair("cat.jpeg", "cat.webp"));
    EXPECT_FALSE(clash({"cat.jpg", "cats.jpg", "ca.jpg"}));
    EXPECT_FALSE(clash({"Pic.jpg", "pic.gif"}));
    EXPECT_FALSE(clash({}));
    EXPECT_EQ(clash({"a.bmp", "a.jpg", "b.gif", "b.jpg", "c.bmp", "c.gif"}), pair("c.bmp", "c.gif"));
    EXPECT_EQ(clash({"Zed.bmp", "zed.jpg", "apple.gif", "apple.jpg"}), pair("apple.gif", "apple.jpg"));
    EXPECT_FALSE(clash({"abc", "xy"}));
    EXPECT_EQ(clash({"Pic.bmp", "pic.gif", "Pic.jpg"}), pair("Pic.bmp", "Pic.jpg"));
}

// The same-folder question: the same folder, except when renaming in place.
TEST(NeedsSameFolderQuestion, EqualFoldersUnlessRenaming)
{
    const QString a = QStringLiteral("/pics"), b = QStringLiteral("/thumbs");
    EXPECT_TRUE(needsSameFolderQuestion(false, a, a));
    EXPECT_FALSE(needsSameFolderQuestion(true, a, a));
    EXPECT_FALSE(needsSameFolderQuestion(false, a, b));
    // One folder, two spellings.
    EXPECT_TRUE(needsSameFolderQuestion(false, a, QStringLiteral("/pics/")));
    EXPECT_EQ(checktexts::kSameFoldersQuestion,
              QStringLiteral("Input and Output Directories are the same. This could result in files "
                             "being overwritten or not processed.\r\rContinue?"));
}

// Renaming in place by file name needs a qualifier; numbering does not.
TEST(CheckRenameQualifier, TheTable)
{
    struct Case {
        bool renaming;
        std::optional<NamingOption> naming;
        const char* qualifier;
        bool refused;
    };
    using enum NamingOption;
    const Case cases[] = {
        {true, PreName, "", true},   {true, SufName, "", true},   {true, PreSeq, "", false},
        {true, SufSeq, "", false},   {true, PreName, "x", false}, {true, SufName, "Trip", false},
        {false, PreName, "", false}, {false, SufName, "", false}, {true, std::nullopt, "", false},
    };
    for (const Case& c : cases) {
        const auto message = checkRenameQualifier(c.renaming, c.naming, QString::fromLatin1(c.qualifier));
        EXPECT_EQ(message.has_value(), c.refused) << c.renaming << " " << c.qualifier;
        if (message) {
            EXPECT_EQ(*message, QStringLiteral("Invalid output qualifier for option chosen.  Please specify a "
                                               "qualifier, or choose a different naming option."));
        }
    }
}

// The confirmation sentence for the four options with and without a qualifier.
TEST(OutputNamesSentence, FourOptionsWithAndWithoutQualifier)
{
    const QString q = QStringLiteral("Thumb"), s = QStringLiteral("001"), none;
    using enum NamingOption;
    EXPECT_EQ(outputNamesSentence(PreSeq, q, s),
              QStringLiteral("...Will start with Thumb001 and be numbered sequentially"));
    EXPECT_EQ(outputNamesSentence(PreSeq, none, s),
              QStringLiteral("...Will start with 001 and be numbered sequentially"));
    EXPECT_EQ(outputNamesSentence(PreName, q, s),
              QStringLiteral("...Will start with Thumb and then have the original name appended."));
    EXPECT_EQ(outputNamesSentence(PreName, none, s), QStringLiteral("...Will not be changed."));
    EXPECT_EQ(outputNamesSentence(SufSeq, q, s),
              QStringLiteral("...Will start with 001Thumb and be numbered sequentially"));
    EXPECT_EQ(outputNamesSentence(SufName, q, s),
              QStringLiteral("...Will start with the original file name and then have Thumb appended."));
    EXPECT_EQ(outputNamesSentence(SufName, none, s), QStringLiteral("...Will not be changed."));
    EXPECT_FALSE(outputNamesSentence(std::nullopt, q, s));
}

// Guards the same-folder check: folders compare by identity, so a link to
// the input folder, a trailing separator or a ".." detour is the input folder.
TEST(JobChecks, SameFolderByIdentity)
{
    testing::TempFolder temp;
    const QString photos = temp.makeFolder(QStringLiteral("photos"));
    const QString other = temp.makeFolder(QStringLiteral("other"));
    const QString alias = temp.path() + QStringLiteral("/alias");
    ASSERT_TRUE(QFile::link(photos, alias));
    for (const QString& same : {photos, alias, alias + u'/', other + QStringLiteral("/../photos")})
        EXPECT_TRUE(needsSameFolderQuestion(false, photos, same)) << same.toStdString();
    EXPECT_FALSE(needsSameFolderQuestion(false, photos, other));
    EXPECT_FALSE(needsSameFolderQuestion(true, photos, alias));  // renaming in place is not asked
    // A folder whose name is not UTF-8 is reached by its own bytes.
    const QByteArray latin = QFile::encodeName(temp.path()) + "/caf\xe9";
    ASSERT_EQ(::mkdir(latin.constData(), 0755), 0);
    const QString cafe = decodeFileName(latin);
    ASSERT_EQ(::symlink(latin.constData(), (QFile::encodeName(temp.path()) + "/cafe-link").constData()), 0);
    EXPECT_TRUE(sameFolder(cafe, temp.path() + QStringLiteral("/cafe-link")));
    EXPECT_FALSE(sameFolder(cafe, photos));
    // A folder not made yet compares by its cleaned path.
    EXPECT_TRUE(sameFolder(temp.path() + QStringLiteral("/new/"), temp.path() + QStringLiteral("/x/../new")));
    EXPECT_FALSE(sameFolder(temp.path() + QStringLiteral("/new"), photos));
}

// Guards the output folder: a qualifier with a path separator (which would
// write outside it) is refused, ordinary qualifiers pass.
TEST(JobChecks, QualifierWithoutSeparators)
{
    for (const char* bad : {"../x_", "a/b", "..\\x", "/abs"})
        EXPECT_TRUE(checkQualifier(QString::fromLatin1(bad))) << bad;
    for (const char* fine : {"", "Thumb", "x_", "..", "a.b", "Trip 2024"})
        EXPECT_FALSE(checkQualifier(QString::fromLatin1(fine))) << fine;
    EXPECT_EQ(*checkQualifier(QStringLiteral("../x_")),
              QStringLiteral("Invalid output qualifier \"../x_\": it may not contain a path separator (/ or \\)."));
}

}  // namespace
}  // namespace tessaly
