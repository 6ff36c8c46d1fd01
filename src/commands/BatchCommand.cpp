#include "commands/BatchCommand.h"

#include "commands/EditScope.h"
#include "commands/IBatchCommandHost.h"
#include "commands/KeyFrameCommand.h"
#include "platform/framework/MessageBoxCodes.h"
#include "platform/framework/Translate.h"
#include "session/EditContext.h"
#include "session/KeyTimeRules.h"

namespace {

constexpr char kNoModelMessage[] = QT_TRANSLATE_NOOP("Pavrix", "モデルデータが存在しません。");

} // namespace

CommandResult BatchCommand::Execute(session::EditContext& context) {
    const Recipe& recipe = GetRecipe();
    const bool needsModel = recipe.needs == Needs::Model;
    const bool missing =
        needsModel ? context.currentModel == nullptr : context.currentAnimation == nullptr;
    if (missing) {
        Inform(needsModel ? kNoModelMessage : kNoAnimationDataMessage, recipe.caption);
        return CommandResult::Refused;
    }
    if (!AskFirst(recipe)) {
        return CommandResult::Cancelled;
    }
    EditScope scope(m_host.History(), context, framework::Tr(recipe.stepName), recipe.touches);
    const Outcome outcome = Apply(context);
    if (outcome == Outcome::Failed) {
        return CommandResult::Refused;
    }
    if (recipe.done != nullptr) {
        Inform(recipe.done, recipe.caption);
    }
    if (recipe.keyTimes == KeyTimes::Refresh) {
        m_host.RefreshKeyRange(session::KeyTimeList::Rebuild);
        m_host.RefreshTimeDisplay();
    }
    // What changed is shown at the time the bar shows.
    PoseAnimation(context.currentAnimation, context.currentTime);
    if (recipe.marking == Marking::Modified) {
        m_host.MarkDocumentModified();
    }
    return outcome == Outcome::Changed ? CommandResult::Changed : CommandResult::Refused;
}

bool BatchCommand::AskFirst(const Recipe& recipe) {
    switch (recipe.ask) {
    case Ask::Nothing:
        return true;
    case Ask::Warning:
        return Confirm(recipe.question, recipe.caption,
                       framework::MbOkCancel | framework::MbIconExclamation);
    case Ask::YesNo:
        return Confirm(recipe.question, recipe.caption,
                       framework::MbYesNo | framework::MbIconQuestion);
    case Ask::ModelScaleDialog:
        return m_host.RunModelScaleDialog(m_factors, m_positionKeys) == framework::IdOk;
    case Ask::PositionKeyScaleDialog:
        return m_host.RunPositionKeyScaleDialog(m_factors) == framework::IdOk;
    }
    return false;
}

void BatchCommand::Inform(const char* text, const char* caption) {
    m_host.ShowMessage(framework::Tr(text), framework::Tr(caption), framework::MbIconInformation);
}

bool BatchCommand::Confirm(const char* text, const char* caption, unsigned style) {
    const int answer = m_host.ShowMessage(framework::Tr(text), framework::Tr(caption), style);
    return answer == framework::IdOk || answer == framework::IdYes;
}
