#include "app/startup.h"
#include "settings/settingslocation.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[])
{
    // The program takes no command line of its own; Qt may still read its
    // platform options from it.
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessaly"));
    // The installed desktop entry and icon carry this id (task bars, Wayland).
    QGuiApplication::setDesktopFileName(QStringLiteral(TESSALY_APP_ID));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(TESSALY_APP_ID)));

    tessaly::QtMessageService messages;
    tessaly::DesktopShellService shell;
    tessaly::DesktopTrashService trash;
    tessaly::QtDialogService dialogs;
    tessaly::PlatformServices services{messages, shell, trash, dialogs};
    return tessaly::runApplication(services, tessaly::defaultSettingsFile(), 2000);
}
