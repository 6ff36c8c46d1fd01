#include "platform/rm/Frame.h"

#include <algorithm>

#include "platform/rm/Math.h"
#include "platform/rm/RefList.h"

namespace rm {

Frame::Frame() = default;

Frame::~Frame() {
    for (auto& child : m_children) {
        child->m_parent = nullptr;
    }
}

Frame* Frame::GetScene() {
    Frame* f = this;
    while (f->m_parent) {
        f = f->m_parent;
    }
    return f;
}

bool Frame::IsAncestorOf(const Frame* frame) const {
    for (const Frame* f = frame; f; f = f->m_parent) {
        if (f == this) {
            return true;
        }
    }
    return false;
}

HRESULT Frame::AddChild(Frame* child) {
    if (!child || child->IsAncestorOf(this)) {
        return D3DRMERR_BADOBJECT;
    }
    Ref<Frame> keep(child);
    if (child->m_parent) {
        child->m_parent->DeleteChild(child);
    }
    child->m_parent = this;
    m_children.push_back(std::move(keep));
    return D3DRM_OK;
}

HRESULT Frame::DeleteChild(Frame* child) {
    auto it = std::find(m_children.begin(), m_children.end(), child);
    if (!child || it == m_children.end()) {
        return D3DRMERR_NOTFOUND;
    }
    Ref<Frame> keep = *it; // the child may die only after its parent pointer is cleared
    m_children.erase(it);
    keep->m_parent = nullptr;
    return D3DRM_OK;
}

HRESULT Frame::AddVisual(Visual* visual) {
    return AppendReference(m_visuals, visual);
}

HRESULT Frame::DeleteVisual(Visual* visual) {
    return RemoveReference(m_visuals, visual);
}

HRESULT Frame::AddLight(Light* light) {
    return AppendReference(m_lights, light);
}

HRESULT Frame::DeleteLight(Light* light) {
    return RemoveReference(m_lights, light);
}

bool Frame::IsAtRest() const {
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            if (m_local.m[i][j] != m_rest.m[i][j]) {
                return false;
            }
        }
    }
    return true;
}

Matrix4 Frame::WorldTransform() const {
    Matrix4 w = m_local;
    for (const Frame* p = m_parent; p; p = p->m_parent) {
        w = MatrixMultiply(w, p->m_local);
    }
    return w;
}

Matrix4 Frame::RelativeTo(const Frame* reference) const {
    if (reference == m_parent && m_parent) {
        return m_local;
    }
    if (reference == this) {
        return Matrix4{};
    }
    const Matrix4 world = WorldTransform();
    if (!reference) {
        return world;
    }
    Matrix4 inv;
    MatrixInvert(reference->WorldTransform(), &inv);
    return MatrixMultiply(world, inv);
}

void Frame::SetRelative(const Frame* reference, const Matrix4& rel) {
    if (reference == m_parent) {
        // Relative to the parent (or world for a root) is the local matrix itself.
        SetLocal(rel);
        return;
    }
    const Matrix4 world = reference ? MatrixMultiply(rel, reference->WorldTransform()) : rel;
    if (!m_parent) {
        SetLocal(world);
        return;
    }
    Matrix4 invParent;
    MatrixInvert(m_parent->WorldTransform(), &invParent);
    SetLocal(MatrixMultiply(world, invParent));
}

HRESULT Frame::GetTransform(Frame* reference, Matrix4* out) const {
    if (!out) {
        return D3DRMERR_BADVALUE;
    }
    *out = RelativeTo(reference);
    return D3DRM_OK;
}

HRESULT Frame::AddTransform(D3DRMCOMBINETYPE type, const Matrix4& m) {
    switch (type) {
    case D3DRMCOMBINE_REPLACE:
        SetLocal(m);
        return D3DRM_OK;
    case D3DRMCOMBINE_BEFORE:
        SetLocal(MatrixMultiply(m, m_local));
        return D3DRM_OK;
    case D3DRMCOMBINE_AFTER:
        SetLocal(MatrixMultiply(m_local, m));
        return D3DRM_OK;
    }
    return D3DRMERR_BADVALUE;
}

HRESULT Frame::AddTranslation(D3DRMCOMBINETYPE type, float x, float y, float z) {
    return AddTransform(type, MatrixTranslation({x, y, z}));
}

HRESULT Frame::AddScale(D3DRMCOMBINETYPE type, float sx, float sy, float sz) {
    return AddTransform(type, MatrixScale({sx, sy, sz}));
}

HRESULT Frame::AddRotation(D3DRMCOMBINETYPE type, float x, float y, float z, float theta) {
    return AddTransform(type, MatrixFromQuaternion(QuaternionFromRotation({x, y, z}, theta)));
}

HRESULT Frame::GetPosition(Frame* reference, Vector* position) const {
    if (!position) {
        return D3DRMERR_BADVALUE;
    }
    const Matrix4 rel = RelativeTo(reference);
    *position = {rel.m[3][0], rel.m[3][1], rel.m[3][2]};
    return D3DRM_OK;
}

HRESULT Frame::SetPosition(Frame* reference, float x, float y, float z) {
    Matrix4 rel = RelativeTo(reference);
    rel.m[3][0] = x;
    rel.m[3][1] = y;
    rel.m[3][2] = z;
    SetRelative(reference, rel);
    return D3DRM_OK;
}

HRESULT Frame::GetOrientation(Frame* reference, Vector* direction, Vector* up) const {
    const Matrix4 rel = RelativeTo(reference);
    if (direction) {
        *direction = {rel.m[2][0], rel.m[2][1], rel.m[2][2]};
        VectorNormalize(direction);
    }
    if (up) {
        *up = {rel.m[1][0], rel.m[1][1], rel.m[1][2]};
        VectorNormalize(up);
    }
    return D3DRM_OK;
}

HRESULT Frame::SetOrientation(Frame* reference, float dx, float dy, float dz, float ux, float uy,
                              float uz) {
    Vector d{dx, dy, dz};
    Vector u{ux, uy, uz};
    if (!VectorNormalize(&d)) {
        return D3DRMERR_BADVALUE;
    }
    Vector r = VectorCrossProduct(u, d);
    if (!VectorNormalize(&r)) {
        return D3DRMERR_BADVALUE;
    }
    u = VectorCrossProduct(d, r);
    Matrix4 rel = RelativeTo(reference);
    const Vector rows[3] = {r, u, d};
    for (int i = 0; i < 3; ++i) {
        rel.m[i][0] = rows[i].x;
        rel.m[i][1] = rows[i].y;
        rel.m[i][2] = rows[i].z;
        rel.m[i][3] = 0;
    }
    SetRelative(reference, rel);
    return D3DRM_OK;
}

HRESULT Frame::SetQuaternion(Frame* reference, const Quaternion& q) {
    Matrix4 rel = RelativeTo(reference);
    const Matrix4 rot = MatrixFromQuaternion(QuaternionNormalize(q));
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 4; ++j) {
            rel.m[i][j] = rot.m[i][j];
        }
    }
    SetRelative(reference, rel);
    return D3DRM_OK;
}

HRESULT Frame::GetQuaternion(Frame* reference, Quaternion* q) const {
    if (!q) {
        return D3DRMERR_BADVALUE;
    }
    *q = DecomposeMatrix(RelativeTo(reference)).rotation;
    return D3DRM_OK;
}

HRESULT Frame::LookAt(Frame* target, Frame* reference, D3DRMFRAMECONSTRAINT /*constraint*/) {
    if (!target) {
        return D3DRMERR_BADOBJECT;
    }
    Vector from, to;
    GetPosition(reference, &from);
    target->GetPosition(reference, &to);
    const Vector d = VectorSubtract(to, from);
    if (VectorModulus(d) == 0) {
        return D3DRM_OK;
    }
    // An up axis parallel to the direction would leave no right axis: pick another.
    Vector up{0, 1, 0};
    Vector dn = d;
    VectorNormalize(&dn);
    if (std::abs(VectorDotProduct(dn, up)) > 0.999f) {
        up = {0, 0, 1};
    }
    return SetOrientation(reference, d.x, d.y, d.z, up.x, up.y, up.z);
}

Vector Frame::DirectionInParent(const Frame* reference, Vector direction) const {
    if (reference == m_parent) {
        return direction;
    }
    const Matrix4 toWorld = reference ? reference->WorldTransform() : Matrix4{};
    direction = TransformDirection(direction, toWorld);
    if (m_parent) {
        Matrix4 inv;
        MatrixInvert(m_parent->WorldTransform(), &inv);
        direction = TransformDirection(direction, inv);
    }
    return direction;
}

HRESULT Frame::SetRotation(Frame* reference, float x, float y, float z, float theta) {
    // In parent coordinates, where Move applies it.
    m_rotationAxis = DirectionInParent(reference, {x, y, z});
    m_rotationTheta = theta;
    return D3DRM_OK;
}

HRESULT Frame::SetVelocity(Frame* reference, float x, float y, float z) {
    m_velocity = DirectionInParent(reference, {x, y, z});
    return D3DRM_OK;
}

HRESULT Frame::Move(float delta) {
    if (m_rotationTheta != 0 && VectorModulus(m_rotationAxis) > 0) {
        // Spin about the frame's own origin: rotate the basis rows, keep the position.
        const Matrix4 rot =
            MatrixFromQuaternion(QuaternionFromRotation(m_rotationAxis, m_rotationTheta * delta));
        Matrix4 basis = m_local;
        basis.m[3][0] = basis.m[3][1] = basis.m[3][2] = 0;
        Matrix4 turned = MatrixMultiply(basis, rot);
        turned.m[3][0] = m_local.m[3][0];
        turned.m[3][1] = m_local.m[3][1];
        turned.m[3][2] = m_local.m[3][2];
        turned.m[3][3] = m_local.m[3][3];
        SetLocal(turned);
    }
    if (m_velocity.x != 0 || m_velocity.y != 0 || m_velocity.z != 0) {
        Matrix4 moved = m_local;
        moved.m[3][0] += m_velocity.x * delta;
        moved.m[3][1] += m_velocity.y * delta;
        moved.m[3][2] += m_velocity.z * delta;
        SetLocal(moved);
    }
    for (auto& child : m_children) {
        child->Move(delta);
    }
    return D3DRM_OK;
}

HRESULT Frame::Transform(Vector* world, const Vector* local) const {
    if (!world || !local) {
        return D3DRMERR_BADVALUE;
    }
    *world = TransformPoint(*local, WorldTransform());
    return D3DRM_OK;
}

HRESULT Frame::InverseTransform(Vector* local, const Vector* world) const {
    if (!world || !local) {
        return D3DRMERR_BADVALUE;
    }
    Matrix4 inv;
    MatrixInvert(WorldTransform(), &inv);
    *local = TransformPoint(*world, inv);
    return D3DRM_OK;
}

namespace {
void Grow(Box* box, bool* any, const Vector& p) {
    if (!*any) {
        *box = {p, p};
        *any = true;
        return;
    }
    box->min = {std::min(box->min.x, p.x), std::min(box->min.y, p.y), std::min(box->min.z, p.z)};
    box->max = {std::max(box->max.x, p.x), std::max(box->max.y, p.y), std::max(box->max.z, p.z)};
}

void GrowHierarchy(const Frame* frame, const Matrix4& toRoot, Box* box, bool* any) {
    for (const auto& visual : frame->Visuals()) {
        Box b;
        if (Failed(visual->GetBox(&b))) {
            continue;
        }
        for (int i = 0; i < 8; ++i) {
            const Vector corner{(i & 1) ? b.max.x : b.min.x, (i & 2) ? b.max.y : b.min.y,
                                (i & 4) ? b.max.z : b.min.z};
            Grow(box, any, TransformPoint(corner, toRoot));
        }
    }
    for (const auto& child : frame->Children()) {
        GrowHierarchy(child.Get(), MatrixMultiply(child->LocalTransform(), toRoot), box, any);
    }
}
} // namespace

HRESULT Frame::GetHierarchyBox(Box* box) const {
    if (!box) {
        return D3DRMERR_BADVALUE;
    }
    bool any = false;
    *box = Box{};
    GrowHierarchy(this, Matrix4{}, box, &any);
    return any ? D3DRM_OK : D3DRMERR_BADVALUE;
}

HRESULT Frame::SetSceneBackgroundRGB(float r, float g, float b) {
    m_background = CreateColorRGB(r, g, b);
    return D3DRM_OK;
}

} // namespace rm
