#include "app/tform1.h"
#include "filetools/tform4.h"
#include "gallery/dialogs/colorpickerreset.h"
#include "gallery/dialogs/tform6.h"
#include "app/resetdefaults.h"
#include "support/fakeservices.h"
#include "ui_tform1.h"
#include "ui_tform4.h"
#include "ui_tform6.h"
#include "gallery/dialogs/tfdlgouthtml.h"

#include <QFile>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>

namespace tessaly {
namespace {

using testing::FakeServices;

// The reset never reaches the main window's companion windows.
struct NoCompanions final : CompanionWindows {
    [[noreturn]] static void unexpected() { throw std::logic_error("the reset asked for a companion window"); }
    TForm2& previewWindow() override { unexpected(); }
    TForm3& duplicateWarning() override { unexpected(); }
    TForm4& deleteConfirm() override { unexpected(); }
    TfHTM& htmlViewer() override { unexpected(); }
    TfDlgOutHTML& htmlLocation() override { unexpected(); }
    TForm6& htmlOptions() override { unexpected(); }
};

// The four windows that own a share of the settings file, made in the
// start-up order and closed in the reverse order, which writes the file.
struct RealWindows {
    FakeServices& fakes;
    NoCompanions companions{};
    std::unique_ptr<TForm1> form1 = std::make_unique<TForm1>(fakes.services, fakes.settings, companions);
    std::unique_ptr<TForm4> form4 = std::make_unique<TForm4>(fakes.messages, fakes.settings);
    std::unique_ptr<TForm6> form6 = std::make_unique<TForm6>(fakes.services, fakes.settings);
    std::unique_ptr<TfDlgOutHTML> out = std::make_unique<TfDlgOutHTML>(fakes.services, fakes.settings, *form4);

    ResetWindows reset() { return {form1.get(), form6.get(), out.get(), form4.get(), setColorPicker}; }
    void exit()
    {
        out->FormDestroy();
        form6->FormDestroy();
        form4->FormDestroy();
        form1->FormDestroy();
        out.reset();
        form6.reset();
        form4.reset();
        form1.reset();
    }
};

// Every control named in the reset exists on the real windows and is of a
// kind its step fits.
TEST(ResetOnWindows, EveryStepFindsItsControl)
{
    FakeServices fakes;
    RealWindows windows{fakes};
    EXPECT_EQ(applyDefaults(windows.reset()), QStringList());
}

// With frames on before, a reset shows the table layout again: frames help
// hidden, columns and alignments enabled; the linked file-name caption
// keeps its state.
TEST(ResetOnWindows, FramesGiveWayToTheTableLayout)
{
    FakeServices fakes;
    RealWindows windows{fakes};
    Ui::TForm6& ui = windows.form6->form();
    ui.cbHREF->setChecked(true);
    ui.cbFrames->click();
    ui.cbLinkFName->setChecked(false);
    ASSERT_TRUE(ui.cbFrames->isChecked());
    // Whatever the dialog showed with frames on, the reset brings back the table layout.
    ui.GroupBox3->hide();
    ui.lFrameHelp->show();

    applyDefaults(windows.reset());
    EXPECT_FALSE(ui.cbFrames->isChecked());
    EXPECT_TRUE(ui.cbUseTable->isChecked());
    EXPECT_TRUE(ui.cbUseTable->isEnabled());
    EXPECT_TRUE(ui.lFrameHelp->isHidden());
    for (QWidget* control :
         {static_cast<QWidget*>(ui.eTCols), static_cast<QWidget*>(ui.cbTAlign), static_cast<QWidget*>(ui.cbCAlign)})
        EXPECT_TRUE(control->isEnabled()) << control->objectName().toStdString();
    for (QWidget* shown : {static_cast<QWidget*>(ui.GroupBox3), static_cast<QWidget*>(ui.GroupBox4),
                           static_cast<QWidget*>(ui.gbPages), static_cast<QWidget*>(ui.gbNavBtns)})
        EXPECT_FALSE(shown->isHidden()) << shown->objectName().toStdString();
    EXPECT_FALSE(ui.cbLinkFName->isChecked());
}

// What the reset leaves alone is written as it was: the linked file-name
// caption stays off.
TEST(ResetOnWindows, KeptChoicesAreWrittenAsTheyWere)
{
    FakeServices used;
    used.settings.writeString(QStringLiteral("Linking"), QStringLiteral("LinkName"), QStringLiteral("0"));
    RealWindows windows{used};
    applyDefaults(windows.reset());
    windows.exit();
    EXPECT_EQ(used.settings.readString(QStringLiteral("Linking"), QStringLiteral("LinkName"), QString()),
              QStringLiteral("0"));
}

}  // namespace
}  // namespace tessaly
