#include "platform/shell.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace tessaly {

namespace {

const QStringList kTextEditors = {
    QStringLiteral("gnome-text-editor"), QStringLiteral("gedit"), QStringLiteral("kate"),  QStringLiteral("kwrite"),
    QStringLiteral("mousepad"),          QStringLiteral("xed"),   QStringLiteral("pluma"), QStringLiteral("featherpad"),
    QStringLiteral("leafpad"),
};

const QStringList kWordProcessors = {
    QStringLiteral("lowriter"),
    QStringLiteral("libreoffice"),
    QStringLiteral("abiword"),
    QStringLiteral("calligrawords"),
};

}  // namespace

QString findFirstProgram(const QStringList& candidates)
{
    for (const QString& name : candidates) {
        const QString found = QStandardPaths::findExecutable(name);
        if (!found.isEmpty())
            return found;
    }
    return {};
}

bool DesktopShellService::openFile(const QString& path)
{
    if (path.isEmpty() || !QFileInfo::exists(path))
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool DesktopShellService::openUrl(const QString& url)
{
    return QDesktopServices::openUrl(QUrl(url));
}

bool DesktopShellService::exploreFolder(const QString& folder)
{
    if (!QFileInfo(folder).isDir())
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

bool DesktopShellService::openFileManager()
{
    return exploreFolder(QDir::homePath());
}

bool DesktopShellService::startTextEditor(const QString& path)
{
    const QString editor = findFirstProgram(kTextEditors);
    QStringList arguments;
    if (!path.isEmpty())
        arguments << path;
    if (!editor.isEmpty())
        return QProcess::startDetached(editor, arguments);
    // No known editor: hand a file to whatever the desktop opens text with.
    return !path.isEmpty() && openFile(path);
}

bool DesktopShellService::startWordProcessor(const QString& path)
{
    const QString program = findFirstProgram(kWordProcessors);
    if (program.isEmpty())
        return false;
    QStringList arguments;
    if (program.endsWith(QLatin1String("/libreoffice")))
        arguments << QStringLiteral("--writer");
    if (!path.isEmpty())
        arguments << path;
    return QProcess::startDetached(program, arguments);
}

}  // namespace tessaly
