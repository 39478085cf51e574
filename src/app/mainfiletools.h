#pragma once

#include "filetools/picturerotation.h"
#include "imaging/picture.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QMenu;
class QWidget;

namespace Ui {
class TForm1;
}

namespace tessaly {

class FileListBox;
class FolderTree;
class SelectDirectoryDialog;
class TForm2;
struct PlatformServices;
struct PreviewResult;

// The main window's file tools: previews from the file lists and the source
// list, the preview window, the refresh and file manager commands, the
// manual rename, the folder commands and the two rotations. It wires itself
// to the main window's form and its two popup menus; the rules live in plain
// functions beside it.
class MainFileTools : public QObject {
    Q_OBJECT
public:
    // `previewWindow` gives the preview window when one is shown (it may be
    // made after the file tools).
    MainFileTools(Ui::TForm1& ui, QMenu* pm1, QMenu* pm2, std::function<TForm2&()> previewWindow,
                  PlatformServices& services, QWidget* window);
    ~MainFileTools() override;

    // What "Refresh Directory & File lists" does last: refresh the folder
    // tree of the HTML output location dialog.
    void setOutputLocationRefresh(std::function<void()> refresh) { m_refreshOutputLocation = std::move(refresh); }

    QString RenamePath() const { return m_renamePath; }
    int RenameIndex() const { return m_renameIndex; }
    SelectDirectoryDialog& selectDirectoryDialog() { return *m_selectDirectory; }

signals:
    // A file was renamed by hand (full paths before and after).
    void fileRenamed(const QString& from, const QString& to);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void fBoxMouseDown(const QPoint& at);
    void fNewBoxMouseDown(const QPoint& at);
    void lbMFLClick();
    void Image1Click();
    void bRefreshViewClick();
    void RefreshDirectory1Click();
    void RefreshDirectory2Click();
    void SpeedButton2Click();
    void bRenIndClick();
    void bRenameCanClick();
    void bRenameOKClick();
    void eFileEditKeyDown();
    void CreateNewDirectory1Click();
    void CreateNewDirectory2Click();
    void RemoveDirectory1Click();
    void RemoveDirectory2Click();
    void RotateImage90degreeclockwise1Click();
    void RotateImage90degreescounterclockwise1Click();

private:
    void connectControls();
    void previewFromList(FileListBox* list, FolderTree* tree, int row);
    void showPreview(const PreviewResult& result);
    void showRenaming(bool renaming);
    void focusFileAfterRename(const QString& shownName);
    void createDirectory(FolderTree* start);
    void removeDirectory(FolderTree* side, FolderTree* other);
    void rotate(TurnDirection direction);
    bool previewHoldsPicture() const;
    // The small preview's size in device pixels: a large JPEG is decoded
    // reduced to it.
    QSize previewViewSize() const;
    // The small preview holds a picture smaller than its file's.
    bool previewIsReduced() const;
    // Replaces a reduced preview picture with the whole picture of the
    // file named in the preview window's caption, turned as it was shown.
    // Throws Error (LoadError included) when the file cannot be read or no
    // longer holds a picture of the size previewed.
    void loadWholePreviewPicture();
    // How previews show photos: turned upright while the option is on.
    PhotoOptions photoOptions() const;
    // Hands `event` to `target` past this filter.
    bool forward(QWidget* target, QEvent* event);

    Ui::TForm1& m_ui;
    QMenu* m_pm1;
    QMenu* m_pm2;
    std::function<TForm2&()> m_previewWindow;
    PlatformServices& m_services;
    QWidget* m_window;
    std::unique_ptr<SelectDirectoryDialog> m_selectDirectory;
    std::function<void()> m_refreshOutputLocation;
    Picture m_picture;
    // The size of the previewed file's picture (as shown: turned or not).
    QSize m_fullSize;
    // Whether m_picture was shown turned as its camera orientation says.
    bool m_previewShownUpright = true;
    QString m_renamePath;
    int m_renameIndex = -1;
    bool m_forwarding = false;
};

}  // namespace tessaly
