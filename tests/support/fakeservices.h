#pragma once

#include "platform/services.h"
#include "settings/inifile.h"
#include "support/printers.h"
#include "support/tempfolder.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

namespace tessaly::testing {

// Records every message box and answers from a script; with the script
// empty it answers the box's first button.
class FakeMessages final : public MessageService {
public:
    struct Shown {
        QString text;
        MessageIcon icon;
        MessageButtons buttons;
        QString title;  // empty: the program's name
        QString details;  // what "Show Details..." would show; empty: none
    };

    MessageAnswer show(QWidget* parent, const QString& text, MessageIcon icon, MessageButtons buttons,
                       const QString& title = QString()) override;
    void reportWithDetails(QWidget* parent, const QString& text, const QString& details) override
    {
        show(parent, text, MessageIcon::None, MessageButtons::Ok);
        shown.back().details = details;
    }

    void script(MessageAnswer answer) { answers.push_back(answer); }
    QStringList texts() const;

    std::vector<Shown> shown;
    std::deque<MessageAnswer> answers;
};

// Records what the program asked of the desktop; `accept` decides the answer.
class FakeShell final : public ShellService {
public:
    bool openFile(const QString& path) override { return record(QStringLiteral("open ") + path); }
    bool openUrl(const QString& url) override { return record(QStringLiteral("url ") + url); }
    bool exploreFolder(const QString& folder) override { return record(QStringLiteral("explore ") + folder); }
    bool openFileManager() override { return record(QStringLiteral("file manager")); }
    bool startTextEditor(const QString& path) override { return record(QStringLiteral("text editor ") + path); }
    bool startWordProcessor(const QString& path) override { return record(QStringLiteral("word processor ") + path); }

    QStringList calls;
    bool accept = true;

private:
    bool record(const QString& call)
    {
        calls << call;
        return accept;
    }
};

// Moves nothing; records the paths it was handed.
class FakeTrash final : public TrashService {
public:
    bool moveToTrash(const QString& path) override
    {
        trashed << path;
        return accept;
    }
    QStringList trashed;
    bool accept = true;
};

// Runs no modal loop: records each dialog it was asked to show, lets a test
// look at it while it would be open, and returns a scripted result
// (QDialog::Accepted when the script is empty).
class FakeDialogs final : public DialogService {
public:
    int run(QDialog& dialog) override;

    std::function<void(QDialog&)> whileShown;
    std::deque<int> results;
    QStringList shownNames;
};

// The doubles together, ready to hand to a window, and a settings file in
// a folder of its own.
struct FakeServices {
    FakeMessages messages;
    FakeShell shell;
    FakeTrash trash;
    FakeDialogs dialogs;
    PlatformServices services{messages, shell, trash, dialogs};
    TempFolder settingsFolder;
    IniFile settings{settingsFolder.path() + QStringLiteral("/Tessaly.ini")};
};

}  // namespace tessaly::testing
