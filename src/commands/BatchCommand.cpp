#include "commands/BatchCommand.h"

#include <algorithm>
#include <string>
#include <vector>

#include "commands/EditScope.h"
#include "commands/IBatchCommandHost.h"
#include "commands/KeyFrameCommand.h"
#include "commands/UndoHistory.h"
#include "platform/framework/MessageBoxCodes.h"
#include "platform/framework/Translate.h"
#include "scene/CAnimationData.h"
#include "scene/CCharacterData.h"
#include "scene/CModelData.h"
#include "session/EditContext.h"
#include "session/KeyTimeRules.h"

namespace {

constexpr char kNoModelMessage[] = QT_TRANSLATE_NOOP("Pavrix", "モデルデータが存在しません。");
constexpr char kSkinCaption[] = QT_TRANSLATE_NOOP("Pavrix", "Morphing Skin");
constexpr char kSkinDropped[] =
    QT_TRANSLATE_NOOP("Pavrix", "スキン処理で頂点の並びが変わったため、"
                                "次のデータは削除され、保存されません。");

} // namespace

const BatchCommand::Recipe& BatchCommand::RecipeOf(Kind kind) {
    static const Recipe kChangeModelScale{
        .caption = QT_TRANSLATE_NOOP("Pavrix", "Change Model Scale"),
        .stepName = QT_TRANSLATE_NOOP("Pavrix", "モデルの大きさの変更"),
        // The frames and meshes it scales, and the position keys with the check box set.
        .touches = EditScope::ModelFrames | EditScope::Meshes | EditScope::AnimationSets,
        .ask = Ask::ModelScaleDialog,
        .question = nullptr,
        .done = QT_TRANSLATE_NOOP("Pavrix", "スケールの変更完了。"),
        .apply = &BatchCommand::ScaleModel,
        .markModified = true,
        .needsModel = true};
    static const Recipe kDeleteAllPositionKey{
        .caption = QT_TRANSLATE_NOOP("Pavrix", "Delete All Position Key"),
        .stepName = QT_TRANSLATE_NOOP("Pavrix", "ポジションキーの全削除"),
        .touches = EditScope::AnimationSets,
        .ask = Ask::Warning,
        .question =
            QT_TRANSLATE_NOOP("Pavrix", "すべてのポジション(位置)キーを削除し、\n"
                                        "アニメーションをモデルのサイズに依存しないようにします。"),
        .done = QT_TRANSLATE_NOOP("Pavrix", "ポジションキーの削除完了。"),
        .apply = &BatchCommand::DeletePositionKeys,
        .refreshKeys = true,
        .markModified = true};
    static const Recipe kChangeAllPositionKeyScale{
        .caption = QT_TRANSLATE_NOOP("Pavrix", "Change All Position Key Scale"),
        .stepName = QT_TRANSLATE_NOOP("Pavrix", "ポジションキーの移動サイズの変更"),
        .touches = EditScope::AnimationSets,
        .ask = Ask::PositionKeyScaleDialog,
        .question = nullptr,
        .done = QT_TRANSLATE_NOOP("Pavrix", "すべてのポジションキーの移動サイズ変更完了。"),
        .apply = &BatchCommand::ScalePositionKeys,
        .markModified = true};
    static const Recipe kChangeAnimationPace{
        .caption = QT_TRANSLATE_NOOP("Pavrix", "Change Animation Pace"),
        .stepName = QT_TRANSLATE_NOOP("Pavrix", "アニメーションのペースの変更"),
        .touches = EditScope::AnimationSets,
        .ask = Ask::Warning,
        .question = QT_TRANSLATE_NOOP(
            "Pavrix", "アニメーション全体の長さを変更することで、\n再生ペースを変えます。\n\n"
                      "現在の機能：アニメーションの長さ×２倍"),
        .done = QT_TRANSLATE_NOOP("Pavrix", "アニメーションの長さの変更完了。"),
        .apply = &BatchCommand::DoubleLength,
        .refreshKeys = true,
        .markModified = true};
    // No step: the skin cannot be taken back, and the history before it is forgotten (the
    // meshes it replaces are gone). The next save writes the meshes it made: modified.
    static const Recipe kSkinOn{
        .caption = kSkinCaption,
        .stepName = QT_TRANSLATE_NOOP("Pavrix", "スキン処理"),
        .touches = 0,
        .ask = Ask::YesNo,
        .question = QT_TRANSLATE_NOOP("Pavrix", "モーフィングによるスキン処理を行いますか？\n"
                                                "一度実行したら元には戻せません。"),
        .done = QT_TRANSLATE_NOOP(
            "Pavrix", "スキン処理機能が有効になりました。\n"
                      "この操作は元に戻せません。それまでの操作も元に戻せなくなりました。"),
        .apply = &BatchCommand::EnableSkin,
        .markModified = true};
    // No question and no message but the missing set's, under the skin command's caption.
    static const Recipe kResetOrientation{.caption = kSkinCaption,
                                          .stepName = QT_TRANSLATE_NOOP("Pavrix", "姿勢のリセット"),
                                          .touches = EditScope::ModelFrames,
                                          .ask = Ask::Nothing,
                                          .question = nullptr,
                                          .done = nullptr,
                                          .apply = &BatchCommand::ResetOrientation};
    static const Recipe kMoveFirstKeyTimeZero{
        .caption = QT_TRANSLATE_NOOP("Pavrix", "Move First Key Time Zero"),
        .stepName = QT_TRANSLATE_NOOP("Pavrix", "先頭キーを0へ移動"),
        .touches = EditScope::AnimationSets,
        .ask = Ask::Warning,
        .question =
            QT_TRANSLATE_NOOP("Pavrix", "先頭キーが0から始まるよう、すべてのキーを移動します。\n"),
        .done = QT_TRANSLATE_NOOP("Pavrix", "変更完了。"),
        .apply = &BatchCommand::MoveFirstKeyToZero,
        .refreshKeys = true,
        .markModified = true};
    static const Recipe kReverseRotatePositionScale{
        .caption = QT_TRANSLATE_NOOP("Pavrix", "Reverse Rotate, Position, Scale"),
        .stepName = QT_TRANSLATE_NOOP("Pavrix", "アニメーションの反転"),
        .touches = EditScope::AnimationSets,
        .ask = Ask::Warning,
        .question =
            QT_TRANSLATE_NOOP("Pavrix", "すべてのキー(回転・位置・拡大縮小)の時間を反転し、\n"
                                        "アニメーションを逆向きに再生するようにします。"),
        .done = QT_TRANSLATE_NOOP("Pavrix", "反転完了。"),
        .apply = &BatchCommand::Reverse,
        .refreshKeys = true,
        .markModified = true};
    switch (kind) {
    case Kind::ChangeModelScale:
        return kChangeModelScale;
    case Kind::DeleteAllPositionKey:
        return kDeleteAllPositionKey;
    case Kind::ChangeAllPositionKeyScale:
        return kChangeAllPositionKeyScale;
    case Kind::ChangeAnimationPace:
        return kChangeAnimationPace;
    case Kind::SkinOn:
        return kSkinOn;
    case Kind::ResetOrientation:
        return kResetOrientation;
    case Kind::MoveFirstKeyTimeZero:
        return kMoveFirstKeyTimeZero;
    case Kind::ReverseRotatePositionScale:
        break;
    }
    return kReverseRotatePositionScale;
}

CommandResult BatchCommand::Execute(session::EditContext& context) {
    const Recipe& recipe = RecipeOf(m_kind);
    const bool missing =
        recipe.needsModel ? context.currentModel == nullptr : context.currentAnimation == nullptr;
    if (missing) {
        Inform(recipe.needsModel ? kNoModelMessage : kNoAnimationDataMessage, recipe.caption);
        return CommandResult::Refused;
    }
    if (!AskFirst(recipe)) {
        return CommandResult::Cancelled;
    }
    EditScope scope(m_host.History(), context, framework::Tr(recipe.stepName), recipe.touches);
    const Outcome outcome = (this->*recipe.apply)(context);
    if (outcome == Outcome::Failed) {
        return CommandResult::Refused;
    }
    if (recipe.done != nullptr) {
        Inform(recipe.done, recipe.caption);
    }
    if (recipe.refreshKeys) {
        m_host.RefreshKeyRange(1);
        m_host.RefreshTimeDisplay();
    }
    // What changed is shown at the time the bar shows.
    PoseAnimation(context.currentAnimation, context.currentTime);
    if (recipe.markModified) {
        m_host.MarkDocumentModified();
    }
    return outcome == Outcome::Changed ? CommandResult::Changed : CommandResult::Refused;
}

BatchCommand::Outcome BatchCommand::ScaleModel(session::EditContext& context) {
    // The dialog limits what it shows; the limit is applied here too, so that every way
    // of giving factors (the headless options among them) passes the same test.
    const ScaleFactors factors = LimitScaleFactors(m_factors);
    context.currentModel->Scale(context.currentModel->Root(), factors.x, factors.y, factors.z);
    if (m_scalePositionKeys) {
        // Every set of the character that moves this model is kept and saved with it, so
        // all of them follow the new size, not only the one shown.
        std::vector<CAnimationData*> sets;
        if (context.currentCharacter != nullptr) {
            const auto all = context.currentCharacter->Animations();
            sets.assign(all.begin(), all.end());
        }
        if (std::find(sets.begin(), sets.end(), context.currentAnimation) == sets.end()) {
            sets.push_back(context.currentAnimation);
        }
        for (CAnimationData* set : sets) {
            if (set != nullptr &&
                (set == context.currentAnimation || set->Model() == context.currentModel)) {
                set->ScalePositionKeys(factors.x, factors.y, factors.z, -1.0f);
            }
        }
    }
    context.redrawRequest = 1;
    return Outcome::Changed;
}

BatchCommand::Outcome BatchCommand::DeletePositionKeys(session::EditContext& context) {
    context.currentAnimation->DeletePositionKeys(-1.0f);
    return Outcome::Changed;
}

BatchCommand::Outcome BatchCommand::ScalePositionKeys(session::EditContext& context) {
    const ScaleFactors factors = LimitScaleFactors(m_factors);
    context.currentAnimation->ScalePositionKeys(factors.x, factors.y, factors.z, -1.0f);
    context.redrawRequest = 1;
    return Outcome::Changed;
}

BatchCommand::Outcome BatchCommand::DoubleLength(session::EditContext& context) {
    const unsigned count = context.currentAnimation->KeyTimeCount();
    const float first = context.currentAnimation->KeyTime(0);
    const float last =
        count > 0 ? context.currentAnimation->KeyTime(static_cast<int>(count) - 1) : 0.0f;
    return context.currentAnimation->ScaleToLength(2.0f * (last - first)) ? Outcome::Changed
                                                                          : Outcome::Failed;
}

BatchCommand::Outcome BatchCommand::EnableSkin(session::EditContext& context) {
    context.redrawRequest = 1;
    std::vector<std::string> dropped;
    if (context.currentModel == nullptr || !context.currentModel->EnableSkin(&dropped)) {
        return Outcome::Failed;
    }
    if (!dropped.empty()) {
        // Data that described the meshes' old vertex order would be wrong if saved.
        std::string text = kSkinDropped;
        for (const std::string& name : dropped) {
            text += "\n";
            text += name;
        }
        Inform(text.c_str(), kSkinCaption);
    }
    // The meshes differ from every state the history knew, the saved one among them: no
    // step taken back afterwards may make the document look unmodified.
    if (UndoHistory* history = m_host.History()) {
        history->Clear(true);
    }
    return Outcome::Changed;
}

BatchCommand::Outcome BatchCommand::ResetOrientation(session::EditContext& context) {
    context.redrawRequest = 1;
    if (context.currentModel == nullptr) {
        return Outcome::Failed;
    }
    context.currentModel->ResetOrientation(context.currentModel->Root());
    return Outcome::Changed;
}

BatchCommand::Outcome BatchCommand::MoveFirstKeyToZero(session::EditContext& context) {
    const float first = context.currentAnimation->KeyTime(0);
    if (!context.currentAnimation->ShiftKeyTimes(-first)) {
        return Outcome::Failed;
    }
    // Keys starting at 0 stay where they are; the command still says it is done.
    return first != 0.0f ? Outcome::Changed : Outcome::Unchanged;
}

BatchCommand::Outcome BatchCommand::Reverse(session::EditContext& context) {
    return context.currentAnimation->ReverseKeyTimes() ? Outcome::Changed : Outcome::Unchanged;
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
        return m_host.RunModelScaleDialog(m_factors, m_scalePositionKeys) == framework::IdOk;
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
