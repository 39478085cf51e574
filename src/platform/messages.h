#pragma once

#include <QString>

class QWidget;

namespace tessaly {

enum class MessageIcon { None, Information, Warning, Question, Error };
enum class MessageButtons { Ok, OkCancel, YesNo, YesCancel, YesNoCancel };
// Closing a box by its title bar or with Escape answers Cancel when the box
// has a Cancel button and No (or Ok) otherwise, as the desktop's boxes do.
enum class MessageAnswer { Ok, Cancel, Yes, No };

// Every message box of the program goes through here, so that tests can
// read what was said and script the answers.
class MessageService {
public:
    virtual ~MessageService() = default;
    // `title` is the box's caption; without one the box is titled with the
    // program's name.
    virtual MessageAnswer show(QWidget* parent, const QString& text, MessageIcon icon, MessageButtons buttons,
                               const QString& title = QString()) = 0;

    // A plain report with one OK button and no icon.
    void report(QWidget* parent, const QString& text) { show(parent, text, MessageIcon::None, MessageButtons::Ok); }
    // A plain report whose box also offers `details` (what failed and why)
    // behind its "Show Details..." button; the text itself is unchanged.
    virtual void reportWithDetails(QWidget* parent, const QString& text, const QString& details)
    {
        (void)details;
        report(parent, text);
    }
    void error(QWidget* parent, const QString& text) { show(parent, text, MessageIcon::Error, MessageButtons::Ok); }
};

// Modal QMessageBox boxes, titled with the program's name unless a title is given.
class QtMessageService final : public MessageService {
public:
    MessageAnswer show(QWidget* parent, const QString& text, MessageIcon icon, MessageButtons buttons,
                       const QString& title = QString()) override;
    void reportWithDetails(QWidget* parent, const QString& text, const QString& details) override;
};

}  // namespace tessaly
