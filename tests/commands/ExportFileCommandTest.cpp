// File ▸ Export through its file dialog, and what it writes of a welded skin.

#include "commands/ExportFileCommand.h"

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <QFile>
#include <gtest/gtest.h>

#include "commands/BatchCommand.h"
#include "commands/CommandFixture.h"
#include "commands/IBatchCommandHost.h"
#include "platform/framework/MessageBoxCodes.h"
#include "platform/framework/ScriptedUi.h"
#include "platform/rm/AnimationSet.h"
#include "platform/rm/Mesh.h"
#include "scene/CAnimationData.h"
#include "scene/CModelData.h"
#include "session/EditContext.h"
#include "support/BatchTestFiles.h"

namespace {

class AnsweringHost : public IBatchCommandHost {
public:
    int ShowMessage(const QString& text, const QString& caption, unsigned style) override {
        texts.push_back(text.toStdString());
        captions.push_back(caption.toStdString());
        styles.push_back(style);
        return answer;
    }
    int RefreshKeyRange(int) override { return 1; }
    void RefreshTimeDisplay() override {}
    int MarkDocumentModified() override { return 1; }
    int RunModelScaleDialog(ScaleFactors&, int&) override { return framework::IdCancel; }
    int RunPositionKeyScaleDialog(ScaleFactors&) override { return framework::IdCancel; }

    int answer = framework::IdYes;
    std::vector<std::string> texts, captions;
    std::vector<unsigned> styles;
};

std::string Read(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class ExportFileCommandTest : public CommandFixture {
protected:
    scene::SceneDocument Document() const {
        scene::SceneDocument doc;
        doc.currentCharacter = context.currentCharacter;
        doc.currentModel = context.currentModel;
        doc.currentAnimation = context.currentAnimation;
        return doc;
    }
    void Export(const QString& path) {
        ui.fileDialog.Choose(path);
        ExportFileCommand(host, Document(), 30).Execute();
    }

    framework::ScriptedUi ui;
    AnsweringHost host;
    const QString walker = QStringLiteral(PAVRIX_SAMPLES_DIR "/walker.x");
};

/// Every vertex position of the model's meshes, in walk order.
void Positions(const rm::Frame& frame, std::vector<float>* out) {
    for (const auto& visual : frame.Visuals()) {
        if (const auto* mesh = dynamic_cast<const rm::Mesh*>(visual.Get())) {
            for (std::uint32_t g = 0; g < mesh->GetGroupCount(); ++g) {
                for (const rm::MeshVertex& v : mesh->GroupVertices(int(g))) {
                    out->insert(out->end(), {v.position.x, v.position.y, v.position.z});
                }
            }
        }
    }
    for (const auto& child : frame.Children()) {
        Positions(*child, out);
    }
}

} // namespace

TEST_F(ExportFileCommandTest, AsksForAGlbOrGltfAndAddsGlbToABareName) {
    ASSERT_NO_FATAL_FAILURE(OpenAsDocument(walker));
    Export(dir.filePath(QStringLiteral("walker")));
    ASSERT_EQ(ui.fileDialog.Requests().size(), 1u);
    EXPECT_FALSE(ui.fileDialog.Requests()[0].open);
    EXPECT_TRUE(ui.fileDialog.Requests()[0].filter.contains(QStringLiteral("*.gltf")));
    EXPECT_EQ(Read(dir.filePath(QStringLiteral("walker.glb"))).substr(0, 4), "glTF");
    EXPECT_TRUE(host.texts.empty());

    Export(dir.filePath(QStringLiteral("walker.gltf")));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("walker.bin"))));

    // Cancelled: nothing is written and nothing said.
    ui.fileDialog.Cancel();
    ExportFileCommand(host, Document(), 30).Execute();
    EXPECT_TRUE(host.texts.empty());
}

TEST_F(ExportFileCommandTest, WithoutAModelOnlySaysSo) {
    ExportFileCommand(host, Document(), 30).Execute();
    EXPECT_TRUE(ui.fileDialog.Requests().empty());
    ASSERT_EQ(host.texts.size(), 1u);
    EXPECT_EQ(host.texts[0], ExportFileCommand::kNoModelMessage);
}

TEST_F(ExportFileCommandTest, AFolderThatCannotBeWrittenIsNamedAndNothingIsLeft) {
    ASSERT_NO_FATAL_FAILURE(OpenAsDocument(walker));
    Export(dir.filePath(QStringLiteral("missing/walker.glb")));
    ASSERT_EQ(host.texts.size(), 1u);
    EXPECT_EQ(host.texts[0].rfind(ExportFileCommand::kFailedMessage, 0), 0u) << host.texts[0];
    EXPECT_NE(host.texts[0].find("missing/walker.glb"), std::string::npos) << host.texts[0];
    EXPECT_EQ(host.styles[0], framework::MbOk | framework::MbIconExclamation);
}

TEST_F(ExportFileCommandTest, AWeldedSkinGoesAcrossAsItsRigidPartsWhateverThePose) {
    // A body and an arm standing on it: the arm's bottom corners weld to the body's top.
    const QString path = dir.filePath(QStringLiteral("arm.x"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::fromStdString(batch_test::CharacterText()));
    }
    ASSERT_NO_FATAL_FAILURE(OpenAsDocument(path));
    context.currentAnimation->UpdateTotalKeyTimeBuffer();
    host.answer = framework::IdYes;
    BatchCommand(host, BatchCommand::Kind::SkinOn).Execute(context);
    ASSERT_TRUE(context.currentModel->SkinOn());
    ASSERT_FALSE(context.currentModel->Welds().Empty());
    const QString atRest = dir.filePath(QStringLiteral("rest.glb"));
    Export(atRest);

    // Posed, the welded vertices follow their anchors; the frames are then put back at
    // rest while the meshes keep the moved vertices.
    std::vector<rm::Frame*> frames;
    std::vector<rm::Frame*> stack{context.currentModel->Root()};
    while (!stack.empty()) {
        rm::Frame* frame = stack.back();
        stack.pop_back();
        frames.push_back(frame);
        for (const auto& child : frame->Children()) {
            stack.push_back(child.Get());
        }
    }
    std::vector<float> before, after;
    Positions(*context.currentModel->Root(), &before);
    context.currentAnimation->Set()->SetTime(context.currentAnimation->KeyTime(1));
    context.currentModel->UpdateSkin();
    for (rm::Frame* frame : frames) {
        frame->ResetPose();
    }
    Positions(*context.currentModel->Root(), &after);
    ASSERT_NE(before, after) << "the pose moved no welded vertex";

    const QString posed = dir.filePath(QStringLiteral("posed.glb"));
    Export(posed);
    EXPECT_EQ(Read(posed), Read(atRest));
}
