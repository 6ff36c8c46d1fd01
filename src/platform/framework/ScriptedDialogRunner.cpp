#include "platform/framework/ScriptedDialogRunner.h"

#include "platform/framework/Dialog.h"
#include "platform/framework/MessageBoxCodes.h"

namespace framework {

void ScriptedDialogRunner::PushOk() {
    Push([](Dialog& dialog) { dialog.ClickButton(IdOk); });
}

void ScriptedDialogRunner::PushCancel() {
    Push([](Dialog& dialog) { dialog.ClickButton(IdCancel); });
}

int ScriptedDialogRunner::RunModal(Dialog& dialog) {
    Run run;
    run.templateId = dialog.GetTemplateId();
    run.title = dialog.windowTitle();
    if (dialog.StartModal()) {
        if (m_scripts.empty()) {
            ++m_unscripted;
        } else {
            Script script = std::move(m_scripts.front());
            m_scripts.pop_front();
            script(dialog);
        }
        if (!dialog.IsEnded()) {
            run.cancelledByRunner = true;
            dialog.OnCancel();
            // A dialog that refuses to cancel is still closed: the run has to end.
            if (!dialog.IsEnded()) {
                dialog.EndDialog(IdCancel);
            }
        }
    }
    run.result = dialog.FinishModal();
    m_runs.push_back(run);
    return run.result;
}

} // namespace framework
