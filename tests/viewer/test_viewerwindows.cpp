#include "app/startup.h"
#include "app/tform1.h"
#include "support/fakeservices.h"
#include "ui_tfdlgouthtml.h"
#include "ui_tfhtm.h"
#include "gallery/dialogs/tfdlgouthtml.h"
#include "viewer/tfhtm.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace tessaly {
namespace {

using testing::FakeServices;
using testing::readAll;
using testing::TempFolder;

// Both windows are made at start-up, hidden, beside the main window; the
// viewer never blocks it.
TEST(ViewerWindows, MadeAtStartUp)
{
    FakeServices fakes;
    ApplicationWindows windows(fakes.services, fakes.settings);
    TfHTM& viewer = windows.htmlViewer();
    TfDlgOutHTML& location = windows.htmlLocation();
    EXPECT_FALSE(viewer.isVisible());
    EXPECT_FALSE(location.isVisible());
    EXPECT_EQ(viewer.parentWidget(), &windows.mainWindow());
    EXPECT_EQ(location.parentWidget(), &windows.mainWindow());
    EXPECT_TRUE(viewer.isWindow());
    EXPECT_EQ(viewer.windowModality(), Qt::NonModal);
    EXPECT_EQ(viewer.windowTitle(), QStringLiteral("HTML Viewer"));
}

// The name typed in the dialog is written at exit, cancelled or not, first
// in "Directories" of a new settings file, and is there after a restart.
TEST(ViewerWindows, FileNameSurvivesARestart)
{
    FakeServices fakes;
    TempFolder web;
    {
        ApplicationWindows windows(fakes.services, fakes.settings);
        Ui::TfDlgOutHTML& ui = windows.htmlLocation().form();
        fakes.dialogs.whileShown = [&](QDialog&) {
            QTest::keyClick(ui.eFileName, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(ui.eFileName, QStringLiteral("Holiday.htm"));
        };
        fakes.dialogs.results = {QDialog::Rejected};
        EXPECT_FALSE(windows.htmlLocation().ask(web.path() + QStringLiteral("/Thumb001.jpg")));
        windows.close();
    }
    EXPECT_TRUE(readAll(fakes.settings.path()).startsWith("[Directories]\nhtmlName=Holiday.htm\nRecycleBin=Yes\n"));
    ApplicationWindows again(fakes.services, fakes.settings);
    EXPECT_EQ(again.htmlLocation().form().eFileName->text(), QStringLiteral("Holiday.htm"));
}

// Closing the main window ends the program even while the viewer is open:
// the viewer belongs to it.
TEST(ViewerWindows, ViewerDoesNotKeepTheProgramAlive)
{
    FakeServices fakes;
    ApplicationWindows windows(fakes.services, fakes.settings);
    QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
    windows.mainWindow().show();
    windows.htmlViewer().showViewer();
    // The program's event loop ends when its last window closes; the guard
    // only ends a loop that would otherwise run on.
    bool stillRunning = false;
    QTimer::singleShot(0, &windows.mainWindow(), [&] { windows.mainWindow().close(); });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, qApp, [&] {
        stillRunning = true;
        QApplication::quit();
    });
    guard.start(10000);
    QApplication::exec();
    EXPECT_FALSE(stillRunning);
    EXPECT_EQ(lastClosed.count(), 1);
}

}  // namespace
}  // namespace tessaly
