#include "about/helpdocument.h"
#include "about/helpwindow.h"
#include "platform/installlayout.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <set>

namespace tessaly {
namespace {

// Where the program looks for its help, as the test binary sits beside it.
QStringList helpFiles()
{
    return installlayout::helpFileCandidates(QCoreApplication::applicationDirPath(), kHelpDocument);
}

QString builtHelpFile()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/") + kHelpDocument;
}

QString readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Headings with an anchor make the contents, at their level; anchors of
// class "index" give one index term per ";"-separated title, sorted.
TEST(HelpDocument, ReadsContentsAndIndexFromTheHtml)
{
    const QString html = QStringLiteral(
        "<h1><a name=\"top\"></a>Tessaly <i>Help</i></h1>"
        "<h2>No anchor here</h2>"
        "<h2><a name=\"p1\"></a>Page 1</h2><a name=\"ix1\" class=\"index\" title=\"selecting; Input\"></a>"
        "<H3><A NAME=\"dup\"></A>Duplicates</H3>"
        "<a name=\"plain\" title=\"not an index entry\"></a>"
        "<h2><a name=\"p2\"></a>Page 2</h2><a class=\"index\" name=\"ix2\" title=\"  Output folder ;\"></a>");
    const HelpOutline outline = readHelpOutline(html);
    struct Row {
        QString title, anchor;
        int level;
    };
    const std::vector<Row> contents{{QStringLiteral("Tessaly Help"), QStringLiteral("top"), 1},
                                    {QStringLiteral("Page 1"), QStringLiteral("p1"), 2},
                                    {QStringLiteral("Duplicates"), QStringLiteral("dup"), 3},
                                    {QStringLiteral("Page 2"), QStringLiteral("p2"), 2}};
    ASSERT_EQ(outline.contents.size(), contents.size());
    for (size_t i = 0; i < contents.size(); ++i) {
        EXPECT_EQ(outline.contents[i].title, contents[i].title);
        EXPECT_EQ(outline.contents[i].anchor, contents[i].anchor);
        EXPECT_EQ(outline.contents[i].level, contents[i].level);
    }
    QStringList terms;
    for (const HelpEntry& entry : outline.index)
        terms << entry.title + u'@' + entry.anchor;
    EXPECT_EQ(terms, (QStringList{QStringLiteral("Input@ix1"), QStringLiteral("Output folder@ix2"),
                                  QStringLiteral("selecting@ix1")}));
}

// The build puts the help beside the program, where the program looks first.
TEST(HelpDocument, IsBesideTheProgramAfterTheBuild)
{
    ASSERT_FALSE(helpFiles().isEmpty());
    EXPECT_EQ(helpFiles().first(), builtHelpFile());
    EXPECT_TRUE(QFileInfo(builtHelpFile()).isFile());
}

// The help explains every page, dialog and tool, and every link and index
// entry leads somewhere that exists.
TEST(HelpDocument, CoversTheProgramAndHasNoBrokenLinks)
{
    const QString html = readAll(builtHelpFile());
    ASSERT_FALSE(html.isEmpty());
    const HelpOutline outline = readHelpOutline(html);
    QStringList titles;
    for (const HelpEntry& entry : outline.contents)
        titles << entry.title;
    const QString allTitles = titles.join(u'\n');
    for (const char* topic :
         {"Input File Selection", "Ouput File Options", "Thumbnail Options", "Confirm Selections", "Processing...",
          "Naming options", "Specify location of HTML", "HTML Options", "HTML viewer", "Deleting files",
          "Renaming one file by hand", "Folders", "Turning a picture", "Reset to defaults", "Messages", "Keyboard"})
        EXPECT_TRUE(allTitles.contains(QLatin1String(topic))) << topic;
    QStringList terms;
    for (const HelpEntry& entry : outline.index)
        terms << entry.title;
    for (const char* control : {"Create Thumbnails",
                                "Select All",
                                "Convert Files to Type",
                                "Output File Qualifier",
                                "Maintain aspect ratio",
                                "Force Width",
                                "Jpeg Compression",
                                "Overwrite Files",
                                "Cancel",
                                "Do HTML!",
                                "Use Frames For Display",
                                "Multi-Page",
                                "Open in Browser",
                                "Delete to Recycle Bin",
                                "Rename Manually Now",
                                "Create New Directory",
                                "Remove Directory",
                                "Launch Explorer",
                                "Reset Settings to Defaults",
                                "Show new names...",
                                "Undo Last Rename",
                                "Open in Notepad",
                                "About Tessaly"})
        EXPECT_TRUE(terms.join(u'\n').contains(QLatin1String(control), Qt::CaseInsensitive) ||
                    html.contains(QLatin1String(control)))
            << control;

    std::set<QString> anchors;
    static const QRegularExpression named(QStringLiteral("<a\\b[^>]*\\bname=\"([^\"]+)\""));
    for (auto it = named.globalMatch(html); it.hasNext();)
        EXPECT_TRUE(anchors.insert(it.next().captured(1)).second) << "anchor twice";
    static const QRegularExpression link(QStringLiteral("href=\"#([^\"]+)\""));
    for (auto it = link.globalMatch(html); it.hasNext();) {
        const QString target = it.next().captured(1);
        EXPECT_TRUE(anchors.count(target)) << target.toStdString();
    }
    // No web address of anyone (the caption "(http://)" names a kind of link).
    EXPECT_FALSE(html.contains(QRegularExpression(QStringLiteral("https?://\\w"))));
}

struct Help {
    HelpWindow window;
    QTreeWidget* contents() { return window.findChild<QTreeWidget*>(QStringLiteral("tvContents")); }
    QTextBrowser* text() { return window.findChild<QTextBrowser*>(QStringLiteral("HelpText")); }
    QTabWidget* tabs() { return window.findChild<QTabWidget*>(QStringLiteral("tabsHelp")); }
};

void clickItem(QTreeWidget* tree, QTreeWidgetItem* item)
{
    tree->scrollToItem(item);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
}

// The help opens at its table of contents and the top of the document; a
// contents entry and a link in the text each lead to their place.
TEST(HelpWindow, OpensAtTheContentsAndFollowsEntriesAndLinks)
{
    Help help;
    help.window.openHelp(helpFiles());
    ASSERT_TRUE(help.window.isVisible());
    EXPECT_EQ(help.window.windowTitle(), QStringLiteral("Tessaly Help"));
    EXPECT_EQ(help.tabs()->currentIndex(), 0);
    EXPECT_EQ(help.tabs()->tabText(0), QStringLiteral("&Contents"));
    ASSERT_GT(help.contents()->topLevelItemCount(), 0);
    EXPECT_EQ(help.text()->verticalScrollBar()->value(), 0);
    EXPECT_TRUE(help.text()->toPlainText().contains(QStringLiteral("Tessaly works on whole batches")));

    const QList<QTreeWidgetItem*> found =
        help.contents()->findItems(QStringLiteral("Page 3: Thumbnail Options"), Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(found.size(), 1);
    clickItem(help.contents(), found[0]);
    EXPECT_EQ(help.text()->source().fragment(), QStringLiteral("page3"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return help.text()->verticalScrollBar()->value() > 0; }, 5000));

    // The link "Reset to defaults" in the table of the buttons at the top.
    help.window.openHelp(helpFiles());
    QTextCursor at = help.text()->document()->find(QStringLiteral("Reset to defaults"));
    ASSERT_FALSE(at.isNull());
    ASSERT_TRUE(at.charFormat().isAnchor());
    help.text()->setTextCursor(at);
    help.text()->ensureCursorVisible();
    const QPoint point = help.text()->cursorRect(at).center() - QPoint(8, 0);
    QTest::mouseClick(help.text()->viewport(), Qt::LeftButton, {}, point);
    ASSERT_TRUE(QTest::qWaitFor([&] { return help.text()->source().fragment() == QStringLiteral("reset"); }, 5000));
    auto* back = help.window.findChild<QWidget*>(QStringLiteral("sbBack"));
    EXPECT_TRUE(back->isEnabled());
}

// Typing in the index picks the first term that starts with the text;
// Enter shows its place.
TEST(HelpWindow, IndexFindsATermAsYouType)
{
    Help help;
    help.window.openHelp(helpFiles());
    help.tabs()->setCurrentIndex(1);
    auto* word = help.window.findChild<QLineEdit*>(QStringLiteral("eIndex"));
    auto* index = help.window.findChild<QListWidget*>(QStringLiteral("lbIndex"));
    QTest::keyClicks(word, QStringLiteral("rotat"));
    ASSERT_NE(index->currentItem(), nullptr);
    EXPECT_TRUE(index->currentItem()->text().startsWith(QStringLiteral("Rotat"), Qt::CaseInsensitive));
    QTest::keyClick(word, Qt::Key_Return);
    EXPECT_EQ(help.text()->source().fragment(), QStringLiteral("ix-rotate"));
}

// Without a help file the help window itself says so, names the places it
// looked in, and opens no other box; Escape closes it.
TEST(HelpWindow, MissingFileIsReportedInTheWindow)
{
    Help help;
    const QStringList nowhere{QStringLiteral("/nonexistent/one/tessaly-help.html"),
                              QStringLiteral("/nonexistent/two/tessaly-help.html")};
    help.window.openHelp(nowhere);
    ASSERT_TRUE(help.window.isVisible());
    EXPECT_TRUE(help.window.documentPath().isEmpty());
    const QString shown = help.text()->toPlainText();
    EXPECT_TRUE(shown.contains(QStringLiteral("Help is not available")));
    EXPECT_TRUE(shown.contains(QStringLiteral("could not be found")));
    EXPECT_TRUE(shown.contains(nowhere[1]));
    EXPECT_EQ(help.contents()->topLevelItemCount(), 0);
    EXPECT_FALSE(help.window.findChild<QWidget*>(QStringLiteral("sbHome"))->isEnabled());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    // The file appearing later is picked up at the next opening.
    help.window.openHelp(nowhere + helpFiles());
    EXPECT_FALSE(help.window.documentPath().isEmpty());
    EXPECT_GT(help.contents()->topLevelItemCount(), 0);

    help.window.activateWindow();
    QTest::keyClick(help.text(), Qt::Key_Escape);
    EXPECT_FALSE(help.window.isVisible());
}

}  // namespace
}  // namespace tessaly
