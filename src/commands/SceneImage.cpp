#include "commands/SceneImage.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <unordered_set>

#include "app/ProgramState.h"
#include "platform/rm/AnimationSet.h"
#include "platform/rm/Mesh.h"
#include "platform/rm/MeshBuilder.h"
#include "scene/CAnimationData.h"
#include "scene/CCharacterData.h"
#include "scene/CPartRecord.h"

namespace {

template <typename T>
bool SameBytes(const std::vector<T>& a, const std::vector<T>& b) {
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

bool SameSkin(const rm::MeshSkin& a, const rm::MeshSkin& b) {
    if (a.maxWeightsPerVertex != b.maxWeightsPerVertex ||
        a.maxWeightsPerFace != b.maxWeightsPerFace || a.bones.size() != b.bones.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.bones.size(); ++i) {
        const rm::SkinBone& x = a.bones[i];
        const rm::SkinBone& y = b.bones[i];
        if (x.frameName != y.frameName || !SameBytes(x.vertices, y.vertices) ||
            !SameBytes(x.weights, y.weights) ||
            std::memcmp(&x.offset, &y.offset, sizeof(rm::Matrix4)) != 0) {
            return false;
        }
    }
    return true;
}

std::size_t SkinBytes(const rm::MeshSkin& skin) {
    std::size_t bytes = 0;
    for (const rm::SkinBone& bone : skin.bones) {
        bytes += sizeof(bone) + bone.frameName.size() + bone.vertices.size() * 4 +
                 bone.weights.size() * 4;
    }
    return bytes;
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

bool SceneImage::FrameEntry::operator==(const FrameEntry& other) const {
    return frame == other.frame && parent == other.parent && children == other.children &&
           std::memcmp(&local, &other.local, sizeof(rm::Matrix4)) == 0 &&
           std::memcmp(&rest, &other.rest, sizeof(rm::Matrix4)) == 0 && name == other.name &&
           hasRecord == other.hasRecord && baseName == other.baseName &&
           fileName == other.fileName && animation == other.animation;
}

bool SceneImage::AnimationEntry::operator==(const AnimationEntry& other) const {
    return animation == other.animation && options == other.options && nextId == other.nextId &&
           SameBytes(keys, other.keys) && name == other.name && frame == other.frame;
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

void SceneImage::CaptureCurrent() {
    m_character = g_currentCharacter;
    m_model = g_currentModel;
    m_animation = g_currentAnimation;
    m_currentTime = g_currentTime;
    m_keyTime = g_keyTime;
    m_keyIndex = g_keyIndex;
    if (m_animation != nullptr) {
        m_setTime = m_animation->m_time;
        m_firstTime = m_animation->m_firstTime;
        m_lastTime = m_animation->m_lastTime;
        m_keyTimes = m_animation->KeyTimeList();
    }
}

void SceneImage::CaptureFrames(rm::Frame* root) {
    if (!TakeRoot(m_frameRoot, root)) {
        return;
    }
    for (rm::Frame* frame : FramesUnder(root)) {
        FrameEntry entry;
        entry.frame = frame;
        entry.parent = frame->GetParent();
        entry.children.reserve(frame->Children().size());
        for (const auto& child : frame->Children()) {
            entry.children.push_back(child.Get());
        }
        entry.local = frame->LocalTransform();
        entry.rest = frame->GetRestTransform();
        entry.name = frame->Name();
        if (const CPartRecord* record = CPartRecord::Of(frame)) {
            entry.hasRecord = true;
            entry.baseName = record->baseName;
            entry.fileName = record->fileName;
            entry.animation = record->animation;
        }
        m_frames.push_back(std::move(entry));
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

SceneImage::AnimationEntry SceneImage::Take(rm::Animation* animation) {
    AnimationEntry entry;
    entry.animation = animation;
    entry.options = animation->GetOptions();
    entry.nextId = animation->NextKeyId();
    entry.keys = animation->Keys();
    entry.name = animation->Name();
    entry.frame = animation->GetFrame();
    return entry;
}

void SceneImage::CaptureAnimation(rm::Animation* animation) {
    if (animation != nullptr && !HasAnimation(animation)) {
        m_animations.push_back(Take(animation));
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
            // The selection box is the view's, not the model's.
            if (visual.Get() != g_selectionBox && (dynamic_cast<rm::MeshBuilder*>(visual.Get()) ||
                                                   dynamic_cast<rm::Mesh*>(visual.Get()))) {
                m_meshes.push_back(Take(visual.Get()));
            }
        }
    }
}

bool SceneImage::Matches(const AnimationEntry& entry) {
    const rm::Animation* animation = entry.animation.Get();
    return entry.options == animation->GetOptions() && entry.nextId == animation->NextKeyId() &&
           entry.name == animation->Name() && entry.frame == animation->GetFrame() &&
           SameBytes(entry.keys, animation->Keys());
}

SceneImage::Differences SceneImage::TakeAfter(SceneImage& before, SceneImage* after) {
    Differences differences;
    after->CaptureCurrent();
    // The same subject: an edit may make another character current only through a load,
    // and a load ends the history.
    after->m_character = before.m_character;
    after->m_model = before.m_model;
    after->m_animation = before.m_animation;

    after->CaptureFrames(before.m_frameRoot.Get());
    differences.frames = before.m_frames.size() != after->m_frames.size();
    if (!differences.frames) {
        std::unordered_map<const rm::Frame*, const FrameEntry*> was;
        for (const FrameEntry& entry : before.m_frames) {
            was.emplace(entry.frame.Get(), &entry);
        }
        for (const FrameEntry& entry : after->m_frames) {
            const auto found = was.find(entry.frame.Get());
            if (found == was.end() || !(*found->second == entry)) {
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
    // Only what changed is pictured after, and kept before: unchanged keys are compared
    // where they are, never copied a second time.
    std::vector<AnimationEntry> changed;
    for (AnimationEntry& entry : before.m_animations) {
        if (!Matches(entry)) {
            after->m_animations.push_back(Take(entry.animation.Get()));
            changed.push_back(std::move(entry));
        }
    }
    before.m_animations = std::move(changed);
    for (const SetEntry& set : after->m_sets) {
        for (const auto& animation : set.animations) {
            if (pictured.insert(animation.Get()).second) {
                after->m_animations.push_back(Take(animation.Get()));
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

void SceneImage::RestoreCurrent() const {
    g_currentCharacter = m_character;
    g_currentModel = m_model;
    g_currentAnimation = m_animation;
    if (m_character != nullptr && m_animation != nullptr && m_character->m_current != m_animation) {
        const auto sets = m_character->Animations();
        const auto found = std::find(sets.begin(), sets.end(), m_animation);
        if (found != sets.end()) {
            m_character->SelectAnimation(static_cast<int>(found - sets.begin()));
        }
    }
}

void SceneImage::RestoreFrames() const {
    // In the picture's own depth-first order: each frame's parent has its place already,
    // so none of the frames put under it can be one of its ancestors.
    for (const FrameEntry& entry : m_frames) {
        rm::Frame* frame = entry.frame.Get();
        for (rm::Frame* child : entry.children) {
            frame->AddChild(child);
        }
        frame->SetRestTransform(entry.rest);
        frame->SetPose(entry.local);
        frame->SetName(entry.name);
        if (CPartRecord* record = CPartRecord::Of(frame); record != nullptr && entry.hasRecord) {
            record->baseName = entry.baseName;
            record->fileName = entry.fileName;
            record->animation = entry.animation;
        }
    }
}

void SceneImage::Restore() const {
    RestoreCurrent();
    for (const SetEntry& set : m_sets) {
        rm::AnimationSet* target = set.data->Set();
        if (target == nullptr || target->Animations() == set.animations) {
            continue;
        }
        // Held by the picture while they leave the set.
        const std::vector<rm::Ref<rm::Animation>> present = target->GetAnimations();
        for (const auto& animation : present) {
            target->DeleteAnimation(animation.Get());
        }
        for (const auto& animation : set.animations) {
            target->AddAnimation(animation.Get());
        }
    }
    for (const AnimationEntry& entry : m_animations) {
        rm::Animation* animation = entry.animation.Get();
        animation->SetOptions(entry.options);
        animation->RestoreKeys(entry.keys, entry.nextId);
        animation->SetName(entry.name);
        animation->SetFrame(entry.frame.Get());
    }
    RestoreFrames();
    for (const MeshEntry& entry : m_meshes) {
        if (auto* builder = dynamic_cast<rm::MeshBuilder*>(entry.visual.Get())) {
            for (std::uint32_t i = 0; i < entry.positions.size(); ++i) {
                const rm::Vector& p = entry.positions[i];
                builder->SetVertex(i, p.x, p.y, p.z);
            }
            builder->SetSkin(entry.skin);
        } else if (auto* mesh = dynamic_cast<rm::Mesh*>(entry.visual.Get())) {
            for (std::size_t g = 0; g < entry.groups.size(); ++g) {
                const auto& vertices = entry.groups[g];
                mesh->SetVertices(static_cast<rm::Mesh::D3DRMGROUPINDEX>(g), 0,
                                  static_cast<std::uint32_t>(vertices.size()), vertices.data());
            }
        }
    }
    g_currentTime = m_currentTime;
    g_keyTime = m_keyTime;
    g_keyIndex = m_keyIndex;
    if (m_animation != nullptr) {
        m_animation->m_time = m_setTime;
        m_animation->m_firstTime = m_firstTime;
        m_animation->m_lastTime = m_lastTime;
        m_animation->RestoreKeyTimeList(m_keyTimes);
    }
}

std::size_t SceneImage::Bytes() const {
    std::size_t bytes = sizeof(*this) + m_keyTimes.size() * sizeof(float);
    for (const FrameEntry& entry : m_frames) {
        bytes += sizeof(entry) + entry.children.size() * sizeof(rm::Frame*) + entry.name.size() +
                 entry.baseName.value_or(std::string()).size() +
                 entry.fileName.value_or(std::string()).size();
    }
    for (const SetEntry& set : m_sets) {
        bytes += sizeof(set) + set.animations.size() * sizeof(rm::Ref<rm::Animation>);
    }
    for (const AnimationEntry& entry : m_animations) {
        bytes += sizeof(entry) + entry.keys.size() * sizeof(rm::AnimationKey) + entry.name.size();
    }
    for (const MeshEntry& entry : m_meshes) {
        bytes +=
            sizeof(entry) + entry.positions.size() * sizeof(rm::Vector) + SkinBytes(entry.skin);
        for (const auto& group : entry.groups) {
            bytes += group.size() * sizeof(rm::MeshVertex);
        }
    }
    return bytes;
}

bool SceneImage::HasFrames(const rm::Frame* root) const {
    return root != nullptr && m_frameRoot.Get() == root;
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
