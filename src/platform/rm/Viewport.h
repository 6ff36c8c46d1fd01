#pragma once

#include <cstdint>
#include <vector>

#include "platform/rm/Device.h"
#include "platform/rm/Frame.h"
#include "platform/rm/Object.h"
#include "platform/rm/ViewportProjection.h"

namespace rm {

// Clear flags.
inline constexpr std::uint32_t D3DRMCLEAR_TARGET = 0x1;
inline constexpr std::uint32_t D3DRMCLEAR_ZBUFFER = 0x2;
inline constexpr std::uint32_t D3DRMCLEAR_DIRTYRECTS = 0x4;
inline constexpr std::uint32_t D3DRMCLEAR_ALL = 0x7;

/// One visual found by Pick.
struct PickRecord {
    Ref<Visual> visual;
    /// The frames from the root of the camera's scene down to the frame holding the
    /// visual (that frame last).
    std::vector<Ref<Frame>> framePath;
    /// The face hit: for a mesh, its index within group `group`; for a mesh builder, its
    /// face index (group -1).
    std::uint32_t face = 0;
    std::int32_t group = -1;
    /// Where the ray met the face, in world coordinates.
    Vector position;
    /// The camera depth of that point (distance along the view axis).
    float depth = 0;
};

/// A view of the scene: a rectangle of a device, a camera frame and the projection (see
/// ViewportProjection for the formulas). Defaults: perspective, field 0.5, front plane 1,
/// back plane 100.
class Viewport : public Object {
public:
    /// A viewport of device showing what camera sees, at (x, y) with the given size in
    /// device pixels. D3DRMERR_BADOBJECT without device or camera; D3DRMERR_BADVALUE for
    /// a rectangle that is empty or leaves the device.
    static HRESULT Create(Device* device, Frame* camera, int x, int y, int width, int height,
                          Ref<Viewport>* viewport);

    Device* GetDevice() const { return m_device.Get(); }
    Frame* GetCamera() const { return m_camera.Get(); }
    HRESULT SetCamera(Frame* camera);
    int GetX() const { return m_x; }
    int GetY() const { return m_y; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }

    /// Half the larger side of the view window on the front plane; above 0.
    HRESULT SetField(float field);
    float GetField() const { return m_field; }
    /// Distance of the front clipping plane; above 0 and below the back plane.
    HRESULT SetFront(float front);
    float GetFront() const { return m_front; }
    /// Distance of the back clipping plane; beyond the front plane.
    HRESULT SetBack(float back);
    float GetBack() const { return m_back; }
    HRESULT SetProjection(D3DRMPROJECTIONTYPE type);
    D3DRMPROJECTIONTYPE GetProjection() const { return m_projection; }
    ViewportProjection Projection() const;

    /// Clears the viewport's rectangle: colour to the background of the camera's scene
    /// (the root of the camera's tree) with D3DRMCLEAR_TARGET, depth with
    /// D3DRMCLEAR_ZBUFFER.
    HRESULT Clear(std::uint32_t flags = D3DRMCLEAR_ALL);
    /// Draws frame's tree as the camera sees it (frame need not be in the camera's tree).
    HRESULT Render(Frame* frame);
    /// Asks for the rectangle to be shown again; drawing off screen keeps nothing
    /// pending, so this only checks the rectangle (D3DRMERR_BADVALUE when x1 > x2 or
    /// y1 > y2).
    HRESULT ForceUpdate(int x1, int y1, int x2, int y2);

    /// A world point to homogeneous screen coordinates: x / w and y / w are device pixels
    /// (y down), w <= 0 means behind the camera (see ViewportProjection).
    HRESULT Transform(Vector4* screen, const Vector& world) const;
    /// The inverse: a homogeneous screen point back to the world (w must not be 0).
    HRESULT InverseTransform(Vector* world, const Vector4& screen) const;

    /// The pickable visuals of the camera's scene under device pixel (x, y), nearest
    /// first, each with its frame path and the face hit. Only faces turned towards the
    /// camera between the front and back planes count; visuals whose mesh or builder
    /// has picking disabled are never returned. D3DRMERR_BADVALUE for a point outside
    /// the viewport.
    HRESULT Pick(int x, int y, std::vector<PickRecord>* picks) const;

protected:
    const char* ClassName() const override { return "Viewport"; }

private:
    Viewport(Device* device, Frame* camera, int x, int y, int width, int height);
    Matrix4 CameraWorld() const { return m_camera->WorldTransform(); }

    Ref<Device> m_device;
    Ref<Frame> m_camera;
    int m_x, m_y, m_width, m_height;
    float m_field = 0.5f;
    float m_front = 1.0f;
    float m_back = 100.0f;
    D3DRMPROJECTIONTYPE m_projection = D3DRMPROJECT_PERSPECTIVE;
};

} // namespace rm
