#pragma once

#include "platform/framework/IDialogRunner.h"

namespace framework {

/// Runs a dialog on screen with QDialog::exec.
class QtDialogRunner : public IDialogRunner {
public:
    int RunModal(Dialog& dialog) override;
};

} // namespace framework
