#include "commands/SkinOnCommand.h"

#include <string>
#include <vector>

#include "commands/IBatchCommandHost.h"
#include "commands/UndoHistory.h"
#include "platform/framework/MessageBoxCodes.h"
#include "scene/CModelData.h"
#include "session/EditContext.h"

namespace {

constexpr char kQuestion[] = QT_TRANSLATE_NOOP(
    "Pavrix", "モーフィングによるスキン処理を行いますか？\n一度実行したら元には戻せません。");
constexpr char kDone[] = QT_TRANSLATE_NOOP(
    "Pavrix", "スキン処理機能が有効になりました。\n"
              "この操作は元に戻せません。それまでの操作も元に戻せなくなりました。");

constexpr char kDropped[] = QT_TRANSLATE_NOOP("Pavrix", "スキン処理で頂点の並びが変わったため、"
                                                        "次のデータは削除され、保存されません。");

} // namespace

const BatchCommand::Recipe& SkinOnCommand::GetRecipe() const {
    // No step: the skin cannot be taken back, and the history before it is forgotten (the
    // meshes it replaces are gone). The next save writes the meshes it made: modified.
    static const Recipe recipe{QT_TRANSLATE_NOOP("Pavrix", "Morphing Skin"),
                               QT_TRANSLATE_NOOP("Pavrix", "スキン処理"),
                               0,
                               Ask::YesNo,
                               kQuestion,
                               kDone,
                               KeyTimes::Unchanged,
                               Marking::Modified};
    return recipe;
}

BatchCommand::Outcome SkinOnCommand::Apply(session::EditContext& context) {
    context.redrawRequest = true;
    std::vector<std::string> dropped;
    if (context.currentModel == nullptr || !context.currentModel->EnableSkin(&dropped)) {
        return Outcome::Failed;
    }
    if (!dropped.empty()) {
        // Data that described the meshes' old vertex order would be wrong if saved.
        std::string text = kDropped;
        for (const std::string& name : dropped) {
            text += "\n";
            text += name;
        }
        Inform(text.c_str(), GetRecipe().caption);
    }
    // The meshes differ from every state the history knew, the saved one among them: no
    // step taken back afterwards may make the document look unmodified.
    if (UndoHistory* history = m_host.History()) {
        history->Clear(true);
    }
    return Outcome::Changed;
}
