#include "app/Playback.h"

#include <algorithm>
#include <chrono>
#include <iterator>
#include <thread>

#include "app/AnimationSetChoice.h"
#include "app/KeyTimeRules.h"
#include "app/ProgramState.h"
#include "scene/AnimationLibrary.h"
#include "scene/CAnimationData.h"
#include "scene/CCharacterData.h"
#include "scene/CModelData.h"

namespace {

constexpr const auto& kPlaySpeeds = AnimationSetChoice::kFixedSpeeds;

/// Whether play-all advances `animation`: the sets of a character all drive its model, so
/// only its current one plays; a set no character holds plays as well.
bool IsPlayedInPlayAll(const CAnimationData* animation) {
    if (g_libraries == nullptr) {
        return true;
    }
    for (auto* entry = g_libraries->Characters().Head(); entry != nullptr; entry = entry->Next()) {
        const CCharacterData& character = entry->Payload();
        const auto sets = character.Animations();
        if (std::find(sets.begin(), sets.end(), animation) != sets.end()) {
            return character.m_current == animation;
        }
    }
    return true;
}

} // namespace

Playback::Playback(Display& display) : m_display(display) {
    m_clockOrigin = Now();
}

void Playback::SetPlaySpeedIndex(int index) {
    if (index >= 0 && index < static_cast<int>(std::size(kPlaySpeeds))) {
        m_playSpeed = kPlaySpeeds[index];
    }
}

void Playback::Stop() {
    m_display.ReleasePlayButtons();
    g_keyTime = ToKeyTime(g_currentTime);
    g_playState = 0;
    g_currentTime = static_cast<float>(g_keyTime);
    m_display.RefreshTimeDisplay();
}

void Playback::TogglePlay(int state) {
    if (g_playState > 0) {
        Stop();
        return;
    }
    g_playState = state;
    m_display.RefreshTimeDisplay();
}

void Playback::FollowPlayButtons(bool play, bool playAll) {
    g_playState = playAll ? 2 : play ? 1 : 0;
}

void Playback::Advance(float step) {
    if (g_playState == 2) {
        PlayAllStep(step);
    } else if (g_playState == 1 && g_currentAnimation != nullptr) {
        ShowTime(WrapPastLastKeyTime(g_currentAnimation, step * m_playSpeed + g_currentTime));
    }
}

void Playback::PlayAllStep(float step) {
    if (g_animationLibrary == nullptr) {
        return;
    }
    auto& entries = g_animationLibrary->Entries();
    entries.BeginWalk();
    while (auto* entry = entries.WalkNext()) {
        CAnimationData* animation = &entry->Payload();
        if (!IsPlayedInPlayAll(animation)) {
            continue;
        }
        const float base = animation->Set() != nullptr ? animation->m_time : -1.0f;
        const float time = WrapPastLastKeyTime(animation, step * m_playSpeed + base);
        PoseAnimation(animation, time);
        if (animation == g_currentAnimation) {
            g_currentTime = time;
            m_display.RefreshTimeDisplay();
        }
    }
}

void Playback::StepForward() {
    if (g_currentAnimation == nullptr) {
        return;
    }
    GoToTime(WrapPastLastKeyTime(g_currentAnimation, g_currentTime + m_playSpeed));
}

void Playback::StepBack() {
    if (g_currentAnimation == nullptr) {
        return;
    }
    float time = g_currentTime - m_playSpeed;
    if (time < FirstKeyTime(g_currentAnimation)) {
        time = LastKeyTime(g_currentAnimation);
    }
    GoToTime(time);
}

void Playback::PreviousKey() {
    if (g_currentAnimation == nullptr) {
        return;
    }
    // On the current key itself the previous one is meant; between keys, the current one.
    if (static_cast<float>(g_keyTime) == g_currentTime && g_keyIndex > 0) {
        --g_keyIndex;
    }
    GoToTime(
        static_cast<float>(ToKeyTime(g_currentAnimation->KeyTime(static_cast<int>(g_keyIndex)))));
}

void Playback::NextKey() {
    if (g_currentAnimation == nullptr) {
        return;
    }
    if (g_keyIndex + 1 < g_currentAnimation->KeyTimeCount()) {
        ++g_keyIndex;
    }
    GoToTime(
        static_cast<float>(ToKeyTime(g_currentAnimation->KeyTime(static_cast<int>(g_keyIndex)))));
}

void Playback::FirstKey() {
    if (g_currentAnimation != nullptr) {
        GoToTime(FirstKeyTime(g_currentAnimation));
    }
}

void Playback::LastKey() {
    if (g_currentAnimation != nullptr) {
        GoToTime(LastKeyTime(g_currentAnimation));
    }
}

void Playback::JumpTo(int position) {
    // Not while playing, where the next tick would move the time on anyway.
    if (g_currentAnimation == nullptr || g_playState != 0) {
        return;
    }
    ShowTime(static_cast<float>(position));
}

int Playback::SelectAnimationSet(int index) {
    if (g_currentCharacter == nullptr || index < 0 ||
        index >= static_cast<int>(g_currentCharacter->Animations().size())) {
        return 0;
    }
    if (g_currentCharacter->Animations()[std::size_t(index)] == g_currentAnimation) {
        return 1;
    }
    Stop();
    if (!g_currentCharacter->SelectAnimation(index)) {
        return 0;
    }
    g_currentAnimation = g_currentCharacter->m_current;
    m_display.RefreshKeyRange(1);
    g_keyIndex = 0;
    GoToTime(FirstKeyTime(g_currentAnimation));
    return 1;
}

void Playback::GoToTime(float time) {
    g_keyTime = ToKeyTime(time);
    ShowTime(time);
}

void Playback::ShowTime(float time) {
    g_currentTime = time;
    PoseAnimation(g_currentAnimation, time);
    m_display.RefreshTimeDisplay();
}

// ---------------------------------------------------------------------------------------
// The tick's clock.

double Playback::Now() const {
    if (m_clock) {
        return m_clock();
    }
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration<double>(since).count() - m_clockOrigin;
}

void Playback::SetTickServices(Clock clock, Sleep sleep) {
    m_clock = std::move(clock);
    m_sleep = std::move(sleep);
    if (!m_clock) {
        m_clockOrigin = 0;
        m_clockOrigin = Now();
    }
    m_previousTick = 0;
    m_lastFpsCount = 0;
    m_ticksSinceCount = 0;
}

float Playback::MeasureTick() {
    // Times stay in double precision: float seconds would quantise the frame step once the
    // program has run for a few hours.
    const double countTime = Now();
    ++m_ticksSinceCount;
    if (m_lastFpsCount + 1.0 <= countTime) {
        m_lastFpsCount = countTime;
        g_fps = m_ticksSinceCount;
        m_ticksSinceCount = 0;
    }
    const double now = Now();
    const double elapsed = now - m_previousTick;
    m_previousTick = now;
    g_frameStep = static_cast<float>(elapsed * 60.0);
    return g_frameStep;
}

void Playback::Pause(int milliseconds) {
    if (m_sleep) {
        m_sleep(milliseconds);
    } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
}
