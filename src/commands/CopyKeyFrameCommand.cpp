#include "commands/CopyKeyFrameCommand.h"

#include "app/ProgramState.h"

int CopyKeyFrameCommand::Run() {
    m_copied.hasCopiedKey = 1;
    m_copied.copiedKeyTime = static_cast<float>(g_keyTime);
    m_copied.copiedKeyAnimation = g_currentAnimation;
    return 0;
}
