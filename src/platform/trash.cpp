#include "platform/trash.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace tessaly {

bool DesktopTrashService::moveToTrash(const QString& path)
{
    // Qt 6.4 falls back to "./files/" under the working folder when the data
    // folder is missing ("Unable to establish trash directory") and still
    // reports success; making the folder first keeps files in the real trash.
    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dataFolder.isEmpty() || !QDir().mkpath(dataFolder))
        return false;
    QString placedAt;
    if (!QFile::moveToTrash(path, &placedAt))
        return false;
    return QFileInfo(placedAt).isAbsolute();
}

}  // namespace tessaly
