#include "filetools/manualrename.h"

#include "platform/fileops.h"
#include "platform/paths.h"

#include <QUuid>

namespace tessaly {

namespace {

bool isPlainFileName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(paths::separator) && !name.contains(QChar(0));
}

}  // namespace

bool renameWithoutReplacing(const QString& from, const QString& to)
{
    if (renameNoReplace(from, to))
        return true;
    // On a file system that ignores case, "a.jpg" to "A.jpg" finds the
    // target taken by the file itself.
    const bool sameFolder = paths::folderOf(from) == paths::folderOf(to);
    const bool caseOnly = paths::fileNameOf(from).compare(paths::fileNameOf(to), Qt::CaseInsensitive) == 0;
    if (!sameFolder || !caseOnly || from == to || !sameFile(from, to))
        return false;
    const QString step = paths::join(paths::folderOf(from),
                                     QStringLiteral(".tessaly-rename-") + QUuid::createUuid().toString(QUuid::Id128));
    if (!renameNoReplace(from, step))
        return false;
    if (renameNoReplace(step, to))
        return true;
    // The file takes its old name back; should even that fail, it is still
    // in its folder under the temporary name, which is said.
    if (!renameNoReplace(step, from))
        qWarning("Could not rename %s; it is kept as %s", qUtf8Printable(from), qUtf8Printable(step));
    return false;
}

RenameOutcome renameManually(const QString& renamePath, const QString& targetFolder, const QString& newName)
{
    if (paths::fileNameOf(renamePath) == newName)
        return RenameOutcome::Unchanged;
    if (!isPlainFileName(newName))
        return RenameOutcome::Failed;
    return renameWithoutReplacing(renamePath, paths::join(targetFolder, newName)) ? RenameOutcome::Renamed
                                                                                  : RenameOutcome::Failed;
}

}  // namespace tessaly
