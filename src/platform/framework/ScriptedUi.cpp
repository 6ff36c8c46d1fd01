#include "platform/framework/ScriptedUi.h"

#include "platform/framework/UiServices.h"

namespace framework {

ScriptedUi::ScriptedUi()
    : m_previousMessageBox(&UiServices::MessageBoxes()),
      m_previousFileDialog(&UiServices::FileDialogs()),
      m_previousDialogRunner(&UiServices::DialogRunner()) {
    UiServices::SetMessageBox(&messageBox);
    UiServices::SetFileDialog(&fileDialog);
    UiServices::SetDialogRunner(&dialogRunner);
}

ScriptedUi::~ScriptedUi() {
    UiServices::SetMessageBox(m_previousMessageBox);
    UiServices::SetFileDialog(m_previousFileDialog);
    UiServices::SetDialogRunner(m_previousDialogRunner);
}

} // namespace framework
