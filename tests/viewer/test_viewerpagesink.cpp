#include "support/fakeservices.h"
#include "ui_tfhtm.h"
#include "viewer/tfhtm.h"
#include "viewer/viewerpagesink.h"

#include <QDir>
#include <QTest>
#include <gtest/gtest.h>

namespace tessaly {
namespace {

using testing::FakeServices;
using testing::readAll;
using testing::TempFolder;

ProcessedFileTable entries(int count)
{
    ProcessedFileTable table;
    for (int i = 1; i <= count; ++i) {
        ProcessedFile e;
        e.OriginalPath = QStringLiteral("/pics/p%1.jpg").arg(i);
        e.OriginalSize = 1000 + i;
        e.OutputPath = QStringLiteral("/thumbs/Thumb%1.jpg").arg(i);
        e.Width = 96;
        e.Height = 72;
        table.push_back(e);
    }
    return table;
}

// Every file of a folder with its bytes.
std::map<QString, QByteArray> filesOf(const QString& folder)
{
    std::map<QString, QByteArray> files;
    for (const QString& name : QDir(folder).entryList(QDir::Files))
        files[name] = readAll(folder + u'/' + name);
    return files;
}

// A gallery written through the viewer has the very bytes of one written
// straight to disk (as the command line writes it), in every layout; the
// viewer shows the first page (the thumbnails page of frames), named in
// its caption, saved and not modified, and "Open in Browser" opens the
// frameset for frames. The responsive page too, although its lines are
// not the specified pages'.
TEST(ViewerPageSink, SameBytesAsWithoutTheViewer)
{
    enum class Layout { OnePage, ThreePages, Plain, Frames, Responsive };
    for (const Layout layout :
         {Layout::OnePage, Layout::ThreePages, Layout::Plain, Layout::Frames, Layout::Responsive}) {
        TempFolder viaViewer, direct;
        GalleryInput input;
        input.entries = entries(7);
        input.pageName = QStringLiteral("MyWeb.htm");
        input.maxThumbSize = 96;
        input.options.UseFrames = layout == Layout::Frames;
        input.options.UseTables = layout != Layout::Plain;
        input.options.MultiPg = layout == Layout::ThreePages;
        input.options.ThmPerPage = QStringLiteral("3");
        input.options.Responsive = layout == Layout::Responsive;

        input.htmlFolder = direct.path();
        FilePageSink files;
        writeGallery(input, files);

        FakeServices fake;
        TfHTM viewer(fake.services);
        viewer.setBrowseEnabled(false);
        input.htmlFolder = viaViewer.path();
        const GalleryResult result = writeGalleryThroughViewer(input, viewer);

        const auto expected = filesOf(direct.path());
        EXPECT_EQ(filesOf(viaViewer.path()), expected) << int(layout);
        EXPECT_EQ(expected.size(), layout == Layout::ThreePages ? 3u : layout == Layout::Frames ? 4u : 1u);

        const QString shown = viaViewer.path() +
                              (layout == Layout::Frames ? QStringLiteral("/MyWebt.htm") : QStringLiteral("/MyWeb.htm"));
        EXPECT_EQ(result.shownPath, shown);
        EXPECT_TRUE(viewer.isVisible());
        EXPECT_EQ(viewer.windowTitle(), QStringLiteral("HTML Editor: ") + shown);
        EXPECT_EQ(viewer.currentFile(), shown);
        EXPECT_FALSE(viewer.isModified());
        EXPECT_TRUE(viewer.form().bBrowse->isEnabled());
        EXPECT_TRUE(viewer.text().startsWith(QStringLiteral("<!DOCTYPE")));

        QTest::mouseClick(viewer.form().bBrowse, Qt::LeftButton);
        const QString opened = layout == Layout::Frames ? viaViewer.path() + QStringLiteral("/MyWeb.htm") : shown;
        EXPECT_EQ(fake.shell.calls, QStringList{QStringLiteral("open ") + opened});
    }
}

// A page that cannot be written stops the writer with its message, and
// "Open in Browser" is usable afterwards: the first page of a gallery, or
// a later page of a multi-page one.
TEST(ViewerPageSink, UnwritablePageReportsAndKeepsBrowseUsable)
{
    FakeServices fake;
    TfHTM viewer(fake.services);
    GalleryInput input;
    input.entries = entries(4);
    input.pageName = QStringLiteral("MyWeb.htm");
    input.htmlFolder = QStringLiteral("/nonexistent/folder");
    try {
        writeGalleryThroughViewer(input, viewer);
        ADD_FAILURE() << "no error";
    } catch (const GalleryError& error) {
        EXPECT_TRUE(error.message().contains(QStringLiteral("/nonexistent/folder/MyWeb.htm")));
    }
    EXPECT_TRUE(viewer.form().bBrowse->isEnabled());
    EXPECT_TRUE(viewer.currentFile().isEmpty());

    // The second page's name is taken by a folder.
    TempFolder folder;
    folder.makeFolder(QStringLiteral("MyWeb_1.htm"));
    input.htmlFolder = folder.path();
    input.options.MultiPg = true;
    input.options.ThmPerPage = QStringLiteral("2");
    EXPECT_THROW(writeGalleryThroughViewer(input, viewer), GalleryError);
    EXPECT_TRUE(viewer.form().bBrowse->isEnabled());
    EXPECT_EQ(viewer.currentFile(), folder.path() + QStringLiteral("/MyWeb.htm"));
}

}  // namespace
}  // namespace tessaly
