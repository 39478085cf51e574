// Times what a user waits for in the main window with a big folder, with
// every window made offscreen as the program makes them (message boxes and
// dialogs answered by the test doubles): the file list of the folder, the
// preview of one photo (a press on it in the list), the preview window at
// the photo's full size (a click on the small preview), Select All, and the
// steps to the confirmation page. Prints the milliseconds of each step and
// the process's peak memory.
//   window_bench FOLDER PHOTO
// PHOTO: the name of a picture in FOLDER to preview.
#include "app/startup.h"
#include "app/tform1.h"
#include "filetools/tform2.h"
#include "support/fakeservices.h"
#include "support/tempfolder.h"
#include "ui_tform1.h"
#include "ui_tform2.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTest>
#include <cstdio>
#include <sys/resource.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QStringList arguments = application.arguments().mid(1);
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: window_bench FOLDER PHOTO\n");
        return 2;
    }
    tessaly::testing::FakeServices fakes;
    tessaly::testing::TempFolder output;
    tessaly::ApplicationWindows windows(fakes.services, fakes.settings);
    tessaly::TForm1& window = windows.mainWindow();
    Ui::TForm1& ui = window.form();
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;

    QElapsedTimer clock;
    // Each step ends when the events it posted are handled and the window
    // has painted.
    const auto lap = [&](const char* step) {
        QApplication::processEvents();
        window.repaint();
        std::printf("%-34s %8lld ms\n", step, static_cast<long long>(clock.restart()));
    };
    clock.start();
    ui.fDir->setFolder(arguments[0]);
    lap("folder listed");
    std::printf("  %d files in the list\n", ui.fBox->count());

    const QList<QListWidgetItem*> found = ui.fBox->findItems(arguments[1], Qt::MatchExactly);
    if (found.isEmpty()) {
        std::fprintf(stderr, "%s is not in the list\n", qPrintable(arguments[1]));
        return 1;
    }
    ui.fBox->scrollToItem(found.first());
    QApplication::processEvents();
    const QPoint at = ui.fBox->visualItemRect(found.first()).center();
    clock.restart();
    QTest::mousePress(ui.fBox->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(ui.fBox->viewport(), Qt::LeftButton, {}, at);
    lap("preview shown");
    std::printf("  %s\n", qPrintable(ui.Image1->toolTip()));
    clock.restart();
    QTest::mouseClick(ui.Image1, Qt::LeftButton);
    lap("preview window at full size");
    tessaly::TForm2& previewWindow = windows.previewWindow();
    std::printf("  %d x %d\n", previewWindow.form().Image1->pixmap().width(),
                previewWindow.form().Image1->pixmap().height());
    previewWindow.close();

    clock.restart();
    QTest::mouseClick(ui.bSelAll, Qt::LeftButton);
    lap("Select All");
    std::printf("  %d selected\n", int(ui.fBox->selectedItems().size()));
    QTest::mouseClick(ui.bNxt1, Qt::LeftButton);
    lap("Next => to the output options");
    ui.fNewDir->setFolder(output.path());
    clock.restart();
    QTest::mouseClick(ui.bNxt2, Qt::LeftButton);
    lap("Next => to the thumbnail options");
    QTest::mouseClick(ui.bNxt3, Qt::LeftButton);
    lap("Next => to the confirmation page");
    std::printf("  on the confirmation page: %s\n", ui.pcMain->currentWidget() == ui.tsCS ? "yes" : "no");

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak memory %.0f MB\n", usage.ru_maxrss / 1024.0);
    return 0;
}
