#include "platform/rm/Animation.h"

#include <algorithm>
#include <cmath>

#include "platform/rm/Math.h"

namespace rm {

namespace {

/// The bit of a key type in Animation::KeyTypes (none for a type out of range).
constexpr std::uint32_t TypeBit(std::uint32_t type) {
    return type < 32 ? 1u << type : 0;
}

} // namespace

Animation::Animation() : m_options(kDefaultAnimationOptions) {}
Animation::~Animation() = default;

HRESULT Animation::SetOptions(std::uint32_t options) {
    m_options = options;
    return D3DRM_OK;
}

HRESULT Animation::SetFrame(Frame* frame) {
    m_frame = frame;
    return D3DRM_OK;
}

std::uint64_t Animation::WatchKeys() {
    m_changedFirst = kToTheEnd;
    m_changedLast = 0;
    return ++m_watch;
}

std::optional<Animation::ChangedStretch> Animation::ChangedSince(std::uint64_t watch) const {
    if (watch != m_watch) {
        return std::nullopt;
    }
    if (m_changedFirst >= m_changedLast) {
        return ChangedStretch{};
    }
    const std::size_t n = m_keys.size();
    return ChangedStretch{std::min(m_changedFirst, n), std::min(m_changedLast, n)};
}

std::uint32_t Animation::KeyTypes() const {
    if (!m_typesKnown) {
        constexpr std::uint32_t kAll = TypeBit(D3DRMANIMATION_ROTATEKEY) |
                                       TypeBit(D3DRMANIMATION_SCALEKEY) |
                                       TypeBit(D3DRMANIMATION_POSITIONKEY);
        m_types = 0;
        for (auto key = m_keys.begin(); key != m_keys.end() && (m_types & kAll) != kAll; ++key) {
            m_types |= TypeBit(key->dwKeyType);
        }
        m_typesKnown = true;
    }
    return m_types;
}

void Animation::Insert(const AnimationKey& key) {
    // After every key of the same time, so equal times keep insertion order.
    auto it = std::upper_bound(m_keys.begin(), m_keys.end(), key.dvTime,
                               [](float time, const AnimationKey& k) { return time < k.dvTime; });
    Changed(std::size_t(it - m_keys.begin()), kToTheEnd);
    m_keys.insert(it, key);
    m_types |= TypeBit(key.dwKeyType);
}

std::uint32_t Animation::AddKeyOfType(std::uint32_t type, float time, const float* value, int n) {
    AnimationKey key;
    key.dwKeyType = type;
    key.dvTime = time;
    key.dwID = m_nextId++;
    float* dst = &key.dqRotateKey.s;
    std::copy_n(value, n, dst);
    Insert(key);
    return key.dwID;
}

HRESULT Animation::AddRotateKey(float time, const Quaternion& q) {
    const float v[4] = {q.s, q.v.x, q.v.y, q.v.z};
    AddKeyOfType(D3DRMANIMATION_ROTATEKEY, time, v, 4);
    return D3DRM_OK;
}

HRESULT Animation::AddScaleKey(float time, float x, float y, float z) {
    const float v[3] = {x, y, z};
    AddKeyOfType(D3DRMANIMATION_SCALEKEY, time, v, 3);
    return D3DRM_OK;
}

HRESULT Animation::AddPositionKey(float time, float x, float y, float z) {
    const float v[3] = {x, y, z};
    AddKeyOfType(D3DRMANIMATION_POSITIONKEY, time, v, 3);
    return D3DRM_OK;
}

HRESULT Animation::AddKey(AnimationKey* key) {
    if (!key || key->dwKeyType < D3DRMANIMATION_ROTATEKEY ||
        key->dwKeyType > D3DRMANIMATION_POSITIONKEY) {
        return D3DRMERR_BADVALUE;
    }
    const int n = key->dwKeyType == D3DRMANIMATION_ROTATEKEY ? 4 : 3;
    key->dwID = AddKeyOfType(key->dwKeyType, key->dvTime, &key->dqRotateKey.s, n);
    return D3DRM_OK;
}

HRESULT Animation::GetKeys(float timeMin, float timeMax, std::uint32_t* count,
                           AnimationKey* keys) const {
    if (!count) {
        return D3DRMERR_BADVALUE;
    }
    auto first =
        std::lower_bound(m_keys.begin(), m_keys.end(), timeMin,
                         [](const AnimationKey& k, float time) { return k.dvTime < time; });
    auto last = std::upper_bound(first, m_keys.end(), timeMax,
                                 [](float time, const AnimationKey& k) { return time < k.dvTime; });
    const auto n = std::uint32_t(timeMin <= timeMax ? last - first : 0);
    if (keys) {
        if (*count < n) {
            return D3DRMERR_BADVALUE;
        }
        std::copy(first, first + n, keys);
    }
    *count = n;
    return D3DRM_OK;
}

HRESULT Animation::ModifyKey(const AnimationKey* key) {
    if (!key) {
        return D3DRMERR_BADVALUE;
    }
    auto it = std::find_if(m_keys.begin(), m_keys.end(),
                           [&](const AnimationKey& k) { return k.dwID == key->dwID; });
    if (it == m_keys.end()) {
        return D3DRMERR_NOTFOUND;
    }
    if (it->dvTime == key->dvTime) {
        it->dqRotateKey = key->dqRotateKey; // same time: the key keeps its place
        Changed(std::size_t(it - m_keys.begin()), std::size_t(it - m_keys.begin()) + 1);
        return D3DRM_OK;
    }
    AnimationKey updated = *it;
    updated.dvTime = key->dvTime;
    updated.dqRotateKey = key->dqRotateKey;
    Changed(std::size_t(it - m_keys.begin()), kToTheEnd);
    m_keys.erase(it);
    Insert(updated);
    return D3DRM_OK;
}

HRESULT Animation::ModifyKeys(std::span<const AnimationKey> keys,
                              std::span<const std::uint32_t> deleted) {
    // Where each key goes: unmoved keys keep their order, a moved key follows every key at
    // its new time that did not move and the keys moved there before it. Scratch buffers
    // are kept between calls: the batch operations call this once per animation.
    struct Place {
        std::uint32_t order; // unmoved: index in m_keys; moved: index in `keys`
        bool moved;
        bool removed;
    };
    thread_local std::vector<Place> places;
    thread_local std::vector<std::uint32_t> byId;
    const std::size_t n = m_keys.size();
    places.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        places[i] = {std::uint32_t(i), false, false};
    }
    byId.clear();
    // Keys usually come in the order GetKeys handed them out, so the key after the last
    // one found is tried first; the search by identifier is built only when that fails.
    std::size_t next = 0;
    const auto find = [this, n, &next](std::uint32_t id) -> std::size_t {
        if (next < n && m_keys[next].dwID == id) {
            return next++;
        }
        // Keys handed in time order but with gaps (a few chosen keys): one walk on from the
        // last one found costs less than sorting every identifier.
        if (byId.empty()) {
            for (std::size_t i = next; i < n; ++i) {
                if (m_keys[i].dwID == id) {
                    next = i + 1;
                    return i;
                }
            }
        }
        if (byId.empty()) {
            byId.resize(n);
            for (std::size_t i = 0; i < n; ++i) {
                byId[i] = std::uint32_t(i);
            }
            std::sort(byId.begin(), byId.end(), [this](std::uint32_t a, std::uint32_t b) {
                return m_keys[a].dwID < m_keys[b].dwID;
            });
        }
        auto it = std::lower_bound(
            byId.begin(), byId.end(), id,
            [this](std::uint32_t i, std::uint32_t v) { return m_keys[i].dwID < v; });
        if (it == byId.end() || m_keys[*it].dwID != id) {
            return n;
        }
        next = *it + 1;
        return *it;
    };
    thread_local std::vector<std::size_t> movedAt;
    movedAt.clear();
    bool moved = false;
    bool removed = false;
    for (std::size_t k = 0; k < keys.size(); ++k) {
        const std::size_t i = find(keys[k].dwID);
        if (i == n) {
            continue;
        }
        AnimationKey& key = m_keys[i];
        Changed(i, i + 1);
        key.dqRotateKey = keys[k].dqRotateKey;
        if (key.dvTime != keys[k].dvTime) {
            key.dvTime = keys[k].dvTime;
            places[i] = {std::uint32_t(k), true, false};
            movedAt.push_back(i);
            moved = true;
        }
    }
    next = 0;
    for (std::uint32_t id : deleted) {
        const std::size_t i = find(id);
        if (i != n) {
            places[i].removed = true;
            removed = true;
        }
    }
    if (!moved && !removed) {
        return D3DRM_OK;
    }
    const auto before = [this](std::size_t a, std::size_t b) {
        const Place& p = places[a];
        const Place& q = places[b];
        if (m_keys[a].dvTime != m_keys[b].dvTime) {
            return m_keys[a].dvTime < m_keys[b].dvTime;
        }
        if (p.moved != q.moved) {
            return !p.moved;
        }
        return p.order < q.order;
    };
    // Uniform moves (every key shifted or scaled alike) leave the keys in order already.
    // Without removals only the neighbours of the moved keys need a look: the others kept
    // their times and their order.
    bool ordered = true;
    if (!removed) {
        for (const std::size_t i : movedAt) {
            if ((i > 0 && before(i, i - 1)) || (i + 1 < n && before(i + 1, i))) {
                ordered = false;
                break;
            }
        }
        if (ordered) {
            return D3DRM_OK;
        }
    }
    std::size_t last = n;
    for (std::size_t i = 0; i < n && ordered; ++i) {
        if (places[i].removed) {
            continue;
        }
        ordered = last == n || !before(i, last);
        last = i;
    }
    if (ordered && !removed) {
        return D3DRM_OK;
    }
    if (ordered) {
        std::size_t kept = 0;
        for (std::size_t i = 0; i < n; ++i) {
            if (!places[i].removed) {
                m_keys[kept++] = m_keys[i];
            }
        }
        m_keys.resize(kept);
        m_typesKnown = false;
        Changed(0, kToTheEnd);
        return D3DRM_OK;
    }
    std::vector<std::size_t> order;
    order.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        if (!places[i].removed) {
            order.push_back(i);
        }
    }
    std::sort(order.begin(), order.end(), before);
    std::vector<AnimationKey> sorted;
    sorted.reserve(order.size());
    for (std::size_t i : order) {
        sorted.push_back(m_keys[i]);
    }
    m_keys = std::move(sorted);
    m_typesKnown = false;
    Changed(0, kToTheEnd);
    return D3DRM_OK;
}

HRESULT Animation::DeleteKey(float time) {
    const auto before = m_keys.size();
    std::erase_if(m_keys, [time](const AnimationKey& k) { return k.dvTime == time; });
    m_typesKnown = false;
    Changed(0, kToTheEnd);
    return m_keys.size() == before ? D3DRMERR_NOTFOUND : D3DRM_OK;
}

HRESULT Animation::DeleteKeyByID(std::uint32_t id) {
    auto it = std::find_if(m_keys.begin(), m_keys.end(),
                           [id](const AnimationKey& k) { return k.dwID == id; });
    if (it == m_keys.end()) {
        return D3DRMERR_NOTFOUND;
    }
    Changed(std::size_t(it - m_keys.begin()), kToTheEnd);
    m_keys.erase(it);
    m_typesKnown = false;
    return D3DRM_OK;
}

std::size_t Animation::DeleteKeysOfType(std::uint32_t type, float timeMin, float timeMax) {
    m_typesKnown = false;
    Changed(0, kToTheEnd);
    return std::erase_if(m_keys, [=](const AnimationKey& k) {
        return k.dwKeyType == type && k.dvTime >= timeMin && k.dvTime <= timeMax;
    });
}

namespace {

/// Maps time into the key range: held at the ends (open) or wrapped (closed).
float KeyRangeTime(float time, float first, float last, bool closed) {
    if (closed && last > first) {
        float t = std::fmod(time - first, last - first);
        if (t < 0) {
            t += last - first;
        }
        return first + t;
    }
    return std::clamp(time, first, last);
}

Vector Lerp(const Vector& a, const Vector& b, float alpha) {
    return {a.x + (b.x - a.x) * alpha, a.y + (b.y - a.y) * alpha, a.z + (b.z - a.z) * alpha};
}

/// Catmull-Rom segment from p1 to p2.
Vector CatmullRom(const Vector& p0, const Vector& p1, const Vector& p2, const Vector& p3, float t) {
    const float t2 = t * t, t3 = t2 * t;
    auto f = [&](float a, float b, float c, float d) {
        return 0.5f * (2 * b + (-a + c) * t + (2 * a - 5 * b + 4 * c - d) * t2 +
                       (-a + 3 * b - 3 * c + d) * t3);
    };
    return {f(p0.x, p1.x, p2.x, p3.x), f(p0.y, p1.y, p2.y, p3.y), f(p0.z, p1.z, p2.z, p3.z)};
}

} // namespace

HRESULT Animation::SetTime(float time) {
    if (!m_frame) {
        return D3DRM_OK;
    }
    const bool closed = (m_options & D3DRMANIMATION_CLOSED) != 0;
    const bool scaleAndRotation = (m_options & D3DRMANIMATION_SCALEANDROTATION) != 0;
    const bool position = (m_options & D3DRMANIMATION_POSITION) != 0;
    const bool spline = (m_options & D3DRMANIMATION_SPLINEPOSITION) != 0 &&
                        (m_options & D3DRMANIMATION_LINEARPOSITION) == 0;

    bool haveRotation = false, haveScale = false, havePosition = false;
    Quaternion rotation;
    Vector scale{1, 1, 1}, translation;

    // The keys of one type are found among all keys, which are in time order: the segment
    // by one search over every key, its ends and neighbours of the same type by walking from
    // there (the types are interleaved, so the walks are short).
    constexpr std::size_t kNone = std::size_t(-1);
    const std::size_t n = m_keys.size();
    const auto nextOfType = [&](std::size_t from, std::uint32_t type) {
        for (std::size_t k = from; k < n; ++k) {
            if (m_keys[k].dwKeyType == type) {
                return k;
            }
        }
        return kNone;
    };
    const auto previousOfType = [&](std::size_t before, std::uint32_t type) {
        for (std::size_t k = before; k-- > 0;) {
            if (m_keys[k].dwKeyType == type) {
                return k;
            }
        }
        return kNone;
    };
    // The last key of `type` at or before `time` (within the key range), the next one of its
    // type (kNone at the end) and the blend factor between them; false without such keys.
    std::size_t i = 0;
    std::size_t next = kNone;
    float alpha = 0;
    const std::uint32_t types = KeyTypes();
    const auto locate = [&](std::uint32_t type) {
        if ((types & TypeBit(type)) == 0) {
            return false;
        }
        const std::size_t first = nextOfType(0, type);
        if (first == kNone) {
            return false;
        }
        const float t = KeyRangeTime(time, m_keys[first].dvTime,
                                     m_keys[previousOfType(n, type)].dvTime, closed);
        const auto after =
            std::upper_bound(m_keys.begin(), m_keys.end(), t,
                             [](float value, const AnimationKey& k) { return value < k.dvTime; });
        i = previousOfType(std::size_t(after - m_keys.begin()), type);
        if (i == kNone) {
            i = first;
        }
        next = nextOfType(i + 1, type);
        alpha = 0;
        if (next != kNone) {
            const float t0 = m_keys[i].dvTime, t1 = m_keys[next].dvTime;
            alpha = t1 > t0 ? (t - t0) / (t1 - t0) : 0;
        }
        return true;
    };

    if (scaleAndRotation && locate(D3DRMANIMATION_ROTATEKEY)) {
        const Quaternion a = m_keys[i].dqRotateKey;
        rotation = next != kNone ? QuaternionSlerp(a, m_keys[next].dqRotateKey, alpha)
                                 : QuaternionNormalize(a);
        haveRotation = true;
    }
    if (scaleAndRotation && locate(D3DRMANIMATION_SCALEKEY)) {
        const Vector a = m_keys[i].dvScaleKey;
        scale = next != kNone ? Lerp(a, m_keys[next].dvScaleKey, alpha) : a;
        haveScale = true;
    }
    if (position && locate(D3DRMANIMATION_POSITIONKEY)) {
        const Vector p1 = m_keys[i].dvPositionKey;
        if (next == kNone) {
            translation = p1;
        } else if (!spline) {
            translation = Lerp(p1, m_keys[next].dvPositionKey, alpha);
        } else {
            const std::size_t before = previousOfType(i, D3DRMANIMATION_POSITIONKEY);
            const std::size_t beyond = nextOfType(next + 1, D3DRMANIMATION_POSITIONKEY);
            const Vector p0 = m_keys[before != kNone ? before : i].dvPositionKey;
            const Vector p2 = m_keys[next].dvPositionKey;
            const Vector p3 = m_keys[beyond != kNone ? beyond : next].dvPositionKey;
            translation = CatmullRom(p0, p1, p2, p3, alpha);
        }
        havePosition = true;
    }
    // The pose is built on the model's rest transform: what the keys do not give comes
    // from it, so the rest itself never changes with the time.
    const Matrix4& rest = m_frame->GetRestTransform();
    if (!haveRotation && !haveScale) {
        Matrix4 pose = rest;
        if (havePosition) {
            pose.m[3][0] = translation.x;
            pose.m[3][1] = translation.y;
            pose.m[3][2] = translation.z;
        }
        m_frame->SetPose(pose);
        return D3DRM_OK;
    }
    if (!haveRotation || !haveScale) {
        const Decomposed own = DecomposeMatrix(rest);
        if (!haveRotation) {
            rotation = own.rotation;
        }
        if (!haveScale) {
            scale = own.scale;
        }
    }
    if (!havePosition) {
        translation = {rest.m[3][0], rest.m[3][1], rest.m[3][2]};
    }
    m_frame->SetPose(ComposeMatrix(scale, rotation, translation));
    return D3DRM_OK;
}

} // namespace rm
