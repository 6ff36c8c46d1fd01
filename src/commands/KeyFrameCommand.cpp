#include "commands/KeyFrameCommand.h"

#include "commands/EditScope.h"
#include "commands/IKeyFrameHost.h"
#include "platform/framework/MessageBoxCodes.h"

const char kNoAnimationDataMessage[] = "アニメーションデータが存在しません。";

int KeyFrameCommand::Execute(session::EditContext& context) {
    EditScope scope(m_host.History(), context, QString::fromUtf8(StepName()), Touches());
    return Run(context);
}

unsigned KeyFrameCommand::Touches() const {
    return EditScope::AnimationSets;
}

void KeyFrameCommand::Inform(const char* text, const char* caption) {
    m_host.ShowMessage(QString::fromUtf8(text), QString::fromUtf8(caption),
                       framework::MbIconInformation);
}

bool KeyFrameCommand::Confirm(const QString& text, const char* caption, unsigned style) {
    const int answer = m_host.ShowMessage(text, QString::fromUtf8(caption), style);
    return answer == framework::IdOk || answer == framework::IdYes;
}
