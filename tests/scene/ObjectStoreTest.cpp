#include "scene/ObjectStore.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

std::vector<std::string> g_log;

struct LoggedModel {
    std::string name;
    ~LoggedModel() { g_log.push_back("model " + name); }
};

struct LoggedAnimation {
    std::string name;
    ~LoggedAnimation() { g_log.push_back("animation " + name); }
};

ModelLibrary<LoggedModel>* g_sceneModels = nullptr;
AnimationLibrary<LoggedAnimation>* g_sceneAnimations = nullptr;

// A character that owns its model and animation: like the real one it gives them back to
// the libraries (through the scene's pointers) when it is destroyed.
struct LoggedCharacter {
    std::string name;
    LoggedModel* model = nullptr;
    LoggedAnimation* animation = nullptr;
    ~LoggedCharacter() {
        g_log.push_back("character " + name);
        if (animation) {
            EXPECT_NE(g_sceneAnimations, nullptr) << "libraries must outlive the characters";
            if (g_sceneAnimations) {
                EXPECT_EQ(g_sceneAnimations->Entries().Remove(animation), 1);
            }
        }
        if (model) {
            EXPECT_NE(g_sceneModels, nullptr);
            if (g_sceneModels) {
                EXPECT_EQ(g_sceneModels->Entries().Remove(model), 1);
            }
        }
    }
};

using Store = ObjectStore<LoggedModel, LoggedAnimation, LoggedCharacter>;

class ObjectStoreTest : public ::testing::Test {
protected:
    void SetUp() override { g_log.clear(); }
};

TEST_F(ObjectStoreTest, PublishesTheLibrariesAndClearsThePointersOnDestruction) {
    {
        Store store(&g_sceneModels, &g_sceneAnimations);
        EXPECT_EQ(g_sceneModels, &store.Models());
        EXPECT_EQ(g_sceneAnimations, &store.Animations());
    }
    EXPECT_EQ(g_sceneModels, nullptr);
    EXPECT_EQ(g_sceneAnimations, nullptr);
}

TEST_F(ObjectStoreTest, DestroysCharactersThenAnimationsThenModels) {
    {
        Store store(&g_sceneModels, &g_sceneAnimations);
        store.Models().Entries().AddNamed("m1.x")->name = "m1";
        store.Models().Entries().AddNamed("m2.x")->name = "m2";
        store.Animations().Entries().AddNamed("a1.x")->name = "a1";
        store.Animations().Entries().AddNamed("a2.x")->name = "a2";
        store.Characters().Add()->name = "c1";
        store.Characters().Add()->name = "c2";
    }
    EXPECT_EQ(g_log, (std::vector<std::string>{"character c1", "character c2", "animation a1",
                                               "animation a2", "model m1", "model m2"}));
}

TEST_F(ObjectStoreTest, CharactersBoundToLibraryObjectsAreReleasedFirst) {
    {
        Store store(&g_sceneModels, &g_sceneAnimations);
        LoggedModel* model = store.Models().Entries().AddNamed("body.x");
        model->name = "body";
        store.Models().Entries().AddNamed("spare.x")->name = "spare";
        LoggedAnimation* animation = store.Animations().Entries().AddNamed("walk.x");
        animation->name = "walk";
        LoggedCharacter* character = store.Characters().Add();
        character->name = "hero";
        character->model = model;
        character->animation = animation;
    }
    EXPECT_EQ(g_log, (std::vector<std::string>{"character hero", "animation walk", "model body",
                                               "model spare"}));
}

TEST_F(ObjectStoreTest, StoreWithoutScenePointersStillDestroysInOrder) {
    {
        ObjectStore<LoggedModel, LoggedAnimation, LoggedAnimation> store;
        store.Models().Entries().Add()->name = "m";
        store.Animations().Entries().Add()->name = "a";
        store.Characters().Add()->name = "c";
    }
    EXPECT_EQ(g_log, (std::vector<std::string>{"animation c", "animation a", "model m"}));
}

} // namespace
