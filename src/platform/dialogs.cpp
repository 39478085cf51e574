#include "platform/dialogs.h"

#include <QDialog>

namespace tessaly {

int QtDialogService::run(QDialog& dialog)
{
    return dialog.exec();
}

}  // namespace tessaly
