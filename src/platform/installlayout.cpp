#include "platform/installlayout.h"

#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>

namespace tessaly::installlayout {

namespace {

QString docFolder(const QString& programFolder)
{
    return QDir::cleanPath(paths::join(programFolder, QString::fromLatin1(kDocFolderFromProgram)));
}

}  // namespace

bool isInstalled(const QString& programFolder)
{
    return !programFolder.isEmpty() && QFileInfo(docFolder(programFolder)).isDir();
}

QStringList helpFileCandidates(const QString& programFolder, const QString& relativeName)
{
    return {paths::join(programFolder, relativeName), paths::join(docFolder(programFolder), relativeName)};
}

QString findHelpFile(const QString& relativeName)
{
    for (const QString& candidate : helpFileCandidates(paths::programFolder(), relativeName)) {
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    return {};
}

}  // namespace tessaly::installlayout
