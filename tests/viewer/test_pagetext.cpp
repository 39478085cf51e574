#include "viewer/pagetext.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

// Reading a file gives the editor its lines; saving them again gives "\r\n"
// after every line. A page with "\r\n" line ends survives unchanged; other
// line ends become "\r\n"; nothing is doubled or dropped.
TEST(PageText, LineEndsOnTheWayInAndOut)
{
    struct Row {
        const char* file;
        const char* editor;  // lines joined with "\n"
        const char* saved;
    };
    const Row rows[] = {
        {"<HTML>\r\n</HTML>\r\n", "<HTML>\n</HTML>", "<HTML>\r\n</HTML>\r\n"},
        {"a\r\nb\r\n\r\n", "a\nb\n", "a\r\nb\r\n\r\n"},  // the empty last line stays
        {"a\nb\n", "a\nb", "a\r\nb\r\n"},
        {"a\rb\r", "a\nb", "a\r\nb\r\n"},
        {"a\r\n\r\nb", "a\n\nb", "a\r\n\r\nb\r\n"},  // the last line gains its line end
        {"a\n\r\nb\r\n", "a\n\nb", "a\r\n\r\nb\r\n"},
        {"", "", ""},
        {"\r\n", "", ""},
    };
    for (const Row& row : rows) {
        const EditorText read = textFromFile(QByteArray(row.file));
        EXPECT_EQ(read.text, QString::fromLatin1(row.editor)) << row.file;
        EXPECT_EQ(fileFromText(read.text, read.encoding), QByteArray(row.saved)) << row.file;
        // Saving what was saved changes nothing more.
        const EditorText again = textFromFile(QByteArray(row.saved));
        EXPECT_EQ(fileFromText(again.text, again.encoding), QByteArray(row.saved)) << row.file;
    }
}

// A page put into the editor as text is saved as that text plus one "\r\n",
// the bytes a gallery writer writes without the editor.
TEST(PageText, PageTextSavesAsTextPlusOneLineEnd)
{
    for (const QString& page :
         {QStringLiteral("<HTML>\r\n<BODY>\r\n</HTML>"), QStringLiteral("<HTML>\r\n</HTML>\r\n"), QStringLiteral("x")})
        EXPECT_EQ(fileFromText(withNewlines(page)), (page + QStringLiteral("\r\n")).toUtf8());
}

// Files that are not UTF-8 keep their bytes; UTF-8 keeps its byte order
// mark; the editor's own separators and non-breaking spaces survive.
TEST(PageText, EncodingsAndSpecialCharactersSurvive)
{
    const QByteArray latin1("caf\xE9\r\nna\xEFve\r\n");
    const EditorText latin = textFromFile(latin1);
    EXPECT_EQ(latin.text, QString::fromUtf8("café\nnaïve"));
    EXPECT_EQ(fileFromText(latin.text, latin.encoding), latin1);
    // A character Latin-1 cannot hold turns the file into UTF-8, not "?".
    EXPECT_EQ(fileFromText(latin.text + QString::fromUtf8("€"), latin.encoding),
              QString::fromUtf8("café\r\nnaïve€\r\n").toUtf8());

    const QByteArray bom("\xEF\xBB\xBF<P>\xC2\xA0</P>\r\n");
    const EditorText marked = textFromFile(bom);
    EXPECT_EQ(marked.text, QString::fromUtf8("<P>\u00A0</P>"));
    EXPECT_EQ(fileFromText(marked.text, marked.encoding), bom);

    EXPECT_EQ(fileFromText(QStringLiteral("a") + QChar(QChar::ParagraphSeparator) + QStringLiteral("b") +
                           QChar(QChar::LineSeparator) + QStringLiteral("c")),
              QByteArray("a\r\nb\r\nc\r\n"));
}

}  // namespace
}  // namespace tessaly
