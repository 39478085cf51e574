#pragma once

#include "support/fakeservices.h"

#include <QDialog>
#include <QFileDialog>
#include <QString>

namespace tessaly::testing {

// Answers the viewer's file dialogs: the open dialog ("OD") picks
// `openPath`, the save dialog ("SD") `savePath`; an empty path cancels.
// Other dialogs are handed to `other`.
struct FileDialogAnswers {
    QString openPath;
    QString savePath;
    QStringList shown;

    void install(FakeDialogs& dialogs)
    {
        dialogs.whileShown = [this, &dialogs](QDialog& dialog) {
            shown << dialog.objectName();
            auto* files = qobject_cast<QFileDialog*>(&dialog);
            if (!files)
                return;
            const QString path = dialog.objectName() == QLatin1String("OD") ? openPath : savePath;
            if (path.isEmpty())
                dialogs.results.push_front(QDialog::Rejected);
            else
                files->selectFile(path);
        };
    }
};

}  // namespace tessaly::testing
