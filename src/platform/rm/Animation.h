#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "platform/rm/Frame.h"
#include "platform/rm/Object.h"

namespace rm {

/// Keys of one frame's motion: rotation (quaternion), scale and position keys at float
/// times. Keys are kept sorted by time; keys of equal time keep the order they were
/// added in. Each key gets an identifier, handed out from 1 upwards per animation, by
/// which ModifyKey and DeleteKeyByID find it. The driven frame is held by reference.
class Animation : public Object {
public:
    Animation();
    ~Animation() override;
    const char* ClassName() const override { return "Animation"; }

    /// D3DRMANIMATION_* bits. New animations have kDefaultAnimationOptions (closed,
    /// linear position, scale-and-rotation and position).
    HRESULT SetOptions(std::uint32_t options);
    std::uint32_t GetOptions() const { return m_options; }

    HRESULT SetFrame(Frame* frame);
    /// The driven frame (a new reference), or null.
    Ref<Frame> GetFrame() const { return m_frame; }

    HRESULT AddRotateKey(float time, const Quaternion& q);
    HRESULT AddScaleKey(float time, float x, float y, float z);
    HRESULT AddPositionKey(float time, float x, float y, float z);
    /// Adds a key of key->dwKeyType (1..3) and writes the new identifier back into it.
    HRESULT AddKey(AnimationKey* key);

    /// Keys with time in [timeMin, timeMax], in time order. Two-call protocol: with a
    /// null buffer *count becomes the number of keys; with a buffer, *count must be at
    /// least that (else D3DRMERR_BADVALUE) and becomes the number written.
    HRESULT GetKeys(float timeMin, float timeMax, std::uint32_t* count, AnimationKey* keys) const;
    /// Replaces the time and value of the key with key->dwID (its type stays). A key whose
    /// time changes moves to its new place in time order, after keys already at that time;
    /// otherwise it keeps its place.
    HRESULT ModifyKey(const AnimationKey* key);
    /// Removes every key at exactly this time; D3DRMERR_NOTFOUND when there is none.
    HRESULT DeleteKey(float time);
    HRESULT DeleteKeyByID(std::uint32_t id);
    /// Removes every key of `type` (D3DRMANIMATION_*KEY) with time in [timeMin, timeMax]
    /// in one pass; the other keys keep their order. Returns how many went.
    std::size_t DeleteKeysOfType(std::uint32_t type, float timeMin, float timeMax);
    /// ModifyKey for each of `keys` in order, then DeleteKeyByID for each of `deleted`, in
    /// one pass: the keys end up exactly where those calls would put them (a key whose time
    /// changes goes after the keys already at its new time, in the order of `keys`). Keys
    /// whose identifier is not found are skipped. n log n in the number of keys, where the
    /// single calls take n each.
    HRESULT ModifyKeys(std::span<const AnimationKey> keys,
                       std::span<const std::uint32_t> deleted = {});
    /// All keys, in time order (no copy).
    const std::vector<AnimationKey>& Keys() const { return m_keys; }
    /// The identifier the next added key gets.
    std::uint32_t NextKeyId() const { return m_nextId; }
    /// Puts back keys taken with Keys() and NextKeyId() earlier (undo and redo): `keys`
    /// must be in time order as Keys() gave them; identifiers are kept as they are.
    void RestoreKeys(std::vector<AnimationKey> keys, std::uint32_t nextId) {
        m_keys = std::move(keys);
        m_nextId = nextId;
        m_typesKnown = false;
        Changed(0, kToTheEnd);
    }

    /// Where the keys changed since a watch started (for undo pictures, which then compare
    /// only there): outside [first, last) of Keys() the keys are those of the start, at the
    /// same places (last is the end when the count changed).
    struct ChangedStretch {
        std::size_t first = 0;
        std::size_t last = 0;
    };
    /// Starts a watch of the keys (ending the one before) and returns its number.
    std::uint64_t WatchKeys();
    /// The stretch changed since `watch` started; nothing when another watch started since.
    std::optional<ChangedStretch> ChangedSince(std::uint64_t watch) const;

    /// Poses the frame for `time` (Frame::SetPose; its rest transform stays): each
    /// component the options allow and the animation has keys for is interpolated (slerp
    /// for rotation, linear or spline for position, linear for scale); the others are the
    /// frame's rest transform's, and without keys the pose is the rest. Before the first or
    /// after the last key an open animation holds the end value; a closed one wraps
    /// around its key range.
    HRESULT SetTime(float time);

private:
    std::uint32_t AddKeyOfType(std::uint32_t type, float time, const float* value, int n);
    void Insert(const AnimationKey& key);
    static constexpr std::size_t kToTheEnd = std::size_t(-1);
    /// Widens the stretch changed since the watch to [first, last) (kToTheEnd: to the end).
    void Changed(std::size_t first, std::size_t last) {
        m_changedFirst = std::min(m_changedFirst, first);
        m_changedLast = std::max(m_changedLast, last);
    }
    /// Bit 1 << type for each key type the animation has keys of.
    std::uint32_t KeyTypes() const;

    std::vector<AnimationKey> m_keys;
    std::uint32_t m_nextId = 1;
    std::uint32_t m_options;
    Ref<Frame> m_frame;
    // KeyTypes, kept up to date by additions and found again after a removal.
    mutable std::uint32_t m_types = 0;
    mutable bool m_typesKnown = true;
    // The watch of WatchKeys and what changed since it started (nothing: first past last).
    std::uint64_t m_watch = 0;
    std::size_t m_changedFirst = kToTheEnd;
    std::size_t m_changedLast = 0;
};

} // namespace rm
