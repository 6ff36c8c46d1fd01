// The timeline's key edits without a window: moves that stop before a neighbour of their
// channel, deletes of chosen keys, and pastes that keep the copied spacing and land on the
// copied parts or on the selected one.

#include <vector>

#include <gtest/gtest.h>

#include "commands/DeleteKeysCommand.h"
#include "commands/KeyFrameCommandFixture.h"
#include "commands/MoveKeysCommand.h"
#include "commands/PasteKeysCommand.h"

namespace {

class KeyEditCommandTest : public KeyFrameCommandTest {
protected:
    static rm::Animation* AnimationOf(rm::Frame* part) { return CPartRecord::Of(part)->animation; }
    /// The keys of `part` at `time` of `type`.
    static std::vector<KeyRef> KeysAt(rm::Frame* part, float time, std::uint32_t type = 1) {
        std::vector<KeyRef> keys;
        for (const rm::AnimationKey& key : AnimationOf(part)->Keys()) {
            if (key.dvTime == time && key.dwKeyType == type) {
                keys.push_back({AnimationOf(part), key.dwID});
            }
        }
        return keys;
    }
    static rm::AnimationKey KeyAt(rm::Frame* part, float time) {
        for (const rm::AnimationKey& key : AnimationOf(part)->Keys()) {
            if (key.dvTime == time && key.dwKeyType == 1) {
                return key;
            }
        }
        ADD_FAILURE() << "no rotation key at " << time;
        return {};
    }
};

TEST_F(KeyEditCommandTest, AMoveStopsBeforeAKeyOfItsChannelThatStays) {
    struct Case {
        std::vector<float> from; // the arm's rotation keys that move
        int delta;
        std::vector<float> expected; // the arm's rotation keys afterwards
    };
    const Case cases[] = {
        {{10}, 5, {0, 15, 20, 30}},
        {{10}, 10, {0, 19, 20, 30}},      // 20 is taken: one before it
        {{10}, -10, {0, 1, 20, 30}},      // 0 is taken
        {{10}, -25, {0, 1, 20, 30}},      // nothing before 0
        {{10}, 4, {0, 14, 20, 30}},       // the position key at 14 is of another channel
        {{10, 20}, 10, {0, 19, 29, 30}},  // 30 stays: both stop
        {{20, 30}, -10, {0, 10, 11, 21}}, // 20 would land on 10, which stays
        {{20, 30}, 10, {0, 10, 30, 40}},  // 20 lands where 30 was: it moves on too
        {{0, 10, 20, 30}, 7, {7, 17, 27, 37}},
    };
    for (const Case& c : cases) {
        Open({0, 10, 20, 30});
        AnimationOf(arm)->AddPositionKey(14, 0, 1, 0);
        context.currentAnimation->UpdateTotalKeyTimeBuffer();
        std::vector<KeyRef> keys;
        for (float time : c.from) {
            const std::vector<KeyRef> at = KeysAt(arm, time);
            keys.insert(keys.end(), at.begin(), at.end());
        }
        const std::vector<float> bodyBefore = Times(body);
        MoveKeysCommand move(host, keys, c.delta);
        const int allowed = MoveKeysCommand::AllowedDelta(keys, c.delta);
        EXPECT_EQ(move.Execute(context), allowed != 0 ? 1 : 0);
        EXPECT_EQ(move.MovedBy(), allowed);
        EXPECT_EQ(Times(arm, 1), c.expected) << "delta " << c.delta;
        EXPECT_EQ(Times(body), bodyBefore) << "other parts keep their keys";
        // The key-time list holds every time a key now lies at.
        for (float time : Times(arm)) {
            const auto& list = context.currentAnimation->KeyTimeList();
            EXPECT_TRUE(std::binary_search(list.begin(), list.end(), time)) << time;
        }
    }
}

TEST_F(KeyEditCommandTest, AMovedKeyKeepsItsValueAndIdentifier) {
    Open({0, 10, 20});
    const rm::AnimationKey before = KeyAt(arm, 10);
    ASSERT_EQ(MoveKeysCommand(host, KeysAt(arm, 10), 3).Execute(context), 1);
    const rm::AnimationKey after = KeyAt(arm, 13);
    EXPECT_EQ(after.dwID, before.dwID);
    EXPECT_EQ(after.dqRotateKey.s, before.dqRotateKey.s);
    EXPECT_EQ(after.dqRotateKey.v.x, before.dqRotateKey.v.x);
    EXPECT_EQ(host.modified, 1);
    EXPECT_GE(host.poses, 1);
}

TEST_F(KeyEditCommandTest, DeleteTakesExactlyTheChosenKeysAndTheListFollows) {
    Open({0, 10, 20});
    std::vector<KeyRef> keys = KeysAt(arm, 10);
    const std::vector<KeyRef> body10 = KeysAt(body, 10);
    keys.insert(keys.end(), body10.begin(), body10.end());
    ASSERT_EQ(DeleteKeysCommand(host, keys).Execute(context), 1);
    EXPECT_EQ(Times(arm), (std::vector<float>{0, 20}));
    EXPECT_EQ(Times(body), (std::vector<float>{0, 20}));
    EXPECT_EQ(KeyTimes(), (std::vector<float>{0, 20}));
    // Keys that are gone already change nothing.
    EXPECT_EQ(DeleteKeysCommand(host, keys).Execute(context), 0);
}

TEST_F(KeyEditCommandTest, OnePartsKeysPasteOntoTheSelectedPartKeepingTheirSpacing) {
    Open({0, 10, 20, 30});
    CopiedKeys copied;
    for (float time : {10.0f, 30.0f}) {
        rm::AnimationKey key = KeyAt(arm, time);
        key.dvTime -= 10;
        copied.entries.push_back({arm, key});
    }
    host.selected = body;
    PasteKeysCommand paste(host, copied, 5);
    ASSERT_EQ(paste.Execute(context), 1);
    EXPECT_EQ(Times(body), (std::vector<float>{0, 5, 10, 20, 25, 30}));
    EXPECT_EQ(Times(arm), (std::vector<float>{0, 10, 20, 30}));
    EXPECT_EQ(KeyAt(body, 25).dqRotateKey.v.x, KeyAt(arm, 30).dqRotateKey.v.x);
    EXPECT_EQ(paste.Pasted().size(), 2u);

    // Onto a time that has a key of the channel: the key takes the value, no twin.
    PasteKeysCommand again(host, copied, 0);
    ASSERT_EQ(again.Execute(context), 1);
    EXPECT_EQ(Times(body), (std::vector<float>{0, 5, 10, 20, 25, 30}));
    EXPECT_EQ(KeyAt(body, 0).dqRotateKey.v.x, KeyAt(arm, 10).dqRotateKey.v.x);
    EXPECT_EQ(KeyAt(body, 20).dqRotateKey.v.x, KeyAt(arm, 30).dqRotateKey.v.x);
}

TEST_F(KeyEditCommandTest, KeysOfSeveralPartsPasteOntoTheirOwnParts) {
    Open({0, 10, 20});
    CopiedKeys copied;
    copied.entries.push_back({body, KeyAt(body, 10)});
    copied.entries.push_back({arm, KeyAt(arm, 20)});
    copied.entries[0].key.dvTime = 0;
    copied.entries[1].key.dvTime = 10;
    host.selected = arm; // not the target: more than one part was copied
    ASSERT_EQ(PasteKeysCommand(host, copied, 40).Execute(context), 1);
    EXPECT_EQ(Times(body), (std::vector<float>{0, 10, 20, 40}));
    EXPECT_EQ(Times(arm), (std::vector<float>{0, 10, 20, 50}));
    EXPECT_EQ(KeyTimes(), (std::vector<float>{0, 10, 20, 40, 50}));
}

} // namespace
