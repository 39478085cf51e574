#pragma once

#include "platform/messages.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <vector>

class QColor;
class QWidget;

namespace tessaly {

// The windows whose remembered options the reset puts back; any may be
// missing (null), and its steps are then skipped and reported.
struct ResetWindows {
    QWidget* main = nullptr;            // TForm1
    QWidget* htmlOptions = nullptr;     // TForm6
    QWidget* outputLocation = nullptr;  // TfDlgOutHTML
    QWidget* deletion = nullptr;        // TForm4
    // Sets a colour picker button; false when the control is none. Without
    // it, a control's "color" property is set.
    std::function<bool(QWidget*, const QColor&)> setColour;
};

enum class ResetWindow { Main, HtmlOptions, OutputLocation, Deletion };

// What a step does to its control. Check and Clear on a check box or radio
// button, and Item on a radio group, act as a click would when the state
// changes, so the control's own handlers run; Item and Text on a drop-down
// list select from program code, which runs no change handler of the user.
enum class ResetAction { Check, Clear, Item, Text, Value, Colour, Show, Hide, Enable };

struct ResetStep {
    int step;  // the line of the reset table the step belongs to
    ResetWindow window;
    const char* control;
    ResetAction action;
    QVariant value;
};

// Every step of the reset, in order.
const std::vector<ResetStep>& resetSteps();

// The question asked before anything changes.
inline const QString kResetQuestion =
    QStringLiteral("Confirmation - by choosing Yes, you will reset\r\nall options to their original default "
                   "settings.\r\n\r\nProceed?");

// Puts both folder trees at the root of the working folder and runs every
// step on the windows given. Returns the controls that were not found, as
// "window/control".
QStringList applyDefaults(const ResetWindows& windows);

// Asks kResetQuestion (question icon, Yes and Cancel); only Yes resets.
// Returns whether the options were reset.
bool resetToDefaults(MessageService& messages, QWidget* parent, const ResetWindows& windows);

}  // namespace tessaly
