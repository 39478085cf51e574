#include "app/startselection.h"

#include "app/tform1.h"
#include "platform/fileops.h"
#include "platform/paths.h"
#include "ui_tform1.h"
#include "widgets/filelistbox.h"
#include "widgets/foldertree.h"

#include <QDir>
#include <QFileInfo>

namespace tessaly {

StartSelection startSelectionFromArguments(const QStringList& arguments)
{
    StartSelection selection;
    for (const QString& argument : arguments) {
        // The path's text from QFileInfo, the file system asked by its bytes.
        const QFileInfo info(QDir::current().absoluteFilePath(argument));
        const bool isDir = isFolder(info.absoluteFilePath());
        const bool isFile = isOrdinaryFile(info.absoluteFilePath());
        if (!fileExists(info.absoluteFilePath())) {
            selection.problems << QStringLiteral("%1: no such file or folder").arg(argument);
            continue;
        }
        if (!isDir && !isFile) {
            selection.problems << QStringLiteral("%1: %2, left out")
                                      .arg(argument,
                                           notOrdinaryFileReason(info.absoluteFilePath()).value_or(QString()));
            continue;
        }
        const QString folder = paths::normalFolder(isDir ? info.absoluteFilePath() : info.absolutePath());
        if (selection.folder.isEmpty())
            selection.folder = folder;
        else if (folder != selection.folder || isDir) {
            selection.problems << QStringLiteral("%1: not in %2, left out").arg(argument, selection.folder);
            continue;
        }
        if (isFile && !selection.names.contains(info.fileName()))
            selection.names << info.fileName();
    }
    return selection;
}

void applyStartSelection(TForm1& window, const StartSelection& selection)
{
    if (selection.folder.isEmpty())
        return;
    Ui::TForm1& ui = window.form();
    try {
        ui.fDir->setFolder(selection.folder);
    } catch (const FolderNotFound&) {
        return;  // gone since the arguments were read: start where the settings say
    }
    int first = -1;
    for (int row = 0; row < ui.fBox->count(); ++row) {
        const bool wanted = selection.names.contains(ui.fBox->nameAt(row));
        ui.fBox->setItemSelected(row, wanted);
        if (wanted && first < 0)
            first = row;
    }
    if (first >= 0)
        ui.fBox->scrollToItem(ui.fBox->item(first));
}

}  // namespace tessaly
