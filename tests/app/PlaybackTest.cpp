#include "app/Playback.h"

#include <vector>

#include <gtest/gtest.h>

#include "platform/rm/Animation.h"
#include "platform/rm/Frame.h"
#include "scene/SceneFixture.h"
#include "session/EditContext.h"
#include "session/KeyTimeRules.h"

namespace {

/// Playback with no window: a display that counts what it was asked to show.
class PlaybackWithoutWindowTest : public SceneFixture, public Playback::Display {
protected:
    void SetUp() override {
        context.Reset();
        g_animationLibrary = &store->Animations();
        set = MakeAnimation("walk.x", {{"armAnim", "Arm"}});
        arm = AnimationAt(set, 0);
        for (float t : {0.f, 10.f, 20.f}) {
            arm->AddPositionKey(t, t, 0, 0);
        }
        set->UpdateTotalKeyTimeBuffer();
        context.currentAnimation = set;
    }
    void TearDown() override { context.Reset(); }

    void RefreshTimeDisplay() override {
        ++refreshes;
        RecomputeKeyIndex(context);
    }
    void ReleasePlayButtons() override { ++releases; }
    int RefreshKeyRange(session::KeyTimeList keyTimes) override {
        if (keyTimes == session::KeyTimeList::Rebuild) {
            context.currentAnimation->UpdateTotalKeyTimeBuffer();
        }
        return 1;
    }

    /// Where the set put the Arm: its x is the posed time.
    float PosedTime() {
        rm::Vector position;
        arm->GetFrame()->GetPosition(arm->GetFrame()->GetParent(), &position);
        return position.x;
    }

    CAnimationData* set = nullptr;
    rm::Animation* arm = nullptr;
    int refreshes = 0;
    int releases = 0;
    session::EditContext context;
    Playback playback{context, *this};
};

TEST_F(PlaybackWithoutWindowTest, EveryMoveGoesToItsTimePosesThereAndShowsIt) {
    using Move = void (Playback::*)();
    const struct {
        float time;
        unsigned keyTime;
        unsigned keyIndex;
        Move move;
        float expected;
    } rows[] = {
        {19.8f, 19, 1, &Playback::StepForward, 0.0f},  // 20.3 is past the last key time
        {18.5f, 18, 1, &Playback::StepForward, 19.0f}, // inside
        {0.2f, 0, 0, &Playback::StepBack, 20.0f},      // -0.3 is before the first
        {10.0f, 10, 1, &Playback::PreviousKey, 0.0f},  // on a key: the one before
        {12.5f, 10, 1, &Playback::PreviousKey, 10.0f}, // between keys: the current one
        {12.5f, 10, 1, &Playback::NextKey, 20.0f},
        {20.0f, 20, 2, &Playback::NextKey, 20.0f}, // the last stays
        {7.0f, 7, 0, &Playback::FirstKey, 0.0f},
        {7.0f, 7, 0, &Playback::LastKey, 20.0f},
    };
    for (const auto& row : rows) {
        context.currentTime = row.time;
        context.keyTime = row.keyTime;
        context.keyIndex = row.keyIndex;
        const int before = refreshes;
        (playback.*row.move)();
        EXPECT_FLOAT_EQ(context.currentTime, row.expected) << row.time;
        EXPECT_EQ(context.keyTime, ToKeyTime(row.expected)) << row.time;
        EXPECT_FLOAT_EQ(set->m_time, row.expected) << row.time;
        EXPECT_FLOAT_EQ(PosedTime(), row.expected == 20.0f ? 0.0f : row.expected)
            << "a closed loop shows the first key on the last key time";
        EXPECT_EQ(refreshes, before + 1) << row.time;
    }
}

TEST_F(PlaybackWithoutWindowTest, PlayingLoopsToTheFirstKeyTimeAndStopDropsTheFraction) {
    playback.SetPlaySpeedIndex(2); // 1.0
    playback.TogglePlay(session::PlayState::PlayingCurrent);
    EXPECT_EQ(context.playState, session::PlayState::PlayingCurrent);
    context.currentTime = 19.5f;
    playback.Advance(1.0f);
    EXPECT_FLOAT_EQ(context.currentTime, 0.0f) << "20.5 is past 20: the first key time, not 0.5";
    playback.Advance(12.7f);
    EXPECT_NEAR(context.currentTime, 12.7f, 1e-5f);
    playback.JumpTo(3);
    EXPECT_NEAR(context.currentTime, 12.7f, 1e-5f) << "no jump while playing";

    playback.TogglePlay(session::PlayState::PlayingAll);
    EXPECT_EQ(context.playState, session::PlayState::Stopped);
    EXPECT_EQ(releases, 1);
    EXPECT_FLOAT_EQ(context.currentTime, 12.0f);
    EXPECT_EQ(context.keyTime, 12u);
    EXPECT_NEAR(PosedTime(), 12.7f, 1e-4f) << "stop does not pose again";
    playback.JumpTo(3);
    EXPECT_FLOAT_EQ(context.currentTime, 3.0f);

    playback.SetPlaySpeedIndex(9);
    EXPECT_FLOAT_EQ(playback.GetPlaySpeed(), 1.0f) << "an unknown entry changes nothing";
    playback.FollowPlayButtons(true, true);
    EXPECT_EQ(context.playState, session::PlayState::PlayingAll);
}

TEST_F(PlaybackWithoutWindowTest, PlayAllAdvancesSetsThatAreNotCurrentFromTheirOwnTime) {
    context.currentAnimation = nullptr;
    set->m_time = 19.0f;
    context.playState = session::PlayState::PlayingAll;
    playback.Advance(4.0f); // 0.5 × 4 = 2: 21 is past 20
    EXPECT_FLOAT_EQ(set->m_time, 0.0f);
    playback.Advance(4.0f);
    EXPECT_FLOAT_EQ(set->m_time, 2.0f);
    EXPECT_FLOAT_EQ(PosedTime(), 2.0f);
    EXPECT_EQ(refreshes, 0) << "only the current set's time is shown";
}

TEST_F(PlaybackWithoutWindowTest, TheTickClockGivesTheFrameStepAndCountsTicksOncePerSecond) {
    double now = 0;
    std::vector<int> sleeps;
    playback.SetTickServices([&] { return now; }, [&](int ms) { sleeps.push_back(ms); });
    now = 0.5;
    EXPECT_FLOAT_EQ(playback.MeasureTick(), 30.0f);
    EXPECT_EQ(context.fps, 0);
    now = 1.0;
    playback.MeasureTick();
    EXPECT_EQ(context.fps, 2);
    now = 1.5;
    playback.MeasureTick();
    EXPECT_EQ(context.fps, 2) << "the count changes at most once a second";
    playback.Pause(10);
    EXPECT_EQ(sleeps, std::vector<int>{10});
}

} // namespace
