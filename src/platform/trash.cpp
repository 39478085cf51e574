#include "platform/trash.h"

#include "platform/filenames.h"
#include "platform/fileops.h"
#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <atomic>
#include <unistd.h>

namespace tessaly {

namespace {

// Qt trashes by a QString path, which cannot name a file whose name is not
// UTF-8 (filenames.h). Such a file goes into the trash under a stand-in
// name from its own folder, then takes its own name back inside the trash,
// and its restore information gets its real path (the trash keeps paths as
// percent-encoded bytes), so that the desktop restores it as it was.
bool moveRawNameToTrash(const QString& path)
{
    const QString folder = paths::folderOf(path);
    const QByteArray name = encodeFileName(paths::fileNameOf(path));
    // A folder that is not UTF-8 itself is as far out of Qt's reach.
    if (folder.isEmpty() || hasRawBytes(folder) || name.isEmpty())
        return false;
    static std::atomic<unsigned> counter{0};
    const QString standIn =
        paths::join(folder, QStringLiteral(".tessaly-trash-%1-%2").arg(::getpid()).arg(counter.fetch_add(1)));
    if (!renameNoReplace(path, standIn))
        return false;
    QString placedAt;
    if (!QFile::moveToTrash(standIn, &placedAt)) {
        // The file takes its own name back; should even that fail, it is
        // still in its folder under the stand-in name, which is said.
        if (!renameNoReplace(standIn, path))
            qWarning("Could not move %s to the trash; it is kept as %s", qUtf8Printable(path),
                     qUtf8Printable(standIn));
        return false;
    }
    if (!QFileInfo(placedAt).isAbsolute())
        return false;
    // In the trash: files/NAME and info/NAME.trashinfo, NAME unique in both.
    const QString trashFolder = paths::folderOf(paths::folderOf(placedAt));
    const QString standInInfo =
        paths::join(trashFolder, QStringLiteral("info/") + paths::fileNameOf(placedAt) + QStringLiteral(".trashinfo"));
    QFile infoFile(standInInfo);
    if (!infoFile.open(QIODevice::ReadOnly))
        return true;  // trashed, under the stand-in name
    QByteArray info = infoFile.readAll();
    infoFile.close();
    const qsizetype pathAt = info.indexOf("\nPath=");
    const qsizetype pathEnd = pathAt < 0 ? -1 : info.indexOf('\n', pathAt + 1);
    if (pathEnd < 0)
        return true;
    info.replace(pathAt + 6, pathEnd - pathAt - 6, encodeFileName(path).toPercentEncoding("/"));
    for (int attempt = 1; attempt < 100; ++attempt) {
        const QByteArray trashedName = attempt == 1 ? name : name + '.' + QByteArray::number(attempt);
        const QString trashedInfo =
            paths::join(trashFolder, QStringLiteral("info/") + decodeFileName(trashedName + ".trashinfo"));
        if (fileExists(trashedInfo) ||
            fileExists(paths::join(trashFolder, QStringLiteral("files/") + decodeFileName(trashedName))))
            continue;
        if (writeWholeFile(trashedInfo, info).failed())
            return true;  // trashed, under the stand-in name
        if (!renameNoReplace(placedAt,
                             paths::join(trashFolder, QStringLiteral("files/") + decodeFileName(trashedName)))) {
            removeFile(trashedInfo);
            return true;
        }
        QFile::remove(standInInfo);
        return true;
    }
    return true;
}

}  // namespace

bool DesktopTrashService::moveToTrash(const QString& path)
{
    // Qt 6.4 falls back to "./files/" under the working folder when the data
    // folder is missing ("Unable to establish trash directory") and still
    // reports success; making the folder first keeps files in the real trash.
    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dataFolder.isEmpty() || !QDir().mkpath(dataFolder))
        return false;
    if (hasRawBytes(path))
        return moveRawNameToTrash(path);
    QString placedAt;
    if (!QFile::moveToTrash(path, &placedAt))
        return false;
    return QFileInfo(placedAt).isAbsolute();
}

}  // namespace tessaly
