#include "filetools/foldercommands.h"

#include "platform/filenames.h"
#include "platform/fileops.h"

#include <QDir>
#include <unistd.h>

namespace tessaly {

QString confirmRemoveDirectoryText(const QString& folder)
{
    return QStringLiteral("Confirm Delete of Directory ") + displayFileName(folder);
}

bool createDirectoryWithParents(const QString& baseFolder, const QString& path)
{
    if (path.trimmed().isEmpty())
        return false;
    // By the names' own bytes: the folder may be one whose name is not UTF-8.
    return makeFolders(QDir(baseFolder).absoluteFilePath(path));
}

bool removeEmptyDirectory(const QString& folder)
{
    if (folder.isEmpty())
        return false;
    // rmdir(2) itself refuses a folder that holds anything and a link.
    return ::rmdir(encodeFileName(folder).constData()) == 0;
}

bool pm1ItemEnabled(const QString& itemName, int selectedFiles)
{
    if (itemName == QLatin1String("DeleteSelectedFiles1"))
        return selectedFiles > 0;
    return true;
}

}  // namespace tessaly
