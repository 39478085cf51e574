#include "app/resetdefaults.h"

#include "platform/paths.h"
#include "widgets/foldertree.h"
#include "widgets/radiogroup.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QColor>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

namespace tessaly {

namespace {

using A = ResetAction;
constexpr auto kMain = ResetWindow::Main;
constexpr auto kHtml = ResetWindow::HtmlOptions;
constexpr auto kOut = ResetWindow::OutputLocation;
constexpr auto kDel = ResetWindow::Deletion;

QVariant text(const char* value)
{
    return QString::fromUtf8(value);
}

const QColor kWhite(255, 255, 255);
const QColor kBlack(0, 0, 0);
const QColor kGrey(160, 160, 160);

QWidget* windowOf(const ResetWindows& windows, ResetWindow which)
{
    switch (which) {
    case ResetWindow::Main: return windows.main;
    case ResetWindow::HtmlOptions: return windows.htmlOptions;
    case ResetWindow::OutputLocation: return windows.outputLocation;
    case ResetWindow::Deletion: return windows.deletion;
    }
    return nullptr;
}

QString windowName(ResetWindow which)
{
    switch (which) {
    case ResetWindow::Main: return QStringLiteral("TForm1");
    case ResetWindow::HtmlOptions: return QStringLiteral("TForm6");
    case ResetWindow::OutputLocation: return QStringLiteral("TfDlgOutHTML");
    case ResetWindow::Deletion: return QStringLiteral("TForm4");
    }
    return {};
}

void setChecked(QAbstractButton* button, bool checked)
{
    if (button->isChecked() == checked)
        return;
    auto* radio = qobject_cast<QRadioButton*>(button);
    if (radio && !checked) {
        // Nothing clears a radio button but another one of its group; the
        // group is left with none checked until a later step checks one.
        const bool exclusive = radio->autoExclusive();
        radio->setAutoExclusive(false);
        radio->setChecked(false);
        radio->setAutoExclusive(exclusive);
        return;
    }
    // As a click would, but also on a disabled control (click() ignores
    // those, and "Use Table" is disabled while frames are on): the state
    // changes and the click handlers run.
    button->setChecked(checked);
    emit button->clicked(checked);
}

// Applies one step; false when the control is not of a kind the step fits.
bool apply(QWidget* control, const ResetStep& step, const ResetWindows& windows)
{
    switch (step.action) {
    case A::Show: control->show(); return true;
    case A::Hide: control->hide(); return true;
    case A::Enable: control->setEnabled(true); return true;
    case A::Check:
    case A::Clear:
        if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            setChecked(button, step.action == A::Check);
            return true;
        }
        return false;
    case A::Item:
        if (auto* group = qobject_cast<RadioGroup*>(control)) {
            // Selecting an item from program code runs the group's handler
            // as a click does.
            const int index = step.value.toInt();
            if (group->itemIndex() != index)
                group->setItemIndex(index);
            return group->itemIndex() == index;
        }
        if (auto* list = qobject_cast<QComboBox*>(control)) {
            list->setCurrentIndex(step.value.toInt());
            return true;
        }
        return false;
    case A::Text:
        if (auto* edit = qobject_cast<QLineEdit*>(control)) {
            edit->setText(step.value.toString());
            return true;
        }
        if (auto* list = qobject_cast<QComboBox*>(control)) {
            list->setCurrentText(step.value.toString());
            return true;
        }
        return false;
    case A::Value:
        if (auto* slider = qobject_cast<QAbstractSlider*>(control)) {
            slider->setValue(step.value.toInt());
            return true;
        }
        return false;
    case A::Colour:
        if (windows.setColour)
            return windows.setColour(control, step.value.value<QColor>());
        // Only a declared property counts; setProperty would otherwise add
        // a dynamic one and report false.
        return control->metaObject()->indexOfProperty("color") >= 0 && control->setProperty("color", step.value);
    }
    return false;
}

}  // namespace

const std::vector<ResetStep>& resetSteps()
{
    static const std::vector<ResetStep> steps{
        {1, kMain, "rgResize", A::Item, 1},
        {2, kMain, "eWidth", A::Text, text("96")},
        {2, kMain, "eHeight", A::Text, text("96")},
        {3, kMain, "cbRatio", A::Clear, {}},
        {3, kMain, "cbFWidth", A::Clear, {}},
        {3, kMain, "cbFHeight", A::Clear, {}},
        {4, kMain, "cbConvert", A::Item, 0},
        {5, kMain, "cbNameOption", A::Item, 0},
        {6, kMain, "ePreT", A::Text, text("Thumb")},
        {7, kMain, "tbJpg", A::Value, 90},
        {8, kMain, "cbOverWrite", A::Check, {}},
        {8, kMain, "cbUpright", A::Check, {}},
        {8, kMain, "cbKeepInfo", A::Clear, {}},
        {8, kMain, "cbKeepLocation", A::Clear, {}},
        {9, kHtml, "rgHREF", A::Item, 2},
        {10, kHtml, "cbHREF", A::Check, {}},
        {10, kHtml, "rgHREF", A::Show, {}},
        {10, kHtml, "eHREF", A::Show, {}},
        {11, kHtml, "rgIMG", A::Item, 2},
        {12, kHtml, "rgDisp", A::Item, 0},
        {13, kHtml, "eBorder", A::Text, text("1")},
        {14, kHtml, "cbBorder", A::Check, {}},
        {14, kHtml, "eBorder", A::Show, {}},
        {14, kHtml, "lBorder", A::Show, {}},
        {15, kHtml, "cbStats", A::Check, {}},
        {16, kHtml, "cpBack", A::Colour, kWhite},
        {16, kHtml, "cpFont", A::Colour, kBlack},
        {16, kHtml, "cpBanr", A::Colour, kBlack},
        {17, kHtml, "eBanr", A::Text, text("Tessaly")},
        {18, kHtml, "rgBanr", A::Item, 0},
        {19, kHtml, "eTCols", A::Text, text("5")},
        {19, kHtml, "eTBord", A::Text, text("1")},
        {19, kHtml, "eTWidth", A::Text, text("0")},
        {19, kHtml, "eTPad", A::Text, text("2")},
        {19, kHtml, "eTSpace", A::Text, text("2")},
        {20, kHtml, "cbTAlign", A::Text, text("Center")},
        {21, kHtml, "cpTBkgd", A::Colour, kGrey},
        {22, kHtml, "cbTBColor", A::Check, {}},
        {22, kHtml, "lBColor", A::Show, {}},
        {22, kHtml, "cpTBkgd", A::Show, {}},
        {23, kHtml, "eCaption", A::Text, text("Click thumbnail to see full size image")},
        {24, kHtml, "cbCaption", A::Check, {}},
        {24, kHtml, "eCaption", A::Show, {}},
        {24, kHtml, "lTCap", A::Show, {}},
        {25, kHtml, "cbCAlign", A::Text, text("Top")},
        {25, kHtml, "cbCHAlign", A::Text, text("Center")},
        {25, kHtml, "cbCVAlign", A::Text, text("Middle")},
        {26, kHtml, "cpCBkgd", A::Colour, kWhite},
        {27, kHtml, "cbCBColor", A::Clear, {}},
        {27, kHtml, "cpCBkgd", A::Hide, {}},
        {28, kHtml, "eTperPg", A::Text, text("25")},
        {29, kHtml, "rb1pg", A::Clear, {}},
        {29, kHtml, "rbMpg", A::Check, {}},
        {29, kHtml, "lTperPg", A::Show, {}},
        {29, kHtml, "eTperPg", A::Show, {}},
        {29, kHtml, "lMHelp", A::Show, {}},
        {30, kHtml, "rbNavTop", A::Clear, {}},
        {30, kHtml, "rbNavBot", A::Clear, {}},
        {30, kHtml, "rbNavBoth", A::Check, {}},
        {31, kHtml, "cbAddNav", A::Check, {}},
        {31, kHtml, "rbNavTop", A::Show, {}},
        {31, kHtml, "rbNavBot", A::Show, {}},
        {31, kHtml, "rbNavBoth", A::Show, {}},
        {32, kHtml, "GroupBox3", A::Show, {}},
        {32, kHtml, "GroupBox4", A::Show, {}},
        {32, kHtml, "Label24", A::Show, {}},
        {32, kHtml, "gbPages", A::Show, {}},
        {32, kHtml, "gbNavBtns", A::Show, {}},
        {32, kHtml, "lMHelp", A::Show, {}},
        {33, kHtml, "cbResponsive", A::Clear, {}},
        {33, kHtml, "cbFrames", A::Clear, {}},
        {33, kHtml, "cbUseTable", A::Check, {}},
        {33, kHtml, "cbBkgd", A::Clear, {}},
        {33, kHtml, "cbTxt", A::Clear, {}},
        {34, kHtml, "cbUseTable", A::Enable, {}},
        {35, kHtml, "lFrameHelp", A::Hide, {}},
        {36, kHtml, "eTCols", A::Enable, {}},
        {36, kHtml, "cbTAlign", A::Enable, {}},
        {36, kHtml, "cbCAlign", A::Enable, {}},
        {37, kHtml, "gbPages", A::Show, {}},
        {37, kHtml, "gbNavBtns", A::Show, {}},
        {37, kHtml, "Label24", A::Show, {}},
        {38, kOut, "eFileName", A::Text, text("MyWeb.htm")},
        {39, kDel, "cbRecycle", A::Check, {}},
    };
    return steps;
}

QStringList applyDefaults(const ResetWindows& windows)
{
    QStringList missing;
    if (windows.main) {
        for (const char* name : {"fDir", "fNewDir"}) {
            if (auto* tree = windows.main->findChild<FolderTree*>(QLatin1String(name)))
                tree->setFolder(paths::startFolder());
            else
                missing << QStringLiteral("TForm1/") + QLatin1String(name);
        }
    }
    for (const ResetStep& step : resetSteps()) {
        QWidget* window = windowOf(windows, step.window);
        const QString name = QLatin1String(step.control);
        QWidget* control = window ? window->findChild<QWidget*>(name) : nullptr;
        if (!control || !apply(control, step, windows))
            missing << windowName(step.window) + u'/' + name;
    }
    missing.removeDuplicates();
    return missing;
}

bool resetToDefaults(MessageService& messages, QWidget* parent, const ResetWindows& windows)
{
    if (messages.show(parent, kResetQuestion, MessageIcon::Question, MessageButtons::YesCancel) != MessageAnswer::Yes)
        return false;
    applyDefaults(windows);
    return true;
}

}  // namespace tessaly
