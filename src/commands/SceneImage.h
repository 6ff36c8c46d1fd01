#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "commands/ArrayDifference.h"
#include "platform/rm/Animation.h"
#include "platform/rm/Frame.h"
#include "platform/rm/MeshSkin.h"
#include "platform/rm/Ref.h"
#include "platform/rm/Visual.h"

class CAnimationData;
class CCharacterData;
class CModelData;

namespace session {
class EditContext;
} // namespace session

/// A picture of what an edit may change, taken before or after it; two pictures of the same
/// objects make the SceneChange an undo step keeps. It holds a reference to every object it
/// names, so nothing it names goes away while the picture lives.
///
/// Always part of it: the current character, model and animation set, the time (current
/// time, key time, key index) and the current set's own time, range and key-time list.
/// The rest is taken on request: a model's frames, animation sets (which animations they
/// hold and all of those), single animations, and a model's meshes.
class SceneImage {
public:
    /// What two pictures of the same objects differ in.
    struct Differences {
        bool frames = false;
        bool animations = false;
        bool meshes = false;
    };

    /// The current pointers and the time of `context` (see the class comment), which the
    /// picture remembers: a step writes them back into that context. Called by every capture.
    void CaptureCurrent(session::EditContext& context);
    /// Every frame of the tree under `root` (root included), depth first: its parent, the
    /// order of its children, its pose and rest matrices, its name and its part record (base name,
    /// file name, animation). The root is not moved from its own parent on restore.
    void CaptureFrames(rm::Frame* root);
    /// The animations `set` holds, in order, and each of them (CaptureAnimation).
    void CaptureSet(CAnimationData* set);
    /// One animation: options, keys, next key identifier, name and driven frame. Nothing
    /// for null or an animation taken already.
    void CaptureAnimation(rm::Animation* animation);
    /// Every mesh builder (positions and skin weights) and mesh (vertices of every group)
    /// shown by the frames under `root`.
    void CaptureMeshes(rm::Frame* root);

    /// Pictures in `after` what of the objects `before` names has changed since `before`
    /// was taken (animations and meshes), with the frames, the sets' animations as the
    /// sets hold them now (an animation added since is taken too) and the time; drops from
    /// `before` the animations and meshes that did not change, so a step keeps only what
    /// changed. Says what differs.
    static Differences TakeAfter(SceneImage& before, SceneImage* after);

    /// Whether the picture holds frames (of `root`'s tree) or `set`.
    bool HasFrames(const rm::Frame* root) const;
    /// A picture of the frames of the tree this one pictured, as they are now (empty when
    /// it pictured none).
    SceneImage FramesNow() const;
    /// This picture's frames alone, moved out: what FramesNow gives while nothing changed
    /// since this picture was taken, without taking them again.
    SceneImage FramesOnly() &&;
    bool HasSet(const CAnimationData* set) const;
    bool HasAnimation(const rm::Animation* animation) const;

private:
    friend class SceneChange;

    /// The current pointers and the time.
    struct Current {
        session::EditContext* context = nullptr; // borrowed; where the rest was taken
        CCharacterData* character = nullptr;
        CModelData* model = nullptr;
        CAnimationData* animation = nullptr;
        float currentTime = 0;
        unsigned keyTime = 0;
        unsigned keyIndex = 0;
        float setTime = 0;
        float firstTime = 0;
        float lastTime = 0;
    };
    /// The matrices of a frame, compared and written back together (one memcmp).
    struct FrameMatrices {
        rm::Matrix4 local; // the pose
        rm::Matrix4 rest;
        bool operator==(const FrameMatrices& other) const;
        static FrameMatrices Of(const rm::Frame* frame);
        void WriteTo(rm::Frame* frame) const;
    };
    /// Where a frame sits in the tree and what it is called.
    struct FrameShape {
        rm::Frame* parent = nullptr; // compared only, never followed
        std::vector<rm::Ref<rm::Frame>> children;
        std::string name;
        bool hasRecord = false;
        std::optional<std::string> baseName;
        std::optional<std::string> fileName;
        rm::Animation* animation = nullptr;
        bool operator==(const FrameShape& other) const;
        static FrameShape Of(rm::Frame* frame);
        /// Puts the children back in order, the name and the part record.
        void WriteTo(rm::Frame* frame) const;
        std::size_t Bytes() const;
    };
    struct FrameEntry {
        rm::Ref<rm::Frame> frame;
        FrameShape shape;
        FrameMatrices matrices;
    };
    struct SetEntry {
        CAnimationData* data = nullptr; // owned by the animation library
        std::vector<rm::Ref<rm::Animation>> animations;
        /// Makes the set hold exactly `animations`, in order.
        void WriteBack() const;
    };
    /// What of an animation is not its keys.
    struct AnimationState {
        std::uint32_t options = 0;
        std::uint32_t nextId = 1;
        std::string name;
        rm::Ref<rm::Frame> frame;
        bool operator==(const AnimationState& other) const;
    };
    /// Before an edit: the state and every key. After it (TakeAfter): the state and how the
    /// keys differ from the picture before; the keys themselves are never copied twice.
    struct AnimationEntry {
        rm::Ref<rm::Animation> animation;
        AnimationState state;
        std::vector<rm::AnimationKey> keys;
        std::uint64_t watch = 0; // the animation's watch of its keys since they were taken
        ArrayDifference<rm::AnimationKey> keysChange;
    };
    struct MeshEntry {
        rm::Ref<rm::Visual> visual;
        std::vector<rm::Vector> positions;
        rm::MeshSkin skin;
        std::vector<std::vector<rm::MeshVertex>> groups;
        bool operator==(const MeshEntry& other) const;
    };

    /// The animation's state, with its keys when `withKeys`.
    static AnimationEntry Take(rm::Animation* animation, bool withKeys);
    static MeshEntry Take(rm::Visual* visual);
    /// Whether two skins are the same, their bones' offset matrices compared or not.
    static bool SameSkin(const rm::MeshSkin& a, const rm::MeshSkin& b, bool offsets = true);
    static std::size_t SkinBytes(const rm::MeshSkin& skin);

    Current m_current;
    std::vector<float> m_keyTimes;

    rm::Ref<rm::Frame> m_frameRoot;
    std::vector<FrameEntry> m_frames;
    std::vector<SetEntry> m_sets;
    std::vector<AnimationEntry> m_animations;
    rm::Ref<rm::Frame> m_meshRoot;
    std::vector<MeshEntry> m_meshes;
};
