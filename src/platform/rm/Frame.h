#pragma once

#include <utility>
#include <vector>

#include "platform/rm/CarriedObject.h"
#include "platform/rm/Light.h"
#include "platform/rm/Object.h"
#include "platform/rm/Visual.h"

namespace rm {

/// A node of the scene tree. Each frame keeps two transforms relative to its parent, as
/// 4x4 matrices:
/// - the rest transform, the model's: exactly as it was loaded or last set, so a frame
///   nothing edits is written back with the numbers it was read with;
/// - the pose, what is drawn and picked: the rest transform, or what an animation made of
///   it for the time shown (SetPose).
/// Every transform operation below but SetPose edits the model: it works on the pose (the
/// frame as it is seen) and writes its result as both the rest transform and the pose. To
/// edit the rest of a posed frame in its parent's coordinates, ResetPose first. Every
/// operation that takes a reference frame works in that frame's coordinates; a null
/// reference means world coordinates.
///
/// Ownership: a parent holds a reference to each child; a child's parent pointer is
/// borrowed. Visuals and lights are held by reference.
class Frame : public Object {
public:
    Frame();
    ~Frame() override;
    const char* ClassName() const override { return "Frame"; }

    /// Loads every top-level frame of a .x file as a child of this frame (see
    /// XFileLoader.h for results and messages). Texture images the file names by a
    /// relative path are looked for in textureDirectory (null or empty: the current
    /// directory).
    HRESULT Load(const char* fileName, const char* textureDirectory = nullptr);

    // Tree.
    /// Makes child a child of this frame, removing it from its present parent first.
    /// The child keeps its local transform. Fails for null, this frame or an ancestor.
    HRESULT AddChild(Frame* child);
    /// Detaches child; D3DRMERR_NOTFOUND when it is not a child of this frame.
    HRESULT DeleteChild(Frame* child);
    /// A snapshot of the children, in the order they were added.
    std::vector<Ref<Frame>> GetChildren() const { return m_children; }
    /// The children without copying (do not change the tree while walking it).
    const std::vector<Ref<Frame>>& Children() const { return m_children; }
    /// The parent, or null for a root (borrowed).
    Frame* GetParent() const { return m_parent; }
    /// The root of this frame's tree (borrowed).
    Frame* GetScene();

    // Visuals and lights.
    HRESULT AddVisual(Visual* visual);
    HRESULT DeleteVisual(Visual* visual);
    std::vector<Ref<Visual>> GetVisuals() const { return m_visuals; }
    const std::vector<Ref<Visual>>& Visuals() const { return m_visuals; }
    HRESULT AddLight(Light* light);
    HRESULT DeleteLight(Light* light);
    const std::vector<Ref<Light>>& GetLights() const { return m_lights; }

    // Transforms. All relative to `reference` (null: world).
    HRESULT GetTransform(Frame* reference, Matrix4* out) const;
    /// The pose: the local matrix relative to the parent as drawn.
    const Matrix4& LocalTransform() const { return m_local; }
    /// The rest transform: the model's local matrix relative to the parent, which a save
    /// writes and posing starts from.
    const Matrix4& GetRestTransform() const { return m_rest; }
    /// Sets the rest transform and makes it the pose.
    void SetRestTransform(const Matrix4& m) { m_local = m_rest = m; }
    /// Poses the frame: the rest transform stays.
    void SetPose(const Matrix4& m) { m_local = m; }
    /// Puts the pose back to the rest transform.
    void ResetPose() { m_local = m_rest; }
    /// Whether the pose is the rest transform.
    bool IsAtRest() const;
    /// Combines m with the local matrix: replace, m before (m L) or after (L m).
    HRESULT AddTransform(D3DRMCOMBINETYPE type, const Matrix4& m);
    HRESULT AddTranslation(D3DRMCOMBINETYPE type, float x, float y, float z);
    HRESULT AddScale(D3DRMCOMBINETYPE type, float sx, float sy, float sz);
    HRESULT AddRotation(D3DRMCOMBINETYPE type, float x, float y, float z, float theta);
    HRESULT GetPosition(Frame* reference, Vector* position) const;
    HRESULT SetPosition(Frame* reference, float x, float y, float z);
    /// Unit vectors of the frame's +z (direction) and +y (up) axes.
    HRESULT GetOrientation(Frame* reference, Vector* direction, Vector* up) const;
    /// Turns the frame so its +z axis points along direction and +y along up (made
    /// orthogonal to direction), keeping its position; any scale is dropped.
    HRESULT SetOrientation(Frame* reference, float dx, float dy, float dz, float ux, float uy,
                           float uz);
    /// Sets the rotation to q relative to reference, keeping the position.
    HRESULT SetQuaternion(Frame* reference, const Quaternion& q);
    /// The rotation relative to reference.
    HRESULT GetQuaternion(Frame* reference, Quaternion* q) const;
    /// Points the +z axis at target's origin (the up axis follows reference's +y).
    HRESULT LookAt(Frame* target, Frame* reference, D3DRMFRAMECONSTRAINT constraint);
    /// Sets the spin that Move applies: theta radians per unit of time about the axis,
    /// given in reference's coordinates.
    HRESULT SetRotation(Frame* reference, float x, float y, float z, float theta);
    /// Sets the velocity that Move applies, per unit of time, in reference's coordinates.
    HRESULT SetVelocity(Frame* reference, float x, float y, float z);
    /// Applies spin and velocity for `delta` units of time to this frame and its subtree.
    HRESULT Move(float delta);

    /// A point in this frame's coordinates to world coordinates.
    HRESULT Transform(Vector* world, const Vector* local) const;
    /// A world point to this frame's coordinates.
    HRESULT InverseTransform(Vector* local, const Vector* world) const;
    /// World matrix (local times the parents').
    Matrix4 WorldTransform() const;

    /// Box of every visual of this frame and its subtree, in this frame's coordinates.
    /// D3DRMERR_BADVALUE and a zero box when the subtree shows nothing.
    HRESULT GetHierarchyBox(Box* box) const;

    // Scene settings (used on the root of a tree).
    HRESULT SetZbufferMode(D3DRMZBUFFERMODE mode) {
        m_zbufferMode = mode;
        return D3DRM_OK;
    }
    D3DRMZBUFFERMODE GetZbufferMode() const { return m_zbufferMode; }
    HRESULT SetSceneBackground(D3DCOLOR color) {
        m_background = color;
        return D3DRM_OK;
    }
    HRESULT SetSceneBackgroundRGB(float r, float g, float b);
    D3DCOLOR GetSceneBackground() const { return m_background; }

    /// Data objects of templates this library does not interpret, in file order: the
    /// frame's own, and on the frame a file's frames were loaded into (Load), the file's
    /// top-level ones after those it held.
    const std::vector<CarriedObject>& CarriedObjects() const { return m_carried; }
    void SetCarriedObjects(std::vector<CarriedObject> objects) { m_carried = std::move(objects); }

private:
    bool IsAncestorOf(const Frame* frame) const;
    /// `direction`, given in reference's coordinates (null: the world's), in the parent's.
    Vector DirectionInParent(const Frame* reference, Vector direction) const;
    /// Matrix of this frame relative to reference: W(this) inverse(W(reference)).
    Matrix4 RelativeTo(const Frame* reference) const;
    /// Makes W(this) equal to rel * W(reference) by changing the local matrix.
    void SetRelative(const Frame* reference, const Matrix4& rel);
    void SetLocal(const Matrix4& m) { m_local = m_rest = m; }

    Frame* m_parent = nullptr;
    std::vector<Ref<Frame>> m_children;
    std::vector<Ref<Visual>> m_visuals;
    std::vector<Ref<Light>> m_lights;
    Matrix4 m_local;
    Matrix4 m_rest;
    Vector m_rotationAxis{0, 1, 0}; // in parent coordinates
    float m_rotationTheta = 0;
    Vector m_velocity; // in parent coordinates
    D3DRMZBUFFERMODE m_zbufferMode = D3DRMZBUFFER_FROMPARENT;
    D3DCOLOR m_background = 0xFF000000;
    std::vector<CarriedObject> m_carried;
};

} // namespace rm
