#pragma once

#include "app/startup.h"
#include "app/tform1.h"
#include "app/tform3.h"
#include "support/fakeservices.h"
#include "support/tempfolder.h"
#include "ui_tform1.h"
#include "userinput.h"

#include <QTabWidget>
#include <gtest/gtest.h>

namespace tessaly::testing {

// Every window of the program made offscreen with test doubles, the main
// window shown, and a folder of pictures to pick from. Tests drive the
// window through its controls: clicks, keys, and answers to message boxes
// and dialogs through the fakes.
class WizardTest : public ::testing::Test {
protected:
    WizardTest() : windows(fakes.services, fakes.settings), window(windows.mainWindow()), ui(window.form())
    {
        for (const char* name : {"a.jpg", "B.jpg", "c.gif"})
            input.write(QString::fromLatin1(name));
        ui.fDir->setFolder(input.path());
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    void select(std::initializer_list<const char*> names)
    {
        QStringList wanted;
        for (const char* name : names)
            wanted << QString::fromLatin1(name);
        ctrlClickRows(ui.fBox, wanted);
    }

    QWidget* page() const { return ui.pcMain->currentWidget(); }

    QStringList visibleTabs() const
    {
        QStringList shown;
        for (int i = 0; i < ui.pcMain->count(); ++i)
            if (ui.pcMain->isTabVisible(i))
                shown << ui.pcMain->tabText(i);
        return shown;
    }

    QString help() const { return ui.mHelp->toPlainText(); }

    FakeServices fakes;
    TempFolder input;
    TempFolder output;
    ApplicationWindows windows;
    TForm1& window;
    Ui::TForm1& ui;
};

}  // namespace tessaly::testing
