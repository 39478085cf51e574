#include "app/startup.h"
#include "settings/mainsettings.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    // The program takes no command line of its own; Qt may still read its
    // platform options from it.
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessaly"));

    tessaly::QtMessageService messages;
    tessaly::DesktopShellService shell;
    tessaly::DesktopTrashService trash;
    tessaly::QtDialogService dialogs;
    tessaly::PlatformServices services{messages, shell, trash, dialogs};
    return tessaly::runApplication(services, tessaly::IniFile(tessaly::defaultSettingsPath()), 2000);
}
