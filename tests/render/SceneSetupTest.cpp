#include "render/SceneSetup.h"

#include <cmath>
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "platform/rm/Math.h"
#include "platform/surface/OffscreenWindow.h"
#include "platform/surface/SurfaceTestDevices.h"
#include "render/ParentD3R.h"

using namespace render;
using surface::OffscreenWindow;
using testing_surface::SystemSoftwareDevice;

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;

int Channel(std::uint32_t c, int shift) {
    return int((c >> shift) & 0xFF);
}

// A white cube from -2 to 2 with one normal per face, so every face is evenly lit.
rm::Ref<rm::MeshBuilder> Cube() {
    auto cube = rm::MakeRef<rm::MeshBuilder>();
    const rm::Vector v[8] = {{-2, 2, -2}, {2, 2, -2}, {2, -2, -2}, {-2, -2, -2},
                             {-2, 2, 2},  {2, 2, 2},  {2, -2, 2},  {-2, -2, 2}};
    const rm::Vector n[6] = {{0, 0, -1}, {0, 0, 1}, {0, 1, 0}, {0, -1, 0}, {-1, 0, 0}, {1, 0, 0}};
    // Clockwise as seen from outside.
    const std::uint32_t faces[] = {4, 0, 0, 1, 0, 2, 0, 3, 0, // front (-z)
                                   4, 5, 1, 4, 1, 7, 1, 6, 1, // back (+z)
                                   4, 4, 2, 5, 2, 1, 2, 0, 2, // top
                                   4, 3, 3, 2, 3, 6, 3, 7, 3, // bottom
                                   4, 4, 4, 0, 4, 3, 4, 7, 4, // left
                                   4, 1, 5, 5, 5, 6, 5, 2, 5, // right
                                   0};
    cube->AddFaces(8, v, 6, n, faces);
    cube->SetColor(0xFFFFFFFF);
    return cube;
}

class SceneSetupTest : public ::testing::Test {
protected:
    void SetUp() override {
        const surface::DeviceInfo* software = SystemSoftwareDevice();
        ASSERT_NE(software, nullptr);
        ASSERT_NE(parent.D3DRM(), nullptr);
        ASSERT_EQ(SceneSetup::CreateSceneFrames(parent.D3DRM(), kAppWorkspaceColor,
                                                kInactiveBorderColor, &frames),
                  1);
        ASSERT_EQ(parent.CreateChild(&device), 1);
        device->UseDevices({*software});
        ASSERT_EQ(SceneSetup::SetUpView(device, &window, frames.sceneRoot.Get(), &rig, &saved),
                  ViewSetupResult::Ok);
    }
    void TearDown() override {
        rig = CameraRig{};
        parent.ReleaseChild(&device);
    }

    int Render(FrameStats* stats = nullptr, const OverlayHook& overlay = {},
               rm::Frame* label = nullptr) {
        return SceneSetup::RenderFrame(*device, frames.gridFrame.Get(), frames.sceneRoot.Get(),
                                       nullptr, label, overlay, stats);
    }
    // The picture's pixel where a world point lands.
    std::uint32_t PixelAt(const rm::Vector& world) {
        rm::Vector4 s;
        device->Viewport()->Transform(&s, world);
        return window.LastPicture().PixelAt(int(s.x / s.w), int(s.y / s.w));
    }
    // Whether a pixel within one of where a world point lands has the colour.
    bool NearPointHas(const rm::Vector& world, std::uint32_t colour) {
        rm::Vector4 s;
        device->Viewport()->Transform(&s, world);
        const int x = int(s.x / s.w), y = int(s.y / s.w);
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                if ((window.LastPicture().PixelAt(x + dx, y + dy) & 0xFFFFFF) ==
                    (colour & 0xFFFFFF)) {
                    return true;
                }
            }
        }
        return false;
    }

    ParentD3R parent;
    SceneFrames frames;
    Direct3R* device = nullptr;
    OffscreenWindow window{kWidth, kHeight};
    CameraRig rig;
    RenderState saved;
};

TEST_F(SceneSetupTest, SceneRootCarriesBackgroundAndLights) {
    EXPECT_EQ(frames.sceneRoot->GetParent(), nullptr);
    EXPECT_EQ(frames.sceneRoot->GetSceneBackground(), 0xFF808080u);
    ASSERT_EQ(frames.sceneRoot->GetLights().size(), 1u);
    const rm::Light& ambient = *frames.sceneRoot->GetLights()[0];
    EXPECT_EQ(ambient.GetType(), rm::D3DRMLIGHT_AMBIENT);
    EXPECT_FLOAT_EQ(ambient.Red(), 0.4f);
    EXPECT_EQ(frames.sceneFrame->GetParent(), frames.sceneRoot.Get());

    // The parallel light sits at (50, 100, -50) and shines at the root's origin.
    const rm::Frame* lightFrame = nullptr;
    for (const auto& child : frames.sceneRoot->Children()) {
        if (!child->GetLights().empty()) {
            lightFrame = child.Get();
        }
    }
    ASSERT_NE(lightFrame, nullptr);
    EXPECT_EQ(lightFrame->GetLights()[0]->GetType(), rm::D3DRMLIGHT_PARALLELPOINT);
    EXPECT_FLOAT_EQ(lightFrame->GetLights()[0]->Green(), 0.8f);
    rm::Vector position, direction;
    lightFrame->GetPosition(nullptr, &position);
    lightFrame->GetOrientation(nullptr, &direction, nullptr);
    EXPECT_NEAR(position.x, 50, 1e-4);
    EXPECT_NEAR(position.y, 100, 1e-4);
    EXPECT_NEAR(position.z, -50, 1e-4);
    rm::Vector towardsOrigin = rm::VectorScale(position, -1);
    rm::VectorNormalize(&towardsOrigin);
    EXPECT_NEAR(rm::VectorDotProduct(direction, towardsOrigin), 1, 1e-5);
}

TEST_F(SceneSetupTest, GridIsAnUnlitWireframeOf576TrianglesOnItsOwnRoot) {
    const rm::Frame& grid = *frames.gridFrame;
    EXPECT_EQ(grid.GetParent(), nullptr);
    ASSERT_EQ(grid.Visuals().size(), 1u);
    const auto* mesh = dynamic_cast<const rm::Mesh*>(grid.Visuals()[0].Get());
    ASSERT_NE(mesh, nullptr);
    ASSERT_EQ(mesh->GetGroupCount(), 1u);
    EXPECT_EQ(mesh->GroupFaceCount(0), 288u);
    EXPECT_TRUE(mesh->GroupHasQuality(0));
    EXPECT_EQ(mesh->GetGroupQuality(0), rm::D3DRMRENDER_WIREFRAME);
    EXPECT_EQ(mesh->GetGroupColor(0), kInactiveBorderColor);
    rm::Box box;
    ASSERT_EQ(grid.GetHierarchyBox(&box), rm::D3DRM_OK);
    EXPECT_FLOAT_EQ(box.min.x, -18);
    EXPECT_FLOAT_EQ(box.max.z, 18);
    EXPECT_FLOAT_EQ(box.min.y, 0);
    EXPECT_FLOAT_EQ(box.max.y, 0);

    // With nothing loaded the grid is all that is drawn: "Triangles 0(+576)".
    FrameStats stats;
    ASSERT_EQ(Render(&stats), 1);
    EXPECT_EQ(stats.trianglesDrawn, 576u);

    // Building it again replaces the grid frame.
    rm::Ref<rm::Frame> before = frames.gridFrame;
    ASSERT_EQ(SceneSetup::BuildGrid(parent.D3DRM(), 0xFF000000, &frames.gridFrame), 1);
    EXPECT_NE(frames.gridFrame.Get(), before.Get());
}

TEST_F(SceneSetupTest, RenderedSceneShowsBackgroundGridAndALitModel) {
    auto model = rm::MakeRef<rm::Frame>();
    frames.sceneFrame->AddChild(model.Get());
    model->AddVisual(Cube().Get());
    // A second cube to the right shows its left side, turned away from the light.
    auto right = rm::MakeRef<rm::Frame>();
    frames.sceneFrame->AddChild(right.Get());
    right->SetPosition(nullptr, 6, 0, 0);
    right->AddVisual(Cube().Get());
    FrameStats stats;
    ASSERT_EQ(Render(&stats), 1);
    ASSERT_EQ(window.PresentCount(), 1);
    const surface::Image& picture = window.LastPicture();
    ASSERT_EQ(picture.Width(), kWidth);

    EXPECT_EQ(picture.PixelAt(0, 0) & 0xFFFFFF, 0x808080u);
    // The grid line x = -9 between the cross lines at z = 3 and z = 9, unlit; the middle
    // of a cell shows the background.
    EXPECT_TRUE(NearPointHas({-9, 0, 6}, kInactiveBorderColor));
    EXPECT_EQ(PixelAt({4.5f, 0, 7.5f}) & 0xFFFFFF, 0x808080u);
    // The front face, lit by 0.4 ambient and 0.8 parallel light falling at
    // cos = (0, 0, -1) . (50, 100, -50) / |(50, 100, -50)| = 0.408.
    const std::uint32_t face = PixelAt({0.5f, 0.5f, -2});
    const int expected = int(std::lround(255 * (0.4 + 0.8 * 50 / std::sqrt(15000.0))));
    EXPECT_NEAR(Channel(face, 16), expected, 3);
    EXPECT_NEAR(Channel(face, 8), expected, 3);
    EXPECT_NEAR(Channel(face, 0), expected, 3);
    // A side the light does not reach shows the ambient part alone.
    EXPECT_NEAR(Channel(PixelAt({4, 0.5f, -1}), 16), 102, 3);

    EXPECT_EQ(stats.trianglesDrawn, 576u + 2 * 12u);
    ASSERT_EQ(Render(&stats), 1);
    EXPECT_EQ(stats.trianglesDrawn, 2 * (576u + 2 * 12u));
}

TEST_F(SceneSetupTest, CameraRigLooksAtTheOriginFromFifteenUnitsSlightlyAbove) {
    ASSERT_TRUE(rig.pivot && rig.camera);
    EXPECT_EQ(rig.pivot->GetParent(), frames.sceneRoot.Get());
    EXPECT_EQ(rig.camera->GetParent(), rig.pivot.Get());
    rm::Vector position, direction;
    rig.camera->GetPosition(nullptr, &position);
    rig.camera->GetOrientation(nullptr, &direction, nullptr);
    EXPECT_NEAR(rm::VectorModulus(position), 15, 1e-4);
    EXPECT_NEAR(position.y, 15 * std::sin(0.0523599), 1e-3);
    rm::Vector towardsOrigin = rm::VectorScale(position, -1);
    rm::VectorNormalize(&towardsOrigin);
    EXPECT_NEAR(rm::VectorDotProduct(direction, towardsOrigin), 1, 1e-5);
    EXPECT_EQ(device->Viewport()->GetProjection(), rm::D3DRMPROJECT_PERSPECTIVE);
    EXPECT_EQ(device->IsEnabled(), 1);
    EXPECT_EQ(saved.quality, rm::D3DRMRENDER_GOURAUD);
    EXPECT_EQ(saved.textureQuality, rm::D3DRMTEXTURE_LINEAR);
}

TEST_F(SceneSetupTest, CameraViewsTurnThePivotAsTheControlPanelSays) {
    struct Case {
        int index;
        rm::Vector direction, up;
    };
    const Case cases[] = {
        {1, {0, 0, 1}, {0, 1, 0}},  {2, {0, 0, -1}, {0, 1, 0}}, {3, {1, 0, 0}, {0, 1, 0}},
        {4, {-1, 0, 0}, {0, 1, 0}}, {5, {0, -1, 0}, {0, 0, 1}}, {6, {0, 1, 0}, {0, 0, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        ASSERT_EQ(SceneSetup::ApplyCameraView(rig.pivot.Get(), c.index), 1);
        rm::Vector d, u;
        rig.pivot->GetOrientation(nullptr, &d, &u);
        EXPECT_NEAR(d.x, c.direction.x, 1e-5);
        EXPECT_NEAR(d.y, c.direction.y, 1e-5);
        EXPECT_NEAR(d.z, c.direction.z, 1e-5);
        EXPECT_NEAR(u.x, c.up.x, 1e-5);
        EXPECT_NEAR(u.y, c.up.y, 1e-5);
        EXPECT_NEAR(u.z, c.up.z, 1e-5);
    }
    // "User" and unknown entries leave the pivot as it is.
    rm::Matrix4 before, after;
    rig.pivot->GetTransform(nullptr, &before);
    SceneSetup::ApplyCameraView(rig.pivot.Get(), 0);
    SceneSetup::ApplyCameraView(rig.pivot.Get(), 7);
    rig.pivot->GetTransform(nullptr, &after);
    EXPECT_EQ(std::memcmp(&before, &after, sizeof before), 0);
    EXPECT_EQ(SceneSetup::ApplyCameraView(nullptr, 1), 0);
}

TEST_F(SceneSetupTest, CenterOnFrameMovesThePivotToTheMiddleOfTheFramesBox) {
    auto model = rm::MakeRef<rm::Frame>();
    frames.sceneFrame->AddChild(model.Get());
    model->SetPosition(nullptr, 10, 0, 5);
    auto part = rm::MakeRef<rm::Frame>();
    model->AddChild(part.Get());
    part->SetPosition(model.Get(), 0, 4, 0);
    part->AddVisual(Cube().Get()); // -2..2 around (10, 4, 5)
    ASSERT_EQ(SceneSetup::CenterOnFrame(rig.pivot.Get(), model.Get()), 1);
    rm::Vector p;
    rig.pivot->GetPosition(nullptr, &p);
    EXPECT_NEAR(p.x, 10, 1e-4);
    EXPECT_NEAR(p.y, 4, 1e-4);
    EXPECT_NEAR(p.z, 5, 1e-4);
    // A frame with nothing under it: its own origin.
    auto empty = rm::MakeRef<rm::Frame>();
    frames.sceneFrame->AddChild(empty.Get());
    empty->SetPosition(nullptr, -3, 1, 2);
    ASSERT_EQ(SceneSetup::CenterOnFrame(rig.pivot.Get(), empty.Get()), 1);
    rig.pivot->GetPosition(nullptr, &p);
    EXPECT_NEAR(p.x, -3, 1e-4);
    EXPECT_EQ(SceneSetup::CenterOnFrame(rig.pivot.Get(), nullptr), 0);
    EXPECT_EQ(SceneSetup::CenterOnFrame(nullptr, empty.Get()), 0);
}

TEST_F(SceneSetupTest, SelectionBoxIsDrawnGreenButNeverPicked) {
    auto model = rm::MakeRef<rm::Frame>();
    frames.sceneFrame->AddChild(model.Get());
    auto cube = Cube();
    model->AddVisual(cube.Get());
    rm::Box box;
    model->GetHierarchyBox(&box);
    box.min = rm::VectorScale(box.min, 1.2f); // a little larger, in front of the cube
    box.max = rm::VectorScale(box.max, 1.2f);
    rm::Ref<rm::Mesh> selection;
    ASSERT_EQ(SceneSetup::CreateSelectionBox(parent.D3DRM(), model.Get(), &box, &selection), 1);
    ASSERT_TRUE(selection);
    EXPECT_EQ(model->Visuals().size(), 2u);
    EXPECT_FALSE(selection->IsPickable());
    EXPECT_EQ(selection->GetGroupQuality(0), rm::D3DRMRENDER_WIREFRAME);

    ASSERT_EQ(Render(), 1);
    // The box's front top edge, in front of the cube.
    EXPECT_TRUE(NearPointHas({0, 2.4f, -2.4f}, 0xFF00CC00));

    rm::Vector4 centre;
    device->Viewport()->Transform(&centre, {0, 0, -2});
    std::vector<rm::PickRecord> picks;
    ASSERT_EQ(device->Viewport()->Pick(int(centre.x / centre.w), int(centre.y / centre.w), &picks),
              rm::D3DRM_OK);
    ASSERT_EQ(picks.size(), 1u);
    EXPECT_EQ(picks[0].visual.Get(), cube.Get());
    ASSERT_EQ(picks[0].framePath.size(), 3u);
    EXPECT_EQ(picks[0].framePath[0].Get(), frames.sceneRoot.Get());
    EXPECT_EQ(picks[0].framePath[1].Get(), frames.sceneFrame.Get());
    EXPECT_EQ(picks[0].framePath[2].Get(), model.Get());

    EXPECT_EQ(SceneSetup::CreateSelectionBox(parent.D3DRM(), nullptr, &box, &selection), 0);
    EXPECT_EQ(SceneSetup::CreateSelectionBox(parent.D3DRM(), model.Get(), nullptr, &selection), 0);
}

TEST_F(SceneSetupTest, OverlayDrawsOnThePictureBeforeTheWindowSeesIt) {
    FrameStats seen;
    int calls = 0;
    const OverlayHook overlay = [&](surface::Image& picture, const FrameStats& stats) {
        picture.SetPixel(5, 5, 0xFFFF0000);
        seen = stats;
        ++calls;
    };
    ASSERT_EQ(Render(nullptr, overlay, frames.sceneFrame.Get()), 1);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(window.LastPicture().PixelAt(5, 5), 0xFFFF0000u);
    EXPECT_EQ(seen.trianglesDrawn, 576u);
    // The scene frame sits at the origin, which the camera looks at.
    rm::Vector4 origin;
    device->Viewport()->Transform(&origin, {0, 0, 0});
    ASSERT_TRUE(seen.hasParentLabel);
    EXPECT_EQ(seen.parentLabelX, int(origin.x / origin.w));
    EXPECT_EQ(seen.parentLabelY, int(origin.y / origin.w));

    // A parent behind the camera gets no label; the hook is gone after the frame.
    auto behind = rm::MakeRef<rm::Frame>();
    frames.sceneRoot->AddChild(behind.Get());
    behind->SetPosition(nullptr, 0, 0, -40);
    FrameStats stats;
    ASSERT_EQ(Render(&stats, {}, behind.Get()), 1);
    EXPECT_FALSE(stats.hasParentLabel);
    EXPECT_EQ(calls, 1);
}

TEST_F(SceneSetupTest, NothingIsRenderedByADisabledWrapper) {
    device->SetEnable(0);
    EXPECT_EQ(Render(), 0);
    EXPECT_EQ(window.PresentCount(), 0);
}

TEST(SceneSetupViewTest, SetUpViewNamesTheStepThatFailed) {
    ParentD3R parent;
    SceneFrames frames;
    ASSERT_EQ(SceneSetup::CreateSceneFrames(parent.D3DRM(), kAppWorkspaceColor,
                                            kInactiveBorderColor, &frames),
              1);
    Direct3R* device = nullptr;
    parent.CreateChild(&device);
    device->UseDevices({});
    OffscreenWindow window(16, 16);
    CameraRig rig;
    EXPECT_EQ(SceneSetup::SetUpView(device, &window, frames.sceneRoot.Get(), &rig, nullptr),
              ViewSetupResult::DirectDrawFailed);
    EXPECT_EQ(device->IsEnabled(), 0);
    EXPECT_EQ(SceneSetup::SetUpView(nullptr, &window, frames.sceneRoot.Get(), &rig, nullptr),
              ViewSetupResult::DirectDrawFailed);
    parent.ReleaseChild(&device);
}

} // namespace
