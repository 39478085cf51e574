#include "platform/desktopapps.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QtGlobal>

namespace tessaly {

namespace {

// The key=value lines of `group` in an INI-like freedesktop.org file, in
// order; keys with a locale ("Name[de]") are left out.
QList<QPair<QString, QString>> groupEntries(const QByteArray& text, const QString& group)
{
    QList<QPair<QString, QString>> entries;
    bool inGroup = false;
    for (const QByteArray& rawLine : text.split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[')) {
            inGroup = line == u'[' + group + u']';
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!inGroup || equals <= 0)
            continue;
        const QString key = line.left(equals).trimmed();
        if (!key.contains(u'['))
            entries.append({key, line.mid(equals + 1).trimmed()});
    }
    return entries;
}

QStringList listValue(const QString& value)
{
    return value.split(u';', Qt::SkipEmptyParts);
}

// Where mimeapps.list files are, most important first: the user's and the
// system's configuration folders, then the applications folders; in each,
// the current desktop's own list before the common one.
QStringList mimeAppsLists()
{
    QStringList desktops;
    for (const QString& desktop : qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(u':', Qt::SkipEmptyParts))
        desktops << desktop.toLower() + QStringLiteral("-mimeapps.list");
    desktops << QStringLiteral("mimeapps.list");
    QStringList files;
    const QStringList folders = QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation) +
                                QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation);
    for (const QString& folder : folders)
        for (const QString& name : desktops)
            files << folder + u'/' + name;
    return files;
}

QByteArray readSmallFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // Desktop files and association lists are a few kilobytes.
    return file.read(1 << 20);
}

}  // namespace

std::optional<DesktopEntry> parseDesktopEntry(const QByteArray& text)
{
    DesktopEntry entry;
    for (const auto& [key, value] : groupEntries(text, QStringLiteral("Desktop Entry"))) {
        if (key == QLatin1String("Exec"))
            entry.exec = value;
        else if (key == QLatin1String("Categories"))
            entry.categories = listValue(value);
        else if (key == QLatin1String("MimeType"))
            entry.mimeTypes = listValue(value);
        else if (key == QLatin1String("Hidden"))
            entry.hidden = value == QLatin1String("true");
    }
    if (entry.exec.isEmpty())
        return std::nullopt;
    return entry;
}

QStringList desktopCommand(const DesktopEntry& entry, const QString& file)
{
    QStringList command;
    for (const QString& argument : QProcess::splitCommand(entry.exec)) {
        static const QStringList fileCodes{QStringLiteral("%f"), QStringLiteral("%F"), QStringLiteral("%u"),
                                           QStringLiteral("%U")};
        if (fileCodes.contains(argument)) {
            if (!file.isEmpty())
                command << file;
            continue;
        }
        // Other field codes (%i, %c, %k, the deprecated ones) are dropped;
        // "%%" is a percent sign.
        QString kept;
        for (qsizetype i = 0; i < argument.size(); ++i) {
            if (argument[i] != u'%' || i + 1 == argument.size()) {
                kept += argument[i];
                continue;
            }
            ++i;
            if (argument[i] == u'%')
                kept += u'%';
        }
        if (!kept.isEmpty())
            command << kept;
    }
    return command;
}

bool isWebBrowser(const DesktopEntry& entry)
{
    return entry.categories.contains(QStringLiteral("WebBrowser")) ||
           entry.mimeTypes.contains(QStringLiteral("x-scheme-handler/http")) ||
           entry.mimeTypes.contains(QStringLiteral("x-scheme-handler/https"));
}

QString findDesktopFile(const QString& id)
{
    if (id.isEmpty() || id.contains(u'/'))
        return {};
    return QStandardPaths::locate(QStandardPaths::ApplicationsLocation, id);
}

std::optional<DesktopEntry> loadDesktopEntry(const QString& id)
{
    const QString path = findDesktopFile(id);
    if (path.isEmpty())
        return std::nullopt;
    return parseDesktopEntry(readSmallFile(path));
}

QStringList defaultApplicationsFor(const QString& mimeType)
{
    QStringList wanted;
    const QStringList lists = mimeAppsLists();
    for (const QString& group : {QStringLiteral("Default Applications"), QStringLiteral("Added Associations")}) {
        for (const QString& list : lists) {
            for (const auto& [key, value] : groupEntries(readSmallFile(list), group)) {
                if (key != mimeType)
                    continue;
                for (const QString& id : listValue(value))
                    if (!wanted.contains(id) && !findDesktopFile(id).isEmpty())
                        wanted << id;
            }
        }
    }
    return wanted;
}

}  // namespace tessaly
