#include "render/SceneSetup.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "platform/rm/Math.h"

namespace render {

namespace {

// Pixel positions far off screen still have to fit an int.
int ToPixel(float value) {
    if (!(value > float(INT_MIN))) {
        return INT_MIN;
    }
    if (!(value < float(INT_MAX))) {
        return INT_MAX;
    }
    return int(value);
}

// A wireframe mesh of `vertexCount` vertices joined by `faces` (as AddFaces takes them) in
// `colour`, scaled by `scale`, with the mesh builder flags `enable`; null when it cannot be
// made.
rm::Ref<rm::Mesh> WireframeMesh(rm::Context* d3drm, std::uint32_t vertexCount,
                                const rm::Vector* vertices, const std::uint32_t* faces,
                                rm::D3DCOLOR colour, float scale, std::uint32_t enable) {
    rm::Ref<rm::MeshBuilder> builder;
    rm::Ref<rm::Mesh> mesh;
    if (rm::Failed(d3drm->CreateMeshBuilder(&builder)) ||
        rm::Failed(builder->AddFaces(vertexCount, vertices, 0, nullptr, faces))) {
        return {};
    }
    builder->SetQuality(rm::D3DRMRENDER_WIREFRAME);
    builder->SetColor(colour);
    builder->Enable(enable);
    if (scale != 1) {
        builder->Scale(scale, scale, scale);
    }
    if (rm::Failed(builder->CreateMesh(&mesh))) {
        return {};
    }
    return mesh;
}

} // namespace

int SceneSetup::CreateSceneFrames(rm::Context* d3drm, rm::D3DCOLOR background,
                                  rm::D3DCOLOR gridColour, SceneFrames* frames) {
    if (!d3drm || !frames) {
        return 0;
    }
    *frames = SceneFrames{};
    rm::Ref<rm::Frame> root;
    if (rm::Failed(d3drm->CreateFrame(nullptr, &root))) {
        return 0;
    }
    root->SetSceneBackgroundRGB(rm::ColorGetRed(background), rm::ColorGetGreen(background),
                                rm::ColorGetBlue(background));

    rm::Ref<rm::Light> ambient;
    if (rm::Failed(d3drm->CreateLightRGB(rm::D3DRMLIGHT_AMBIENT, 0.4f, 0.4f, 0.4f, &ambient))) {
        return 0;
    }
    root->AddLight(ambient.Get());

    rm::Ref<rm::Frame> lightFrame;
    rm::Ref<rm::Light> parallel;
    if (rm::Failed(d3drm->CreateFrame(root.Get(), &lightFrame)) ||
        rm::Failed(
            d3drm->CreateLightRGB(rm::D3DRMLIGHT_PARALLELPOINT, 0.8f, 0.8f, 0.8f, &parallel))) {
        return 0;
    }
    lightFrame->SetPosition(root.Get(), 50, 100, -50);
    lightFrame->LookAt(root.Get(), nullptr, rm::D3DRMCONSTRAIN_Z);
    lightFrame->AddLight(parallel.Get());

    rm::Ref<rm::Frame> sceneFrame;
    if (rm::Failed(d3drm->CreateFrame(root.Get(), &sceneFrame))) {
        return 0;
    }
    rm::Ref<rm::Frame> grid;
    if (!BuildGrid(d3drm, gridColour, &grid)) {
        return 0;
    }
    frames->sceneRoot = root;
    frames->sceneFrame = sceneFrame;
    frames->gridFrame = grid;
    return 1;
}

int SceneSetup::BuildGrid(rm::Context* d3drm, rm::D3DCOLOR gridColour,
                          rm::Ref<rm::Frame>* gridFrame) {
    if (!d3drm || !gridFrame) {
        return 0;
    }
    rm::Vector vertices[169];
    for (int r = 0; r <= 12; ++r) {
        for (int c = 0; c <= 12; ++c) {
            vertices[13 * r + c] = {float(c - 6), 0, float(6 - r)};
        }
    }
    // Every cell in both windings, so the floor shows from above and from below.
    std::uint32_t faces[288 * 5 + 1];
    std::size_t w = 0;
    for (std::uint32_t r = 0; r < 12; ++r) {
        for (std::uint32_t c = 0; c < 12; ++c) {
            const std::uint32_t i = 13 * r + c;
            const std::uint32_t quad[4] = {i, i + 1, i + 14, i + 13};
            faces[w++] = 4;
            for (std::uint32_t k = 0; k < 4; ++k) {
                faces[w++] = quad[k];
            }
            faces[w++] = 4;
            for (std::uint32_t k = 0; k < 4; ++k) {
                faces[w++] = quad[3 - k];
            }
        }
    }
    faces[w] = 0;

    const rm::Ref<rm::Mesh> mesh =
        WireframeMesh(d3drm, 169, vertices, faces, gridColour | 0xFF000000u, 3,
                      rm::D3DRMMESHBUILDER_RENDERENABLE | rm::D3DRMMESHBUILDER_PICKENABLE);
    if (!mesh) {
        return 0;
    }
    *gridFrame = nullptr;
    rm::Ref<rm::Frame> frame;
    if (rm::Failed(d3drm->CreateFrame(nullptr, &frame))) {
        return 0;
    }
    frame->AddVisual(mesh.Get());
    *gridFrame = frame;
    return 1;
}

int SceneSetup::CreateCameraRig(rm::Context* d3drm, rm::Frame* sceneRoot, CameraRig* rig) {
    if (!d3drm || !sceneRoot || !rig) {
        return 0;
    }
    *rig = CameraRig{};
    rm::Ref<rm::Frame> pivot, camera;
    if (rm::Failed(d3drm->CreateFrame(sceneRoot, &pivot))) {
        return 0;
    }
    pivot->SetPosition(nullptr, 0, 0, 0);
    pivot->SetOrientation(nullptr, 0, 0, 1, 0, 1, 0);
    pivot->SetQuaternion(pivot.Get(), rm::QuaternionFromRotation({1, 0, 0}, -0.0523599f));
    if (rm::Failed(d3drm->CreateFrame(pivot.Get(), &camera))) {
        return 0;
    }
    camera->SetPosition(pivot.Get(), 0, 0, -15);
    camera->SetOrientation(pivot.Get(), 0, 0, 1, 0, 1, 0);
    rig->pivot = pivot;
    rig->camera = camera;
    return 1;
}

ViewSetupResult SceneSetup::SetUpView(Direct3R* device, surface::Window* window,
                                      rm::Frame* sceneRoot, CameraRig* rig, RenderState* saved) {
    if (!device || !device->CreateDirectDrawWin(window)) {
        return ViewSetupResult::DirectDrawFailed;
    }
    if (!device->CreateD3DRM()) {
        return ViewSetupResult::Direct3DRMFailed;
    }
    if (!CreateCameraRig(device->D3DRM(), sceneRoot, rig) ||
        !device->D3RViewport(rig->camera.Get())) {
        return ViewSetupResult::ViewportFailed;
    }
    device->Viewport()->SetProjection(rm::D3DRMPROJECT_PERSPECTIVE);
    if (saved) {
        SaveRenderState(*device, saved);
    }
    device->SetEnable(1);
    return ViewSetupResult::Ok;
}

int SceneSetup::ApplyCameraView(rm::Frame* pivot, int index) {
    if (!pivot) {
        return 0;
    }
    struct View {
        float dx, dy, dz, ux, uy, uz;
    };
    static constexpr View kViews[7] = {
        {0, 0, 0, 0, 0, 0},  // "User": unchanged
        {0, 0, 1, 0, 1, 0},  // "Flont"
        {0, 0, -1, 0, 1, 0}, // "Back"
        {1, 0, 0, 0, 1, 0},  // "Left"
        {-1, 0, 0, 0, 1, 0}, // "Right"
        {0, -1, 0, 0, 0, 1}, // "Top"
        {0, 1, 0, 0, 0, 1},  // "Bottom"
    };
    if (index >= 1 && index <= 6) {
        const View& v = kViews[index];
        pivot->SetOrientation(nullptr, v.dx, v.dy, v.dz, v.ux, v.uy, v.uz);
    }
    return 1;
}

int SceneSetup::CenterOnFrame(rm::Frame* pivot, rm::Frame* frame) {
    if (!pivot || !frame) {
        return 0;
    }
    rm::Box box;
    frame->GetHierarchyBox(&box); // an empty tree gives a zero box: the frame's origin
    pivot->SetPosition(frame, (box.min.x + box.max.x) * 0.5f, (box.min.y + box.max.y) * 0.5f,
                       (box.min.z + box.max.z) * 0.5f);
    return 1;
}

int SceneSetup::CreateSelectionBox(rm::Context* d3drm, rm::Frame* frame, const rm::Box* box,
                                   rm::Ref<rm::Mesh>* mesh) {
    if (!d3drm || !frame || !box || !mesh) {
        return 0;
    }
    const rm::Vector& lo = box->min;
    const rm::Vector& hi = box->max;
    const rm::Vector corners[8] = {
        {lo.x, hi.y, lo.z}, {lo.x, hi.y, hi.z}, {hi.x, hi.y, hi.z}, {hi.x, hi.y, lo.z},
        {lo.x, lo.y, lo.z}, {lo.x, lo.y, hi.z}, {hi.x, lo.y, hi.z}, {hi.x, lo.y, lo.z},
    };
    const std::uint32_t faces[] = {4, 0, 1, 2, 3, 4, 7, 6, 5, 4, 4, 4, 0, 3, 7, 4,
                                   7, 3, 2, 6, 4, 6, 2, 1, 5, 4, 5, 1, 0, 4, 0};
    const rm::Ref<rm::Mesh> created =
        WireframeMesh(d3drm, 8, corners, faces, 0xFF00CC00, 1, rm::D3DRMMESHBUILDER_RENDERENABLE);
    if (!created) {
        return 0;
    }
    frame->AddVisual(created.Get());
    *mesh = created;
    return 1;
}

void SceneSetup::SaveRenderState(const Direct3R& device, RenderState* state) {
    if (!state) {
        return;
    }
    if (const rm::Device* d = device.D3DRMDevice()) {
        state->quality = d->GetQuality();
        state->dither = d->GetDither();
        state->textureQuality = d->GetTextureQuality();
    }
    if (const rm::Viewport* v = device.Viewport()) {
        state->projection = v->GetProjection();
    }
}

void SceneSetup::RestoreRenderState(Direct3R& device, const RenderState& state) {
    if (rm::Device* d = device.D3DRMDevice()) {
        d->SetQuality(state.quality);
        d->SetDither(state.dither);
        d->SetTextureQuality(state.textureQuality);
    }
    if (rm::Viewport* v = device.Viewport()) {
        v->SetProjection(state.projection);
    }
}

int SceneSetup::RenderFrame(Direct3R& device, rm::Frame* gridFrame, rm::Frame* sceneRoot,
                            rm::Frame* overlayFrame, rm::Frame* labelParent,
                            const OverlayHook& overlay, FrameStats* stats,
                            std::span<rm::Viewport* const> viewports, const ScenePass& afterScene) {
    if (!device.IsEnabled()) {
        return 0;
    }
    device.RestoreSurfaces();
    rm::Viewport* own = device.Viewport();
    if (viewports.empty()) {
        viewports = std::span<rm::Viewport* const>(&own, 1);
    }
    rm::Viewport* viewport = viewports.front();
    rm::Device* d3drmDevice = device.D3DRMDevice();
    if (!viewport || !d3drmDevice) {
        return 0;
    }
    for (rm::Viewport* pane : viewports) {
        pane->Clear(rm::D3DRMCLEAR_ALL);
        if (gridFrame) {
            pane->Render(gridFrame);
        }
        if (sceneRoot) {
            pane->Render(sceneRoot);
        }
    }
    if (afterScene) {
        afterScene(viewports);
    }
    if (overlayFrame) {
        for (rm::Viewport* pane : viewports) {
            pane->Render(overlayFrame);
        }
    }
    d3drmDevice->Update();

    FrameStats frame;
    frame.trianglesDrawn = d3drmDevice->GetTrianglesDrawn();
    if (labelParent) {
        rm::Vector position;
        labelParent->GetPosition(nullptr, &position);
        rm::Vector4 screen;
        // Behind the camera (w <= 0) there is nowhere sensible to put the label.
        if (rm::Succeeded(viewport->Transform(&screen, position)) && screen.w > 0) {
            frame.hasParentLabel = true;
            frame.parentLabelX = ToPixel(screen.x / screen.w);
            frame.parentLabelY = ToPixel(screen.y / screen.w);
        }
    }
    viewport->ForceUpdate(0, 0, device.Width(), device.Height());
    surface::PrimarySurface* primary = device.PrimarySurface();
    if (overlay && primary) {
        primary->SetOverlay(
            [&overlay, &frame](surface::Image& picture) { overlay(picture, frame); });
    }
    const int shown = device.ShowBackBuffer();
    if (primary) {
        primary->SetOverlay(nullptr);
    }
    if (stats) {
        *stats = frame;
    }
    return shown;
}

} // namespace render
