#include "commands/KeyFrameCommand.h"

#include "commands/EditScope.h"
#include "commands/IKeyFrameHost.h"
#include "platform/framework/MessageBoxCodes.h"
#include "platform/framework/Translate.h"

const char kNoAnimationDataMessage[] =
    QT_TRANSLATE_NOOP("Pavrix", "アニメーションデータが存在しません。");

int KeyFrameCommand::Execute(session::EditContext& context) {
    EditScope scope(m_host.History(), context, framework::Tr(StepName()), Touches());
    return Run(context);
}

unsigned KeyFrameCommand::Touches() const {
    return EditScope::AnimationSets;
}

void KeyFrameCommand::Inform(const char* text, const char* caption) {
    m_host.ShowMessage(framework::Tr(text), framework::Tr(caption), framework::MbIconInformation);
}

bool KeyFrameCommand::Confirm(const QString& text, const char* caption, unsigned style) {
    const int answer = m_host.ShowMessage(text, framework::Tr(caption), style);
    return answer == framework::IdOk || answer == framework::IdYes;
}
