#include "cli/filelist.h"

#include "platform/filelisting.h"
#include "platform/filenames.h"
#include "platform/fileops.h"
#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <cstdio>
#include <optional>

namespace tessaly {

QStringList splitPathList(const QByteArray& bytes, bool nullSeparated)
{
    QStringList paths;
    for (const QByteArray& entry : bytes.split(nullSeparated ? '\0' : '\n'))
        if (!entry.isEmpty())
            paths << decodeFileName(entry);
    return paths;
}

PathList readPathList(const QString& file, bool nullSeparated)
{
    PathList list;
    QFile input;
    const bool opened = file == QLatin1String("-") ? input.open(stdin, QIODevice::ReadOnly)
                                                   : (input.setFileName(file), input.open(QIODevice::ReadOnly));
    if (!opened) {
        list.error = QStringLiteral("Cannot read the file list %1: %2").arg(file, input.errorString());
        return list;
    }
    list.paths = splitPathList(input.readAll(), nullSeparated);
    return list;
}

SourceFiles resolveListedFiles(const QStringList& inputs, const QStringList& listed, const QString& mask,
                               bool oneFolder)
{
    SourceFiles files;
    QStringList paths;
    QSet<QString> seen;
    // The first folder and the first other one met; only "one or several" matters.
    std::optional<QString> firstFolder, otherFolder;
    const auto take = [&](const QString& folder, const QString& name) {
        const QString path = paths::join(folder, name);
        if (seen.contains(path))
            return;
        seen.insert(path);
        paths << path;
        if (!firstFolder)
            firstFolder = folder;
        else if (!otherFolder && folder != *firstFolder)
            otherFolder = folder;
    };
    for (const QString& input : inputs + listed) {
        // Only the path's text is taken from QFileInfo: the file system is
        // asked by the name's bytes.
        const QFileInfo info(QDir::current().absoluteFilePath(input));
        const QString absolute = info.absoluteFilePath();
        if (isFolder(absolute)) {
            const QString folder = paths::normalFolder(QDir::cleanPath(info.absoluteFilePath()));
            QStringList names = listMatchingFiles(folder, mask);
            sortNamesIgnoringCase(names);
            for (const QString& name : names)
                take(folder, name);
        } else if (isOrdinaryFile(absolute)) {
            take(paths::normalFolder(QDir::cleanPath(info.absolutePath())), info.fileName());
        } else if (const auto reason = notOrdinaryFileReason(absolute)) {
            // A pipe or a device would hang the run or never end.
            files.error = QStringLiteral("%1: %2").arg(input, *reason);
            return files;
        } else {
            files.error = QStringLiteral("%1: no such file or folder").arg(input);
            return files;
        }
    }
    if (otherFolder) {
        if (oneFolder) {
            files.error =
                QStringLiteral("The files must all lie in one folder: %1 and %2").arg(*firstFolder, *otherFolder);
            return files;
        }
        files.names = paths;
        return files;
    }
    files.folder = firstFolder.value_or(QString());
    for (const QString& path : paths)
        files.names << paths::fileNameOf(path);
    return files;
}

}  // namespace tessaly
