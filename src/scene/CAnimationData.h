#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "scene/CAnimationSetBase.h"
#include "scene/CNameRecord.h"
#include "scene/ObjectList.h"

/// One animation of a character: an animation set whose animations each drive one part
/// of a model, the names its animations had in the file, the sorted list of its distinct
/// key times, and the key operations the editing commands use. Every key operation works
/// on all animations (all parts) and sees only keys at times >= 0. After any key
/// operation call UpdateTotalKeyTimeBuffer.
class CAnimationData : public CAnimationSetBase {
public:
    CAnimationData() = default;
    /// Frees the key-time list and the name records, unbinds and releases the set.
    ~CAnimationData() override;

    /// Loads the first animation set of a .x file into a new set. 0 for a null name, when
    /// a set exists already, a model is bound, or the load fails (reason in LastError()).
    int Load(const char* fileName);
    /// Takes a set loaded elsewhere (one of AnimationSet::LoadAll's), whose animations
    /// drive the frames below `frames`, and names frames and animations as Load does.
    /// 0 when `set` is null, a set exists already or a model is bound.
    int TakeLoadedSet(rm::Ref<rm::AnimationSet> set, rm::Frame* frames);
    /// Gives this object a new, empty set. 0 when one exists already or without g_d3drm.
    int CreateEmptySet();

    /// Records each animation's file name, then names as the base does.
    int NameAnimations() override;
    /// Puts back every animation's file name (before a save).
    int RestoreAnimationNames();
    /// Binds as the base does, then tells the model which animation drives each part.
    int Bind(CModelData* model) override;

    /// Rebuilds the key-time list: every distinct key time >= 0 of the set, increasing, at
    /// most 1024 (more shows a message once and keeps the 1024 smallest). 0 without a set.
    int UpdateTotalKeyTimeBuffer();
    unsigned KeyTimeCount() const { return unsigned(m_keyTimes.size()); }
    /// The key time at index; 0 when out of range.
    float KeyTime(int index) const;
    /// The key-time list as it stands, and putting back one taken earlier (undo and redo:
    /// a list some commands leave stale must come back stale).
    const std::vector<float>& KeyTimeList() const { return m_keyTimes; }
    void RestoreKeyTimeList(std::vector<float> times) { m_keyTimes = std::move(times); }

    /// Changes the gap between key times index and index + 1 to length: every key from
    /// key time index + 1 on moves by the same amount.
    int SetKeyInterval(int index, float length);
    /// Multiplies every key time between the first and the last key time so the span
    /// becomes length; keys whose new time is not whole are deleted.
    int ScaleToLength(float length);
    /// Deletes every key at time.
    int DeleteKeysAt(float time);
    /// Adds a rotation key at time, copied from the latest earlier one, to every part
    /// whose rotation keys all lie before time.
    int ExtendRotationKeys(float time);
    /// Replaces every part's keys at dstTime by copies of its keys at srcTime.
    int CopyKeys(float dstTime, float srcTime);
    /// Deletes the position keys at time (time < 0: all position keys).
    int DeletePositionKeys(float time);
    /// Scales the position keys at time (time < 0: all). 0 when a factor is 0.
    int ScalePositionKeys(float sx, float sy, float sz, float time);
    /// Adds delta to every key time.
    int ShiftKeyTimes(float delta);
    /// Reverses the set in time: every key at a time t >= 0 moves to first + last - t, first
    /// and last being the earliest and latest such key time of the whole set, so the motion
    /// plays backwards over the same span. Keys at negative times stay. 0 without a set or
    /// when it has no key at a time >= 0.
    int ReverseKeyTimes();

    const std::string& LastError() const { return m_lastError; }

private:
    /// Copies the keys of animation in [from, to] into m_keys (reused buffer).
    void FetchKeys(rm::Animation* animation, float from, float to);
    /// Adds delta to the time of every key at or after from.
    void MoveKeys(float from, float delta);
    void FreeNameRecords();

    ObjectList<CNameRecord> m_nameRecords;
    /// The key-time list; empty before the first build.
    std::vector<float> m_keyTimes;
    // Working buffers, kept between calls so the operations do not allocate each time.
    std::vector<rm::AnimationKey> m_keys;
    std::vector<float> m_timeScratch;
    std::vector<std::uint32_t> m_deletedIds; // reused by ScaleToLength
    std::string m_lastError;
};

/// Adds an entry to the animation library (named after fileName, made unique) and loads
/// the file's animation set into it. Null for a null name, without g_d3drm or the library,
/// or when the load fails (the entry is removed, the name counter restored, the reason in
/// *error when error is not null).
CAnimationData* LoadAnimation(const char* fileName, std::string* error = nullptr);
/// Every animation set of a file, in file order, each in an entry of its own (named by the
/// same rule: the first after fileName, the others with suffixes as another file of that
/// name would get). Empty for a null name, without g_d3drm or the library, or when the
/// load fails (nothing is added, the reason in *error when error is not null). *result
/// (may be null) gets the load's result: D3DRM_OK, D3DRMERR_NOTFOUND for a file without an
/// animation set, another failure for a file that cannot be read (D3DRMERR_BADVALUE when
/// the load was not tried).
std::vector<CAnimationData*> LoadAnimations(const char* fileName, std::string* error = nullptr,
                                            rm::HRESULT* result = nullptr);
/// Adds an entry named by the same rule holding a new empty set.
CAnimationData* NewAnimation(const char* name);
/// Removes data from the animation library and destroys it; 0 when it is not there.
int RemoveAnimation(CAnimationData* data);
