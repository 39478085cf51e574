#pragma once

#include "support/printers.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <functional>

namespace tessaly::testing {

// A temporary folder that is removed with everything in it at the end.
class TempFolder {
public:
    TempFolder();
    QString path() const;
    // Writes `bytes` to `name` inside the folder (sub-folders are made) and
    // returns the file's full path.
    QString write(const QString& name, const QByteArray& bytes = QByteArray("x"));
    QString makeFolder(const QString& name);

private:
    QTemporaryDir m_dir;
};

QByteArray readAll(const QString& path);

// Lets the application handle its events until `condition` holds or
// `milliseconds` have passed; whether it holds.
bool waitUntil(const std::function<bool()>& condition, int milliseconds = 5000);

}  // namespace tessaly::testing
