#include "app/startup.h"
#include "platform/filenames.h"
#include "settings/settingslocation.h"

#include <QApplication>
#include <QIcon>
#include <cstdio>

int main(int argc, char* argv[])
{
    // Qt takes its own options (-platform, ...) from the command line; what
    // is left names pictures or a folder to start in (the desktop's "Open
    // With").
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessaly"));
    // The installed desktop entry and icon carry this id (task bars, Wayland).
    QGuiApplication::setDesktopFileName(QStringLiteral(TESSALY_APP_ID));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(TESSALY_APP_ID)));

    // By their bytes: QApplication::arguments() loses names that are not UTF-8.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << tessaly::decodeFileName(QByteArray(argv[i]));
    const tessaly::StartSelection start = tessaly::startSelectionFromArguments(arguments);
    for (const QString& problem : start.problems)
        std::fprintf(stderr, "tessaly: %s\n", tessaly::displayFileName(problem).toUtf8().constData());

    tessaly::QtMessageService messages;
    tessaly::DesktopShellService shell;
    tessaly::DesktopTrashService trash;
    tessaly::QtDialogService dialogs;
    tessaly::PlatformServices services{messages, shell, trash, dialogs};
    return tessaly::runApplication(services, tessaly::defaultSettingsFile(), 2000, start);
}
