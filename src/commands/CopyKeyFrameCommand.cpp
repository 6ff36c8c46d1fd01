#include "commands/CopyKeyFrameCommand.h"

#include "session/EditContext.h"

int CopyKeyFrameCommand::Run(session::EditContext& context) {
    m_copied.hasCopiedKey = 1;
    m_copied.copiedKeyTime = static_cast<float>(context.keyTime);
    m_copied.copiedKeyAnimation = context.currentAnimation;
    return 0;
}
