#include "support/fakeservices.h"

#include <QDialog>

namespace tessaly::testing {

MessageAnswer FakeMessages::show(QWidget*, const QString& text, MessageIcon icon, MessageButtons buttons,
                                 const QString& title)
{
    shown.push_back({text, icon, buttons, title, {}});
    if (!answers.empty()) {
        const MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    switch (buttons) {
    case MessageButtons::Ok:
    case MessageButtons::OkCancel: return MessageAnswer::Ok;
    default: return MessageAnswer::Yes;
    }
}

QStringList FakeMessages::texts() const
{
    QStringList result;
    for (const Shown& box : shown)
        result << box.text;
    return result;
}

int FakeDialogs::run(QDialog& dialog)
{
    shownNames << dialog.objectName();
    // The dialog is shown (not modally) so that its show handler runs and
    // its layout is what the user would see.
    dialog.show();
    if (whileShown)
        whileShown(dialog);
    int result = QDialog::Accepted;
    if (!results.empty()) {
        result = results.front();
        results.pop_front();
    }
    dialog.done(result);
    return result;
}

}  // namespace tessaly::testing
