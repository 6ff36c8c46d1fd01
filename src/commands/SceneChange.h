#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

#include "commands/ArrayDifference.h"
#include "commands/ScaledLanes.h"
#include "commands/SceneImage.h"

/// What one edit changed: the difference between the pictures taken before and after it
/// (SceneImage), written back in either direction into the very objects it was taken from
/// (frames, animations and meshes keep their identity, so the selection, the part records
/// and the bindings that point at them stay valid).
///
/// It keeps only what differs: of each animation the runs of keys that differ, of each frame
/// its matrices when they differ and its place, name and part record when those differ, of
/// each mesh the runs of vertices that differ, of the key-time list the times that differ;
/// the time and the current pointers always (a few bytes). So turning one part of a large
/// character costs the one key and the one matrix, both ways. Values changed as a whole
/// (a model scaled: every vertex, position key and frame) are kept as how one version
/// follows from the other (ScaledLanes): keys and vertices made from those the objects hold
/// then, frames from the matrices kept of the other side, as their pose changes between
/// steps; of a skin whose offset matrices alone changed, the offsets.
///
/// Undo expects the objects as they were after the edit and leaves them as before it; Redo
/// the other way round. The change holds a reference to every object it names.
class SceneChange {
public:
    SceneChange() = default;
    /// The change from `before` to `after`: pictures of the same subject, `after` made by
    /// SceneImage::TakeAfter from `before`. `previous` (may be null) pictures the frames as
    /// the step before left them: frames that changed between it and `before` (a pose taken
    /// between edits) are kept too, with their values from `previous` on the side before,
    /// so that undoing this step and the one before gives back that one's state exactly.
    static SceneChange Between(const SceneImage& before, const SceneImage& after,
                               const SceneImage* previous = nullptr);

    void Undo() const { Apply(false); }
    void Redo() const { Apply(true); }

    /// Bytes held (keys, matrices, names, vertices, weights, times, and the records around
    /// them).
    std::size_t Bytes() const;

private:
    template <typename T>
    struct Sides {
        T before;
        T after;
        const T& To(bool forward) const { return forward ? after : before; }
    };
    struct Shape {
        rm::Ref<rm::Frame> frame;
        SceneImage::FrameShape shape;
    };
    struct Matrices {
        rm::Ref<rm::Frame> frame;
        SceneImage::FrameMatrices matrices;
    };
    /// The frames on both sides whose matrices differ: the matrices after, and those before
    /// as they follow from them (a model scaled) or, where they do not, as they were. Made
    /// from what is kept, never from the frames, whose pose changes between steps.
    struct MovedFrames {
        std::vector<rm::Ref<rm::Frame>> frames;
        std::vector<SceneImage::FrameMatrices> after;
        std::vector<SceneImage::FrameMatrices> before; // empty when `relation` makes them
        std::unique_ptr<const ScaledLanes> relation;
        /// Moves the matrices before out into `relation` where that holds fewer bytes.
        void Relate();
        void Apply(bool forward) const;
        std::size_t Bytes() const;
    };
    struct AnimationChange {
        rm::Ref<rm::Animation> animation;
        Sides<SceneImage::AnimationState> state;
        ArrayDifference<rm::AnimationKey> keys;
    };
    /// How a mesh's skin changed: its bones' offset matrices alone where nothing else of it
    /// did (a model scaled), else the whole of it.
    struct SkinChange {
        Sides<std::vector<rm::Matrix4>> offsets;
        std::optional<Sides<rm::MeshSkin>> whole;
        std::size_t Bytes() const;
    };
    struct MeshChange {
        rm::Ref<rm::Visual> visual;
        ArrayDifference<rm::Vector> positions;
        std::shared_ptr<const SkinChange> skin; // null: the same
        std::vector<ArrayDifference<rm::MeshVertex>> groups;
    };

    void Apply(bool forward) const;
    static void ApplyMesh(const MeshChange& change, bool forward);
    static void SetCurrent(const SceneImage::Current& current);

    Sides<SceneImage::Current> m_current;
    ArrayDifference<float> m_keyTimes;
    // Frames whose place, name or part record differ, each side in its own tree order: a
    // frame's parent is in place before the frame is put under it.
    Sides<std::vector<Shape>> m_shapes;
    // Frames on one side only: their matrices on that side.
    Sides<std::vector<Matrices>> m_matrices;
    std::shared_ptr<const MovedFrames> m_moved; // null: none
    std::vector<Sides<SceneImage::SetEntry>> m_sets;
    std::vector<AnimationChange> m_animations;
    std::vector<MeshChange> m_meshes;
};
