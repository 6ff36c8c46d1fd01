#include "commands/EditPartKeysCommand.h"

#include "app/ProgramState.h"
#include "commands/IKeyFrameHost.h"
#include "platform/framework/MessageBoxCodes.h"
#include "scene/CCharacterData.h"

int EditPartKeysCommand::Execute() {
    if (m_host.RunPartKeyDialog() != framework::IdOk) {
        return 0;
    }
    if (g_currentCharacter != nullptr) {
        g_currentCharacter->SetModel(nullptr);
    }
    return 1;
}
