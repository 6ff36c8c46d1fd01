#include "view/ViewInteraction.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "commands/EditScope.h"
#include "platform/framework/Translate.h"
#include "platform/rm/Animation.h"
#include "platform/rm/Frame.h"
#include "platform/rm/Math.h"
#include "platform/rm/Mesh.h"
#include "platform/rm/MeshBuilder.h"
#include "render/OrientationToQuaternion.h"
#include "scene/CAnimationData.h"
#include "scene/CCharacterData.h"
#include "scene/CModelData.h"
#include "scene/CPartRecord.h"
#include "session/EditContext.h"
#include "session/KeyTimeRules.h"

using session::MouseFunction;
using session::OperationMode;

namespace {

// The camera preset a keypad key selects (1 to 6), in SelectCameraView's numbering.
int CameraPresetOf(ViewInteraction::Key key) {
    using Key = ViewInteraction::Key;
    constexpr Key kPresetKeys[] = {Key::Pad2, Key::Pad8, Key::Pad4,
                                   Key::Pad6, Key::Pad5, Key::Pad0};
    for (int i = 0; i < 6; ++i) {
        if (kPresetKeys[i] == key) {
            return i + 1;
        }
    }
    return 0;
}

constexpr float kDegree = 0.017453292f;
constexpr float kSmallestField = 0.0001f;
constexpr float kLargestField = 10.0f;
constexpr float kHalfPi = 1.5707963f;

constexpr char kNotCharacter[] = QT_TRANSLATE_NOOP("Pavrix", "Not Character Data!");
constexpr char kNotModel[] = QT_TRANSLATE_NOOP("Pavrix", "Not Model Data!");
constexpr char kNotAnimation[] = QT_TRANSLATE_NOOP("Pavrix", "Not Animation Data!");
constexpr char kParentIsRoot[] =
    QT_TRANSLATE_NOOP("Pavrix", "選択しているパーツの親を\nモデルのRootに変更しました。");
constexpr char kParentChanged[] =
    QT_TRANSLATE_NOOP("Pavrix", "選択しているパーツの親を変更しました。");
constexpr char kRootHasNoParent[] =
    QT_TRANSLATE_NOOP("Pavrix", "モデルのRootの親は変更できません。");

/// The root frame of the model `context`'s current animation set is bound to, or null.
rm::Frame* AnimatedModelRoot(const session::EditContext& context) {
    if (context.currentAnimation == nullptr || context.currentAnimation->Model() == nullptr) {
        return nullptr;
    }
    return context.currentAnimation->Model()->Root();
}

bool IsInside(const rm::Frame* frame, const rm::Frame* ancestor) {
    for (const rm::Frame* f = frame; f != nullptr; f = f->GetParent()) {
        if (f == ancestor) {
            return true;
        }
    }
    return false;
}

/// Depth-first walk under `root` (root 0) to `*index`, counting down.
rm::Frame* Walk(rm::Frame* frame, int* index) {
    if ((*index)-- == 0) {
        return frame;
    }
    for (const auto& child : frame->Children()) {
        if (rm::Frame* found = Walk(child.Get(), index)) {
            return found;
        }
    }
    return nullptr;
}

rm::Animation* PartAnimation(const rm::Frame* part) {
    const CPartRecord* record = CPartRecord::Of(part);
    return record != nullptr ? record->animation : nullptr;
}

/// A drag of the Parent-Child mode edits the model: `edit` works on the frame's rest
/// transform (shown for the moment), and the frame is posed again for the time shown, so
/// a component its animation has keys for keeps showing the keys (at `time`).
template <typename Edit>
void EditRest(rm::Frame* frame, float time, Edit edit) {
    frame->ResetPose();
    edit();
    if (rm::Animation* animation = PartAnimation(frame)) {
        animation->SetTime(time);
    }
}

/// A drag of the Animation mode poses the part only: what `edit` makes of the frame is
/// shown, and its rest transform stays the model's.
template <typename Edit>
void EditPose(rm::Frame* frame, Edit edit) {
    const rm::Matrix4 rest = frame->GetRestTransform();
    edit();
    const rm::Matrix4 pose = frame->LocalTransform();
    frame->SetRestTransform(rest);
    frame->SetPose(pose);
}

} // namespace

ViewInteraction::ViewInteraction(Host& host) : m_host(host) {}

session::EditContext& ViewInteraction::Context() const {
    return m_host.Context();
}

ViewInteraction::~ViewInteraction() = default;

// ---------------------------------------------------------------------------------------
// Frames by position.

int ViewInteraction::CountFrames(rm::Frame* root) {
    int count = 1;
    for (const auto& child : root->Children()) {
        count += CountFrames(child.Get());
    }
    return count;
}

rm::Frame* ViewInteraction::FrameAt(rm::Frame* root, int index) {
    if (root == nullptr) {
        return nullptr;
    }
    const int count = CountFrames(root);
    // Into 0 … count - 1 from either side, so no position reads past the hierarchy.
    int wrapped = ((index % count) + count) % count;
    return Walk(root, &wrapped);
}

int ViewInteraction::IndexOf(rm::Frame* root, const rm::Frame* frame) {
    return Selection::IndexOf(root, frame);
}

// ---------------------------------------------------------------------------------------
// The selection.

void ViewInteraction::UnselectPart() {
    Context().redrawRequest = true;
    Context().EmptySelection();
}

int ViewInteraction::SelectPart(rm::Frame* frame, rm::Visual* visual) {
    if (frame == nullptr) {
        return 0;
    }
    Context().redrawRequest = true;
    int cycle = 0;
    if (visual == nullptr) {
        const auto& visuals = frame->Visuals();
        if (visuals.empty()) {
            UnselectPart();
            return 0;
        }
        if (frame == Context().selection.Part() && visuals.size() >= 2) {
            cycle = Context().selection.VisualCycle() + 1;
            if (cycle < 0 || cycle >= static_cast<int>(visuals.size())) {
                cycle = 0;
            }
        }
        visual = visuals[static_cast<std::size_t>(cycle)].Get();
    }

    // Only a mesh or a mesh builder is taken as the picked visual (it gives the box).
    const std::string_view kind = visual->GetClassName();
    Context().selection.Select(frame, kind == "Mesh" || kind == "Builder" ? visual : nullptr);
    Context().selection.SetVisualCycle(cycle);
    Context().selection.SetPartIndex(std::max(0, IndexOf(AnimatedModelRoot(Context()), frame)));
    return 1;
}

void ViewInteraction::StepPart(int step) {
    rm::Frame* root = AnimatedModelRoot(Context());
    if (root == nullptr) {
        return;
    }
    const int count = CountFrames(root);
    const int start = ((Context().selection.PartIndex() % count) + count) % count;
    int index = start;
    // Each frame is tried once at most: a model without visuals ends the search.
    for (int tried = 0; tried < count; ++tried) {
        index = ((index + step) % count + count) % count;
        if (index == start) {
            break;
        }
        if (SelectPart(FrameAt(root, index), nullptr)) {
            Context().selection.SetPartIndex(index);
            return;
        }
    }
    Context().selection.SetPartIndex(index);
}

// ---------------------------------------------------------------------------------------
// Mouse.

void ViewInteraction::MouseMove(const Mouse& mouse) {
    if (mouse.right) {
        if (!m_rightDrag) {
            m_rightDragPoint = mouse.point;
            m_rightDrag = true;
        }
        const QPoint delta = mouse.point - m_rightDragPoint;
        CameraDrag(mouse, static_cast<float>(delta.x()), static_cast<float>(delta.y()));
        m_rightDragPoint = mouse.point;
    }
    if (!mouse.left || mouse.right) {
        m_leftDrag = false;
        m_dragScope.reset();
        return;
    }
    if (!m_leftDrag) {
        m_leftDragPoint = mouse.point;
    }
    const QPoint delta = mouse.point - m_leftDragPoint;
    LeftDrag(mouse, static_cast<float>(delta.x()), static_cast<float>(delta.y()));
    m_leftDragPoint = mouse.point;
    m_leftDrag = true;
}

void ViewInteraction::CameraDrag(const Mouse& mouse, float dx, float dy) {
    Context().redrawRequest = true;
    rm::Frame* pivot = m_host.GetCameraPivot();
    rm::Frame* camera = m_host.GetCamera();
    if (mouse.control) {
        if (camera != nullptr) {
            camera->SetPosition(camera, 0, 0, dy * -0.2f);
        }
    } else if (mouse.shift) {
        if (pivot != nullptr) {
            pivot->SetPosition(pivot, dx * -0.02f, dy * 0.02f, 0);
        }
    } else if (mouse.left) {
        if (rm::Viewport* viewport = m_host.GetViewport()) {
            viewport->SetField(
                std::clamp(viewport->GetField() + dy * 0.005f, kSmallestField, kLargestField));
        }
    } else if (pivot != nullptr) {
        rm::Vector direction, up;
        pivot->GetOrientation(nullptr, &direction, &up);
        const rm::Vector pitchAxis = rm::VectorRotate(direction, up, kHalfPi);
        const rm::Quaternion q1 = rm::QuaternionFromRotation(pitchAxis, dy * -0.5f * kDegree);
        const rm::Quaternion q2 = rm::QuaternionFromRotation({0, 1, 0}, dx * -0.5f * kDegree);
        pivot->SetQuaternion(pivot, rm::QuaternionMultiply(q1, q2));
        m_host.SelectCameraView(0);
    }
}

void ViewInteraction::LeftDrag(const Mouse& mouse, float dx, float dy) {
    switch (Context().mouseFunction) {
    case MouseFunction::MoveModel:
        MoveModel(mouse, dx, dy);
        break;
    case MouseFunction::MovePart:
        Context().redrawRequest = true;
        if (rm::Frame* part = Context().SelectedPartInScene()) {
            MovePart(part, mouse, dx, dy);
        }
        break;
    case MouseFunction::Rotate:
        Context().redrawRequest = true;
        if (rm::Frame* part = Context().SelectedPartInScene()) {
            TurnPart(part, mouse, dx, dy);
        }
        break;
    case MouseFunction::Zoom:
        break;
    }
}

void ViewInteraction::MoveModel(const Mouse& mouse, float dx, float dy) {
    rm::Frame* root = AnimatedModelRoot(Context());
    rm::Frame* camera = m_host.GetCamera();
    if (root == nullptr || camera == nullptr) {
        return;
    }
    rm::Vector direction, up;
    camera->GetOrientation(Context().sceneRoot, &direction, &up);
    rm::Vector right = rm::VectorCrossProduct(direction, up);
    if (mouse.shift) {
        up.z = right.z = 0;
    } else {
        up.y = right.y = 0;
    }
    rm::VectorNormalize(&up);
    rm::VectorNormalize(&right);
    EditRest(root, Context().currentTime, [&] {
        rm::Vector p;
        root->GetPosition(Context().sceneRoot, &p);
        p.x -= (up.x * dy + right.x * dx) * 0.02f;
        if (mouse.shift) {
            p.y -= (up.y * dy + right.y * dx) * 0.02f;
        } else {
            p.z -= (up.z * dy + right.z * dx) * 0.02f;
        }
        root->SetPosition(Context().sceneRoot, p.x, p.y, p.z);
    });
    Context().redrawRequest = true;
    // The model's place is written with it: quitting must ask first.
    m_host.MarkDocumentModified();
}

void ViewInteraction::MovePart(rm::Frame* part, const Mouse& mouse, float dx, float dy) {
    const float v = Context().axisPositive ? dy : -dy;
    const auto move = [&] {
        rm::Vector p;
        part->GetPosition(nullptr, &p);
        if (Context().axisX) {
            p.x += dx * 0.02f;
        }
        if (mouse.shift) {
            if (Context().axisY) {
                p.y -= v * 0.02f;
            }
        } else if (Context().axisZ) {
            p.z -= v * 0.02f;
        }
        part->SetPosition(nullptr, p.x, p.y, p.z);
    };
    if (Context().operationMode != OperationMode::Animation) {
        EditRest(part, Context().currentTime, move);
        m_host.MarkDocumentModified();
        return;
    }
    EditPose(part, move);
    rm::Vector p;
    part->GetPosition(part->GetParent(), &p);
    rm::Animation* animation = PartAnimation(part);
    if (!PrepareKey(animation, rm::D3DRMANIMATION_POSITIONKEY)) {
        return;
    }
    animation->AddPositionKey(static_cast<float>(Context().keyTime), p.x, p.y, p.z);
    AfterKeyWritten();
}

void ViewInteraction::TurnPart(rm::Frame* part, const Mouse& mouse, float dx, float dy) {
    const float v = Context().axisPositive ? dy : -dy;
    if (Context().operationMode == OperationMode::ParentChild) {
        const float ax = Context().axisX ? v * -0.5f * kDegree : 0.0f;
        const float ay = Context().axisY ? dx * -0.5f * kDegree : 0.0f;
        const float az = Context().axisZ ? dx * -0.5f * kDegree : 0.0f;
        EditRest(part, Context().currentTime, [&] {
            part->SetRotation(part, 1, 0, 0, ax);
            part->Move(1.0f);
            if (mouse.shift) {
                part->SetRotation(part, 0, 0, 1, az);
            } else {
                part->SetRotation(part, 0, 1, 0, ay);
            }
            part->Move(1.0f);
            part->SetRotation(nullptr, 0, 0, 0, 0);
        });
        // The turn stays in the model's frames, which are saved.
        m_host.MarkDocumentModified();
        return;
    }
    const float ax = Context().axisX ? v * 0.5f * kDegree : 0.0f;
    const float ay = Context().axisY ? dx * 0.5f * kDegree : 0.0f;
    const float az = Context().axisZ ? dx * 0.5f * kDegree : 0.0f;
    const rm::Quaternion q1 = rm::QuaternionFromRotation({1, 0, 0}, ax);
    const rm::Quaternion q2 = mouse.shift ? rm::QuaternionFromRotation({0, 0, 1}, az)
                                          : rm::QuaternionFromRotation({0, 1, 0}, ay);
    rm::Frame* parent = part->GetParent();
    rm::Vector direction, up;
    part->GetOrientation(parent, &direction, &up);
    const rm::Quaternion q = rm::QuaternionMultiply(rm::QuaternionMultiply(q1, q2),
                                                    render::OrientationToQuaternion(direction, up));
    EditPose(part, [&] { part->SetQuaternion(parent, q); });
    rm::Animation* animation = PartAnimation(part);
    if (!PrepareKey(animation, rm::D3DRMANIMATION_ROTATEKEY)) {
        return;
    }
    animation->AddRotateKey(static_cast<float>(Context().keyTime), q);
    AfterKeyWritten();
}

void ViewInteraction::AfterKeyWritten() {
    // A key at a time the key-time list does not hold yet (the key time can differ from
    // the current time's whole part) must show on the bar.
    const float keyTime = static_cast<float>(Context().keyTime);
    bool listed = false;
    for (unsigned i = 0; i < Context().currentAnimation->KeyTimeCount() && !listed; ++i) {
        listed = Context().currentAnimation->KeyTime(static_cast<int>(i)) == keyTime;
    }
    if (!listed) {
        m_host.RefreshKeyRange(session::KeyTimeList::Rebuild);
    }
    m_host.MarkDocumentModified();
}

int ViewInteraction::PrepareKey(rm::Animation* animation, std::uint32_t keyType) {
    if (Context().currentAnimation == nullptr) {
        return 0;
    }
    const float now = static_cast<float>(ToKeyTime(Context().currentTime));
    bool listed = false;
    for (unsigned i = 0; i < Context().currentAnimation->KeyTimeCount() && !listed; ++i) {
        listed = Context().currentAnimation->KeyTime(static_cast<int>(i)) == now;
    }
    if (!listed && !m_host.AddKeyFrame(Prompting::Interactive)) {
        return 0;
    }
    if (animation == nullptr) {
        return 0;
    }
    const float time = static_cast<float>(Context().keyTime);
    for (const rm::AnimationKey& key : animation->Keys()) {
        if (key.dvTime > time) {
            break;
        }
        if (key.dvTime == time && key.dwKeyType == keyType) {
            animation->DeleteKeyByID(key.dwID);
            break;
        }
    }
    return 1;
}

void ViewInteraction::LeftButtonDown(const Mouse& mouse) {
    if (!mouse.right) {
        m_rightDrag = false;
    }
    if (m_rightDrag) {
        return;
    }
    CCharacterData* before = Context().currentCharacter;
    rm::Viewport* viewport = m_host.GetViewport();
    m_picks.clear();
    if (viewport != nullptr) {
        viewport->Pick(static_cast<int>(mouse.point.x() * m_pixelRatio),
                       static_cast<int>(mouse.point.y() * m_pixelRatio), &m_picks);
    }
    bool handled = false;
    if (m_picks.empty()) {
        m_pendingLink = Link::None;
    } else {
        const rm::PickRecord& pick = m_picks.front();
        rm::Frame* deepest = pick.framePath.empty() ? nullptr : pick.framePath.back().Get();
        if (pick.framePath.size() > 2) {
            PickCharacter(pick);
        }
        const Link link = std::exchange(m_pendingLink, Link::None);
        const bool linking =
            link != Link::None ||
            (mouse.shift && mouse.control && Context().operationMode == OperationMode::ParentChild);
        rm::Frame* selected = Context().SelectedPartInScene();
        if (linking && selected != nullptr && Context().currentCharacter == before &&
            deepest != nullptr) {
            handled = link == Link::Child ? Reparent(deepest, selected) : Reparent(deepest);
        } else if (pick.visual != nullptr) {
            handled = SelectPart(deepest, pick.visual.Get()) != 0;
        }
    }
    if (!handled) {
        UnselectPart();
    }
    BeginDrag();
}

void ViewInteraction::BeginDrag() {
    m_dragScope.reset();
    const char* stepName = nullptr;
    switch (Context().mouseFunction) {
    case MouseFunction::MoveModel:
        stepName = QT_TRANSLATE_NOOP("Pavrix", "モデルの移動");
        break;
    case MouseFunction::MovePart:
        stepName = QT_TRANSLATE_NOOP("Pavrix", "パーツの移動");
        break;
    case MouseFunction::Rotate:
        stepName = QT_TRANSLATE_NOOP("Pavrix", "パーツの回転");
        break;
    case MouseFunction::Zoom:
        return;
    }
    rm::Frame* part = Context().SelectedPartInScene();
    const bool keyed = Context().operationMode == OperationMode::Animation &&
                       Context().mouseFunction != MouseFunction::MoveModel;
    m_dragScope = std::make_unique<EditScope>(
        m_host.History(), Context(), framework::Tr(stepName),
        EditScope::ModelFrames | (keyed ? EditScope::PartAnimation : 0u),
        keyed && part != nullptr ? PartAnimation(part) : nullptr);
}

void ViewInteraction::LeftButtonUp() {
    m_leftDrag = false;
    m_dragScope.reset();
}

bool ViewInteraction::PickCharacter(const rm::PickRecord& pick) {
    rm::Frame* root = pick.framePath[2].Get();
    CCharacterData* character = nullptr;
    if (Context().libraries != nullptr) {
        for (auto* entry = Context().libraries->Characters().Head(); entry != nullptr;
             entry = entry->Next()) {
            CCharacterData& candidate = entry->Payload();
            if (candidate.m_model != nullptr && candidate.m_model->Root() == root) {
                character = &candidate;
                break;
            }
        }
    }
    Context().currentCharacter = character;
    Context().currentModel = character != nullptr ? character->m_model : nullptr;
    Context().currentAnimation = character != nullptr ? character->m_current : nullptr;
    if (character == nullptr) {
        m_host.ShowMessage(QString::fromLatin1(kNotCharacter));
        return false;
    }
    if (Context().currentModel == nullptr) {
        m_host.ShowMessage(QString::fromLatin1(kNotModel));
        return false;
    }
    if (Context().currentAnimation == nullptr) {
        m_host.ShowMessage(QString::fromLatin1(kNotAnimation));
        return false;
    }
    Context().currentTime =
        Context().currentAnimation->Set() != nullptr ? Context().currentAnimation->m_time : -1.0f;
    Context().keyTime = ToKeyTime(Context().currentTime);
    m_host.RefreshKeyRange(session::KeyTimeList::Keep);
    m_host.RefreshTimeDisplay();
    return true;
}

rm::Frame* ViewInteraction::SelectedPartNow() const {
    return Context().selection.Part();
}

bool ViewInteraction::Reparent(rm::Frame* part, rm::Frame* target) {
    Context().redrawRequest = true;
    EditScope scope(m_host.History(), Context(),
                    framework::Tr(QT_TRANSLATE_NOOP("Pavrix", "親の変更")), EditScope::ModelFrames);
    rm::Frame* root = Context().currentModel != nullptr ? Context().currentModel->Root() : nullptr;
    // Only parts of the current model move, within it; its root has no parent to change,
    // and no frame may end up under itself.
    if (root == nullptr || !IsInside(part, root) || !IsInside(target, root)) {
        return true;
    }
    if (part == root) {
        m_host.ShowMessage(framework::Tr(kRootHasNoParent));
        return true;
    }
    rm::Frame* parent = target;
    if (target == part) {
        m_host.ShowMessage(framework::Tr(kParentIsRoot));
        parent = root;
    } else {
        m_host.ShowMessage(framework::Tr(kParentChanged));
        if (IsInside(target, part)) {
            root->AddChild(target);
        }
    }
    parent->AddChild(part);
    // The part keeps its visuals but takes another place in the depth-first order.
    Context().selection.Resolve(Context().sceneRoot, root);
    m_host.MarkDocumentModified();
    // The bars and the timeline's part tree show the new tree (the key-time list stays).
    m_host.RefreshKeyRange(session::KeyTimeList::Keep);
    return true;
}

// ---------------------------------------------------------------------------------------
// Keys.

bool ViewInteraction::KeyDown(Key key, bool alt) {
    if (alt) {
        return false;
    }
    int preset = -1;
    switch (key) {
    case Key::Escape:
        if (m_pendingLink == Link::None) {
            return false;
        }
        m_pendingLink = Link::None;
        return true;
    case Key::Left:
        m_host.PreviousKey();
        break;
    case Key::Right:
        m_host.NextKey();
        break;
    case Key::Up:
        SelectNextPart();
        break;
    case Key::Down:
        SelectPreviousPart();
        break;
    case Key::Pad2:
    case Key::Pad8:
    case Key::Pad4:
    case Key::Pad6:
    case Key::Pad5:
    case Key::Pad0:
        preset = CameraPresetOf(key);
        break;
    case Key::Other:
        return false;
    }
    if (preset > 0) {
        m_host.SelectCameraView(preset);
        m_host.ApplyCameraView();
    }
    Context().redrawRequest = true;
    return true;
}
