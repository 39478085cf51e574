#include "gallery/dialogs/tform6.h"
#include "settings/gallerysettings.h"
#include "support/browsercheck.h"
#include "support/testpictures.h"
#include "ui_tfdlgouthtml.h"
#include "ui_tfhtm.h"
#include "ui_tform6.h"
#include "gallery/dialogs/tfdlgouthtml.h"
#include "viewer/tfhtm.h"
#include "wizardfixture.h"

#include <QDir>
#include <QProcess>
#include <QTabBar>

namespace tessaly {
namespace {

using testing::WizardTest;

// "Do HTML!" on the processing page after a real run: the location dialog,
// the options, the writer, the viewer. The dialogs are answered through
// their own controls while the fake dialog service shows them.
class DoHtmlTest : public WizardTest {
protected:
    DoHtmlTest()
    {
        fakes.dialogs.whileShown = [this](QDialog& dialog) {
            if (const auto act = actions.value(dialog.objectName()))
                act(dialog);
        };
    }

    // Makes thumbnails of `count` pictures into the output folder; Cancel is
    // pressed after `cancelAfter` files when that is not zero.
    void makeThumbnails(int count, int cancelAfter = 0)
    {
        for (int i = 0; i < count; ++i)
            testing::writePicture(pictures.path() + QStringLiteral("/p%1.bmp").arg(i), 40, 30);
        ui.fDir->setFolder(pictures.path());
        testing::click(ui.bSelAll);
        testing::click(ui.bNxt1);
        ui.fNewDir->setFolder(output.path());
        testing::click(ui.bNxt2);
        testing::click(ui.bNxt3);
        const QString stopAt = QStringLiteral("%1 of %2").arg(cancelAfter).arg(count);
        window.setBetweenFiles([this, stopAt] {
            if (ui.lProc->text() == stopAt)
                testing::click(ui.bCancelOp);
        });
        testing::click(ui.bGO);
        ASSERT_FALSE(ui.bHTML->isHidden());
    }

    // Presses "Do HTML!"; the location dialog is left with OK, the options
    // with the layout page's OK after `chooseLayout`.
    void doHtml(std::function<void(Ui::TForm6&)> chooseLayout = {})
    {
        actions[QStringLiteral("TfDlgOutHTML")] = [](QDialog& dialog) {
            testing::click(dialog.findChild<QPushButton*>(QStringLiteral("BitBtn1")));
        };
        actions[QStringLiteral("TForm6")] = [this, chooseLayout](QDialog& dialog) {
            optionsCaption = dialog.windowTitle();
            Ui::TForm6& options = windows.htmlOptions().form();
            QTabBar* tabs = options.PageControl1->tabBar();
            QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
            if (chooseLayout)
                chooseLayout(options);
            testing::click(options.bOK2);
        };
        testing::click(ui.bHTML);
    }

    QStringList pages() const
    {
        return QDir(output.path()).entryList({QStringLiteral("*.htm")}, QDir::Files, QDir::Name);
    }
    QString page(const QString& name) const { return QString::fromUtf8(testing::readAll(output.path() + u'/' + name)); }

    testing::TempFolder pictures;
    QHash<QString, std::function<void(QDialog&)>> actions;
    QString optionsCaption;
};

// After a complete run the gallery shows every file, written into the
// folder of the thumbnails and shown in the viewer's editor.
TEST_F(DoHtmlTest, GalleryOfACompleteRun)
{
    makeThumbnails(3);
    doHtml();
    EXPECT_EQ(fakes.dialogs.shownNames, (QStringList{QStringLiteral("TfDlgOutHTML"), QStringLiteral("TForm6")}));
    const QString pagePath = output.path() + QStringLiteral("/MyWeb.htm");
    EXPECT_EQ(optionsCaption, QStringLiteral("HTML Options - ") + pagePath + QStringLiteral(" - 3 Files"));
    EXPECT_EQ(pages(), QStringList{QStringLiteral("MyWeb.htm")});
    const QString html = page(QStringLiteral("MyWeb.htm"));
    EXPECT_EQ(html.count(QStringLiteral("<IMG ")), 3);
    for (const char* thumb : {"Thumb001.jpg", "Thumb002.jpg", "Thumb003.jpg"})
        EXPECT_TRUE(html.contains(QStringLiteral("SRC=\"%1\"").arg(QLatin1String(thumb)))) << thumb;
    EXPECT_TRUE(html.contains(QStringLiteral("HREF=\"../") + QFileInfo(pictures.path()).fileName() +
                              QStringLiteral("/p0.bmp\"")));
    TfHTM& viewer = windows.htmlViewer();
    EXPECT_TRUE(viewer.isVisible());
    EXPECT_EQ(viewer.windowTitle(), QStringLiteral("HTML Editor: ") + pagePath);
    EXPECT_EQ(viewer.currentFile(), pagePath);
    EXPECT_TRUE(fakes.messages.shown.empty()) << fakes.messages.texts().join(u'|').toStdString();
}

// A run cancelled after four files gives a gallery of those four.
TEST_F(DoHtmlTest, GalleryOfACancelledRun)
{
    makeThumbnails(8, 4);
    ASSERT_EQ(window.runState().ProcessedCount, 4);
    doHtml([](Ui::TForm6& options) { testing::click(options.rb1pg); });
    EXPECT_TRUE(optionsCaption.endsWith(QStringLiteral(" - 4 Files"))) << optionsCaption.toStdString();
    EXPECT_EQ(page(QStringLiteral("MyWeb.htm")).count(QStringLiteral("<IMG ")), 4);
}

// Cancel in either dialog writes nothing and leaves the viewer alone.
TEST_F(DoHtmlTest, CancelInEitherDialogWritesNothing)
{
    makeThumbnails(2);
    fakes.dialogs.results = {QDialog::Rejected};
    testing::click(ui.bHTML);
    EXPECT_EQ(fakes.dialogs.shownNames, QStringList{QStringLiteral("TfDlgOutHTML")});
    fakes.dialogs.results = {QDialog::Accepted, QDialog::Rejected};
    testing::click(ui.bHTML);
    EXPECT_EQ(fakes.dialogs.shownNames.size(), 3);
    EXPECT_TRUE(pages().isEmpty());
    EXPECT_FALSE(windows.htmlViewer().isVisible());
}

// Several galleries from one run: the same name again asks before it is
// overwritten, and OK rewrites every page of the new layout.
TEST_F(DoHtmlTest, SameNameTwiceAsksToOverwrite)
{
    makeThumbnails(3);
    doHtml([](Ui::TForm6& options) { testing::typeInto(options.eTperPg, QStringLiteral("2")); });
    EXPECT_EQ(pages(), (QStringList{QStringLiteral("MyWeb.htm"), QStringLiteral("MyWeb_1.htm")}));
    EXPECT_TRUE(fakes.messages.shown.empty());
    fakes.messages.script(MessageAnswer::Ok);
    doHtml([](Ui::TForm6& options) { testing::click(options.cbFrames); });
    EXPECT_EQ(fakes.messages.texts(), QStringList{QStringLiteral("Overwrite file?")});
    EXPECT_EQ(pages(),
              (QStringList{QStringLiteral("MyWeb.htm"), QStringLiteral("MyWeb_1.htm"), QStringLiteral("MyWebb.htm"),
                           QStringLiteral("MyWebp.htm"), QStringLiteral("MyWebt.htm")}));
    EXPECT_TRUE(page(QStringLiteral("MyWeb.htm")).contains(QStringLiteral("<FRAMESET")));
    EXPECT_EQ(windows.htmlViewer().windowTitle(),
              QStringLiteral("HTML Editor: ") + output.path() + QStringLiteral("/MyWebt.htm"));
}

// tessaly-batch, reading the settings file the window wrote at exit,
// writes the same pages byte for byte as "Do HTML!" did, the responsive
// page too (ticked in the dialog, shown in the viewer's editor).
TEST_F(DoHtmlTest, CommandLineWritesTheSamePages)
{
    struct Layout {
        const char* name;
        std::function<void(Ui::TForm6&)> choose;
    };
    const Layout layouts[] = {
        {"pages of two", [](Ui::TForm6& options) { testing::typeInto(options.eTperPg, QStringLiteral("2")); }},
        {"plain", [](Ui::TForm6& options) { testing::click(options.cbUseTable); }},
        {"frames",
         [](Ui::TForm6& options) {
             testing::click(options.cbFrames);
             testing::click(options.cbBkgd);
         }},
        {"responsive", [](Ui::TForm6& options) { testing::click(options.cbResponsive); }},
    };
    makeThumbnails(3);
    for (const Layout& layout : layouts) {
        SCOPED_TRACE(layout.name);
        for (const QString& name : pages())
            QFile::remove(output.path() + u'/' + name);
        doHtml(layout.choose);
        // The window's options as they are saved at exit.
        writeGalleryOptions(fakes.settings, windows.htmlOptions().options());
        testing::TempFolder commandOut;
        QProcess batch;
        batch.start(QStringLiteral(TESSALY_BATCH_PROGRAM),
                    {QStringLiteral("--settings"), fakes.settings.path(), QStringLiteral("thumbs"),
                     QStringLiteral("--out"), commandOut.path(), QStringLiteral("--html"),
                     commandOut.path() + QStringLiteral("/MyWeb.htm"), pictures.path()});
        ASSERT_TRUE(batch.waitForFinished(120000));
        ASSERT_EQ(batch.exitCode(), 0) << batch.readAllStandardError().toStdString();
        const QStringList written =
            QDir(commandOut.path()).entryList({QStringLiteral("*.htm")}, QDir::Files, QDir::Name);
        EXPECT_EQ(written, pages());
        EXPECT_FALSE(written.isEmpty());
        if (QLatin1String(layout.name) == QLatin1String("responsive")) {
            EXPECT_TRUE(page(QStringLiteral("MyWeb.htm")).startsWith(QLatin1String("<!DOCTYPE html>")));
            EXPECT_TRUE(windows.htmlViewer().text().startsWith(QLatin1String("<!DOCTYPE html>")));
        }
        for (const QString& name : written)
            EXPECT_EQ(testing::readAll(commandOut.path() + u'/' + name), testing::readAll(output.path() + u'/' + name))
                << name.toStdString();
    }
}

// The galleries "Do HTML!" writes open in a real browser with every
// thumbnail shown and every link to a picture working, in each layout.
TEST_F(DoHtmlTest, GalleriesWorkInABrowser)
{
    const QString browser = testing::chromium();
    if (browser.isEmpty())
        GTEST_SKIP() << "Chromium is not installed; the browser check is skipped";
    struct Layout {
        const char* name;
        std::function<void(Ui::TForm6&)> choose;
        const char* expected;
    };
    const Layout layouts[] = {
        {"one page", [](Ui::TForm6& options) { testing::click(options.rb1pg); },
         "RESULT images=3 links=6 broken=0 tiled=none"},
        {"pages of two",
         [](Ui::TForm6& options) {
             testing::click(options.rbMpg);
             testing::typeInto(options.eTperPg, QStringLiteral("2"));
         },
         "RESULT images=2 links=4 broken=0 tiled=none"},
        {"plain", [](Ui::TForm6& options) { testing::click(options.cbUseTable); },
         "RESULT images=3 links=3 broken=0 tiled=none"},
        {"frames", [](Ui::TForm6& options) { testing::click(options.cbFrames); },
         "RESULT images=3 links=6 broken=0 tiled=none"},
        {"tiled frames", [](Ui::TForm6& options) { testing::click(options.cbBkgd); },
         "RESULT images=3 links=0 broken=0 tiled=ok"},
    };
    makeThumbnails(3);
    for (const Layout& layout : layouts) {
        SCOPED_TRACE(layout.name);
        for (const QString& name : pages())
            QFile::remove(output.path() + u'/' + name);
        doHtml(layout.choose);
        EXPECT_EQ(testing::checkInBrowser(browser, output.path(), QStringLiteral("MyWeb.htm")),
                  QString::fromLatin1(layout.expected));
    }
}

}  // namespace
}  // namespace tessaly
