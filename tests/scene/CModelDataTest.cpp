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

// A skinned vertex weighted wholly to a bone must land, after a model scale, where a rigid
// part of that bone holding the vertex in the bone's space lands; a weighted vertex at the
// weighted sum of those places. With a uniform scale that is the old place scaled.
TEST_F(CModelDataTest, ScaleKeepsSkinnedMeshesWhereRigidPartsOfTheirBonesGo) {
    const rm::Vector factors[] = {{2, 2, 2}, {2, 3, 0.5f}, {0.25f, 1, 4}};
    const rm::Vector vertex{0.3f, -1.2f, 0.7f};
    for (const rm::Vector& s : factors) {
        SCOPED_TRACE(testing::Message() << s.x << "," << s.y << "," << s.z);
        CModelData* model = MakeModel();
        arm->SetPosition(model->Root(), 1, 2, -1);
        arm->AddRotation(rm::D3DRMCOMBINE_BEFORE, 0, 1, 1, 0.6f);
        hand->SetPosition(arm, 0.5f, -2, 3);
        hand->AddRotation(rm::D3DRMCOMBINE_BEFORE, 1, 0, 0.5f, -0.9f);
        rm::Frame* bones[2] = {arm, hand};
        rm::MeshSkin skin;
        rm::Ref<rm::MeshBuilder> body, rigid[2];
        d3drm->CreateMeshBuilder(&body);
        body->AddVertex(vertex.x, vertex.y, vertex.z);
        for (int b = 0; b < 2; ++b) {
            rm::SkinBone bone{bones[b]->Name(), {0}, {b == 0 ? 0.25f : 0.75f}, {}};
            bone.offset = rm::MatrixMultiply(
                rm::MatrixFromQuaternion(rm::QuaternionFromRotation({1, 2, 3}, 0.4f + float(b))),
                rm::MatrixTranslation({float(b) - 0.5f, 1.5f, 2.0f * float(b)}));
            const rm::Vector inBone = rm::TransformPoint(vertex, bone.offset);
            d3drm->CreateMeshBuilder(&rigid[b]);
            rigid[b]->AddVertex(inBone.x, inBone.y, inBone.z);
            bones[b]->AddVisual(rigid[b].Get());
            skin.bones.push_back(std::move(bone));
        }
        body->SetSkin(std::move(skin));
        model->Root()->AddVisual(body.Get());
        auto deformed = [&] {
            rm::Vector v, sum{0, 0, 0};
            std::uint32_t one = 1;
            body->GetVertices(0, &one, &v);
            for (int b = 0; b < 2; ++b) {
                const rm::SkinBone& bone = body->GetSkin().bones[std::size_t(b)];
                const rm::Vector p = rm::TransformPoint(rm::TransformPoint(v, bone.offset),
                                                        bones[b]->WorldTransform());
                sum = {sum.x + bone.weights[0] * p.x, sum.y + bone.weights[0] * p.y,
                       sum.z + bone.weights[0] * p.z};
            }
            return sum;
        };
        const rm::Vector before = deformed();

        model->Scale(model->Root(), s.x, s.y, s.z);
        rm::Vector rigidPlace{0, 0, 0};
        for (int b = 0; b < 2; ++b) {
            rm::Vector r;
            std::uint32_t one = 1;
            rigid[b]->GetVertices(0, &one, &r);
            const rm::Vector p = rm::TransformPoint(r, bones[b]->WorldTransform());
            const float w = b == 0 ? 0.25f : 0.75f;
            rigidPlace = {rigidPlace.x + w * p.x, rigidPlace.y + w * p.y, rigidPlace.z + w * p.z};
        }
        EXPECT_THAT(deformed(), VectorNear(rigidPlace, 1e-4f));
        if (s.x == s.y && s.y == s.z) {
            EXPECT_THAT(
                deformed(),
                VectorNear(rm::Vector{before.x * s.x, before.y * s.x, before.z * s.x}, 1e-4f));
        }
        EXPECT_EQ(RemoveModel(model), 1);
    }
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
    // A skinned mesh follows its bones, not the welds: it stays a builder with its weights.
    rm::Ref<rm::MeshBuilder> skinned;
    d3drm->CreateMeshBuilder(&skinned);
    skinned->AddVertex(0, 0, 0);
    skinned->SetSkin({1, 1, {{"Hand", {0}, {1.0f}, {}}}});
    hand->AddVisual(skinned.Get());
    ASSERT_EQ(model->ConvertMeshBuilders(model->Root()), 1);
    ASSERT_EQ(arm->Visuals().size(), 1u);
    EXPECT_NE(dynamic_cast<rm::Mesh*>(arm->Visuals()[0].Get()), nullptr);
    ASSERT_EQ(hand->Visuals().size(), 1u);
    EXPECT_EQ(hand->Visuals()[0].Get(), skinned.Get());
    EXPECT_TRUE(skinned->HasSkin());
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
