#include "imaging/pictureheader.h"
#include "support/testpictures.h"
#include "wizardfixture.h"

#include <QApplication>
#include <QBuffer>
#include <QContextMenuEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

namespace tessaly {
namespace {

using testing::WizardTest;

// GO through the real window: the wizard's pages lead to the processing
// page, the run writes its files and the page shows how it ended.
class WindowRunTest : public WizardTest {
protected:
    void usePictures(std::initializer_list<const char*> names, int width = 40, int height = 30)
    {
        for (const char* name : names)
            testing::writePicture(pictures.path() + u'/' + QLatin1String(name), width, height);
        ui.fDir->setFolder(pictures.path());
        bSelAll();
    }
    void bSelAll() { testing::click(ui.bSelAll); }
    // Next => through the pages to the confirmation, with `onThumbnailPage`
    // run on page 3 in thumbnail mode.
    void toConfirmation(const std::function<void()>& onThumbnailPage = {})
    {
        testing::click(ui.bNxt1);
        ui.fNewDir->setFolder(output.path());
        testing::click(ui.bNxt2);
        if (window.mode() == JobMode::Thumbnails) {
            if (onThumbnailPage)
                onThumbnailPage();
            testing::click(ui.bNxt3);
        }
        ASSERT_EQ(page(), ui.tsCS);
    }
    QStringList outputFiles() const { return QDir(output.path()).entryList(QDir::Files, QDir::Name); }

    testing::TempFolder pictures;
};

TEST_F(WindowRunTest, ThumbnailsEndToEnd)
{
    usePictures({"one.jpg", "two.bmp", "three.gif"}, 200, 100);
    toConfirmation([this] { testing::click(ui.cbRatio); });
    testing::click(ui.bGO);
    // The folder trees keep their folders while the window handles events.
    EXPECT_TRUE(fakes.messages.shown.empty());
    EXPECT_EQ(ui.fDir->folder(), pictures.path());
    EXPECT_EQ(page(), ui.tsP);
    EXPECT_EQ(ui.lDone->text(), QStringLiteral("Operation complete. 3 files processed."));
    EXPECT_FALSE(ui.lDone->isHidden());
    EXPECT_TRUE(ui.pBar->isHidden());
    EXPECT_TRUE(ui.bCancelOp->isHidden());
    EXPECT_FALSE(ui.bStartOver->isHidden());
    EXPECT_FALSE(ui.bHTML->isHidden());
    EXPECT_FALSE(ui.lDoHTM->isHidden());
    EXPECT_TRUE(ui.lbMFL->isHidden());
    EXPECT_TRUE(ui.Image1->isHidden());
    EXPECT_EQ(ui.lProc->text(), QStringLiteral("3 of 3"));
    EXPECT_EQ(outputFiles(), (QStringList{QStringLiteral("Thumb001.jpg"), QStringLiteral("Thumb002.jpg"),
                                          QStringLiteral("Thumb003.jpg")}));
    const RunState& run = window.runState();
    EXPECT_EQ(run.ProcessedCount, 3);
    EXPECT_EQ(run.maxThumbSize, 96);
    ASSERT_EQ(run.ProcessedFiles.size(), 3u);
    EXPECT_EQ(run.ProcessedFiles[0].Width, 96);
    EXPECT_EQ(run.ProcessedFiles[0].Height, 48);
    EXPECT_EQ(run.ProcessedFiles[0].OriginalPath, pictures.path() + QStringLiteral("/one.jpg"));

    testing::click(ui.bStartOver);
    EXPECT_FALSE(ui.lbMFL->isHidden());
    EXPECT_FALSE(ui.pBar->isHidden());
    EXPECT_EQ(run.ProcessedCount, 3);
}

// Cancel pressed while the third of ten files is made.
TEST_F(WindowRunTest, CancelDuringTheThirdFile)
{
    usePictures({"f0.bmp", "f1.bmp", "f2.bmp", "f3.bmp", "f4.bmp", "f5.bmp", "f6.bmp", "f7.bmp", "f8.bmp", "f9.bmp"},
                20, 10);
    toConfirmation();
    window.setBetweenFiles([&] {
        if (ui.lProc->text() == QLatin1String("3 of 10"))
            testing::click(ui.bCancelOp);
    });
    testing::click(ui.bGO);
    EXPECT_EQ(ui.lDone->text(), QStringLiteral("Operation Incomplete. 3 files processed."));
    EXPECT_EQ(outputFiles().size(), 3);
}

// While a run goes the focus is on Cancel, and Escape cancels.
TEST_F(WindowRunTest, EscapeCancelsARun)
{
    usePictures({"f0.bmp", "f1.bmp", "f2.bmp", "f3.bmp", "f4.bmp", "f5.bmp"}, 20, 10);
    toConfirmation();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QWidget* focused = nullptr;
    window.setBetweenFiles([&] {
        if (ui.lProc->text() == QLatin1String("2 of 6")) {
            focused = QApplication::focusWidget();
            QTest::keyClick(focused, Qt::Key_Escape);
        }
    });
    testing::click(ui.bGO);
    EXPECT_EQ(focused, ui.bCancelOp);
    EXPECT_EQ(ui.lDone->text(), QStringLiteral("Operation Incomplete. 2 files processed."));
    EXPECT_EQ(outputFiles().size(), 2);
}

TEST_F(WindowRunTest, RenameEndToEnd)
{
    usePictures({"c.gif", "B.jpg", "a.jpg"});
    testing::click(ui.rbRename);
    toConfirmation();
    testing::click(ui.bGO);
    EXPECT_EQ(ui.lDone->text(), QStringLiteral("Operation complete. 3 files processed."));
    EXPECT_EQ(
        QDir(pictures.path()).entryList(QDir::Files, QDir::Name),
        (QStringList{QStringLiteral("Image001.jpg"), QStringLiteral("Image002.jpg"), QStringLiteral("Image003.gif")}));
    // The input list was read again and shows the new names.
    EXPECT_EQ(ui.fBox->names().size(), 3);
    EXPECT_TRUE(ui.fBox->names().contains(QStringLiteral("Image003.gif")));
}

TEST_F(WindowRunTest, PlainCopyAndConvertEndToEnd)
{
    usePictures({"a.jpg", "b.bmp"}, 30, 20);
    testing::click(ui.rbRename);
    testing::click(ui.bNxt1);
    testing::click(ui.rbCpyCvrt);
    ui.fNewDir->setFolder(output.path());
    testing::choose(ui.cbConvert, 5);
    testing::click(ui.bNxt2);
    testing::click(ui.bGO);
    EXPECT_EQ(ui.lDone->text(), QStringLiteral("Operation complete. 2 files processed."));
    EXPECT_EQ(testing::readAll(output.path() + QStringLiteral("/Image001.jpg")),
              testing::readAll(pictures.path() + QStringLiteral("/a.jpg")));

    testing::click(ui.bStartOver);
    bSelAll();
    testing::click(ui.bNxt1);
    ui.fNewDir->setFolder(output.path());
    testing::choose(ui.cbConvert, 1);
    testing::typeInto(ui.ePreI, QStringLiteral("Conv"));
    testing::click(ui.bNxt2);
    testing::click(ui.bGO);
    EXPECT_EQ(ui.lDone->text(), QStringLiteral("Operation complete. 2 files processed."));
    EXPECT_TRUE(outputFiles().contains(QStringLiteral("Conv002.gif")));
    ASSERT_EQ(window.runState().ProcessedFiles.size(), 2u);
    EXPECT_EQ(window.runState().ProcessedFiles[1].Width, 30);
}

// The rows of the "Show new names..." dialog as a user reads them, and the
// sentence under them; Escape (or Enter) closes it while it is looked at.
struct NewNamesShown {
    std::vector<QStringList> rows;
    QString summary;
    bool closedByKey = false;
};

class NewNamesTest : public WindowRunTest {
protected:
    NewNamesShown showNewNames(Qt::Key closeKey)
    {
        NewNamesShown seen;
        fakes.dialogs.whileShown = [&](QDialog& dialog) {
            auto* table = dialog.findChild<QTableWidget*>(QStringLiteral("tvNewNames"));
            ASSERT_NE(table, nullptr);
            EXPECT_FALSE(table->accessibleName().isEmpty());
            for (int row = 0; row < table->rowCount(); ++row) {
                QStringList cells;
                for (int column = 0; column < table->columnCount(); ++column)
                    if (!table->isColumnHidden(column))
                        cells << table->item(row, column)->text();
                seen.rows.push_back(cells);
            }
            seen.summary = dialog.findChild<QLabel*>(QStringLiteral("lNewNamesSummary"))->text();
            QTest::keyClick(table, closeKey);
            seen.closedByKey = !dialog.isVisible();
        };
        testing::click(ui.bShowNames);
        fakes.dialogs.whileShown = nullptr;
        return seen;
    }
    // Opens the input popup menu with a right click on the file list.
    QMenu* openPm1()
    {
        QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(5, 5), ui.fBox->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(ui.fBox->viewport(), &rightClick);
        QMenu* menu = window.pm1();
        EXPECT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }));
        return menu;
    }
    QAction* undoItem() const { return window.pm1()->findChild<QAction*>(QStringLiteral("UndoLastRename1")); }
    QStringList pictureFiles() const { return QDir(pictures.path()).entryList(QDir::Files, QDir::Name); }
};

// A selection whose sizes take more than a second to learn shows a progress
// bar; its Cancel ends the work there and no names are shown. (JPEG files
// with stray bytes between their header's segments, which libjpeg passes
// over, are loaded whole to learn their size, which makes the wait long
// enough: the header reader leaves such files to the decoder.)
TEST_F(NewNamesTest, ALongWaitShowsProgressThatCancelEnds)
{
    QImage picture(2400, 1800, QImage::Format_RGB888);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x & 255, (x + y) & 255, y & 255));
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(picture.save(&buffer, "JPG", 90));
    ASSERT_EQ(jpeg.mid(2, 2), QByteArray("\xff\xe0", 2));
    const int firstSegmentEnd = 4 + (std::uint8_t(jpeg[4]) << 8 | std::uint8_t(jpeg[5]));
    jpeg.insert(firstSegmentEnd, QByteArray(2, '\0'));
    constexpr int kFiles = 400;
    for (int i = 0; i < kFiles; ++i)
        pictures.write(QStringLiteral("p%1.jpg").arg(i, 3, 10, QLatin1Char('0')), jpeg);
    ASSERT_FALSE(pictureSizeFromHeader(pictures.path() + QStringLiteral("/p000.jpg"), {}));
    ui.fDir->setFolder(pictures.path());
    testing::typeInto(ui.cbMask->lineEdit(), QStringLiteral("*.jpg"));
    ASSERT_EQ(ui.fBox->count(), kFiles);
    bSelAll();
    toConfirmation();

    QProgressDialog* seenProgress = nullptr;
    int seenValue = -1;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        auto* progress = window.findChild<QProgressDialog*>(QStringLiteral("NamesProgress"));
        if (!progress || !progress->isVisible() || seenProgress)
            return;
        seenProgress = progress;
        seenValue = progress->value();
        testing::click(progress->findChild<QPushButton*>(QStringLiteral("bCancelNames")));
    });
    watcher.start(20);
    QElapsedTimer clock;
    clock.start();
    testing::click(ui.bShowNames);
    watcher.stop();
    ASSERT_NE(seenProgress, nullptr) << "no progress bar in " << clock.elapsed() << " ms";
    EXPECT_GT(seenValue, 0);
    EXPECT_LT(seenValue, kFiles);
    EXPECT_FALSE(fakes.dialogs.shownNames.contains(QStringLiteral("NewNamesDialog")));
    EXPECT_TRUE(outputFiles().isEmpty());
}

// The dialog lists, in order, each source with the name and size the run
// then really writes, and what the overwrite check says; it writes nothing.
TEST_F(NewNamesTest, ThumbnailNamesAndSizesAreWhatGoWrites)
{
    usePictures({"one.jpg", "two.bmp"}, 200, 100);
    toConfirmation([this] { testing::click(ui.cbRatio); });
    const QString taken = output.write(QStringLiteral("Thumb002.jpg"), "kept until GO");
    const NewNamesShown seen = showNewNames(Qt::Key_Escape);
    EXPECT_TRUE(seen.closedByKey);
    ASSERT_EQ(seen.rows.size(), 2u);
    EXPECT_EQ(seen.rows[0], (QStringList{"one.jpg", "Thumb001.jpg", "96 x 48", ""}));
    EXPECT_EQ(seen.rows[1], (QStringList{"two.bmp", "Thumb002.jpg", "96 x 48", "replaces an existing file"}));
    EXPECT_EQ(seen.summary, QStringLiteral("All 2 files would be processed. Nothing has been written yet."));
    EXPECT_EQ(outputFiles(), QStringList{QStringLiteral("Thumb002.jpg")});
    EXPECT_EQ(testing::readAll(taken), QByteArray("kept until GO"));
    EXPECT_EQ(page(), ui.tsCS);

    testing::click(ui.bGO);
    EXPECT_EQ(outputFiles(), (QStringList{QStringLiteral("Thumb001.jpg"), QStringLiteral("Thumb002.jpg")}));
    for (const ProcessedFile& file : window.runState().ProcessedFiles)
        EXPECT_EQ(QStringLiteral("%1 x %2").arg(file.Width).arg(file.Height), QStringLiteral("96 x 48"));
}

// A name taken in the folder: the list ends where the rename would stop,
// says why, and GO then stops there.
TEST_F(NewNamesTest, RenameShowsWhereATakenNameStopsIt)
{
    usePictures({"a.jpg", "b.jpg", "c.jpg"});
    testing::click(ui.rbRename);
    toConfirmation();
    pictures.write(QStringLiteral("Image002.jpg"), "someone else's");
    const NewNamesShown seen = showNewNames(Qt::Key_Return);
    EXPECT_TRUE(seen.closedByKey);
    ASSERT_EQ(seen.rows.size(), 2u);
    EXPECT_EQ(seen.rows[0], (QStringList{"a.jpg", "Image001.jpg", ""}));
    EXPECT_EQ(seen.rows[1], (QStringList{"b.jpg", "Image002.jpg", "name taken; the rename stops here"}));
    EXPECT_EQ(seen.summary, QStringLiteral("The run would stop at file 2 of 3: Error - duplicate name in folder.  "
                                           "Rename Operation stopped."));
    EXPECT_EQ(pictureFiles(), (QStringList{"Image002.jpg", "a.jpg", "b.jpg", "c.jpg"}));

    testing::click(ui.bGO);
    EXPECT_EQ(fakes.messages.texts(),
              QStringList{QStringLiteral("Error - duplicate name in folder.  Rename Operation stopped.")});
    EXPECT_EQ(ui.lDone->text(), QStringLiteral("Operation Incomplete. 1 files processed."));
}

// A folder named like a target file: "Show new names..." says the run would
// stop there and why, GO stops at the same file, and its box keeps its text
// and gives the file and the reason as its details.
TEST_F(NewNamesTest, AFolderInTheWayStopsBothAtTheSameFile)
{
    usePictures({"one.jpg", "two.bmp"}, 200, 100);
    toConfirmation([this] { testing::click(ui.cbRatio); });
    ASSERT_TRUE(ui.cbOverWrite->isChecked());
    const QString target = output.makeFolder(QStringLiteral("Thumb002.jpg"));
    const NewNamesShown seen = showNewNames(Qt::Key_Escape);
    ASSERT_EQ(seen.rows.size(), 2u);
    EXPECT_EQ(seen.rows[0], (QStringList{"one.jpg", "Thumb001.jpg", "96 x 48", ""}));
    EXPECT_EQ(seen.rows[1], (QStringList{"two.bmp", "Thumb002.jpg", "96 x 48", "cannot be written; the run stops here"}));
    EXPECT_TRUE(seen.summary.startsWith(QStringLiteral("The run would stop at file 2 of 2: Error during processing! "
                                                       "Cannot write ") +
                                        target + QStringLiteral(": ")))
        << seen.summary.toStdString();

    testing::click(ui.bGO);
    ASSERT_EQ(fakes.messages.shown.size(), 1u);
    EXPECT_EQ(fakes.messages.shown[0].text, QStringLiteral("Error during processing!"));
    const QString details = fakes.messages.shown[0].details;
    EXPECT_TRUE(details.startsWith(pictures.path() + QStringLiteral("/two.bmp: Cannot write ") + target +
                                   QStringLiteral(": ")))
        << details.toStdString();
    EXPECT_GT(details.size(), (pictures.path() + QStringLiteral("/two.bmp: Cannot write ") + target).size() + 2);
    EXPECT_EQ(ui.lDone->text(), QStringLiteral("Operation Incomplete. 1 files processed."));
}

// A rename run from the window is journalled: "Undo Last Rename" in the
// input menu gives the names back, skips a name taken since and says so,
// refreshes the list, and is greyed while a run goes and once undone.
TEST_F(NewNamesTest, UndoLastRenameFromTheInputMenu)
{
    usePictures({"a.jpg", "b.jpg", "c.jpg"});
    const QByteArray bytesOfB = testing::readAll(pictures.path() + QStringLiteral("/b.jpg"));
    testing::click(ui.rbRename);
    toConfirmation();
    bool greyedDuringRun = false;
    window.setBetweenFiles([&] {
        if (ui.lProc->text() == QLatin1String("2 of 3")) {
            window.pm1()->popup(QPoint(0, 0));
            greyedDuringRun = !undoItem()->isEnabled();
            window.pm1()->hide();
        }
    });
    testing::click(ui.bGO);
    window.setBetweenFiles({});
    EXPECT_TRUE(greyedDuringRun);
    ASSERT_EQ(pictureFiles(), (QStringList{"Image001.jpg", "Image002.jpg", "Image003.jpg"}));
    testing::click(ui.bStartOver);
    pictures.write(QStringLiteral("a.jpg"), "a new a.jpg");

    QMenu* menu = openPm1();
    ASSERT_TRUE(undoItem()->isEnabled());
    // The item comes just before Exit, after a separator; Exit stays last.
    const QList<QAction*> items = menu->actions();
    ASSERT_GE(items.size(), 4);
    EXPECT_EQ(items.back()->objectName(), QStringLiteral("Exit2"));
    EXPECT_TRUE(items[items.size() - 2]->isSeparator());
    EXPECT_EQ(items[items.size() - 3], undoItem());
    EXPECT_TRUE(items[items.size() - 4]->isSeparator());
    QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(undoItem()).center());
    EXPECT_EQ(fakes.messages.texts(),
              QStringList{QStringLiteral("2 files renamed back in %1.\r\nImage001.jpg: its old name a.jpg is taken; "
                                         "not renamed back")
                              .arg(pictures.path())});
    EXPECT_EQ(pictureFiles(), (QStringList{"Image001.jpg", "a.jpg", "b.jpg", "c.jpg"}));
    EXPECT_EQ(testing::readAll(pictures.path() + QStringLiteral("/b.jpg")), bytesOfB);
    QStringList listed = ui.fBox->names();
    listed.sort();
    EXPECT_EQ(listed, pictureFiles());

    // The rename held up by the taken name stays recorded: once that name is
    // free again, the same command finishes the undo, and only then is there
    // nothing left to undo.
    openPm1();
    ASSERT_TRUE(undoItem()->isEnabled());
    window.pm1()->hide();
    ASSERT_TRUE(QFile::remove(pictures.path() + QStringLiteral("/a.jpg")));
    menu = openPm1();
    QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(undoItem()).center());
    EXPECT_EQ(pictureFiles(), (QStringList{"a.jpg", "b.jpg", "c.jpg"}));
    openPm1();
    EXPECT_FALSE(undoItem()->isEnabled());
    window.pm1()->hide();
}

}  // namespace
}  // namespace tessaly
