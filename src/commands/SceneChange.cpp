#include "commands/SceneChange.h"

#include <algorithm>
#include <span>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "platform/rm/AnimationSet.h"
#include "platform/rm/Mesh.h"
#include "platform/rm/MeshBuilder.h"
#include "scene/CAnimationData.h"
#include "scene/CCharacterData.h"
#include "session/EditContext.h"

namespace {

template <typename T>
ArrayDifference<T> DifferenceOf(const std::vector<T>& before, const std::vector<T>& after) {
    return ArrayDifference<T>::Between(std::span<const T>(before), std::span<const T>(after));
}

} // namespace

SceneChange SceneChange::Between(const SceneImage& before, const SceneImage& after,
                                 const SceneImage* previous) {
    SceneChange change;
    change.m_current = {before.m_current, after.m_current};
    change.m_keyTimes = DifferenceOf(before.m_keyTimes, after.m_keyTimes);

    // Frames: a frame on one side only counts as changed in every respect. The side before
    // is what the previous step left where that differs from what this one found.
    std::unordered_map<const rm::Frame*, const SceneImage::FrameEntry*> was;
    for (const SceneImage::FrameEntry& entry : before.m_frames) {
        was.emplace(entry.frame.Get(), &entry);
    }
    std::unordered_map<const rm::Frame*, const SceneImage::FrameEntry*> left;
    const bool samePrevious = previous != nullptr && previous->m_frameRoot == before.m_frameRoot;
    if (samePrevious) {
        for (const SceneImage::FrameEntry& entry : previous->m_frames) {
            left.emplace(entry.frame.Get(), &entry);
        }
    }
    // The picture of each frame on the side before: the previous step's where it has one.
    const auto start = [&](const SceneImage::FrameEntry& entry) {
        const auto found = left.find(entry.frame.Get());
        return found != left.end() ? found->second : &entry;
    };
    std::unordered_set<const rm::Frame*> reshaped;
    std::unordered_set<const rm::Frame*> kept;
    MovedFrames moved;
    for (const SceneImage::FrameEntry& entry : after.m_frames) {
        const auto found = was.find(entry.frame.Get());
        if (found == was.end()) {
            change.m_shapes.after.push_back({entry.frame, entry.shape});
            change.m_matrices.after.push_back({entry.frame, entry.matrices});
            continue;
        }
        kept.insert(entry.frame.Get());
        const SceneImage::FrameEntry* from = start(*found->second);
        if (!(from->shape == entry.shape)) {
            reshaped.insert(entry.frame.Get());
            change.m_shapes.after.push_back({entry.frame, entry.shape});
        }
        if (!(from->matrices == entry.matrices)) {
            moved.frames.push_back(entry.frame);
            moved.before.push_back(from->matrices);
            moved.after.push_back(entry.matrices);
        }
    }
    if (!moved.frames.empty()) {
        moved.Relate();
        change.m_moved = std::make_shared<const MovedFrames>(std::move(moved));
    }
    for (const SceneImage::FrameEntry& entry :
         (samePrevious ? previous->m_frames : before.m_frames)) {
        const bool gone = kept.count(entry.frame.Get()) == 0;
        if (gone || reshaped.count(entry.frame.Get()) != 0) {
            change.m_shapes.before.push_back({entry.frame, entry.shape});
        }
        if (gone) {
            change.m_matrices.before.push_back({entry.frame, entry.matrices});
        }
    }

    for (std::size_t i = 0; i < before.m_sets.size() && i < after.m_sets.size(); ++i) {
        if (before.m_sets[i].animations != after.m_sets[i].animations) {
            change.m_sets.push_back({before.m_sets[i], after.m_sets[i]});
        }
    }

    // TakeAfter left in both pictures only the animations that changed, the after picture
    // with the difference of their keys; it also names those the edit added to a set, which
    // the set's change keeps alive.
    std::unordered_map<const rm::Animation*, const SceneImage::AnimationEntry*> now;
    for (const SceneImage::AnimationEntry& entry : after.m_animations) {
        now.emplace(entry.animation.Get(), &entry);
    }
    for (const SceneImage::AnimationEntry& entry : before.m_animations) {
        const auto found = now.find(entry.animation.Get());
        if (found == now.end()) {
            continue;
        }
        change.m_animations.push_back(
            {entry.animation, {entry.state, found->second->state}, found->second->keysChange});
    }

    // TakeAfter left the same meshes, in the same order, in both pictures.
    for (std::size_t i = 0; i < before.m_meshes.size() && i < after.m_meshes.size(); ++i) {
        const SceneImage::MeshEntry& was = before.m_meshes[i];
        const SceneImage::MeshEntry& is = after.m_meshes[i];
        MeshChange mesh;
        mesh.visual = was.visual;
        mesh.positions = DifferenceOf(was.positions, is.positions);
        if (!SceneImage::SameSkin(was.skin, is.skin)) {
            SkinChange skin;
            if (SceneImage::SameSkin(was.skin, is.skin, false)) {
                for (std::size_t b = 0; b < was.skin.bones.size(); ++b) {
                    skin.offsets.before.push_back(was.skin.bones[b].offset);
                    skin.offsets.after.push_back(is.skin.bones[b].offset);
                }
            } else {
                skin.whole = Sides<rm::MeshSkin>{was.skin, is.skin};
            }
            mesh.skin = std::make_shared<const SkinChange>(std::move(skin));
        }
        for (std::size_t g = 0; g < was.groups.size() && g < is.groups.size(); ++g) {
            mesh.groups.push_back(DifferenceOf(was.groups[g], is.groups[g]));
        }
        change.m_meshes.push_back(std::move(mesh));
    }
    return change;
}

void SceneChange::MovedFrames::Relate() {
    constexpr std::size_t kWords = sizeof(SceneImage::FrameMatrices) / 4;
    static_assert(sizeof(SceneImage::FrameMatrices) % 4 == 0);
    if (auto fit = ScaledLanes::Fit(before.data(), after.data(), after.size() * kWords, kWords)) {
        relation = std::make_unique<const ScaledLanes>(std::move(*fit));
        std::vector<SceneImage::FrameMatrices>().swap(before);
    }
}

void SceneChange::MovedFrames::Apply(bool forward) const {
    const std::vector<SceneImage::FrameMatrices>* matrices = forward ? &after : &before;
    std::vector<SceneImage::FrameMatrices> made;
    if (!forward && relation) {
        made.resize(after.size());
        relation->Make(after.data(), made.data(),
                       after.size() * sizeof(SceneImage::FrameMatrices) / 4, false);
        matrices = &made;
    }
    for (std::size_t i = 0; i < frames.size(); ++i) {
        (*matrices)[i].WriteTo(frames[i].Get());
    }
}

std::size_t SceneChange::MovedFrames::Bytes() const {
    return sizeof(*this) + frames.size() * sizeof(rm::Ref<rm::Frame>) +
           (after.size() + before.size()) * sizeof(SceneImage::FrameMatrices) +
           (relation ? relation->Bytes() : 0);
}

std::size_t SceneChange::SkinChange::Bytes() const {
    return sizeof(*this) + (offsets.before.size() + offsets.after.size()) * sizeof(rm::Matrix4) +
           (whole ? SceneImage::SkinBytes(whole->before) + SceneImage::SkinBytes(whole->after) : 0);
}

void SceneChange::SetCurrent(const SceneImage::Current& current) {
    current.context->currentCharacter = current.character;
    current.context->currentModel = current.model;
    current.context->currentAnimation = current.animation;
    CCharacterData* character = current.character;
    if (character != nullptr && current.animation != nullptr &&
        character->m_current != current.animation) {
        const auto sets = character->Animations();
        const auto found = std::find(sets.begin(), sets.end(), current.animation);
        if (found != sets.end()) {
            character->SelectAnimation(static_cast<int>(found - sets.begin()));
        }
    }
}

void SceneChange::ApplyMesh(const MeshChange& change, bool forward) {
    if (auto* builder = dynamic_cast<rm::MeshBuilder*>(change.visual.Get())) {
        if (!change.positions.Empty()) {
            std::uint32_t count = builder->GetVertexCount();
            std::vector<rm::Vector> positions(count);
            builder->GetVertices(0, &count, positions.data());
            const auto write = [builder](std::size_t first, std::size_t n,
                                         const rm::Vector* values) {
                for (std::size_t i = 0; i < n; ++i) {
                    builder->SetVertex(std::uint32_t(first + i), values[i].x, values[i].y,
                                       values[i].z);
                }
            };
            if (change.positions.SameLength()) {
                change.positions.ForEachRun(forward, std::span<const rm::Vector>(positions), write);
            } else {
                change.positions.Apply(&positions, forward);
                write(0, std::min<std::size_t>(positions.size(), count), positions.data());
            }
        }
        if (change.skin && change.skin->whole) {
            builder->SetSkin(change.skin->whole->To(forward));
        } else if (change.skin) {
            rm::MeshSkin skin = builder->GetSkin();
            const std::vector<rm::Matrix4>& offsets = change.skin->offsets.To(forward);
            for (std::size_t b = 0; b < skin.bones.size() && b < offsets.size(); ++b) {
                skin.bones[b].offset = offsets[b];
            }
            builder->SetSkin(std::move(skin));
        }
    } else if (auto* mesh = dynamic_cast<rm::Mesh*>(change.visual.Get())) {
        for (std::size_t g = 0; g < change.groups.size(); ++g) {
            const auto group = static_cast<rm::Mesh::D3DRMGROUPINDEX>(g);
            const ArrayDifference<rm::MeshVertex>& difference = change.groups[g];
            if (difference.SameLength()) {
                difference.ForEachRun(
                    forward, std::span<const rm::MeshVertex>(mesh->GroupVertices(group)),
                    [&](std::size_t first, std::size_t count, const rm::MeshVertex* values) {
                        mesh->SetVertices(group, std::uint32_t(first), std::uint32_t(count),
                                          values);
                    });
                continue;
            }
            std::vector<rm::MeshVertex> vertices = mesh->GroupVertices(group);
            difference.Apply(&vertices, forward);
            mesh->SetVertices(group, 0, std::uint32_t(vertices.size()), vertices.data());
        }
    }
}

void SceneChange::Apply(bool forward) const {
    const SceneImage::Current& current = m_current.To(forward);
    SetCurrent(current);
    for (const auto& set : m_sets) {
        set.To(forward).WriteBack();
    }
    for (const AnimationChange& change : m_animations) {
        rm::Animation* animation = change.animation.Get();
        const SceneImage::AnimationState& state = change.state.To(forward);
        animation->SetOptions(state.options);
        std::vector<rm::AnimationKey> keys = animation->Keys();
        change.keys.Apply(&keys, forward);
        animation->RestoreKeys(std::move(keys), state.nextId);
        animation->SetName(state.name);
        animation->SetFrame(state.frame.Get());
    }
    for (const Shape& shape : m_shapes.To(forward)) {
        shape.shape.WriteTo(shape.frame.Get());
    }
    for (const Matrices& matrices : m_matrices.To(forward)) {
        matrices.matrices.WriteTo(matrices.frame.Get());
    }
    if (m_moved) {
        m_moved->Apply(forward);
    }
    for (const MeshChange& change : m_meshes) {
        ApplyMesh(change, forward);
    }
    current.context->currentTime = current.currentTime;
    current.context->keyTime = current.keyTime;
    current.context->keyIndex = current.keyIndex;
    if (CAnimationData* set = current.animation) {
        set->m_time = current.setTime;
        set->m_firstTime = current.firstTime;
        set->m_lastTime = current.lastTime;
        if (!m_keyTimes.Empty()) {
            std::vector<float> times = set->KeyTimeList();
            m_keyTimes.Apply(&times, forward);
            set->RestoreKeyTimeList(std::move(times));
        }
    }
}

std::size_t SceneChange::Bytes() const {
    std::size_t bytes = sizeof(*this) + m_keyTimes.Bytes();
    for (const auto* side : {&m_shapes.before, &m_shapes.after}) {
        for (const Shape& shape : *side) {
            bytes += sizeof(shape.frame) + shape.shape.Bytes();
        }
    }
    bytes += (m_matrices.before.size() + m_matrices.after.size()) * sizeof(Matrices) +
             (m_moved ? m_moved->Bytes() : 0);
    for (const auto& set : m_sets) {
        bytes += sizeof(set) + (set.before.animations.size() + set.after.animations.size()) *
                                   sizeof(rm::Ref<rm::Animation>);
    }
    for (const AnimationChange& change : m_animations) {
        bytes += sizeof(change) + change.state.before.name.size() + change.state.after.name.size() +
                 change.keys.Bytes();
    }
    for (const MeshChange& change : m_meshes) {
        bytes +=
            sizeof(change) + change.positions.Bytes() + (change.skin ? change.skin->Bytes() : 0);
        for (const auto& group : change.groups) {
            bytes += sizeof(group) + group.Bytes();
        }
    }
    return bytes;
}
