#include "platform/rm/Animation.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

#include <gtest/gtest.h>

#include "platform/rm/AnimationSet.h"
#include "platform/rm/Math.h"
#include "support/RmMatchers.h"

using namespace rm;
using testing_rm::RotationNear;
using testing_rm::VectorNear;

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

Quaternion TurnY(float radians) {
    return QuaternionFromRotation({0, 1, 0}, radians);
}

std::vector<AnimationKey> AllKeys(const Animation& a, float from = 0, float to = FLT_MAX) {
    std::uint32_t count = 0;
    a.GetKeys(from, to, &count, nullptr);
    std::vector<AnimationKey> keys(count);
    if (count) {
        a.GetKeys(from, to, &count, keys.data());
    }
    keys.resize(count);
    return keys;
}

class AnimationTest : public ::testing::Test {
protected:
    AnimationTest() {
        frame = MakeRef<Frame>();
        animation = MakeRef<Animation>();
        animation->SetFrame(frame.Get());
    }

    Vector Position() const {
        Vector p;
        frame->GetPosition(frame->GetParent(), &p);
        return p;
    }
    Quaternion Rotation() const {
        Quaternion q;
        frame->GetQuaternion(frame->GetParent(), &q);
        return q;
    }

    Ref<Frame> frame;
    Ref<Animation> animation;
};

} // namespace

TEST_F(AnimationTest, KeysAreOrderedByTimeAndIdsCountFromOne) {
    animation->AddPositionKey(10, 1, 0, 0);
    animation->AddRotateKey(0, TurnY(0));
    animation->AddScaleKey(10, 2, 2, 2);
    animation->AddPositionKey(5, 3, 0, 0);

    const auto keys = AllKeys(*animation);
    ASSERT_EQ(keys.size(), 4u);
    const struct {
        float time;
        std::uint32_t type, id;
    } expected[] = {{0, D3DRMANIMATION_ROTATEKEY, 2},
                    {5, D3DRMANIMATION_POSITIONKEY, 4},
                    {10, D3DRMANIMATION_POSITIONKEY, 1}, // equal times keep insertion order
                    {10, D3DRMANIMATION_SCALEKEY, 3}};
    for (std::size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(keys[i].dvTime, expected[i].time) << i;
        EXPECT_EQ(keys[i].dwKeyType, expected[i].type) << i;
        EXPECT_EQ(keys[i].dwID, expected[i].id) << i;
        EXPECT_EQ(keys[i].dwSize, 32u);
    }
    // Identifiers are per animation.
    auto other = MakeRef<Animation>();
    other->AddPositionKey(0, 0, 0, 0);
    EXPECT_EQ(AllKeys(*other)[0].dwID, 1u);
}

TEST_F(AnimationTest, GetKeysTwoCallProtocolOverAnInclusiveRange) {
    for (float t : {-5.0f, 0.0f, 10.0f, 20.0f, 30.0f}) {
        animation->AddPositionKey(t, t, 0, 0);
    }
    std::uint32_t count = 0;
    ASSERT_EQ(animation->GetKeys(10, 20, &count, nullptr), D3DRM_OK);
    EXPECT_EQ(count, 2u) << "both ends are included";

    std::vector<AnimationKey> keys(1);
    std::uint32_t tooFew = 1;
    EXPECT_EQ(animation->GetKeys(10, 20, &tooFew, keys.data()), D3DRMERR_BADVALUE);

    keys.resize(2);
    count = 2;
    ASSERT_EQ(animation->GetKeys(10, 20, &count, keys.data()), D3DRM_OK);
    EXPECT_EQ(keys[0].dvTime, 10);
    EXPECT_EQ(keys[1].dvTime, 20);

    EXPECT_EQ(AllKeys(*animation).size(), 4u) << "the range 0..FLT_MAX hides negative times";
    EXPECT_EQ(AllKeys(*animation, 11, 19).size(), 0u);
    EXPECT_EQ(AllKeys(*animation, 30, 10).size(), 0u);
}

TEST_F(AnimationTest, ModifyAndDeleteAddressKeysById) {
    animation->AddPositionKey(0, 0, 0, 0);
    animation->AddPositionKey(10, 1, 0, 0);
    animation->AddRotateKey(10, TurnY(1));
    animation->AddPositionKey(20, 2, 0, 0);

    AnimationKey moved = AllKeys(*animation)[1]; // position at 10, id 2
    ASSERT_EQ(moved.dwID, 2u);
    moved.dvTime = 25;
    moved.dvPositionKey = {9, 9, 9};
    ASSERT_EQ(animation->ModifyKey(&moved), D3DRM_OK);
    auto keys = AllKeys(*animation);
    ASSERT_EQ(keys.size(), 4u);
    EXPECT_EQ(keys[3].dwID, 2u);
    EXPECT_EQ(keys[3].dvTime, 25);
    EXPECT_EQ(keys[3].dwKeyType, D3DRMANIMATION_POSITIONKEY) << "the type never changes";
    EXPECT_THAT(keys[3].dvPositionKey, VectorNear(Vector{9, 9, 9}, 0));

    AnimationKey missing;
    missing.dwID = 77;
    EXPECT_EQ(animation->ModifyKey(&missing), D3DRMERR_NOTFOUND);

    EXPECT_EQ(animation->DeleteKeyByID(1), D3DRM_OK);
    EXPECT_EQ(animation->DeleteKeyByID(1), D3DRMERR_NOTFOUND);
    animation->AddScaleKey(20, 1, 1, 1);
    EXPECT_EQ(animation->DeleteKey(20), D3DRM_OK) << "removes every key at that time";
    keys = AllKeys(*animation);
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].dvTime, 10);
    EXPECT_EQ(keys[1].dvTime, 25);
    EXPECT_EQ(animation->DeleteKey(20), D3DRMERR_NOTFOUND);
}

TEST_F(AnimationTest, ModifyKeysPutsEveryKeyWhereModifyKeyOneByOneWould) {
    // Keys at equal times, a move onto a time that keeps an unmoved key, a move past
    // others, a deletion and an unknown id: the bulk call and the single calls agree.
    const auto fill = [](Animation& a) {
        a.AddPositionKey(0, 0, 0, 0);
        a.AddRotateKey(0, TurnY(1));
        a.AddPositionKey(10, 1, 0, 0);
        a.AddScaleKey(10, 2, 2, 2);
        a.AddPositionKey(20, 2, 0, 0);
        a.AddRotateKey(30, TurnY(2));
    };
    Ref<Animation> single = MakeRef<Animation>();
    Ref<Animation> bulk = MakeRef<Animation>();
    fill(*single);
    fill(*bulk);
    std::vector<AnimationKey> edits = AllKeys(*single);
    edits[0].dvTime = 20;               // onto the unmoved key at 20
    edits[1].dvTime = 20;               // after it, in this order
    edits[2].dvPositionKey = {7, 7, 7}; // value only: keeps its place
    edits[5].dvTime = 5;
    AnimationKey unknown;
    unknown.dwID = 99;
    edits.push_back(unknown);
    for (const auto& key : edits) {
        single->ModifyKey(&key);
    }
    single->DeleteKeyByID(4);
    ASSERT_EQ(bulk->ModifyKeys(edits, std::vector<std::uint32_t>{4, 98}), D3DRM_OK);
    const auto expected = AllKeys(*single);
    const auto actual = AllKeys(*bulk);
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(actual[i].dwID, expected[i].dwID) << i;
        EXPECT_EQ(actual[i].dvTime, expected[i].dvTime) << i;
        EXPECT_THAT(actual[i].dvPositionKey, VectorNear(expected[i].dvPositionKey, 0)) << i;
    }
}

TEST_F(AnimationTest, PositionBeforeOnBetweenAndAfterKeys) {
    animation->AddPositionKey(10, 0, 0, 0);
    animation->AddPositionKey(20, 10, 0, 0);
    animation->AddPositionKey(40, 10, 20, 0);
    const struct {
        std::uint32_t options;
        float time;
        Vector expected;
    } cases[] = {
        // Open: the end values hold outside the key range.
        {0x25, 0, {0, 0, 0}},
        {0x25, 10, {0, 0, 0}},
        {0x25, 15, {5, 0, 0}},
        {0x25, 20, {10, 0, 0}},
        {0x25, 30, {10, 10, 0}},
        {0x25, 40, {10, 20, 0}},
        {0x25, 100, {10, 20, 0}},
        // Closed: time wraps around the range 10..40 (span 30).
        {0x26, 45, {5, 0, 0}},
        {0x26, 70, {0, 0, 0}},
        {0x26, 0, {10, 10, 0}},
        {0x26, 40, {0, 0, 0}},
    };
    for (const auto& c : cases) {
        animation->SetOptions(c.options);
        animation->SetTime(c.time);
        EXPECT_THAT(Position(), VectorNear(c.expected, 1e-5f))
            << "options " << c.options << " time " << c.time;
    }
}

TEST_F(AnimationTest, SplinePositionPassesThroughTheKeysAndBends) {
    animation->SetOptions(D3DRMANIMATION_OPEN | D3DRMANIMATION_SPLINEPOSITION |
                          D3DRMANIMATION_POSITION);
    animation->AddPositionKey(0, 0, 0, 0);
    animation->AddPositionKey(10, 10, 10, 0);
    animation->AddPositionKey(20, 20, 0, 0);
    animation->SetTime(10);
    EXPECT_THAT(Position(), VectorNear(Vector{10, 10, 0}, 1e-5f));
    animation->SetTime(5);
    const Vector mid = Position();
    EXPECT_GT(mid.y, 5.0f) << "a curve through the keys rises above the straight line";
    EXPECT_NEAR(mid.x, 5.0f, 1.0f);
}

TEST_F(AnimationTest, RotationSlerpsAlongTheShorterArcBeyondHalfATurn) {
    animation->SetOptions(D3DRMANIMATION_OPEN | D3DRMANIMATION_SCALEANDROTATION);
    animation->AddRotateKey(0, TurnY(0));
    animation->AddRotateKey(10, TurnY(kPi / 2));
    // 290 degrees lies 200 degrees on from 90: the short way back is 160 degrees.
    animation->AddRotateKey(20, TurnY(kPi * 290 / 180));

    animation->SetTime(5);
    EXPECT_THAT(Rotation(), RotationNear(TurnY(kPi / 4), 1e-4f));
    animation->SetTime(10);
    EXPECT_THAT(Rotation(), RotationNear(TurnY(kPi / 2), 1e-4f));
    animation->SetTime(15);
    EXPECT_THAT(Rotation(), RotationNear(TurnY(kPi * 10 / 180), 1e-4f));
    animation->SetTime(-3);
    EXPECT_THAT(Rotation(), RotationNear(TurnY(0), 1e-4f));
}

TEST_F(AnimationTest, ComponentsWithoutKeysComeFromTheFramesRestTransform) {
    frame->AddTransform(D3DRMCOMBINE_REPLACE, ComposeMatrix({2, 2, 2}, TurnY(0.5f), {1, 2, 3}));
    animation->AddPositionKey(0, 5, 5, 5);
    animation->SetTime(0);
    EXPECT_THAT(Position(), VectorNear(Vector{5, 5, 5}, 1e-6f));
    Decomposed d = DecomposeMatrix(frame->LocalTransform());
    EXPECT_THAT(d.scale, VectorNear(Vector{2, 2, 2}, 1e-5f));
    EXPECT_THAT(d.rotation, RotationNear(TurnY(0.5f), 1e-5f));

    // The position the last pose had is not the model's: without position keys the
    // rest's comes back.
    animation->DeleteKey(0);
    animation->AddRotateKey(0, TurnY(1.0f));
    animation->SetTime(0);
    d = DecomposeMatrix(frame->LocalTransform());
    EXPECT_THAT(d.translation, VectorNear(Vector{1, 2, 3}, 1e-6f));
    EXPECT_THAT(d.scale, VectorNear(Vector{2, 2, 2}, 1e-5f));
    EXPECT_THAT(d.rotation, RotationNear(TurnY(1.0f), 1e-5f));
}

TEST_F(AnimationTest, OptionsGateWhatIsPosed) {
    animation->AddPositionKey(0, 5, 0, 0);
    animation->AddRotateKey(0, TurnY(1));
    animation->SetOptions(D3DRMANIMATION_OPEN | D3DRMANIMATION_SCALEANDROTATION);
    animation->SetTime(0);
    EXPECT_THAT(Position(), VectorNear(Vector{0, 0, 0}, 0)) << "position not allowed";
    EXPECT_THAT(Rotation(), RotationNear(TurnY(1), 1e-5f));

    // Nothing allowed: the frame shows its rest transform.
    animation->SetOptions(D3DRMANIMATION_OPEN);
    animation->SetTime(0);
    EXPECT_TRUE(frame->IsAtRest());
}

TEST_F(AnimationTest, PosingNeverChangesTheRestTransformAndEditsDo) {
    const Matrix4 rest = ComposeMatrix({1, 1, 1}, TurnY(0.25f), {1, 2, 3});
    frame->SetRestTransform(rest);
    animation->AddRotateKey(0, TurnY(1));
    animation->AddRotateKey(10, TurnY(2));
    animation->AddPositionKey(10, 7, 8, 9);
    for (float time : {0.0f, 3.0f, 10.0f, 25.0f}) {
        animation->SetTime(time);
        EXPECT_EQ(std::memcmp(&rest, &frame->GetRestTransform(), sizeof rest), 0) << time;
        EXPECT_FALSE(frame->IsAtRest()) << time;
    }
    // Only position keys: the pose keeps the rest's turn exactly.
    animation->DeleteKeysOfType(D3DRMANIMATION_ROTATEKEY, 0, FLT_MAX);
    animation->SetTime(10);
    Matrix4 expected = rest;
    expected.m[3][0] = 7;
    expected.m[3][1] = 8;
    expected.m[3][2] = 9;
    EXPECT_EQ(std::memcmp(&expected, &frame->LocalTransform(), sizeof expected), 0);
    // An edit of the frame is an edit of the model: rest and pose alike.
    frame->SetPosition(frame->GetParent(), 4, 5, 6);
    EXPECT_TRUE(frame->IsAtRest());
    EXPECT_EQ(frame->GetRestTransform().m[3][1], 5.0f);
    frame->ResetPose();
    EXPECT_EQ(frame->LocalTransform().m[3][1], 5.0f);
}

TEST_F(AnimationTest, DeleteKeysOfTypeRemovesOneTypeInTheRangeAndKeepsTheOrder) {
    for (int t = 0; t < 6; ++t) {
        animation->AddPositionKey(float(t), float(t), 0, 0);
        animation->AddRotateKey(float(t), TurnY(0.1f * float(t)));
        animation->AddScaleKey(float(t), 1, 1, 1);
    }
    EXPECT_EQ(animation->DeleteKeysOfType(D3DRMANIMATION_POSITIONKEY, 2, 4), 3u);
    std::vector<std::uint32_t> types;
    std::vector<float> times;
    for (const AnimationKey& key : animation->Keys()) {
        types.push_back(key.dwKeyType);
        times.push_back(key.dvTime);
    }
    EXPECT_TRUE(std::is_sorted(times.begin(), times.end()));
    EXPECT_EQ(std::count(types.begin(), types.end(), D3DRMANIMATION_POSITIONKEY), 3);
    EXPECT_EQ(std::count(types.begin(), types.end(), D3DRMANIMATION_ROTATEKEY), 6);
    // Keys of one time keep the order they were added in.
    EXPECT_EQ(animation->Keys()[6].dwKeyType, D3DRMANIMATION_ROTATEKEY);
    EXPECT_EQ(animation->Keys()[6].dvTime, 2.0f);
    EXPECT_EQ(animation->DeleteKeysOfType(D3DRMANIMATION_POSITIONKEY, 0, FLT_MAX), 3u);
    EXPECT_EQ(animation->Keys().size(), 12u);
}

TEST(AnimationSetTest, SetTimePosesEveryAnimationAndSkipsUnboundOnes) {
    auto set = MakeRef<AnimationSet>();
    auto a = MakeRef<Frame>();
    auto b = MakeRef<Frame>();
    Ref<Animation> animations[3];
    for (auto& anim : animations) {
        anim = MakeRef<Animation>();
        set->AddAnimation(anim.Get());
    }
    animations[0]->SetFrame(a.Get());
    animations[1]->SetFrame(b.Get());
    for (auto& anim : animations) {
        anim->AddPositionKey(0, 0, 0, 0);
        anim->AddPositionKey(10, 10, 0, 0);
    }
    ASSERT_EQ(set->SetTime(5), D3DRM_OK);
    Vector pa, pb;
    a->GetPosition(nullptr, &pa);
    b->GetPosition(nullptr, &pb);
    EXPECT_THAT(pa, VectorNear(Vector{5, 0, 0}, 1e-6f));
    EXPECT_THAT(pb, VectorNear(Vector{5, 0, 0}, 1e-6f));

    EXPECT_EQ(set->DeleteAnimation(animations[1].Get()), D3DRM_OK);
    EXPECT_EQ(set->DeleteAnimation(animations[1].Get()), D3DRMERR_NOTFOUND);
    EXPECT_EQ(set->GetAnimations().size(), 2u);
}

TEST_F(AnimationTest, KeysOutsideTheChangedStretchAreThoseOfTheWatchStart) {
    // Every kind of key edit, each on a fresh animation of rotation, scale and position keys
    // at 0, 10, … 90: outside the stretch it reports, the keys are the ones the watch began
    // with, at the same places.
    struct Case {
        const char* name;
        void (*edit)(Animation&);
    };
    const Case cases[] = {
        {"add in the middle", [](Animation& a) { a.AddPositionKey(45, 1, 2, 3); }},
        {"add at the end", [](Animation& a) { a.AddScaleKey(200, 2, 2, 2); }},
        {"modify in place",
         [](Animation& a) {
             AnimationKey key = a.Keys()[13];
             key.dqRotateKey = TurnY(1);
             a.ModifyKey(&key);
         }},
        {"modify to another time",
         [](Animation& a) {
             AnimationKey key = a.Keys()[20];
             key.dvTime = 5;
             a.ModifyKey(&key);
         }},
        {"modify several in place",
         [](Animation& a) {
             AnimationKey keys[] = {a.Keys()[12], a.Keys()[15]};
             keys[0].dvTime += 1;
             keys[1].dvScaleKey = {3, 3, 3};
             a.ModifyKeys(keys);
         }},
        {"modify several out of order",
         [](Animation& a) {
             AnimationKey keys[] = {a.Keys()[3], a.Keys()[25]};
             keys[0].dvTime = 85;
             keys[1].dvTime = 2;
             a.ModifyKeys(keys);
         }},
        {"modify and delete",
         [](Animation& a) {
             AnimationKey key = a.Keys()[16];
             key.dvTime += 1;
             const std::uint32_t gone[] = {a.Keys()[17].dwID};
             a.ModifyKeys({&key, 1}, gone);
         }},
        {"delete a time", [](Animation& a) { a.DeleteKey(40); }},
        {"delete by identifier", [](Animation& a) { a.DeleteKeyByID(a.Keys()[22].dwID); }},
        {"delete a type",
         [](Animation& a) { a.DeleteKeysOfType(D3DRMANIMATION_SCALEKEY, 30, 60); }},
        {"restore", [](Animation& a) { a.RestoreKeys({a.Keys()[0]}, a.NextKeyId()); }},
        {"nothing", [](Animation&) {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Ref<Animation> a = MakeRef<Animation>();
        for (int t = 0; t < 10; ++t) {
            a->AddRotateKey(10.0f * float(t), TurnY(0.1f * float(t)));
            a->AddScaleKey(10.0f * float(t), 1, 1, 1);
            a->AddPositionKey(10.0f * float(t), float(t), 0, 0);
        }
        const std::vector<AnimationKey> was = a->Keys();
        const std::uint64_t watch = a->WatchKeys();
        c.edit(*a);
        const auto stretch = a->ChangedSince(watch);
        ASSERT_TRUE(stretch.has_value());
        const std::vector<AnimationKey>& now = a->Keys();
        ASSERT_LE(stretch->first, std::min(was.size(), now.size()));
        for (std::size_t i = 0; i < stretch->first; ++i) {
            EXPECT_EQ(std::memcmp(&was[i], &now[i], sizeof(AnimationKey)), 0) << i;
        }
        if (was.size() == now.size()) {
            for (std::size_t i = stretch->last; i < now.size(); ++i) {
                EXPECT_EQ(std::memcmp(&was[i], &now[i], sizeof(AnimationKey)), 0) << i;
            }
        } else {
            EXPECT_EQ(stretch->last, now.size()) << "a count that changed: to the end";
        }
        // A watch started since ends this one: its owner compares everything.
        a->WatchKeys();
        EXPECT_FALSE(a->ChangedSince(watch).has_value());
    }
}
