#include "support/fakeservices.h"

namespace tessaly::testing {

MessageAnswer FakeMessages::show(QWidget*, const QString& text, MessageIcon icon,
                                 MessageButtons buttons)
{
    shown.push_back({text, icon, buttons});
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

}  // namespace tessaly::testing
