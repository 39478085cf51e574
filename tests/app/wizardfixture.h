#pragma once

#include "app/startup.h"
#include "app/tform1.h"
#include "app/tform3.h"
#include "support/fakeservices.h"
#include "support/tempfolder.h"
#include "ui_tform1.h"

#include <QTabWidget>
#include <gtest/gtest.h>

namespace tessaly::testing {

// Every window of the program made offscreen with test doubles, and a
// folder of pictures to pick from.
class WizardTest : public ::testing::Test {
protected:
    WizardTest() : windows(fakes.services, fakes.settings), window(windows.mainWindow()), ui(window.form())
    {
        for (const char* name : {"a.jpg", "B.jpg", "c.gif"})
            input.write(QString::fromLatin1(name));
        ui.fDir->setFolder(input.path());
    }

    void select(std::initializer_list<const char*> names)
    {
        for (const char* name : names)
            ui.fBox->setItemSelected(int(ui.fBox->names().indexOf(QString::fromLatin1(name))), true);
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
