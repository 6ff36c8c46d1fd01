#include "platform/rm/ViewportProjection.h"

#include <algorithm>

namespace rm {

ViewportProjection::ViewportProjection(int x0, int y0, int width, int height, float field,
                                       float front, float back, D3DRMPROJECTIONTYPE type)
    : m_x0(float(x0)), m_y0(float(y0)), m_width(float(std::max(width, 1))),
      m_height(float(std::max(height, 1))), m_front(front), m_back(back), m_type(type),
      m_k(std::max(m_width, m_height) / (2 * field)) {}

Vector4 ViewportProjection::CameraToScreen(const Vector& p) const {
    const float cx = m_x0 + m_width / 2;
    const float cy = m_y0 + m_height / 2;
    const float depth = (p.z - m_front) / (m_back - m_front);
    if (m_type == D3DRMPROJECT_ORTHOGRAPHIC) {
        return {cx + m_k * p.x, cy - m_k * p.y, depth, 1};
    }
    const float w = p.z;
    return {cx * w + m_k * m_front * p.x, cy * w - m_k * m_front * p.y, depth * w, w};
}

Matrix4 ViewportProjection::ClipMatrix() const {
    Matrix4 m;
    const float range = m_back - m_front;
    if (m_type == D3DRMPROJECT_ORTHOGRAPHIC) {
        m.m[0][0] = 2 * m_k / m_width;
        m.m[1][1] = 2 * m_k / m_height;
        m.m[2][2] = 2 / range;
        m.m[3][2] = -(m_back + m_front) / range;
        m.m[3][3] = 1;
        return m;
    }
    m.m[0][0] = 2 * m_k * m_front / m_width;
    m.m[1][1] = 2 * m_k * m_front / m_height;
    m.m[2][2] = (m_back + m_front) / range;
    m.m[2][3] = 1;
    m.m[3][2] = -2 * m_back * m_front / range;
    m.m[3][3] = 0;
    return m;
}

void ViewportProjection::ScreenRay(float sx, float sy, Vector* origin, Vector* direction) const {
    const float dx = sx - (m_x0 + m_width / 2);
    const float dy = (m_y0 + m_height / 2) - sy;
    if (m_type == D3DRMPROJECT_ORTHOGRAPHIC) {
        *origin = {dx / m_k, dy / m_k, 0};
        *direction = {0, 0, 1};
        return;
    }
    *origin = {0, 0, 0};
    *direction = {dx / (m_k * m_front), dy / (m_k * m_front), 1};
}

} // namespace rm
