#include "scene/CCharacterData.h"

#include <gtest/gtest.h>

#include "scene/SceneFixture.h"

namespace {

class CCharacterDataTest : public SceneFixture {
protected:
    // root -> FRAME_Leg -> Foot, root -> Body (all named as a load would).
    CModelData* MakeModel(const char* entry) {
        CModelData* model = g_modelLibrary->Entries().AddNamed(entry);
        leg = AddFrame(model->Root(), "FRAME_Leg");
        foot = AddFrame(leg, "Foot");
        body = AddFrame(model->Root(), "Body");
        model->NamePartsAndRecord(model->Root());
        return model;
    }

    rm::Frame *leg = nullptr, *foot = nullptr, *body = nullptr;
};

} // namespace

TEST_F(CCharacterDataTest, BindingMatchesBaseNamesAndRecordsPartAnimations) {
    CModelData* model = MakeModel("m.x");
    // The animation file names its frames differently but with the same base names.
    CAnimationData* walk =
        MakeAnimation("walk.x", {{"a1", "Frame7_Leg"}, {"a2", "foot"}, {"a3", "Body"}});
    ASSERT_EQ(walk->Bind(model), 1);
    EXPECT_EQ(AnimationAt(walk, 0)->GetFrame().Get(), leg);
    // An animation that matches no part keeps the frame its file gave it.
    EXPECT_EQ(CPartRecord::Of(AnimationAt(walk, 1)->GetFrame().Get()), nullptr) << "case-sensitive";
    EXPECT_EQ(AnimationAt(walk, 2)->GetFrame().Get(), body);
    EXPECT_EQ(CPartRecord::Of(leg)->animation, AnimationAt(walk, 0));
    EXPECT_EQ(CPartRecord::Of(foot)->animation, nullptr);
    EXPECT_TRUE(messages.empty());

    ASSERT_EQ(walk->Unbind(), 1);
    EXPECT_EQ(AnimationAt(walk, 0)->GetFrame().Get(), nullptr);
    EXPECT_EQ(CPartRecord::Of(leg)->animation, nullptr)
        << "an unbound animation is forgotten by the model";
    EXPECT_EQ(walk->Unbind(), 0) << "nothing bound";
}

TEST_F(CCharacterDataTest, UnnamedFramesStopTheirSubtreeAndFramesWithoutAtAreSkipped) {
    CModelData* model = MakeModel("m.x");
    CAnimationData* walk = MakeAnimation("walk.x", {{"a1", "Leg"}, {"a2", "Foot"}, {"a3", "Body"}});
    leg->SetName("Leg"); // no '@': not bound, but its child still is
    body->SetName(nullptr);
    rm::Frame* belowBody = AddFrame(body, nullptr);
    belowBody->SetName("Body@1");
    ASSERT_EQ(walk->Bind(model), 1);
    EXPECT_NE(AnimationAt(walk, 0)->GetFrame().Get(), leg);
    EXPECT_EQ(AnimationAt(walk, 1)->GetFrame().Get(), foot);
    EXPECT_NE(AnimationAt(walk, 2)->GetFrame().Get(), belowBody)
        << "the unnamed frame's subtree is not bound";
    EXPECT_EQ(CPartRecord::Of(AnimationAt(walk, 2)->GetFrame().Get()), nullptr);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "フレーム名がありません！");
}

TEST_F(CCharacterDataTest, SelectAnimationChecksItsIndex) {
    CCharacterData* character = store->Characters().Add();
    EXPECT_EQ(character->m_currentIndex, -1);
    EXPECT_EQ(character->SelectAnimation(0), 0) << "no slots yet";
    CModelData* model = MakeModel("m.x");
    ASSERT_EQ(character->SetModel(model), 1);
    ASSERT_EQ(character->SetCapacity(2), 1);
    CAnimationData* walk = MakeAnimation("walk.x", {{"a", "Leg"}});
    CAnimationData* run = MakeAnimation("run.x", {{"a", "Leg"}});
    ASSERT_EQ(character->AddAnimation(walk), 1);
    EXPECT_EQ(walk->m_model, model) << "added animations are bound";
    EXPECT_EQ(character->m_current, walk);
    EXPECT_EQ(character->m_currentIndex, -1) << "adding does not select";
    ASSERT_EQ(character->AddAnimation(run), 1);
    EXPECT_EQ(character->AddAnimation(walk), 0) << "beyond the capacity";

    run->m_time = 12;
    EXPECT_EQ(character->SelectAnimation(-1), 0);
    EXPECT_EQ(character->SelectAnimation(2), 0);
    EXPECT_EQ(character->m_currentIndex, -1);
    ASSERT_EQ(character->SelectAnimation(1), 1);
    EXPECT_EQ(character->m_current, run);
    EXPECT_EQ(run->m_time, 0);
}

TEST_F(CCharacterDataTest, OwningCharacterRemovesReplacedDataFromTheLibraries) {
    for (const int owns : {0, 1}) {
        SCOPED_TRACE(owns ? "owning" : "not owning");
        CCharacterData* character = store->Characters().Add();
        character->m_ownsData = owns;
        CModelData* first = MakeModel("first.x");
        CModelData* second = MakeModel("second.x");
        const int models = g_modelLibrary->Entries().Count();
        character->SetModel(first);
        character->SetCapacity(1);
        CAnimationData* walk = MakeAnimation("walk.x", {{"a", "Leg"}});
        character->AddAnimation(walk);
        const int animations = g_animationLibrary->Entries().Count();

        ASSERT_EQ(character->SetModel(second), 1);
        EXPECT_EQ(walk->m_model, second) << "rebound to the new model";
        EXPECT_EQ(g_modelLibrary->Entries().Count(), models - owns);
        EXPECT_EQ(g_modelLibrary->Entries().FindEntry(first) != nullptr, owns == 0);

        ASSERT_EQ(character->SetCapacity(1), 1);
        EXPECT_EQ(g_animationLibrary->Entries().Count(), animations - owns);
        EXPECT_EQ(character->m_count, 0);
        EXPECT_EQ(character->m_current, nullptr);
    }
}

TEST_F(CCharacterDataTest, SetModelRebindsThePresentModel) {
    CCharacterData* character = store->Characters().Add();
    EXPECT_EQ(character->SetModel(nullptr), 0) << "nothing to rebind";
    CModelData* model = MakeModel("m.x");
    character->SetModel(model);
    character->SetCapacity(1);
    CAnimationData* walk = MakeAnimation("walk.x", {{"a", "Leg"}});
    character->AddAnimation(walk);
    walk->Unbind();
    ASSERT_EQ(character->SetModel(nullptr), 1);
    EXPECT_EQ(walk->m_model, model);
    EXPECT_EQ(AnimationAt(walk, 0)->GetFrame().Get(), leg);
}

TEST_F(CCharacterDataTest, StoreReleasesCharactersBeforeTheirData) {
    CCharacterData* character = store->Characters().Add();
    character->m_ownsData = 1;
    character->SetModel(MakeModel("m.x"));
    character->SetCapacity(1);
    character->AddAnimation(MakeAnimation("walk.x", {{"a", "Leg"}}));
    store.reset(); // must not touch freed models or animations (run under ASan to see)
    EXPECT_EQ(g_modelLibrary, nullptr);
    EXPECT_EQ(g_animationLibrary, nullptr);
}
