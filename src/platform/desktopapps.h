#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace tessaly {

// What the program needs of a freedesktop.org desktop entry
// (/usr/share/applications/*.desktop) to start the application it names.
struct DesktopEntry {
    QString exec;              // the Exec= command line, field codes and all
    QStringList categories;    // Categories=
    QStringList mimeTypes;     // MimeType=
    bool hidden = false;       // Hidden=true: the entry counts as deleted
};

// The [Desktop Entry] group of a desktop file's text; none without an Exec.
std::optional<DesktopEntry> parseDesktopEntry(const QByteArray& text);

// The program and arguments that start `entry` with `file` (empty: none):
// %f, %F, %u and %U give the file, every other field code is dropped.
QStringList desktopCommand(const DesktopEntry& entry, const QString& file);

// A web browser claims text/plain in some desktops; it is no text editor.
bool isWebBrowser(const DesktopEntry& entry);

// The desktop entries the user's desktop opens `mimeType` with, most wanted
// first: the [Default Applications] then [Added Associations] of every
// mimeapps.list (user configuration, system configuration, data folders),
// without entries that are missing or hidden.
QStringList defaultApplicationsFor(const QString& mimeType);

// The desktop entry `id` as found in the applications folders, or none.
std::optional<DesktopEntry> loadDesktopEntry(const QString& id);

// The full path of the desktop file `id` ("org.gnome.gedit.desktop") in the
// applications folders, or empty.
QString findDesktopFile(const QString& id);

}  // namespace tessaly
