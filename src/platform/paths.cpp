#include "platform/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace tessaly::paths {

QString root()
{
    return QStringLiteral("/");
}

QString join(const QString& folder, const QString& name)
{
    if (folder.isEmpty())
        return name;
    if (folder.endsWith(separator))
        return folder + name;
    return folder + separator + name;
}

QString folderOf(const QString& path)
{
    const qsizetype cut = path.lastIndexOf(separator);
    if (cut < 0)
        return {};
    if (cut == 0)
        return root();
    return path.left(cut);
}

QString fileNameOf(const QString& path)
{
    return path.mid(path.lastIndexOf(separator) + 1);
}

QString normalFolder(const QString& folder)
{
    QString result = folder;
    while (result.size() > 1 && result.endsWith(separator))
        result.chop(1);
    return result;
}

QString rootOfWorkingFolder()
{
    const QString working = QDir::currentPath();
    return working.startsWith(separator) ? root() : working.left(3);
}

QString startFolder()
{
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!pictures.isEmpty() && QFileInfo(pictures).isDir())
        return normalFolder(QDir::cleanPath(pictures));
    const QString home = QDir::homePath();
    return QFileInfo(home).isDir() ? normalFolder(QDir::cleanPath(home)) : root();
}

QString programFolder()
{
    return normalFolder(QCoreApplication::applicationDirPath());
}

}  // namespace tessaly::paths
