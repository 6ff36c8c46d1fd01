#include "view/ViewPanes.h"

#include <algorithm>
#include <cmath>

#include "platform/rm/Context.h"
#include "platform/rm/Device.h"
#include "platform/rm/Frame.h"
#include "render/Direct3R.h"

namespace {

// Direction of view and up of the fixed panes (top, front, left), as the control panel's
// camera views of the same names point the pivot.
struct Axis {
    float dx, dy, dz, ux, uy, uz;
};
constexpr Axis kAxes[3] = {
    {0, -1, 0, 0, 0, 1}, // top
    {0, 0, 1, 0, 1, 0},  // front
    {1, 0, 0, 0, 1, 0},  // left
};
// How far behind the pivot a fixed camera stands (well inside the back plane).
constexpr float kStandOff = 500.0f;

} // namespace

ViewPanes::~ViewPanes() {
    Release();
}

void ViewPanes::Release() {
    for (auto& pane : m_panes) {
        pane = nullptr;
    }
    for (auto& camera : m_cameras) {
        if (camera != nullptr && camera->GetParent() != nullptr) {
            camera->GetParent()->DeleteChild(camera.Get());
        }
        camera = nullptr;
    }
    m_drawOrder.clear();
    m_madeFor = nullptr;
}

std::span<rm::Viewport* const> ViewPanes::Update(render::Direct3R& device, rm::Frame* sceneRoot,
                                                 rm::Frame* pivot) {
    rm::Viewport* user = device.Viewport();
    rm::Device* target = device.D3DRMDevice();
    if (!IsSplit() || user == nullptr || target == nullptr || sceneRoot == nullptr ||
        pivot == nullptr || device.D3DRM() == nullptr) {
        return {};
    }
    const int width = target->GetWidth();
    const int height = target->GetHeight();
    if (m_madeFor != target || width != m_width || height != m_height || m_drawOrder.empty()) {
        Release();
        for (auto& camera : m_cameras) {
            device.D3DRM()->CreateFrame(sceneRoot, &camera);
        }
        const int w = std::max(1, width / 2);
        const int h = std::max(1, height / 2);
        const int x[4] = {0, width - w, 0, width - w};
        const int y[4] = {0, 0, height - h, height - h};
        for (int i = 0; i < 4; ++i) {
            rm::Frame* camera = i < 3 ? m_cameras[i].Get() : user->GetCamera();
            if (rm::Failed(device.D3DRM()->CreateViewport(target, camera, x[i], y[i], w, h,
                                                          &m_panes[i]))) {
                Release();
                return {};
            }
        }
        m_drawOrder = {m_panes[3].Get(), m_panes[0].Get(), m_panes[1].Get(), m_panes[2].Get()};
        m_madeFor = target;
        m_width = width;
        m_height = height;
    }

    rm::Viewport* userPane = m_panes[3].Get();
    userPane->SetProjection(user->GetProjection());
    userPane->SetField(user->GetField());
    userPane->SetFront(user->GetFront());
    userPane->SetBack(user->GetBack());

    // The fixed panes show the pivot at the scale the user's camera shows it.
    rm::Vector centre;
    pivot->GetPosition(nullptr, &centre);
    rm::Vector eye;
    user->GetCamera()->GetPosition(nullptr, &eye);
    const float distance = std::sqrt((eye.x - centre.x) * (eye.x - centre.x) +
                                     (eye.y - centre.y) * (eye.y - centre.y) +
                                     (eye.z - centre.z) * (eye.z - centre.z));
    const float field = user->GetProjection() == rm::D3DRMPROJECT_ORTHOGRAPHIC
                            ? user->GetField()
                            : user->GetField() * std::max(distance, 0.01f) / user->GetFront();
    for (int i = 0; i < 3; ++i) {
        const Axis& a = kAxes[i];
        m_cameras[i]->SetPosition(nullptr, centre.x - a.dx * kStandOff, centre.y - a.dy * kStandOff,
                                  centre.z - a.dz * kStandOff);
        m_cameras[i]->SetOrientation(nullptr, a.dx, a.dy, a.dz, a.ux, a.uy, a.uz);
        m_panes[i]->SetProjection(rm::D3DRMPROJECT_ORTHOGRAPHIC);
        m_panes[i]->SetField(field);
        m_panes[i]->SetBack(user->GetBack());
    }
    return m_drawOrder;
}

rm::Viewport* ViewPanes::PaneAt(int x, int y) const {
    if (!IsSplit()) {
        return nullptr;
    }
    for (const auto& pane : m_panes) {
        if (pane != nullptr && x >= pane->GetX() && y >= pane->GetY() &&
            x < pane->GetX() + pane->GetWidth() && y < pane->GetY() + pane->GetHeight()) {
            return pane.Get();
        }
    }
    return nullptr;
}

bool ViewPanes::Holds(const rm::Viewport* pane) const {
    for (const auto& each : m_panes) {
        if (pane != nullptr && each.Get() == pane) {
            return true;
        }
    }
    return false;
}
