#pragma once

#include "platform/dialogs.h"
#include "platform/messages.h"
#include "platform/shell.h"
#include "platform/trash.h"

namespace tessaly {

// The desktop services a window may use, handed to each window when it is
// made; tests hand in recorders with scripted answers.
struct PlatformServices {
    MessageService& messages;
    ShellService& shell;
    TrashService& trash;
    DialogService& dialogs;
};

}  // namespace tessaly
