#include "commands/EditPartKeysCommand.h"

#include "commands/EditScope.h"
#include "commands/IKeyFrameHost.h"
#include "platform/framework/MessageBoxCodes.h"
#include "scene/CCharacterData.h"
#include "session/EditContext.h"

int EditPartKeysCommand::Run(session::EditContext& context) {
    if (m_host.RunPartKeyDialog() != framework::IdOk) {
        return 0;
    }
    if (context.currentCharacter != nullptr) {
        context.currentCharacter->SetModel(nullptr);
    }
    return 1;
}

unsigned EditPartKeysCommand::Touches() const {
    // Options of the part's animation, the part's name with every animation and skin bone
    // named after it, and the binding after OK.
    return EditScope::AnimationSets | EditScope::ModelFrames | EditScope::Meshes;
}
