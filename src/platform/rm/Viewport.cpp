#include "platform/rm/Viewport.h"

#include "platform/rm/Math.h"
#include "platform/rm/ViewportPicker.h"

namespace rm {

Viewport::Viewport(Device* device, Frame* camera, int x, int y, int width, int height)
    : m_device(device), m_camera(camera), m_x(x), m_y(y), m_width(width), m_height(height) {}

HRESULT Viewport::Create(Device* device, Frame* camera, int x, int y, int width, int height,
                         Ref<Viewport>* viewport) {
    if (!viewport) {
        return D3DRMERR_BADVALUE;
    }
    *viewport = nullptr;
    if (!device || !camera) {
        return D3DRMERR_BADOBJECT;
    }
    if (x < 0 || y < 0 || width < 1 || height < 1 || x + width > device->GetWidth() ||
        y + height > device->GetHeight()) {
        return D3DRMERR_BADVALUE;
    }
    *viewport = Ref<Viewport>::Adopt(new Viewport(device, camera, x, y, width, height));
    return D3DRM_OK;
}

HRESULT Viewport::SetCamera(Frame* camera) {
    if (!camera) {
        return D3DRMERR_BADOBJECT;
    }
    m_camera = camera;
    return D3DRM_OK;
}

HRESULT Viewport::SetField(float field) {
    if (!(field > 0)) {
        return D3DRMERR_BADVALUE;
    }
    m_field = field;
    return D3DRM_OK;
}

HRESULT Viewport::SetFront(float front) {
    if (!(front > 0) || !(front < m_back)) {
        return D3DRMERR_BADVALUE;
    }
    m_front = front;
    return D3DRM_OK;
}

HRESULT Viewport::SetBack(float back) {
    if (!(back > m_front)) {
        return D3DRMERR_BADVALUE;
    }
    m_back = back;
    return D3DRM_OK;
}

HRESULT Viewport::SetProjection(D3DRMPROJECTIONTYPE type) {
    if (type != D3DRMPROJECT_PERSPECTIVE && type != D3DRMPROJECT_ORTHOGRAPHIC) {
        return D3DRMERR_BADVALUE;
    }
    m_projection = type;
    return D3DRM_OK;
}

ViewportProjection Viewport::Projection() const {
    return ViewportProjection(m_x, m_y, m_width, m_height, m_field, m_front, m_back, m_projection);
}

HRESULT Viewport::Clear(std::uint32_t flags) {
    const D3DCOLOR background = m_camera->GetScene()->GetSceneBackground();
    return m_device->ClearRect(m_x, m_y, m_width, m_height, flags, background);
}

HRESULT Viewport::Render(Frame* frame) {
    if (!frame) {
        return D3DRMERR_BADOBJECT;
    }
    const Matrix4 camera = CameraWorld();
    Matrix4 view;
    MatrixInvert(camera, &view);
    Device::ViewState state;
    state.worldToClip = MatrixMultiply(view, Projection().ClipMatrix());
    if (m_projection == D3DRMPROJECT_PERSPECTIVE) {
        state.eye = {camera.m[3][0], camera.m[3][1], camera.m[3][2], 1};
    } else {
        Vector towards{-camera.m[2][0], -camera.m[2][1], -camera.m[2][2]};
        VectorNormalize(&towards);
        state.eye = {towards.x, towards.y, towards.z, 0};
    }
    state.x = m_x;
    state.y = m_y;
    state.width = m_width;
    state.height = m_height;
    return m_device->RenderTree(frame, state);
}

HRESULT Viewport::ForceUpdate(int x1, int y1, int x2, int y2) {
    return (x1 > x2 || y1 > y2) ? D3DRMERR_BADVALUE : D3DRM_OK;
}

HRESULT Viewport::Transform(Vector4* screen, const Vector& world) const {
    if (!screen) {
        return D3DRMERR_BADVALUE;
    }
    Matrix4 view;
    MatrixInvert(CameraWorld(), &view);
    *screen = Projection().CameraToScreen(TransformPoint(world, view));
    return D3DRM_OK;
}

HRESULT Viewport::InverseTransform(Vector* world, const Vector4& screen) const {
    if (!world || screen.w == 0) {
        return D3DRMERR_BADVALUE;
    }
    const float sx = screen.x / screen.w;
    const float sy = screen.y / screen.w;
    const ViewportProjection p = Projection();
    Vector origin, direction;
    p.ScreenRay(sx, sy, &origin, &direction);
    // The ray's parameter is the camera depth: w itself in perspective, and the depth
    // fraction z / w between the planes in parallel projection.
    const float depth = m_projection == D3DRMPROJECT_PERSPECTIVE
                            ? screen.w
                            : m_front + (screen.z / screen.w) * (m_back - m_front);
    const Vector camera = VectorAdd(origin, VectorScale(direction, depth));
    *world = TransformPoint(camera, CameraWorld());
    return D3DRM_OK;
}

HRESULT Viewport::Pick(int x, int y, std::vector<PickRecord>* picks) const {
    if (!picks) {
        return D3DRMERR_BADVALUE;
    }
    picks->clear();
    if (x < m_x || y < m_y || x >= m_x + m_width || y >= m_y + m_height) {
        return D3DRMERR_BADVALUE;
    }
    Vector origin, direction;
    Projection().ScreenRay(float(x) + 0.5f, float(y) + 0.5f, &origin, &direction);
    const Matrix4 camera = CameraWorld();
    const Vector worldOrigin = TransformPoint(origin, camera);
    const Vector worldDirection = TransformDirection(direction, camera);
    ViewportPicker picker;
    picker.Cast(m_camera->GetScene(), worldOrigin, worldDirection, m_front, m_back, picks);
    return D3DRM_OK;
}

} // namespace rm
