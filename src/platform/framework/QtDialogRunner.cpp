#include "platform/framework/QtDialogRunner.h"

#include "platform/framework/Dialog.h"

namespace framework {

int QtDialogRunner::RunModal(Dialog& dialog) {
    if (dialog.StartModal()) {
        dialog.exec();
    }
    return dialog.FinishModal();
}

} // namespace framework
