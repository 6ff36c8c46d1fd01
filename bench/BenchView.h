#pragma once

// The editor's scene and view on the software rasteriser at 640 x 480, and the UV spheres
// the drawing and picking benchmarks fill it with.

#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "platform/NonCopyable.h"
#include "platform/rm/Context.h"
#include "platform/rm/Math.h"
#include "platform/rm/MeshBuilder.h"
#include "platform/surface/Driver.h"
#include "platform/surface/OffscreenWindow.h"
#include "render/ParentD3R.h"
#include "render/SceneSetup.h"

namespace bench {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

/// A UV sphere of slices x stacks quads (2 triangles each) with its normals, clockwise
/// seen from outside; (stacks + 1) x slices vertices.
inline rm::Ref<rm::MeshBuilder> MakeSphere(rm::Context* d3drm, float radius, int slices,
                                           int stacks) {
    std::vector<rm::Vector> points, normals;
    for (int s = 0; s <= stacks; ++s) {
        const float phi = std::numbers::pi_v<float> * float(s) / float(stacks);
        for (int i = 0; i < slices; ++i) {
            const float theta = 2 * std::numbers::pi_v<float> * float(i) / float(slices);
            const rm::Vector n{std::sin(phi) * std::cos(theta), std::cos(phi),
                               std::sin(phi) * std::sin(theta)};
            normals.push_back(n);
            points.push_back(rm::VectorScale(n, radius));
        }
    }
    std::vector<std::uint32_t> faces;
    for (int s = 0; s < stacks; ++s) {
        for (int i = 0; i < slices; ++i) {
            const auto a = std::uint32_t(s * slices + i);
            const auto b = std::uint32_t(s * slices + (i + 1) % slices);
            const auto c = b + std::uint32_t(slices);
            const auto d = a + std::uint32_t(slices);
            faces.insert(faces.end(), {4, a, a, b, b, c, c, d, d});
        }
    }
    faces.push_back(0);
    rm::Ref<rm::MeshBuilder> builder;
    d3drm->CreateMeshBuilder(&builder);
    builder->AddFaces(std::uint32_t(points.size()), points.data(), std::uint32_t(normals.size()),
                      normals.data(), faces.data());
    builder->SetColor(0xFFD0A070);
    return builder;
}

inline rm::Ref<rm::Mesh> ToMesh(const rm::Ref<rm::MeshBuilder>& builder) {
    rm::Ref<rm::Mesh> mesh;
    builder->CreateMesh(&mesh);
    return mesh;
}

/// The editor's scene frames with its camera rig, and a device on the software rasteriser
/// showing them in an offscreen window.
class BenchView : private platform::NonCopyable {
public:
    BenchView() : m_window(kWidth, kHeight) {
        render::SceneSetup::CreateSceneFrames(m_parent.D3DRM(), render::kAppWorkspaceColor,
                                              render::kInactiveBorderColor, &m_frames);
        m_parent.CreateChild(&m_device);
        for (const auto& d : surface::Driver::EnumerateSystemDevices()) {
            if (d.software) {
                m_device->UseDevices({d});
            }
        }
        m_ok = render::SceneSetup::SetUpView(m_device, &m_window, m_frames.sceneRoot.Get(), &m_rig,
                                             nullptr) == render::ViewSetupResult::Ok;
    }
    ~BenchView() {
        m_parts.clear();
        m_rig = render::CameraRig{};
        m_parent.ReleaseChild(&m_device);
    }

    bool Ok() const { return m_ok; }
    rm::Context* D3DRM() { return m_parent.D3DRM(); }
    render::Direct3R* Device() const { return m_device; }
    rm::Viewport* Viewport() const { return m_device->Viewport(); }
    rm::Frame* SceneRoot() const { return m_frames.sceneRoot.Get(); }
    rm::Frame* Camera() const { return m_rig.camera.Get(); }
    const std::vector<rm::Ref<rm::Frame>>& Parts() const { return m_parts; }
    /// A new frame under the scene frame, at `at`, showing visual (null: nothing).
    rm::Frame* AddPart(rm::Visual* visual, const rm::Vector& at) {
        rm::Ref<rm::Frame> part;
        m_parent.D3DRM()->CreateFrame(m_frames.sceneFrame.Get(), &part);
        part->SetPosition(nullptr, at.x, at.y, at.z);
        if (visual) {
            part->AddVisual(visual);
        }
        m_parts.push_back(part);
        return part.Get();
    }

private:
    render::ParentD3R m_parent;
    render::SceneFrames m_frames;
    render::Direct3R* m_device = nullptr;
    surface::OffscreenWindow m_window;
    render::CameraRig m_rig;
    std::vector<rm::Ref<rm::Frame>> m_parts;
    bool m_ok = false;
};

} // namespace bench
