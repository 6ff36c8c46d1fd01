#include "commands/BatchCommand.h"

#include "app/ProgramState.h"
#include "commands/IBatchCommandHost.h"
#include "commands/KeyFrameCommand.h"
#include "platform/framework/MessageBoxCodes.h"

void BatchCommand::Inform(const char* text, const char* caption) {
    m_host.ShowMessage(QString::fromUtf8(text), QString::fromUtf8(caption),
                       framework::MbIconInformation);
}

bool BatchCommand::Confirm(const char* text, const char* caption, unsigned style) {
    const int answer =
        m_host.ShowMessage(QString::fromUtf8(text), QString::fromUtf8(caption), style);
    return answer == framework::IdOk || answer == framework::IdYes;
}

bool BatchCommand::ReportMissingAnimation(const char* caption) {
    if (g_currentAnimation != nullptr) {
        return false;
    }
    Inform(kNoAnimationDataMessage, caption);
    return true;
}
