#include "scene/CAnimationData.h"

#include <cfloat>
#include <vector>

#include <gtest/gtest.h>

#include "platform/rm/Math.h"
#include "scene/PartNaming.h"
#include "scene/SceneFixture.h"
#include "support/RmMatchers.h"

using testing_rm::RotationNear;

namespace {

class CAnimationDataTest : public SceneFixture {
protected:
    // Parts A, B, C with their own keys, not bound to a model.
    void SetUp() override {
        data = MakeAnimation("walk.x", {{"animA", "A"}, {"animB", "B"}, {"animC", "C"}});
        a = AnimationAt(data, 0);
        b = AnimationAt(data, 1);
        c = AnimationAt(data, 2);
    }

    std::vector<float> KeyTimes() {
        data->UpdateTotalKeyTimeBuffer();
        std::vector<float> times;
        for (unsigned i = 0; i < data->KeyTimeCount(); ++i) {
            times.push_back(data->KeyTime(int(i)));
        }
        return times;
    }

    static std::vector<float> Times(rm::Animation* animation, std::uint32_t type = 0) {
        std::vector<float> times;
        for (const auto& key : animation->Keys()) {
            if (!type || key.dwKeyType == type) {
                times.push_back(key.dvTime);
            }
        }
        return times;
    }

    CAnimationData* data = nullptr;
    rm::Animation *a = nullptr, *b = nullptr, *c = nullptr;
};

rm::Quaternion Turn(float radians) {
    return rm::QuaternionFromRotation({0, 1, 0}, radians);
}

} // namespace

TEST_F(CAnimationDataTest, KeyTimeListHoldsDistinctNonNegativeTimesInOrder) {
    a->AddRotateKey(0, Turn(0));
    a->AddPositionKey(10, 0, 0, 0);
    b->AddScaleKey(10, 1, 1, 1);
    b->AddRotateKey(-5, Turn(0));
    c->AddPositionKey(20, 0, 0, 0);
    c->AddPositionKey(10, 0, 0, 0);
    EXPECT_EQ(KeyTimes(), (std::vector<float>{0, 10, 20}));
    EXPECT_EQ(data->KeyTime(3), 0) << "out of range";
    EXPECT_EQ(data->KeyTime(-1), 0);
    EXPECT_TRUE(messages.empty());
}

TEST_F(CAnimationDataTest, KeyTimeListIsCappedAt1024WithOneMessage) {
    for (int t = 0; t < 1025; ++t) {
        (t % 2 ? a : b)->AddPositionKey(float(t), 0, 0, 0);
    }
    const auto times = KeyTimes();
    ASSERT_EQ(times.size(), 1024u);
    EXPECT_EQ(times.back(), 1023) << "the smallest times are kept";
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0],
              "CAnimationData:UpdateTotalKeyTimeBuffer\nトータルキーの数が最大許容値を越えました");
}

TEST_F(CAnimationDataTest, SetKeyIntervalMovesEverythingFromTheLaterKeyTime) {
    for (float t : {0.f, 10.f, 20.f, 30.f}) {
        a->AddRotateKey(t, Turn(0));
        b->AddPositionKey(t, t, 0, 0);
    }
    KeyTimes();
    ASSERT_EQ(data->SetKeyInterval(1, 15), 1);
    EXPECT_EQ(Times(a), (std::vector<float>{0, 10, 25, 35}));
    EXPECT_EQ(Times(b), (std::vector<float>{0, 10, 25, 35}));
    EXPECT_EQ(b->Keys()[2].dvPositionKey.x, 20) << "values travel with their keys";

    KeyTimes();
    EXPECT_EQ(data->SetKeyInterval(3, 5), 0) << "index + 1 past the list";
    EXPECT_EQ(data->SetKeyInterval(-1, 5), 0);
    EXPECT_EQ(data->SetKeyInterval(0, 0), 0);
    EXPECT_EQ(data->SetKeyInterval(0, 10), 1) << "the same length changes nothing";
    EXPECT_EQ(Times(a), (std::vector<float>{0, 10, 25, 35}));
}

TEST_F(CAnimationDataTest, ScaleToLengthMultipliesTimesAndDropsFractions) {
    for (float t : {0.f, 10.f, 20.f}) {
        a->AddPositionKey(t, 0, 0, 0);
    }
    KeyTimes();
    ASSERT_EQ(data->ScaleToLength(40), 1);
    EXPECT_EQ(Times(a), (std::vector<float>{0, 20, 40}));

    a->DeleteKey(20);
    a->DeleteKey(40);
    a->AddPositionKey(7, 0, 0, 0);
    a->AddPositionKey(20, 0, 0, 0);
    KeyTimes();
    ASSERT_EQ(data->ScaleToLength(30), 1);
    EXPECT_EQ(Times(a), (std::vector<float>{0, 30})) << "7 * 1.5 = 10.5 is lost";

    // The times are multiplied, not their distance from the first.
    a->DeleteKey(0);
    a->DeleteKey(30);
    a->AddPositionKey(10, 0, 0, 0);
    a->AddPositionKey(30, 0, 0, 0);
    KeyTimes();
    ASSERT_EQ(data->ScaleToLength(40), 1);
    EXPECT_EQ(Times(a), (std::vector<float>{20, 60}));

    a->DeleteKey(60);
    KeyTimes();
    EXPECT_EQ(data->ScaleToLength(40), 0) << "a single key time has no span";
    EXPECT_EQ(data->ScaleToLength(-1), 0);
}

TEST_F(CAnimationDataTest, ExtendRotationKeysOnlyWhereRotationEndsEarlier) {
    a->AddRotateKey(0, Turn(0));
    a->AddRotateKey(20, Turn(0.5f));
    a->AddPositionKey(25, 0, 0, 0);
    b->AddRotateKey(0, Turn(0));
    b->AddRotateKey(30, Turn(1));
    c->AddPositionKey(0, 0, 0, 0);
    ASSERT_EQ(data->ExtendRotationKeys(30), 1);
    EXPECT_EQ(Times(a, rm::D3DRMANIMATION_ROTATEKEY), (std::vector<float>{0, 20, 30}));
    EXPECT_THAT(a->Keys().back().dqRotateKey, RotationNear(Turn(0.5f), 1e-6f));
    EXPECT_EQ(Times(b), (std::vector<float>{0, 30}));
    EXPECT_EQ(Times(c), (std::vector<float>{0})) << "no rotation keys: nothing added";
}

TEST_F(CAnimationDataTest, CopyKeysReplacesTheDestinationKeys) {
    a->AddRotateKey(10, Turn(1));
    a->AddPositionKey(10, 1, 2, 3);
    a->AddRotateKey(20, Turn(2));
    b->AddPositionKey(20, 9, 9, 9); // b has nothing at 10: it loses its keys at 20
    ASSERT_EQ(data->CopyKeys(20, 10), 1);
    ASSERT_EQ(Times(a), (std::vector<float>{10, 10, 20, 20}));
    EXPECT_THAT(a->Keys()[2].dqRotateKey, RotationNear(Turn(1), 1e-6f));
    EXPECT_EQ(a->Keys()[3].dvPositionKey.z, 3);
    EXPECT_TRUE(Times(b).empty());

    const auto before = Times(a);
    EXPECT_EQ(data->CopyKeys(10, 10), 1);
    EXPECT_EQ(Times(a), before);
}

TEST_F(CAnimationDataTest, PositionKeyDeletionAndScaling) {
    for (float t : {0.f, 10.f}) {
        a->AddPositionKey(t, 1, 2, 3);
        a->AddRotateKey(t, Turn(0));
        b->AddPositionKey(t, 4, 5, 6);
    }
    ASSERT_EQ(data->ScalePositionKeys(2, 1, -1, -1), 1);
    EXPECT_EQ(a->Keys()[0].dvPositionKey.x, 2);
    EXPECT_EQ(b->Keys()[1].dvPositionKey.z, -6);
    EXPECT_EQ(data->ScalePositionKeys(1, 0, 1, -1), 0);
    EXPECT_EQ(b->Keys()[1].dvPositionKey.y, 5) << "a rejected scale changes nothing";

    ASSERT_EQ(data->ScalePositionKeys(10, 10, 10, 10), 1);
    EXPECT_EQ(b->Keys()[0].dvPositionKey.x, 8) << "only keys at that time";
    EXPECT_EQ(b->Keys()[1].dvPositionKey.x, 80);

    ASSERT_EQ(data->DeletePositionKeys(10), 1);
    EXPECT_EQ(Times(a), (std::vector<float>{0, 0, 10}));
    EXPECT_EQ(Times(b), (std::vector<float>{0}));
    ASSERT_EQ(data->DeletePositionKeys(-1), 1);
    EXPECT_TRUE(Times(a, rm::D3DRMANIMATION_POSITIONKEY).empty());
    EXPECT_EQ(Times(a).size(), 2u) << "rotation keys stay";
}

TEST_F(CAnimationDataTest, ShiftAndDeleteLeaveNegativeTimesAlone) {
    a->AddPositionKey(-5, 0, 0, 0);
    a->AddPositionKey(10, 0, 0, 0);
    a->AddPositionKey(20, 0, 0, 0);
    ASSERT_EQ(data->ShiftKeyTimes(-10), 1);
    EXPECT_EQ(Times(a), (std::vector<float>{-5, 0, 10}));
    EXPECT_EQ(KeyTimes(), (std::vector<float>{0, 10}));
    ASSERT_EQ(data->DeleteKeysAt(0), 1);
    EXPECT_EQ(Times(a), (std::vector<float>{-5, 10}));
}

TEST_F(CAnimationDataTest, TimeRangeScansEveryKey) {
    float first = -1, last = -1;
    EXPECT_EQ(data->GetTimeRange(&first, &last, CAnimationData::TimeRange::Recompute), 0);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(last, 0);
    a->AddPositionKey(5, 0, 0, 0);
    c->AddRotateKey(40, Turn(0));
    ASSERT_EQ(data->GetTimeRange(&first, &last, CAnimationData::TimeRange::Recompute), 1);
    EXPECT_EQ(first, 5);
    EXPECT_EQ(last, 40);
    a->AddPositionKey(50, 0, 0, 0);
    data->GetTimeRange(&first, &last, CAnimationData::TimeRange::Cached);
    EXPECT_EQ(last, 40) << "without recompute the cached range";
}

TEST_F(CAnimationDataTest, OperationsWithoutASetFail) {
    CAnimationData empty;
    EXPECT_EQ(empty.UpdateTotalKeyTimeBuffer(), 0);
    EXPECT_EQ(empty.DeleteKeysAt(0), 0);
    EXPECT_EQ(empty.CopyKeys(1, 2), 0);
    EXPECT_EQ(empty.ShiftKeyTimes(1), 0);
    EXPECT_EQ(empty.FindAnimationByPartName("A"), nullptr);
    EXPECT_EQ(empty.KeyTimeCount(), 0u);
}

TEST_F(CAnimationDataTest, NamesAreRestoredForSavingAndAppliedAgain) {
    const std::string working = a->Name();
    EXPECT_EQ(scene::BaseName(working).value_or("?"), "A");
    ASSERT_EQ(data->RestoreAnimationNames(), 1);
    EXPECT_EQ(a->Name(), "animA");
    EXPECT_EQ(b->Name(), "animB");
    data->NameAnimations();
    EXPECT_EQ(a->Name(), working);
    ASSERT_EQ(data->RestoreAnimationNames(), 1);
    EXPECT_EQ(a->Name(), "animA") << "the file name survives a second round";
}

TEST_F(CAnimationDataTest, FindByPartNameIsExactAndCaseSensitive) {
    EXPECT_EQ(data->FindAnimationByPartName("B"), b);
    EXPECT_EQ(data->FindAnimationByPartName("b"), nullptr);
    EXPECT_EQ(data->FindAnimationByPartName("animB"), nullptr);
    EXPECT_EQ(data->FindAnimationByPartName(nullptr), nullptr);
}
