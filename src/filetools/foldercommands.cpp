#include "filetools/foldercommands.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <unistd.h>

namespace tessaly {

QString confirmRemoveDirectoryText(const QString& folder)
{
    return QStringLiteral("Confirm Delete of Directory ") + folder;
}

bool createDirectoryWithParents(const QString& baseFolder, const QString& path)
{
    if (path.trimmed().isEmpty())
        return false;
    const QString absolute = QDir(baseFolder).absoluteFilePath(path);
    // mkpath also reports success for an existing file of that name.
    return QDir().mkpath(absolute) && QFileInfo(absolute).isDir();
}

bool removeEmptyDirectory(const QString& folder)
{
    if (folder.isEmpty())
        return false;
    // rmdir(2) itself refuses a folder that holds anything and a link.
    return ::rmdir(QFile::encodeName(folder).constData()) == 0;
}

bool pm1ItemEnabled(const QString& itemName, int selectedFiles)
{
    if (itemName == QLatin1String("DeleteSelectedFiles1"))
        return selectedFiles > 0;
    return true;
}

}  // namespace tessaly
