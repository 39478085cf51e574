#include "platform/desktopapps.h"
#include "platform/shell.h"
#include "support/tempfolder.h"

#include <QFile>
#include <QScopeGuard>
#include <QTest>
#include <gtest/gtest.h>

namespace tessaly {
namespace {

// A desktop entry's command line: the file stands for %f/%F/%u/%U, other
// field codes go, quoted arguments stay whole.
TEST(DesktopApps, CommandLines)
{
    struct Row {
        const char* exec;
        const char* file;
        QStringList command;
    };
    const Row rows[] = {
        {"gedit %U", "/p/a b.txt", {"gedit", "/p/a b.txt"}},
        {"gedit %U", "", {"gedit"}},
        {"kate -b %F", "/p/x.htm", {"kate", "-b", "/p/x.htm"}},
        {"\"/opt/my editor/bin/ed\" --new %f %i %c", "/x", {"/opt/my editor/bin/ed", "--new", "/x"}},
        {"sh -c \"echo 100%%\"", "", {"sh", "-c", "echo 100%"}},
    };
    for (const Row& row : rows) {
        const auto entry = parseDesktopEntry(QByteArray("[Desktop Entry]\nName=E\nExec=") + row.exec + "\n");
        ASSERT_TRUE(entry) << row.exec;
        EXPECT_EQ(desktopCommand(*entry, QString::fromUtf8(row.file)), row.command) << row.exec;
    }
    EXPECT_FALSE(parseDesktopEntry("[Desktop Entry]\nName=No command\n[Desktop Action new]\nExec=x\n"));
    const auto browser = parseDesktopEntry("[Desktop Entry]\nExec=chromium %U\nCategories=Network;WebBrowser;\n");
    ASSERT_TRUE(browser);
    EXPECT_TRUE(isWebBrowser(*browser));
    EXPECT_FALSE(isWebBrowser(*parseDesktopEntry("[Desktop Entry]\nExec=gedit\nCategories=Utility;TextEditor;\n")));
}

// The text editor is the desktop's application for text/plain, passing over
// a browser that claims it; with no editor at all the call fails, and no
// browser is ever started.
class TextEditorTest : public ::testing::Test {
protected:
    TextEditorTest()
    {
        for (const char* name : {"PATH", "XDG_DATA_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS"})
            saved.append({name, qgetenv(name)});
        qputenv("PATH", root.makeFolder(QStringLiteral("bin")).toLocal8Bit());
        qputenv("XDG_DATA_HOME", (root.path() + QStringLiteral("/data")).toLocal8Bit());
        qputenv("XDG_DATA_DIRS", (root.path() + QStringLiteral("/none")).toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", root.makeFolder(QStringLiteral("config")).toLocal8Bit());
        qputenv("XDG_CONFIG_DIRS", (root.path() + QStringLiteral("/none")).toLocal8Bit());
        root.makeFolder(QStringLiteral("data/applications"));
    }
    ~TextEditorTest() override
    {
        for (const auto& [name, value] : saved)
            qputenv(name, value);
    }
    // A program that writes its arguments, one a line, into <name>.args.
    void program(const QString& name)
    {
        const QString path = root.write(QStringLiteral("bin/") + name,
                                        "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > \"$0.args.part\"\n"
                                        "/bin/mv \"$0.args.part\" \"$0.args\"\n");
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    void entry(const QString& id, const QByteArray& text)
    {
        root.write(QStringLiteral("data/applications/") + id, text);
    }
    QString argumentsOf(const QString& name)
    {
        QFile file(root.path() + QStringLiteral("/bin/") + name + QStringLiteral(".args"));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    testing::TempFolder root;
    QList<QPair<const char*, QByteArray>> saved;
};

TEST_F(TextEditorTest, DesktopsEditorNeverABrowser)
{
    program(QStringLiteral("browser"));
    program(QStringLiteral("myeditor"));
    entry(QStringLiteral("web.desktop"), "[Desktop Entry]\nExec=browser %U\nCategories=Network;WebBrowser;\n");
    entry(QStringLiteral("my.desktop"), "[Desktop Entry]\nExec=myeditor --new %F\nCategories=TextEditor;\n");
    root.write(QStringLiteral("config/mimeapps.list"),
               "[Default Applications]\ntext/html=web.desktop\ntext/plain=web.desktop;gone.desktop;my.desktop;\n");
    EXPECT_EQ(defaultApplicationsFor(QStringLiteral("text/plain")),
              (QStringList{QStringLiteral("web.desktop"), QStringLiteral("my.desktop")}));

    DesktopShellService shell;
    const QString page = root.write(QStringLiteral("My Web.htm"), "<html>");
    ASSERT_TRUE(shell.startTextEditor(page));
    const QString withPage = QStringLiteral("--new\n") + page + u'\n';
    EXPECT_TRUE(QTest::qWaitFor([&] { return argumentsOf(QStringLiteral("myeditor")) == withPage; }, 10000))
        << argumentsOf(QStringLiteral("myeditor")).toStdString();
    ASSERT_TRUE(shell.startTextEditor(QString()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return argumentsOf(QStringLiteral("myeditor")) == QStringLiteral("--new\n"); },
                                10000))
        << argumentsOf(QStringLiteral("myeditor")).toStdString();
    EXPECT_EQ(argumentsOf(QStringLiteral("browser")), QString());
}

TEST_F(TextEditorTest, NoEditorIsAFailure)
{
    program(QStringLiteral("browser"));
    entry(QStringLiteral("web.desktop"), "[Desktop Entry]\nExec=browser %U\nCategories=Network;WebBrowser;\n");
    root.write(QStringLiteral("config/mimeapps.list"), "[Added Associations]\ntext/plain=web.desktop;\n");
    DesktopShellService shell;
    EXPECT_FALSE(shell.startTextEditor(root.write(QStringLiteral("a.htm"), "<html>")));
    EXPECT_FALSE(shell.startTextEditor(QString()));
    EXPECT_EQ(argumentsOf(QStringLiteral("browser")), QString());
}

}  // namespace
}  // namespace tessaly
