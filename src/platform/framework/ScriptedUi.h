#pragma once

#include "platform/NonCopyable.h"
#include "platform/framework/ScriptedDialogRunner.h"
#include "platform/framework/ScriptedFileDialog.h"
#include "platform/framework/ScriptedMessageBox.h"

namespace framework {

/// Installs a scripted message box, file dialog and dialog runner for as long as it
/// lives, and puts back what was installed before when it goes. Meant as a member of a
/// test fixture:
///
///     ScriptedUi ui;
///     ui.messageBox.Push(IdYes);
///     ui.fileDialog.Choose("/tmp/a.x");
class ScriptedUi : private platform::NonCopyable {
public:
    ScriptedUi();
    ~ScriptedUi();

    ScriptedMessageBox messageBox;
    ScriptedFileDialog fileDialog;
    ScriptedDialogRunner dialogRunner;

private:
    IMessageBox* m_previousMessageBox;
    IFileDialog* m_previousFileDialog;
    IDialogRunner* m_previousDialogRunner;
};

} // namespace framework
