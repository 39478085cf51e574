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

// Makes a folder read-only for as long as it lives: for root (whom
// permissions do not stop) a read-only bind mount over it, for others no
// write permission. made() says whether it could.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const QString& folder);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;
    bool made() const { return m_made; }

private:
    QString m_folder;
    bool m_mounted = false;
    bool m_made = false;
};

QByteArray readAll(const QString& path);

// Lets the application handle its events until `condition` holds or
// `milliseconds` have passed; whether it holds.
bool waitUntil(const std::function<bool()>& condition, int milliseconds = 5000);

}  // namespace tessaly::testing
