#include "commands/SceneImage.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "platform/rm/AnimationSet.h"
#include "platform/rm/Mesh.h"
#include "platform/rm/MeshBuilder.h"
#include "scene/CAnimationData.h"
#include "scene/CCharacterData.h"
#include "scene/CPartRecord.h"
#include "session/EditContext.h"

namespace {

template <typename T>
bool SameBytes(const std::vector<T>& a, const std::vector<T>& b) {
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

void WalkFrames(rm::Frame* frame, std::vector<rm::Frame*>& out) {
    out.push_back(frame);
    for (const auto& child : frame->Children()) {
        WalkFrames(child.Get(), out);
    }
}

/// The tree under `root`, depth first, root first.
std::vector<rm::Frame*> FramesUnder(rm::Frame* root) {
    std::vector<rm::Frame*> frames;
    WalkFrames(root, frames);
    return frames;
}

/// Makes `root` the tree a part of the picture is taken of; false when there is none or
/// that part was taken already.
bool TakeRoot(rm::Ref<rm::Frame>& slot, rm::Frame* root) {
    if (root == nullptr || slot) {
        return false;
    }
    slot = root;
    return true;
}

} // namespace

bool SceneImage::FrameMatrices::operator==(const FrameMatrices& other) const {
    return std::memcmp(this, &other, sizeof(FrameMatrices)) == 0;
}

SceneImage::FrameMatrices SceneImage::FrameMatrices::Of(const rm::Frame* frame) {
    FrameMatrices matrices;
    matrices.local = frame->LocalTransform();
    matrices.rest = frame->GetRestTransform();
    return matrices;
}

void SceneImage::FrameMatrices::WriteTo(rm::Frame* frame) const {
    frame->SetRestTransform(rest);
    frame->SetPose(local);
}

bool SceneImage::FrameShape::operator==(const FrameShape& other) const {
    return parent == other.parent && children == other.children && name == other.name &&
           hasRecord == other.hasRecord && baseName == other.baseName &&
           fileName == other.fileName && animation == other.animation;
}

SceneImage::FrameShape SceneImage::FrameShape::Of(rm::Frame* frame) {
    FrameShape shape;
    shape.parent = frame->GetParent();
    shape.children = frame->Children();
    shape.name = frame->Name();
    if (const CPartRecord* record = CPartRecord::Of(frame)) {
        shape.hasRecord = true;
        shape.baseName = record->baseName;
        shape.fileName = record->fileName;
        shape.animation = record->animation;
    }
    return shape;
}

void SceneImage::FrameShape::WriteTo(rm::Frame* frame) const {
    // Adding a child moves it to the end: adding them all in order puts back the order.
    for (const auto& child : children) {
        frame->AddChild(child.Get());
    }
    frame->SetName(name);
    if (CPartRecord* record = CPartRecord::Of(frame); record != nullptr && hasRecord) {
        record->baseName = baseName;
        record->fileName = fileName;
        record->animation = animation;
    }
}

std::size_t SceneImage::FrameShape::Bytes() const {
    return sizeof(*this) + children.size() * sizeof(rm::Ref<rm::Frame>) + name.size() +
           baseName.value_or(std::string()).size() + fileName.value_or(std::string()).size();
}

void SceneImage::SetEntry::WriteBack() const {
    rm::AnimationSet* target = data->Set();
    if (target == nullptr || target->Animations() == animations) {
        return;
    }
    // Held by the picture while they leave the set.
    const std::vector<rm::Ref<rm::Animation>> present = target->GetAnimations();
    for (const auto& animation : present) {
        target->DeleteAnimation(animation.Get());
    }
    for (const auto& animation : animations) {
        target->AddAnimation(animation.Get());
    }
}

bool SceneImage::AnimationState::operator==(const AnimationState& other) const {
    return options == other.options && nextId == other.nextId && name == other.name &&
           frame == other.frame;
}

bool SceneImage::SameSkin(const rm::MeshSkin& a, const rm::MeshSkin& b, bool offsets) {
    if (a.maxWeightsPerVertex != b.maxWeightsPerVertex ||
        a.maxWeightsPerFace != b.maxWeightsPerFace || a.bones.size() != b.bones.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.bones.size(); ++i) {
        const rm::SkinBone& x = a.bones[i];
        const rm::SkinBone& y = b.bones[i];
        if (x.frameName != y.frameName || !SameBytes(x.vertices, y.vertices) ||
            !SameBytes(x.weights, y.weights) ||
            (offsets && std::memcmp(&x.offset, &y.offset, sizeof(rm::Matrix4)) != 0)) {
            return false;
        }
    }
    return true;
}

std::size_t SceneImage::SkinBytes(const rm::MeshSkin& skin) {
    std::size_t bytes = 0;
    for (const rm::SkinBone& bone : skin.bones) {
        bytes += sizeof(bone) + bone.frameName.size() + bone.vertices.size() * 4 +
                 bone.weights.size() * 4;
    }
    return bytes;
}

bool SceneImage::MeshEntry::operator==(const MeshEntry& other) const {
    if (visual != other.visual || !SameBytes(positions, other.positions) ||
        !SameSkin(skin, other.skin) || groups.size() != other.groups.size()) {
        return false;
    }
    for (std::size_t i = 0; i < groups.size(); ++i) {
        if (!SameBytes(groups[i], other.groups[i])) {
            return false;
        }
    }
    return true;
}

void SceneImage::CaptureCurrent(session::EditContext& context) {
    m_current.context = &context;
    m_current.character = context.currentCharacter;
    m_current.model = context.currentModel;
    m_current.animation = context.currentAnimation;
    m_current.currentTime = context.currentTime;
    m_current.keyTime = context.keyTime;
    m_current.keyIndex = context.keyIndex;
    if (CAnimationData* set = m_current.animation) {
        m_current.setTime = set->m_time;
        m_current.firstTime = set->m_firstTime;
        m_current.lastTime = set->m_lastTime;
        m_keyTimes = set->KeyTimeList();
    }
}

void SceneImage::CaptureFrames(rm::Frame* root) {
    if (!TakeRoot(m_frameRoot, root)) {
        return;
    }
    for (rm::Frame* frame : FramesUnder(root)) {
        m_frames.push_back({frame, FrameShape::Of(frame), FrameMatrices::Of(frame)});
    }
}

void SceneImage::CaptureSet(CAnimationData* set) {
    if (set == nullptr || set->Set() == nullptr || HasSet(set)) {
        return;
    }
    SetEntry entry;
    entry.data = set;
    entry.animations = set->Set()->GetAnimations();
    for (const auto& animation : entry.animations) {
        CaptureAnimation(animation.Get());
    }
    m_sets.push_back(std::move(entry));
}

SceneImage::AnimationEntry SceneImage::Take(rm::Animation* animation, bool withKeys) {
    AnimationEntry entry;
    entry.animation = animation;
    entry.state.options = animation->GetOptions();
    entry.state.nextId = animation->NextKeyId();
    entry.state.name = animation->Name();
    entry.state.frame = animation->GetFrame();
    if (withKeys) {
        entry.keys = animation->Keys();
        entry.watch = animation->WatchKeys();
    }
    return entry;
}

void SceneImage::CaptureAnimation(rm::Animation* animation) {
    if (animation != nullptr && !HasAnimation(animation)) {
        m_animations.push_back(Take(animation, true));
    }
}

SceneImage::MeshEntry SceneImage::Take(rm::Visual* visual) {
    MeshEntry entry;
    entry.visual = visual;
    if (auto* builder = dynamic_cast<rm::MeshBuilder*>(visual)) {
        entry.positions.resize(builder->GetVertexCount());
        std::uint32_t count = builder->GetVertexCount();
        builder->GetVertices(0, &count, entry.positions.data());
        entry.skin = builder->GetSkin();
    } else if (auto* mesh = dynamic_cast<rm::Mesh*>(visual)) {
        entry.groups.reserve(mesh->GetGroupCount());
        for (std::uint32_t g = 0; g < mesh->GetGroupCount(); ++g) {
            entry.groups.push_back(mesh->GroupVertices(static_cast<rm::Mesh::D3DRMGROUPINDEX>(g)));
        }
    }
    return entry;
}

void SceneImage::CaptureMeshes(rm::Frame* root) {
    if (!TakeRoot(m_meshRoot, root)) {
        return;
    }
    for (rm::Frame* frame : FramesUnder(root)) {
        for (const auto& visual : frame->Visuals()) {
            if (dynamic_cast<rm::MeshBuilder*>(visual.Get()) ||
                dynamic_cast<rm::Mesh*>(visual.Get())) {
                m_meshes.push_back(Take(visual.Get()));
            }
        }
    }
}

SceneImage::Differences SceneImage::TakeAfter(SceneImage& before, SceneImage* after) {
    Differences differences;
    after->CaptureCurrent(*before.m_current.context);
    // The same subject: an edit may make another character current only through a load,
    // and a load ends the history.
    after->m_current.character = before.m_current.character;
    after->m_current.model = before.m_current.model;
    after->m_current.animation = before.m_current.animation;

    after->CaptureFrames(before.m_frameRoot.Get());
    differences.frames = before.m_frames.size() != after->m_frames.size();
    if (!differences.frames) {
        std::unordered_map<const rm::Frame*, const FrameEntry*> was;
        for (const FrameEntry& entry : before.m_frames) {
            was.emplace(entry.frame.Get(), &entry);
        }
        for (const FrameEntry& entry : after->m_frames) {
            const auto found = was.find(entry.frame.Get());
            if (found == was.end() || !(found->second->shape == entry.shape) ||
                !(found->second->matrices == entry.matrices)) {
                differences.frames = true;
                break;
            }
        }
    }

    std::unordered_set<const rm::Animation*> pictured;
    for (const AnimationEntry& entry : before.m_animations) {
        pictured.insert(entry.animation.Get());
    }
    for (const SetEntry& set : before.m_sets) {
        SetEntry now;
        now.data = set.data;
        if (set.data->Set() != nullptr) {
            now.animations = set.data->Set()->GetAnimations();
        }
        differences.animations = differences.animations || now.animations != set.animations;
        after->m_sets.push_back(std::move(now));
    }
    // Only what changed is kept: the keys are compared where they are, in the same pass that
    // finds the runs that differ, and never copied a second time.
    std::vector<AnimationEntry> changed;
    for (AnimationEntry& entry : before.m_animations) {
        rm::Animation* animation = entry.animation.Get();
        AnimationEntry now = Take(animation, false);
        // Where the animation says its keys stayed as they were, they are not compared.
        rm::Animation::ChangedStretch stretch{0, animation->Keys().size()};
        if (const auto changed = animation->ChangedSince(entry.watch)) {
            stretch = *changed;
        }
        now.keysChange = ArrayDifference<rm::AnimationKey>::Between(
            std::span<const rm::AnimationKey>(entry.keys),
            std::span<const rm::AnimationKey>(animation->Keys()), stretch.first, stretch.last);
        if (now.keysChange.Empty() && now.state == entry.state) {
            continue;
        }
        // The difference holds what the step needs of the keys.
        std::vector<rm::AnimationKey>().swap(entry.keys);
        after->m_animations.push_back(std::move(now));
        changed.push_back(std::move(entry));
    }
    before.m_animations = std::move(changed);
    // An animation a set holds now that was not pictured before: added by the edit, kept
    // alive by the set's change.
    for (const SetEntry& set : after->m_sets) {
        for (const auto& animation : set.animations) {
            if (pictured.insert(animation.Get()).second) {
                after->m_animations.push_back(Take(animation.Get(), false));
            }
        }
    }
    differences.animations = differences.animations || !after->m_animations.empty();

    after->m_meshRoot = before.m_meshRoot;
    std::vector<MeshEntry> meshesBefore;
    for (MeshEntry& entry : before.m_meshes) {
        MeshEntry now = Take(entry.visual.Get());
        if (!(now == entry)) {
            meshesBefore.push_back(std::move(entry));
            after->m_meshes.push_back(std::move(now));
        }
    }
    differences.meshes = !meshesBefore.empty();
    before.m_meshes = std::move(meshesBefore);
    return differences;
}

bool SceneImage::HasFrames(const rm::Frame* root) const {
    return root != nullptr && m_frameRoot.Get() == root;
}

SceneImage SceneImage::FramesNow() const {
    SceneImage now;
    now.CaptureFrames(m_frameRoot.Get());
    return now;
}

SceneImage SceneImage::FramesOnly() && {
    SceneImage frames;
    frames.m_frameRoot = std::move(m_frameRoot);
    frames.m_frames = std::move(m_frames);
    return frames;
}

bool SceneImage::HasSet(const CAnimationData* set) const {
    return std::any_of(m_sets.begin(), m_sets.end(),
                       [set](const SetEntry& entry) { return entry.data == set; });
}

bool SceneImage::HasAnimation(const rm::Animation* animation) const {
    return std::any_of(
        m_animations.begin(), m_animations.end(),
        [animation](const AnimationEntry& entry) { return entry.animation.Get() == animation; });
}
