#include "dialogtesttools.h"
#include "gallery/dialogs/galleryrun.h"
#include "gallery/dialogs/tform6.h"
#include "gallery/linkprefix.h"
#include "settings/gallerysettings.h"
#include "support/fakeservices.h"
#include "ui_tform6.h"

#include <QDir>
#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace tessaly {
namespace {

using testing::ClickingDialogs;
using testing::FakeServices;

// The location dialog and the viewer as the run sees them: a scripted
// location, pages written straight to disk, the shown results recorded.
class RecordingGalleryWindows final : public GalleryRunWindows {
public:
    std::optional<PageLocation> chooseLocation() override
    {
        ++locationsAsked;
        return location;
    }
    void clearBrowseFile() override { ++browseFileCleared; }
    PageSink& pageSink() override { return sink; }
    void showGallery(const GalleryResult& result) override { shown.push_back(result); }

    std::optional<PageLocation> location;
    int locationsAsked = 0;
    int browseFileCleared = 0;
    FilePageSink sink;
    std::vector<GalleryResult> shown;
};

// Four thumbnails of pictures in <tmp>/pics, made into <tmp>/web/thumbs,
// for a gallery page <tmp>/web/MyWeb.htm.
class GalleryRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        web = folder.makeFolder(QStringLiteral("web"));
        for (int i = 1; i <= 4; ++i) {
            ProcessedFile entry;
            entry.OriginalPath = folder.path() + QStringLiteral("/pics/p%1.jpg").arg(i);
            entry.OutputPath = web + QStringLiteral("/thumbs/Thumb00%1.jpg").arg(i);
            entry.OriginalSize = 1000 * i;
            entry.Width = 96;
            entry.Height = 64;
            processed.push_back(entry);
        }
        windows.location = PageLocation{web, QStringLiteral("MyWeb.htm")};
        form6 = std::make_unique<TForm6>(services, fakes.settings);
    }

    bool run(std::function<void(Ui::TForm6&)> act)
    {
        dialogs.actions[QStringLiteral("TForm6")] = [this, act](QDialog&) { act(form6->form()); };
        return runGallery(nullptr, windows, *form6, dialogs, fakes.messages, processed, 96);
    }
    QStringList pages() const { return QDir(web).entryList({QStringLiteral("*.htm")}, QDir::Files, QDir::Name); }

    testing::TempFolder folder;
    QString web;
    ProcessedFileTable processed;
    FakeServices fakes;
    ClickingDialogs dialogs;
    PlatformServices services{fakes.messages, fakes.shell, fakes.trash, dialogs};
    RecordingGalleryWindows windows;
    std::unique_ptr<TForm6> form6;
};

void click(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

// Cancel in the location dialog ends the run before anything else.
TEST_F(GalleryRun, CancelInTheLocationDialogDoesNothing)
{
    windows.location.reset();
    EXPECT_FALSE(run([](Ui::TForm6&) {}));
    EXPECT_TRUE(dialogs.shownNames.isEmpty());
    EXPECT_EQ(windows.browseFileCleared, 0);
    EXPECT_TRUE(pages().isEmpty());
}

// Cancel in the options dialog writes nothing, even over an existing page;
// the caption named the page and the file count.
TEST_F(GalleryRun, CancelInTheOptionsWritesNothing)
{
    const QString existing = folder.write(QStringLiteral("web/MyWeb.htm"), "old page");
    EXPECT_FALSE(run([](Ui::TForm6& ui) { click(ui.bCancel); }));
    EXPECT_EQ(form6->windowTitle(), QStringLiteral("HTML Options - ") + web + QStringLiteral("/MyWeb.htm - 4 Files"));
    EXPECT_EQ(windows.browseFileCleared, 1);
    EXPECT_TRUE(windows.shown.empty());
    EXPECT_EQ(pages(), QStringList{QStringLiteral("MyWeb.htm")});
    EXPECT_EQ(testing::readAll(existing), QByteArray("old page"));
}

struct LayoutRow {
    const char* layout;
    std::function<void(Ui::TForm6&)> choose;
    QStringList pages;
    QString shownPage;
};

// Each layout writes its pages and hands the first (for frames, the
// thumbnails page) to the viewer; the command line, reading the options
// the dialog saved, writes the very same bytes.
TEST_F(GalleryRun, EveryLayoutWritesWhatTheCommandLineWrites)
{
    const auto typeInto = [](QLineEdit* field, const char* text) {
        field->selectAll();
        QTest::keyClicks(field, QString::fromLatin1(text));
    };
    const LayoutRow rows[] = {
        {"one page", [](Ui::TForm6& ui) { click(ui.rb1pg); }, {"MyWeb.htm"}, "MyWeb.htm"},
        {"pages of three",
         [&](Ui::TForm6& ui) { typeInto(ui.eTperPg, "3"); },
         {"MyWeb.htm", "MyWeb_1.htm"},
         "MyWeb.htm"},
        {"plain", [](Ui::TForm6& ui) { click(ui.cbUseTable); }, {"MyWeb.htm"}, "MyWeb.htm"},
        {"frames",
         [](Ui::TForm6& ui) { click(ui.cbFrames); },
         {"MyWeb.htm", "MyWebb.htm", "MyWebp.htm", "MyWebt.htm"},
         "MyWebt.htm"},
        {"responsive", [](Ui::TForm6& ui) { click(ui.cbResponsive); }, {"MyWeb.htm"}, "MyWeb.htm"},
    };
    for (const LayoutRow& row : rows) {
        SCOPED_TRACE(row.layout);
        for (const QString& page : pages())
            QFile::remove(web + u'/' + page);
        windows.shown.clear();
        form6 = std::make_unique<TForm6>(services, fakes.settings);
        ASSERT_TRUE(run([&](Ui::TForm6& ui) {
            QTabBar* tabs = ui.PageControl1->tabBar();
            QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
            row.choose(ui);
            click(ui.bOK2);
        }));
        EXPECT_EQ(pages(), row.pages);
        ASSERT_EQ(windows.shown.size(), 1u);
        EXPECT_EQ(windows.shown[0].shownPath, web + u'/' + row.shownPage);
        EXPECT_TRUE(fakes.messages.shown.empty());

        QHash<QString, QByteArray> fromWindow;
        for (const QString& page : pages())
            fromWindow[page] = testing::readAll(web + u'/' + page);
        form6->FormDestroy();  // saves the options as at exit
        GalleryInput input;
        input.options = readGalleryOptions(fakes.settings);
        input.entries = processed;
        input.htmlFolder = web;
        input.pageName = QStringLiteral("MyWeb.htm");
        input.maxThumbSize = 96;
        fillLinkPrefixes(input.options, input.htmlFolder, input.entries);
        FilePageSink sink;
        writeGallery(input, sink);
        for (const QString& page : pages())
            EXPECT_EQ(testing::readAll(web + u'/' + page), fromWindow.value(page)) << page.toStdString();
        QFile::remove(fakes.settings.path());
    }
}

// An option the writer cannot use is reported; the run ends there.
TEST_F(GalleryRun, WriterFailuresAreReported)
{
    EXPECT_FALSE(run([](Ui::TForm6& ui) {
        ui.eTCols->selectAll();
        QTest::keyClicks(ui.eTCols, QStringLiteral("0"));
        click(ui.bOK2);
    }));
    EXPECT_EQ(fakes.messages.texts(), QStringList{QStringLiteral("The number of columns must be at least 1.")});
    EXPECT_TRUE(windows.shown.empty());
}

}  // namespace
}  // namespace tessaly
