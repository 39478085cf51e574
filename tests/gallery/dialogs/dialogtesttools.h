#pragma once

#include "gallery/dialogs/colorchooser.h"
#include "platform/dialogs.h"

#include <QDialog>
#include <QHash>
#include <QStringList>
#include <deque>
#include <functional>

namespace tessaly::testing {

// Shows each dialog without a modal loop and lets the test act in it as a
// user would (click its buttons, type into it); the result is what those
// actions gave, and a dialog left open counts as closed by its title bar.
class ClickingDialogs final : public DialogService {
public:
    int run(QDialog& dialog) override
    {
        shownNames << dialog.objectName();
        dialog.setResult(QDialog::Rejected);
        dialog.show();
        if (const auto act = actions.value(dialog.objectName()))
            act(dialog);
        if (dialog.isVisible())
            dialog.reject();
        return dialog.result();
    }

    // What the user does in the dialog of that object name.
    QHash<QString, std::function<void(QDialog&)>> actions;
    QStringList shownNames;
};

// Answers the colour dialog from a script; no answer means Cancel.
class ScriptedColors final : public ColorChooser {
public:
    std::optional<QColor> choose(QWidget*, const QColor& initial, const QString& title) override
    {
        asked << title;
        initials << initial;
        if (answers.empty())
            return std::nullopt;
        const QColor answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::deque<QColor> answers;
    QStringList asked;
    QList<QColor> initials;
};

}  // namespace tessaly::testing
