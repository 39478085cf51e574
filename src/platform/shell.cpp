#include "platform/shell.h"

#include "platform/desktopapps.h"

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
    // The application the desktop opens plain text with, unless that is a
    // web browser (some desktops give text/plain to one); then the known
    // editors. Never the desktop's default for the file itself: for a page
    // that is the browser.
    for (const QString& id : defaultApplicationsFor(QStringLiteral("text/plain"))) {
        const std::optional<DesktopEntry> entry = loadDesktopEntry(id);
        if (!entry || entry->hidden || isWebBrowser(*entry))
            continue;
        const QStringList command = desktopCommand(*entry, path);
        const QString program = command.isEmpty() ? QString() : QStandardPaths::findExecutable(command.front());
        if (!program.isEmpty() && QProcess::startDetached(program, command.mid(1)))
            return true;
    }
    const QString editor = findFirstProgram(kTextEditors);
    if (editor.isEmpty())
        return false;
    QStringList arguments;
    if (!path.isEmpty())
        arguments << path;
    return QProcess::startDetached(editor, arguments);
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
