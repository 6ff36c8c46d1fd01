#include "app/Playback.h"

#include <algorithm>
#include <chrono>
#include <iterator>
#include <thread>

#include "app/AnimationSetChoice.h"
#include "scene/AnimationLibrary.h"
#include "scene/CAnimationData.h"
#include "scene/CCharacterData.h"
#include "scene/CModelData.h"
#include "session/EditContext.h"
#include "session/KeyTimeRules.h"

namespace {

constexpr const auto& kPlaySpeeds = AnimationSetChoice::kFixedSpeeds;

/// Whether play-all advances `animation`: the sets of a character all drive its model, so
/// only its current one plays; a set no character holds plays as well.
bool IsPlayedInPlayAll(CObjectStore* libraries, const CAnimationData* animation) {
    if (libraries == nullptr) {
        return true;
    }
    for (auto* entry = libraries->Characters().Head(); entry != nullptr; entry = entry->Next()) {
        const CCharacterData& character = entry->Payload();
        const auto sets = character.Animations();
        if (std::find(sets.begin(), sets.end(), animation) != sets.end()) {
            return character.m_current == animation;
        }
    }
    return true;
}

} // namespace

Playback::Playback(session::EditContext& context, Display& display)
    : m_context(context), m_display(display) {
    m_clockOrigin = Now();
}

void Playback::SetPlaySpeedIndex(int index) {
    if (index >= 0 && index < static_cast<int>(std::size(kPlaySpeeds))) {
        m_playSpeed = kPlaySpeeds[index];
    }
}

void Playback::Stop() {
    m_display.ReleasePlayButtons();
    m_context.keyTime = ToKeyTime(m_context.currentTime);
    m_context.playState = session::PlayState::Stopped;
    m_context.currentTime = static_cast<float>(m_context.keyTime);
    m_display.RefreshTimeDisplay();
}

void Playback::TogglePlay(session::PlayState state) {
    if (m_context.playState != session::PlayState::Stopped) {
        Stop();
        return;
    }
    m_context.playState = state;
    m_display.RefreshTimeDisplay();
}

void Playback::FollowPlayButtons(bool play, bool playAll) {
    using session::PlayState;
    m_context.playState = playAll ? PlayState::PlayingAll
                          : play  ? PlayState::PlayingCurrent
                                  : PlayState::Stopped;
}

void Playback::Advance(float step) {
    if (m_context.playState == session::PlayState::PlayingAll) {
        PlayAllStep(step);
    } else if (m_context.playState == session::PlayState::PlayingCurrent &&
               m_context.currentAnimation != nullptr) {
        ShowTime(WrapPastLastKeyTime(m_context.currentAnimation,
                                     step * m_playSpeed + m_context.currentTime));
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
        if (!IsPlayedInPlayAll(m_context.libraries, animation)) {
            continue;
        }
        const float base = animation->Set() != nullptr ? animation->m_time : -1.0f;
        const float time = WrapPastLastKeyTime(animation, step * m_playSpeed + base);
        PoseAnimation(animation, time);
        if (animation == m_context.currentAnimation) {
            m_context.currentTime = time;
            m_display.RefreshTimeDisplay();
        }
    }
}

void Playback::StepForward() {
    if (m_context.currentAnimation == nullptr) {
        return;
    }
    GoToTime(WrapPastLastKeyTime(m_context.currentAnimation, m_context.currentTime + m_playSpeed));
}

void Playback::StepBack() {
    if (m_context.currentAnimation == nullptr) {
        return;
    }
    float time = m_context.currentTime - m_playSpeed;
    if (time < FirstKeyTime(m_context.currentAnimation)) {
        time = LastKeyTime(m_context.currentAnimation);
    }
    GoToTime(time);
}

void Playback::PreviousKey() {
    if (m_context.currentAnimation == nullptr) {
        return;
    }
    // On the current key itself the previous one is meant; between keys, the current one.
    if (static_cast<float>(m_context.keyTime) == m_context.currentTime && m_context.keyIndex > 0) {
        --m_context.keyIndex;
    }
    GoToTime(static_cast<float>(
        ToKeyTime(m_context.currentAnimation->KeyTime(static_cast<int>(m_context.keyIndex)))));
}

void Playback::NextKey() {
    if (m_context.currentAnimation == nullptr) {
        return;
    }
    if (m_context.keyIndex + 1 < m_context.currentAnimation->KeyTimeCount()) {
        ++m_context.keyIndex;
    }
    GoToTime(static_cast<float>(
        ToKeyTime(m_context.currentAnimation->KeyTime(static_cast<int>(m_context.keyIndex)))));
}

void Playback::FirstKey() {
    if (m_context.currentAnimation != nullptr) {
        GoToTime(FirstKeyTime(m_context.currentAnimation));
    }
}

void Playback::LastKey() {
    if (m_context.currentAnimation != nullptr) {
        GoToTime(LastKeyTime(m_context.currentAnimation));
    }
}

void Playback::JumpTo(int position) {
    // Not while playing, where the next tick would move the time on anyway.
    if (m_context.currentAnimation == nullptr ||
        m_context.playState != session::PlayState::Stopped) {
        return;
    }
    ShowTime(static_cast<float>(position));
}

int Playback::SelectAnimationSet(int index) {
    if (m_context.currentCharacter == nullptr || index < 0 ||
        index >= static_cast<int>(m_context.currentCharacter->Animations().size())) {
        return 0;
    }
    if (m_context.currentCharacter->Animations()[std::size_t(index)] ==
        m_context.currentAnimation) {
        return 1;
    }
    Stop();
    if (!m_context.currentCharacter->SelectAnimation(index)) {
        return 0;
    }
    m_context.currentAnimation = m_context.currentCharacter->m_current;
    m_display.RefreshKeyRange(session::KeyTimeList::Rebuild);
    m_context.keyIndex = 0;
    GoToTime(FirstKeyTime(m_context.currentAnimation));
    return 1;
}

void Playback::GoToTime(float time) {
    m_context.keyTime = ToKeyTime(time);
    ShowTime(time);
}

void Playback::ShowTime(float time) {
    m_context.currentTime = time;
    PoseAnimation(m_context.currentAnimation, time);
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
        m_context.fps = m_ticksSinceCount;
        m_ticksSinceCount = 0;
    }
    const double now = Now();
    const double elapsed = now - m_previousTick;
    m_previousTick = now;
    m_context.frameStep = static_cast<float>(elapsed * 60.0);
    return m_context.frameStep;
}

void Playback::Pause(int milliseconds) {
    if (m_sleep) {
        m_sleep(milliseconds);
    } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
}
