#pragma once

#include <QString>
#include <QStringList>

namespace tessaly {

// What the program asks of the desktop: open files and pages in the programs
// registered for them, show folders in the file manager, start an editor.
// Each call reports whether the desktop accepted it; most callers ignore that.
class ShellService {
public:
    virtual ~ShellService() = default;
    virtual bool openFile(const QString& path) = 0;
    virtual bool openUrl(const QString& url) = 0;
    virtual bool exploreFolder(const QString& folder) = 0;
    // The file manager without a folder of ours: it opens the home folder.
    virtual bool openFileManager() = 0;
    // The plain text editor, with a file or empty.
    virtual bool startTextEditor(const QString& path) = 0;
    // A word processor, with a file or empty.
    virtual bool startWordProcessor(const QString& path) = 0;
};

// The first of `candidates` found on the PATH, or empty.
QString findFirstProgram(const QStringList& candidates);

class DesktopShellService final : public ShellService {
public:
    bool openFile(const QString& path) override;
    bool openUrl(const QString& url) override;
    bool exploreFolder(const QString& folder) override;
    bool openFileManager() override;
    bool startTextEditor(const QString& path) override;
    bool startWordProcessor(const QString& path) override;
};

}  // namespace tessaly
