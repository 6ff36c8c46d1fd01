#include "scene/CAnimationData.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <span>

#include "platform/rm/Context.h"
#include "platform/rm/Math.h"
#include "platform/rm/XFileLoader.h"
#include "scene/CModelData.h"
#include "scene/PartNaming.h"
#include "scene/RecordLinks.h"
#include "scene/SceneContext.h"
#include "scene/SceneMessages.h"

namespace {
constexpr unsigned kMaxKeyTimes = 1024;
constexpr char kTooManyKeyTimes[] = QT_TRANSLATE_NOOP(
    "Pavrix", "CAnimationData:UpdateTotalKeyTimeBuffer\nトータルキーの数が最大許容値を越えました");
} // namespace

CAnimationData::~CAnimationData() {
    m_keyTimes.clear();
    FreeNameRecords();
    Unbind();
    m_set.Reset();
}

void CAnimationData::FreeNameRecords() {
    // Take each record out of its animation first so no animation keeps a freed pointer.
    if (m_set) {
        ClearLinkedRecords(m_set->Animations(), m_nameRecords);
    }
    m_nameRecords.Clear();
}

int CAnimationData::Load(const char* fileName) {
    m_lastError.clear();
    if (!fileName || m_set || m_model) {
        return 0;
    }
    if (!g_d3drm) {
        m_lastError = "no scene to load into";
        return 0;
    }
    rm::Ref<rm::Frame> parent;
    rm::Ref<rm::AnimationSet> set;
    g_d3drm->CreateFrame(nullptr, &parent);
    g_d3drm->CreateAnimationSet(&set);
    if (!parent || !set || rm::Failed(set->Load(fileName, parent.Get()))) {
        m_lastError = rm::GetLastLoadMessage();
        return 0;
    }
    return TakeLoadedSet(std::move(set), parent.Get());
}

int CAnimationData::TakeLoadedSet(rm::Ref<rm::AnimationSet> set, rm::Frame* frames) {
    if (!set || m_set || m_model) {
        return 0;
    }
    m_set = std::move(set);
    if (frames) {
        scene::NameFrameTree(frames, scene::FrameOrigin::AnimationSetLoad, nullptr);
    }
    m_tempNameCount = 0;
    NameAnimations();
    GetTimeRange(nullptr, nullptr, 1);
    // The frames the file made stay alive while the animations refer to them.
    return 1;
}

int CAnimationData::CreateEmptySet() {
    if (m_set || !g_d3drm) {
        return 0;
    }
    return rm::Succeeded(g_d3drm->CreateAnimationSet(&m_set)) ? 1 : 0;
}

int CAnimationData::NameAnimations() {
    if (!m_set) {
        return 0;
    }
    for (const auto& animation : m_set->Animations()) {
        if (animation->HasName()) {
            CNameRecord* record = m_nameRecords.Add();
            record->name = animation->Name();
            animation->SetAppData(reinterpret_cast<std::uintptr_t>(record));
        }
    }
    return CAnimationSetBase::NameAnimations();
}

int CAnimationData::RestoreAnimationNames() {
    if (!m_set) {
        return 0;
    }
    for (const auto& animation : m_set->Animations()) {
        auto* record = reinterpret_cast<CNameRecord*>(animation->GetAppData());
        if (record) {
            animation->SetName(record->name.c_str());
            animation->SetAppData(0);
            m_nameRecords.Remove(record);
        } else {
            animation->SetName(nullptr);
        }
    }
    return 1;
}

int CAnimationData::Bind(CModelData* model) {
    if (!CAnimationSetBase::Bind(model)) {
        return 0;
    }
    model->RecordPartAnimations(m_set.Get());
    return 1;
}

void CAnimationData::FetchKeys(rm::Animation* animation, float from, float to) {
    std::uint32_t count = 0;
    animation->GetKeys(from, to, &count, nullptr);
    m_keys.resize(count);
    if (count) {
        animation->GetKeys(from, to, &count, m_keys.data());
    }
    m_keys.resize(count);
}

void CAnimationData::MoveKeys(float from, float delta) {
    for (const auto& animation : m_set->Animations()) {
        FetchKeys(animation.Get(), from, FLT_MAX);
        for (auto& key : m_keys) {
            key.dvTime += delta;
        }
        // One pass per animation: key by key, moving each would be quadratic.
        animation->ModifyKeys(m_keys);
    }
}

int CAnimationData::UpdateTotalKeyTimeBuffer() {
    if (!m_set) {
        return 0;
    }
    // Each animation hands out its keys in time order, so its times are merged into the list
    // so far on the way, dropping repeats. The list never grows past the 1024 smallest times:
    // the smallest times of all parts are among the smallest of those merged so far.
    m_keyTimes.clear();
    bool tooMany = false;
    // Parts are mostly keyed at the same times: an animation whose times are all listed
    // already changes nothing, and reading them costs less than merging them.
    const auto listedAlready = [this](const std::vector<rm::AnimationKey>& keys) {
        auto listed = m_keyTimes.begin();
        for (const rm::AnimationKey& key : keys) {
            if (!(key.dvTime >= 0)) {
                continue;
            }
            while (listed != m_keyTimes.end() && *listed < key.dvTime) {
                ++listed;
            }
            if (listed == m_keyTimes.end() || *listed != key.dvTime) {
                return false;
            }
        }
        return true;
    };
    for (const auto& animation : m_set->Animations()) {
        const auto& keys = animation->Keys();
        if (!m_keyTimes.empty() && listedAlready(keys)) {
            continue;
        }
        auto key = keys.begin();
        auto listed = m_keyTimes.begin();
        m_timeScratch.clear();
        while (m_timeScratch.size() <= kMaxKeyTimes) {
            while (key != keys.end() && !(key->dvTime >= 0)) {
                ++key;
            }
            float next = 0;
            if (key != keys.end() && (listed == m_keyTimes.end() || key->dvTime < *listed)) {
                next = (key++)->dvTime;
            } else if (listed != m_keyTimes.end()) {
                next = *listed++;
            } else {
                break;
            }
            if (m_timeScratch.empty() || next != m_timeScratch.back()) {
                m_timeScratch.push_back(next);
            }
        }
        if (m_timeScratch.size() > kMaxKeyTimes) {
            tooMany = true;
            m_timeScratch.resize(kMaxKeyTimes);
        }
        m_keyTimes.swap(m_timeScratch);
    }
    if (tooMany) {
        scene::ShowMessage(kTooManyKeyTimes);
    }
    return 1;
}

float CAnimationData::KeyTime(int index) const {
    if (index < 0 || std::size_t(index) >= m_keyTimes.size()) {
        return 0;
    }
    return m_keyTimes[std::size_t(index)];
}

int CAnimationData::SetKeyInterval(int index, float length) {
    if (!m_set || index < 0 || length <= 0 || unsigned(index) + 1 >= KeyTimeCount()) {
        return 0;
    }
    const float t0 = KeyTime(index);
    const float t1 = KeyTime(index + 1);
    const float delta = length - (t1 - t0);
    if (delta == 0) {
        return 1;
    }
    MoveKeys(t1, delta);
    return 1;
}

namespace {

// fmod(t, 1.0) == 0 without a library call per key: from 2^24 on every float is whole.
bool IsWholeNumber(float t) {
    if (!std::isfinite(t)) {
        return false;
    }
    return std::fabs(t) >= 16777216.0f || float(std::int32_t(t)) == t;
}

} // namespace

int CAnimationData::ScaleToLength(float length) {
    if (!m_set || length <= 0) {
        return 0;
    }
    const float first = m_keyTimes.empty() ? 0 : m_keyTimes.front();
    const float last = m_keyTimes.empty() ? 0 : m_keyTimes.back();
    const float span = last - first;
    if (!(span > 0)) {
        return 0;
    }
    const float factor = length / span;
    if (!(factor > 0)) {
        return 0;
    }
    for (const auto& animation : m_set->Animations()) {
        FetchKeys(animation.Get(), first, last);
        m_deletedIds.clear();
        std::size_t kept = 0;
        for (auto& key : m_keys) {
            const float t = factor * key.dvTime;
            if (IsWholeNumber(t)) {
                key.dvTime = t;
                if (&m_keys[kept] != &key) {
                    m_keys[kept] = key;
                }
                ++kept;
            } else {
                m_deletedIds.push_back(key.dwID);
            }
        }
        // One pass per animation: key by key, moving each would be quadratic.
        animation->ModifyKeys(std::span(m_keys.data(), kept), m_deletedIds);
    }
    return 1;
}

int CAnimationData::DeleteKeysAt(float time) {
    if (!m_set) {
        return 0;
    }
    for (const auto& animation : m_set->Animations()) {
        animation->DeleteKey(time);
    }
    return 1;
}

int CAnimationData::ExtendRotationKeys(float time) {
    if (!m_set) {
        return 0;
    }
    for (const auto& animation : m_set->Animations()) {
        FetchKeys(animation.Get(), 0, FLT_MAX);
        bool hasRotation = false, reaches = false;
        const rm::AnimationKey* best = nullptr;
        float bestTime = -1.0f;
        for (const auto& key : m_keys) {
            if (key.dwKeyType != rm::D3DRMANIMATION_ROTATEKEY) {
                continue;
            }
            hasRotation = true;
            if (key.dvTime >= time) {
                reaches = true;
                break;
            }
            if (key.dvTime > bestTime) {
                bestTime = key.dvTime;
                best = &key;
            }
        }
        if (!hasRotation || reaches) {
            continue;
        }
        const rm::Quaternion q =
            best ? best->dqRotateKey : rm::QuaternionFromRotation({0, 0, 1}, 0);
        animation->AddRotateKey(time, q);
    }
    return 1;
}

int CAnimationData::CopyKeys(float dstTime, float srcTime) {
    if (!m_set) {
        return 0;
    }
    if (dstTime == srcTime) {
        return 1;
    }
    for (const auto& animation : m_set->Animations()) {
        animation->DeleteKey(dstTime);
        FetchKeys(animation.Get(), srcTime, srcTime);
        for (const auto& key : m_keys) {
            switch (key.dwKeyType) {
            case rm::D3DRMANIMATION_ROTATEKEY:
                animation->AddRotateKey(dstTime, key.dqRotateKey);
                break;
            case rm::D3DRMANIMATION_SCALEKEY:
                animation->AddScaleKey(dstTime, key.dvScaleKey.x, key.dvScaleKey.y,
                                       key.dvScaleKey.z);
                break;
            case rm::D3DRMANIMATION_POSITIONKEY:
                animation->AddPositionKey(dstTime, key.dvPositionKey.x, key.dvPositionKey.y,
                                          key.dvPositionKey.z);
                break;
            default:
                break;
            }
        }
    }
    return 1;
}

int CAnimationData::DeletePositionKeys(float time) {
    if (!m_set) {
        return 0;
    }
    const float from = time < 0 ? 0 : time;
    const float to = time < 0 ? FLT_MAX : time;
    for (const auto& animation : m_set->Animations()) {
        animation->DeleteKeysOfType(rm::D3DRMANIMATION_POSITIONKEY, from, to);
    }
    return 1;
}

int CAnimationData::ScalePositionKeys(float sx, float sy, float sz, float time) {
    if (!m_set || sx == 0 || sy == 0 || sz == 0) {
        return 0;
    }
    const float from = time < 0 ? 0 : time;
    const float to = time < 0 ? FLT_MAX : time;
    for (const auto& animation : m_set->Animations()) {
        FetchKeys(animation.Get(), from, to);
        for (auto& key : m_keys) {
            if (key.dwKeyType == rm::D3DRMANIMATION_POSITIONKEY) {
                key.dvPositionKey.x *= sx;
                key.dvPositionKey.y *= sy;
                key.dvPositionKey.z *= sz;
            }
        }
        animation->ModifyKeys(m_keys);
    }
    return 1;
}

int CAnimationData::ReverseKeyTimes() {
    if (!m_set) {
        return 0;
    }
    float first = FLT_MAX;
    float last = -1;
    for (const auto& animation : m_set->Animations()) {
        for (const auto& key : animation->Keys()) {
            if (key.dvTime >= 0) {
                first = std::min(first, key.dvTime);
                last = std::max(last, key.dvTime);
            }
        }
    }
    if (last < 0) {
        return 0;
    }
    for (const auto& animation : m_set->Animations()) {
        m_keys = animation->Keys();
        for (auto& key : m_keys) {
            if (key.dvTime >= 0) {
                key.dvTime = first + last - key.dvTime;
            }
        }
        // Keys sharing a time keep their order, so reversing twice gives the same list.
        std::stable_sort(m_keys.begin(), m_keys.end(),
                         [](const rm::AnimationKey& a, const rm::AnimationKey& b) {
                             return a.dvTime < b.dvTime;
                         });
        animation->RestoreKeys(m_keys, animation->NextKeyId());
    }
    return 1;
}

int CAnimationData::ShiftKeyTimes(float delta) {
    if (!m_set) {
        return 0;
    }
    MoveKeys(0, delta);
    return 1;
}

CAnimationData* LoadAnimation(const char* fileName, std::string* error) {
    return LoadLibraryFile<CAnimationData>(g_animationLibrary, g_d3drm != nullptr, fileName, error,
                                           &CAnimationData::Load);
}

std::vector<CAnimationData*> LoadAnimations(const char* fileName, std::string* error,
                                            rm::HRESULT* result) {
    if (result) {
        *result = rm::D3DRMERR_BADVALUE;
    }
    std::vector<CAnimationData*> added;
    if (!fileName || !g_d3drm || !g_animationLibrary) {
        if (error) {
            *error = "no scene to load into";
        }
        return added;
    }
    std::vector<rm::AnimationSet::Loaded> sets;
    const rm::HRESULT loaded = rm::AnimationSet::LoadAll(fileName, &sets);
    if (result) {
        *result = loaded;
    }
    if (rm::Failed(loaded)) {
        if (error) {
            *error = rm::GetLastLoadMessage();
        }
        return added;
    }
    struct Added {
        CAnimationData* data;
        bool raised;
    };
    std::vector<Added> entries;
    entries.reserve(sets.size());
    for (auto& loaded : sets) {
        bool raised = false;
        CAnimationData* data = g_animationLibrary->AddEntryFor(fileName, &raised);
        data->TakeLoadedSet(std::move(loaded.set), loaded.frames.Get());
        entries.push_back({data, raised});
    }
    added.reserve(entries.size());
    for (const Added& entry : entries) {
        added.push_back(entry.data);
    }
    return added;
}

CAnimationData* NewAnimation(const char* name) {
    if (!g_d3drm || !g_animationLibrary) {
        return nullptr;
    }
    bool raised = false;
    CAnimationData* data = g_animationLibrary->AddEntryFor(name, &raised);
    if (data && !data->CreateEmptySet()) {
        g_animationLibrary->DiscardEntry(data, raised);
        return nullptr;
    }
    return data;
}

int RemoveAnimation(CAnimationData* data) {
    if (!g_animationLibrary) {
        return 0;
    }
    return g_animationLibrary->Entries().Remove(data);
}
