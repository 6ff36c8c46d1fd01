#include "platform/rm/Viewport.h"

#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "DeviceSceneTest.h"
#include "platform/rm/Face.h"
#include "platform/rm/Math.h"
#include "platform/rm/Mesh.h"
#include "platform/rm/MeshBuilder.h"

using namespace rm;
using testing_rm::Quad;

namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 100;
constexpr D3DCOLOR kBackground = 0xFF000000;

class ViewportTest : public testing_rm::DeviceSceneTest {
protected:
    ViewportTest() : DeviceSceneTest(kWidth, kHeight, kBackground) {}

    void SetUp() override {
        DeviceSceneTest::SetUp();
        device->SetQuality(D3DRMRENDER_UNLITFLAT);
    }

    // Where the centre of a tiny square around p lands on screen, from the drawn image.
    bool DrawnCentre(const Vector& p, float half, float* x, float* y) {
        auto frame = MakeRef<Frame>();
        root->AddChild(frame.Get());
        frame->AddVisual(Quad(p.x - half, p.y - half, p.x + half, p.y + half, p.z).Get());
        viewport->Clear();
        viewport->Render(root.Get());
        gl.Read();
        root->DeleteChild(frame.Get());
        return gl.CentreOf(0xFFFFFF, x, y);
    }
};

TEST_F(ViewportTest, ProjectionsPlacePointsWhereTheFormulaSays) {
    // k = max(w, h) / (2 field) pixels per unit of the front-plane window.
    struct Case {
        D3DRMPROJECTIONTYPE type;
        float field, front;
        Vector p;
        float x, y; // expected pixel position
    };
    const Case cases[] = {
        // perspective: 100 + k front x / z, 50 - k front y / z; k = 200
        {D3DRMPROJECT_PERSPECTIVE, 0.5f, 1, {1, 0.5f, 4}, 150, 25},
        {D3DRMPROJECT_PERSPECTIVE, 0.5f, 1, {-2, -1, 8}, 50, 75},
        // a front plane twice as far doubles the scale (the field is measured on it)
        {D3DRMPROJECT_PERSPECTIVE, 0.5f, 2, {0.5f, 0.25f, 8}, 125, 37.5f},
        // orthographic: 100 + k x, 50 - k y, whatever the depth; k = 20
        {D3DRMPROJECT_ORTHOGRAPHIC, 5, 1, {1, 0.5f, 4}, 120, 40},
        {D3DRMPROJECT_ORTHOGRAPHIC, 5, 1, {-2, -1, 30}, 60, 70},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "type " << c.type << " p " << c.p.x << "," << c.p.y << "," << c.p.z);
        ASSERT_EQ(viewport->SetProjection(c.type), D3DRM_OK);
        ASSERT_EQ(viewport->SetField(c.field), D3DRM_OK);
        ASSERT_EQ(viewport->SetFront(c.front), D3DRM_OK);
        Vector4 s;
        ASSERT_EQ(viewport->Transform(&s, c.p), D3DRM_OK);
        EXPECT_NEAR(s.x / s.w, c.x, 1e-3);
        EXPECT_NEAR(s.y / s.w, c.y, 1e-3);
        if (c.type == D3DRMPROJECT_PERSPECTIVE) {
            EXPECT_NEAR(s.w, c.p.z, 1e-5);
        }
        // The drawn picture agrees with Transform.
        float x = 0, y = 0;
        ASSERT_TRUE(
            DrawnCentre(c.p, c.type == D3DRMPROJECT_PERSPECTIVE ? 0.04f * c.p.z : 0.2f, &x, &y));
        EXPECT_NEAR(x, c.x, 0.75);
        EXPECT_NEAR(y, c.y, 0.75);
        viewport->SetFront(1);
    }
}

TEST_F(ViewportTest, TransformFollowsTheCameraFrame) {
    // Camera 10 units back, turned to look along -x: the world origin is 10 ahead.
    camera->SetPosition(nullptr, 10, 0, 0);
    camera->SetOrientation(nullptr, -1, 0, 0, 0, 1, 0);
    Vector4 s;
    viewport->Transform(&s, {0, 0, 0});
    EXPECT_NEAR(s.x / s.w, 100, 1e-3);
    EXPECT_NEAR(s.y / s.w, 50, 1e-3);
    EXPECT_NEAR(s.w, 10, 1e-4);
    // Facing -x with y up, the camera's right is world +z (left-handed).
    viewport->Transform(&s, {0, 0, 1});
    EXPECT_NEAR(s.x / s.w, 100 + 200.0f / 10, 1e-3);
    // Behind the camera, w is not positive.
    viewport->Transform(&s, {20, 0, 0});
    EXPECT_LE(s.w, 0);
}

TEST_F(ViewportTest, InverseTransformUndoesTransform) {
    camera->SetPosition(nullptr, 1, 2, -3);
    camera->AddRotation(D3DRMCOMBINE_BEFORE, 0, 1, 0, 0.3f);
    for (D3DRMPROJECTIONTYPE type : {D3DRMPROJECT_PERSPECTIVE, D3DRMPROJECT_ORTHOGRAPHIC}) {
        viewport->SetProjection(type);
        const Vector p{0.5f, -0.25f, 4};
        Vector4 s;
        viewport->Transform(&s, p);
        Vector back;
        ASSERT_EQ(viewport->InverseTransform(&back, s), D3DRM_OK);
        EXPECT_NEAR(back.x, p.x, 1e-3);
        EXPECT_NEAR(back.y, p.y, 1e-3);
        EXPECT_NEAR(back.z, p.z, 1e-3);
    }
    Vector unused;
    EXPECT_EQ(viewport->InverseTransform(&unused, Vector4{1, 1, 1, 0}), D3DRMERR_BADVALUE);
}

TEST_F(ViewportTest, PickReturnsVisualsNearestFirstWithTheirFramePaths) {
    // root -> scene -> model -> part; the part's quad is nearer than the model's.
    auto scene = MakeRef<Frame>();
    auto model = MakeRef<Frame>();
    auto part = MakeRef<Frame>();
    root->AddChild(scene.Get());
    scene->AddChild(model.Get());
    model->AddChild(part.Get());
    auto far = Quad(-1, -1, 1, 1, 6);
    auto near = Quad(-1, -1, 1, 1, 0);
    model->AddVisual(far.Get());
    part->SetPosition(nullptr, 0, 0, 3);
    part->AddVisual(near.Get());

    std::vector<PickRecord> picks;
    ASSERT_EQ(viewport->Pick(100, 50, &picks), D3DRM_OK);
    ASSERT_EQ(picks.size(), 2u);
    EXPECT_EQ(picks[0].visual.Get(), near.Get());
    ASSERT_EQ(picks[0].framePath.size(), 4u);
    EXPECT_EQ(picks[0].framePath[0].Get(), root.Get());
    EXPECT_EQ(picks[0].framePath[1].Get(), scene.Get());
    EXPECT_EQ(picks[0].framePath[2].Get(), model.Get());
    EXPECT_EQ(picks[0].framePath[3].Get(), part.Get());
    EXPECT_NEAR(picks[0].depth, 3, 1e-3);
    EXPECT_NEAR(picks[0].position.z, 3, 1e-3);
    EXPECT_EQ(picks[0].face, 0u);
    EXPECT_EQ(picks[1].visual.Get(), far.Get());
    ASSERT_EQ(picks[1].framePath.size(), 3u);
    EXPECT_EQ(picks[1].framePath[2].Get(), model.Get());
    EXPECT_NEAR(picks[1].depth, 6, 1e-3);

    // Outside the quads nothing is hit; outside the viewport the call fails.
    ASSERT_EQ(viewport->Pick(5, 5, &picks), D3DRM_OK);
    EXPECT_TRUE(picks.empty());
    EXPECT_EQ(viewport->Pick(kWidth, 5, &picks), D3DRMERR_BADVALUE);
}

TEST_F(ViewportTest, PickNeverReturnsVisualsWithPickingDisabled) {
    // A selection box drawn in front of the part, enabled for rendering only.
    auto part = MakeRef<Frame>();
    root->AddChild(part.Get());
    auto body = Quad(-1, -1, 1, 1, 5);
    part->AddVisual(body.Get());
    auto box = Quad(-1.5f, -1.5f, 1.5f, 1.5f, 4);
    box->Enable(D3DRMMESHBUILDER_RENDERENABLE);
    Ref<Mesh> boxMesh;
    box->CreateMesh(&boxMesh);
    part->AddVisual(boxMesh.Get());
    part->AddVisual(box.Get());

    std::vector<PickRecord> picks;
    ASSERT_EQ(viewport->Pick(100, 50, &picks), D3DRM_OK);
    ASSERT_EQ(picks.size(), 1u);
    EXPECT_EQ(picks[0].visual.Get(), body.Get());
}

TEST_F(ViewportTest, PickIgnoresFacesTurnedAwayAndWhatLiesOutsideThePlanes) {
    auto frame = MakeRef<Frame>();
    root->AddChild(frame.Get());
    frame->AddVisual(Quad(-1, -1, 1, 1, 4, 0xFFFFFFFF, false).Get()); // turned away
    frame->AddVisual(Quad(-1, -1, 1, 1, 0.5f).Get());                 // before the front plane
    frame->AddVisual(Quad(-1, -1, 1, 1, 200).Get());                  // beyond the back plane
    std::vector<PickRecord> picks;
    ASSERT_EQ(viewport->Pick(100, 50, &picks), D3DRM_OK);
    EXPECT_TRUE(picks.empty());
}

TEST_F(ViewportTest, PickOnlySearchesTheCamerasScene) {
    // A tree drawn beside the scene (the floor grid) is not part of the camera's scene.
    auto other = MakeRef<Frame>();
    other->AddVisual(Quad(-1, -1, 1, 1, 4).Get());
    std::vector<PickRecord> picks;
    ASSERT_EQ(viewport->Pick(100, 50, &picks), D3DRM_OK);
    EXPECT_TRUE(picks.empty());
}

TEST_F(ViewportTest, PickFindsTheFaceOfAMeshInItsGroup) {
    auto frame = MakeRef<Frame>();
    root->AddChild(frame.Get());
    auto builder = MakeRef<MeshBuilder>();
    const Vector v[8] = {{-3, 1, 4}, {-1, 1, 4}, {-1, -1, 4}, {-3, -1, 4},
                         {-1, 1, 4}, {1, 1, 4},  {1, -1, 4},  {-1, -1, 4}};
    const std::uint32_t faces[] = {4, 0, 1, 2, 3, 4, 4, 5, 6, 7, 0};
    builder->AddFaces(8, v, 0, nullptr, faces);
    Ref<Face> second;
    builder->GetFace(1, &second);
    second->SetColor(0xFFFF0000); // a second group
    Ref<Mesh> mesh;
    builder->CreateMesh(&mesh);
    frame->AddVisual(mesh.Get());
    std::vector<PickRecord> picks;
    ASSERT_EQ(viewport->Pick(110, 50, &picks), D3DRM_OK);
    ASSERT_EQ(picks.size(), 1u);
    EXPECT_EQ(picks[0].group, 1);
    EXPECT_EQ(picks[0].face, 0u);
}

TEST_F(ViewportTest, SettersKeepThePlanesInOrder) {
    EXPECT_EQ(viewport->GetField(), 0.5f);
    EXPECT_EQ(viewport->GetFront(), 1.0f);
    EXPECT_EQ(viewport->GetBack(), 100.0f);
    EXPECT_EQ(viewport->GetProjection(), D3DRMPROJECT_PERSPECTIVE);
    EXPECT_EQ(viewport->SetField(0), D3DRMERR_BADVALUE);
    EXPECT_EQ(viewport->SetFront(0), D3DRMERR_BADVALUE);
    EXPECT_EQ(viewport->SetFront(100), D3DRMERR_BADVALUE);
    EXPECT_EQ(viewport->SetBack(1), D3DRMERR_BADVALUE);
    EXPECT_EQ(viewport->SetBack(5000), D3DRM_OK);
    EXPECT_EQ(viewport->SetProjection(2), D3DRMERR_BADVALUE);
    EXPECT_EQ(viewport->ForceUpdate(0, 0, kWidth, kHeight), D3DRM_OK);
    EXPECT_EQ(viewport->ForceUpdate(5, 0, 4, 0), D3DRMERR_BADVALUE);
}

TEST_F(ViewportTest, CreateRejectsMissingObjectsAndRectanglesOffTheDevice) {
    Ref<Viewport> v;
    EXPECT_EQ(Viewport::Create(nullptr, camera.Get(), 0, 0, 10, 10, &v), D3DRMERR_BADOBJECT);
    EXPECT_EQ(Viewport::Create(device.Get(), nullptr, 0, 0, 10, 10, &v), D3DRMERR_BADOBJECT);
    EXPECT_EQ(Viewport::Create(device.Get(), camera.Get(), 0, 0, kWidth + 1, 10, &v),
              D3DRMERR_BADVALUE);
    EXPECT_EQ(Viewport::Create(device.Get(), camera.Get(), 0, 0, 0, 10, &v), D3DRMERR_BADVALUE);
    EXPECT_EQ(Viewport::Create(device.Get(), camera.Get(), 50, 20, 100, 50, &v), D3DRM_OK);
    // A viewport in part of the device draws only there.
    auto frame = MakeRef<Frame>();
    root->AddChild(frame.Get());
    root->SetSceneBackground(0xFF0000FF);
    frame->AddVisual(Quad(-100, -100, 100, 100, 50).Get());
    v->Clear();
    v->Render(root.Get());
    gl.Read();
    EXPECT_EQ(gl.Pixel(10, 10) & 0xFFFFFF, 0u);
    EXPECT_EQ(gl.Pixel(100, 45) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(gl.Pixel(160, 45) & 0xFFFFFF, 0u);
}

} // namespace
