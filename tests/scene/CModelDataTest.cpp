#include "scene/CModelData.h"

#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "platform/rm/Math.h"
#include "scene/PartNaming.h"
#include "scene/SceneFixture.h"
#include "support/RmMatchers.h"

using testing_rm::VectorNear;

namespace {

class CModelDataTest : public SceneFixture {
protected:
    // A model as a load leaves it: root -> FRAME01_Arm -> (unnamed, Hand), plus an unnamed
    // sibling, then the working names.
    CModelData* MakeModel() {
        CModelData* model = g_modelLibrary->Entries().AddNamed("model.x");
        arm = AddFrame(model->Root(), "FRAME01_Arm");
        unnamedChild = AddFrame(arm, nullptr);
        hand = AddFrame(arm, "Hand");
        unnamedSibling = AddFrame(model->Root(), nullptr);
        rm::Ref<rm::MeshBuilder> mesh;
        d3drm->CreateMeshBuilder(&mesh);
        mesh->SetName("ArmMesh");
        mesh->AddVertex(1, 0, 0);
        arm->AddVisual(mesh.Get());
        model->NamePartsAndRecord(model->Root());
        return model;
    }

    rm::Frame *arm = nullptr, *unnamedChild = nullptr, *hand = nullptr, *unnamedSibling = nullptr;
};

std::string HexId(const rm::Object* o) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%zx", std::size_t(o->Id()));
    return buffer;
}

} // namespace

TEST_F(CModelDataTest, NamingGivesWorkingNamesAndRecordsFileNames) {
    CModelData* model = MakeModel();
    EXPECT_EQ(model->Root()->Name(), "PartsTempName_1@" + HexId(model->Root()));
    EXPECT_EQ(arm->Name(), "Arm@" + HexId(arm));
    EXPECT_EQ(unnamedChild->Name(), "PartsTempName_2@" + HexId(unnamedChild)) << "depth first";
    EXPECT_EQ(unnamedSibling->Name(), "PartsTempName_3@" + HexId(unnamedSibling));
    EXPECT_EQ(arm->Visuals()[0]->Name(), "") << "visual names are emptied";

    const CPartRecord* record = CPartRecord::Of(arm);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->fileName.value_or("?"), "FRAME01_Arm");
    EXPECT_EQ(record->baseName.value_or("?"), "Arm");
    EXPECT_EQ(record->visualNames.Count(), 1);
    EXPECT_FALSE(CPartRecord::Of(unnamedChild)->fileName.has_value());
    EXPECT_EQ(model->PartRecords().Count(), 5);
}

TEST_F(CModelDataTest, FileNamesRestoredAndRenamedAgainUnchanged) {
    CModelData* model = MakeModel();
    std::vector<std::string> working;
    for (rm::Frame* f : {model->Root(), arm, unnamedChild, hand, unnamedSibling}) {
        working.push_back(f->Name());
    }
    ASSERT_EQ(model->RestoreFileNames(model->Root()), 1);
    EXPECT_EQ(model->Root()->Name(), "");
    EXPECT_EQ(arm->Name(), "FRAME01_Arm");
    EXPECT_EQ(hand->Name(), "Hand");
    EXPECT_EQ(unnamedChild->Name(), "");
    EXPECT_EQ(arm->Visuals()[0]->Name(), "ArmMesh");

    model->NamePartsAndRecord(model->Root());
    std::size_t i = 0;
    for (rm::Frame* f : {model->Root(), arm, unnamedChild, hand, unnamedSibling}) {
        EXPECT_EQ(f->Name(), working[i++]);
    }
    EXPECT_EQ(model->PartRecords().Count(), 5) << "records are reused, not added again";
    model->RestoreFileNames(model->Root());
    EXPECT_EQ(arm->Visuals()[0]->Name(), "ArmMesh") << "the visual name survives two rounds";
}

TEST_F(CModelDataTest, ScaleDoublesOffsetsAndMeshes) {
    CModelData* model = MakeModel();
    hand->SetPosition(arm, 1, 2, 3);
    model->Scale(model->Root(), 2, 2, 2);
    rm::Vector p;
    hand->GetPosition(arm, &p);
    EXPECT_THAT(p, VectorNear(rm::Vector{2, 4, 6}, 1e-6f));
    rm::Box box;
    static_cast<rm::MeshBuilder*>(arm->Visuals()[0].Get())->GetBox(&box);
    EXPECT_THAT(box.max, VectorNear(rm::Vector{2, 0, 0}, 1e-6f));
}

TEST_F(CModelDataTest, ResetOrientationLeavesTheRootAlone) {
    CModelData* model = MakeModel();
    model->Root()->AddRotation(rm::D3DRMCOMBINE_BEFORE, 0, 1, 0, 0.5f);
    hand->AddRotation(rm::D3DRMCOMBINE_BEFORE, 1, 0, 0, 0.7f);
    hand->SetPosition(arm, 0, 3, 0);
    model->ResetOrientation(model->Root());
    rm::Quaternion q;
    hand->GetQuaternion(arm, &q);
    EXPECT_NEAR(q.s, 1, 1e-6f);
    rm::Vector p;
    hand->GetPosition(arm, &p);
    EXPECT_THAT(p, VectorNear(rm::Vector{0, 3, 0}, 1e-6f));
    model->Root()->GetQuaternion(nullptr, &q);
    EXPECT_NEAR(q.s, std::cos(0.25f), 1e-6f);
}

TEST_F(CModelDataTest, ConvertedMeshesKeepTheirFileNames) {
    CModelData* model = MakeModel();
    ASSERT_EQ(model->ConvertMeshBuilders(model->Root()), 1);
    ASSERT_EQ(arm->Visuals().size(), 1u);
    EXPECT_NE(dynamic_cast<rm::Mesh*>(arm->Visuals()[0].Get()), nullptr);
    model->RestoreFileNames(model->Root());
    EXPECT_EQ(arm->Visuals()[0]->Name(), "ArmMesh");
}

TEST_F(CModelDataTest, DestroyingTheModelDetachesItsRoot) {
    CModelData* model = MakeModel();
    rm::Ref<rm::Frame> scene;
    d3drm->CreateFrame(nullptr, &scene);
    scene->AddChild(model->Root());
    rm::Ref<rm::Frame> keepArm(arm); // someone else still holds a part
    EXPECT_EQ(RemoveModel(model), 1);
    EXPECT_TRUE(scene->Children().empty());
    EXPECT_EQ(keepArm->GetAppData(), 0u) << "no frame keeps a pointer to a freed record";
    EXPECT_EQ(RemoveModel(model), 0);
}

TEST_F(CModelDataTest, SkinIsOffUntilEnabled) {
    CModelData* model = MakeModel();
    EXPECT_EQ(model->UpdateSkin(), 0);
    ASSERT_EQ(model->EnableSkin(), 1);
    EXPECT_EQ(model->UpdateSkin(), 1);
    EXPECT_NE(dynamic_cast<rm::Mesh*>(arm->Visuals()[0].Get()), nullptr)
        << "the skin works on meshes";
}

TEST_F(CModelDataTest, FailedLoadsLeaveTheLibraryAsItWas) {
    const std::filesystem::path before = std::filesystem::current_path();
    std::string error;
    EXPECT_EQ(LoadModel("no/such/dir/walk.x", &error), nullptr);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(std::filesystem::current_path(), before);

    // A taken name raises the counter, a failure lowers it again.
    g_modelLibrary->Entries().AddNamed("missing.x");
    EXPECT_EQ(LoadModel("missing.x"), nullptr);
    EXPECT_EQ(g_modelLibrary->NameCounter(), 0);
    EXPECT_EQ(g_modelLibrary->Entries().Count(), 1);
    EXPECT_EQ(std::filesystem::current_path(), before);
}
