#include "platform/rm/Device.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "DeviceSceneTest.h"
#include "platform/rm/Context.h"
#include "platform/rm/Implementation/MeshCache.h"
#include "platform/rm/Viewport.h"

using namespace rm;
using testing_rm::Blue;
using testing_rm::Green;
using testing_rm::Quad;
using testing_rm::Red;

namespace {

constexpr int kWidth = 160;
constexpr int kHeight = 120;
constexpr D3DCOLOR kBackground = 0xFF336699;

// With the default field (0.5) a 160-pixel-wide viewport has 160 pixels per unit at
// distance 1, so a quad from -1 to 1 at depth 4 covers x 40..120 and y 30..90.

Ref<Mesh> ToMesh(const Ref<MeshBuilder>& builder) {
    Ref<Mesh> mesh;
    builder->CreateMesh(&mesh);
    return mesh;
}

class DeviceTest : public testing_rm::DeviceSceneTest {
protected:
    DeviceTest() : DeviceSceneTest(kWidth, kHeight, kBackground) {}

    void SetUp() override {
        DeviceSceneTest::SetUp();
        scene = MakeRef<Frame>();
        root->AddChild(scene.Get());
    }

    void AddLights(float ambient, float parallel) {
        root->AddLight(MakeRef<Light>(D3DRMLIGHT_AMBIENT, ambient, ambient, ambient).Get());
        auto lightFrame = MakeRef<Frame>();
        root->AddChild(lightFrame.Get()); // default orientation: shines along +z
        lightFrame->AddLight(
            MakeRef<Light>(D3DRMLIGHT_PARALLELPOINT, parallel, parallel, parallel).Get());
    }

    /// Draws and reads the colour at the centre of the picture (0xRRGGBB).
    std::uint32_t CentreAfterDrawing() {
        Draw();
        return gl.Pixel(kWidth / 2, kHeight / 2) & 0xFFFFFF;
    }

    Ref<Frame> scene;
};

TEST_F(DeviceTest, ClearShowsTheBackgroundOfTheCamerasScene) {
    Draw();
    EXPECT_EQ(gl.Pixel(0, 0) & 0xFFFFFF, kBackground & 0xFFFFFF);
    EXPECT_EQ(gl.Pixel(kWidth - 1, kHeight - 1) & 0xFFFFFF, kBackground & 0xFFFFFF);
}

TEST_F(DeviceTest, LitFaceTakesAmbientPlusParallelLightInEveryShadeMode) {
    // 0.5 / 0.25 / 0.125 lit by 0.25 ambient + 0.5 head-on: x 0.75.
    AddLights(0.25f, 0.5f);
    scene->AddVisual(Quad(-1, -0.75f, 1, 0.75f, 4, 0xFF804020).Get());
    for (D3DRMRENDERQUALITY quality : {D3DRMRENDER_GOURAUD, D3DRMRENDER_FLAT}) {
        SCOPED_TRACE(quality);
        device->SetQuality(quality);
        Draw();
        const std::uint32_t c = gl.Pixel(80, 60);
        EXPECT_NEAR(Red(c), 96, 2);
        EXPECT_NEAR(Green(c), 48, 2);
        EXPECT_NEAR(Blue(c), 24, 2);
        EXPECT_EQ(gl.Pixel(20, 60) & 0xFFFFFF, kBackground & 0xFFFFFF);
    }
}

TEST_F(DeviceTest, LightsOffShowsTheFaceColourAndNoLightsLeaveALitFaceBlack) {
    scene->AddVisual(Quad(-1, -0.75f, 1, 0.75f, 4, 0xFF804020).Get());
    device->SetQuality(D3DRMRENDER_UNLITFLAT);
    EXPECT_EQ(CentreAfterDrawing(), 0x804020u);
    device->SetQuality(D3DRMRENDER_GOURAUD);
    Draw();
    EXPECT_EQ(gl.Pixel(80, 60) & 0xFFFFFF, 0u);
}

TEST_F(DeviceTest, EmissiveMaterialGlowsWithoutLights) {
    auto quad = Quad(-1, -0.75f, 1, 0.75f, 4, 0xFFFFFFFF);
    auto material = MakeRef<Material>(0.0f);
    material->SetEmissive(0.5f, 0, 0);
    quad->SetMaterial(material.Get());
    scene->AddVisual(quad.Get());
    device->SetQuality(D3DRMRENDER_GOURAUD);
    const std::uint32_t c = CentreAfterDrawing();
    EXPECT_NEAR(Red(c), 128, 1);
    EXPECT_EQ(c & 0xFFFF, 0u); // neither green nor blue
}

TEST_F(DeviceTest, PointLightsShineFromTheirPositionAndHighlightsFollowThePower) {
    // A point light at the camera. Per vertex (Gouraud) the quad's corners see it at
    // cos = 4 / sqrt(41); per face (flat) each of the quad's two triangles is lit once at
    // its centre, (1.33, 1, 4) and (-1.33, -1, 4): cos = 4 / sqrt(1.78 + 1 + 16).
    auto lightFrame = MakeRef<Frame>();
    root->AddChild(lightFrame.Get());
    lightFrame->AddLight(MakeRef<Light>(D3DRMLIGHT_POINT, 1, 1, 1).Get());
    auto quad = Quad(-4, -3, 4, 3, 4, 0xFF808080);
    scene->AddVisual(quad.Get());
    device->SetQuality(D3DRMRENDER_GOURAUD);
    Draw();
    EXPECT_NEAR(Red(gl.Pixel(80, 60)), 128 * 4 / std::sqrt(41.0), 3);
    device->SetQuality(D3DRMRENDER_FLAT);
    Draw();
    const double centre = 4 / std::sqrt(16.0 / 9 + 1 + 16);
    EXPECT_NEAR(Red(gl.Pixel(100, 40)), 128 * centre, 2);
    EXPECT_EQ(gl.Pixel(100, 40), gl.Pixel(150, 5)); // one colour over the face
    EXPECT_NEAR(Red(gl.Pixel(60, 80)), 128 * centre, 2);

    // Highlights: a material with power adds specular light where the surface mirrors the
    // light towards the eye (cos^power of the half-way angle), none without power.
    auto material = MakeRef<Material>(10.0f);
    material->SetSpecular(0.25f, 0.25f, 0.25f);
    quad->SetMaterial(material.Get());
    Draw();
    EXPECT_NEAR(Red(gl.Pixel(100, 40)), 128 * centre + 64 * std::pow(centre, 10), 3);
    material->SetPower(0);
    Draw();
    EXPECT_NEAR(Red(gl.Pixel(100, 40)), 128 * centre, 2);
}

TEST_F(DeviceTest, GouraudFollowsVertexNormalsWhereFlatUsesTheFaceNormal) {
    // Left corners face the light head-on, right corners turn away to 0.6 of it.
    AddLights(0, 1);
    auto quad = MakeRef<MeshBuilder>();
    const Vector corners[4] = {{-1, 0.75f, 4}, {1, 0.75f, 4}, {1, -0.75f, 4}, {-1, -0.75f, 4}};
    const Vector normals[2] = {{0, 0, -1}, {0.8f, 0, -0.6f}};
    const std::uint32_t faces[] = {4, 0, 0, 1, 1, 2, 1, 3, 0, 0};
    quad->AddFaces(4, corners, 2, normals, faces);
    quad->SetColor(0xFFFFFFFF);
    scene->AddVisual(quad.Get());

    device->SetQuality(D3DRMRENDER_GOURAUD);
    Draw();
    const int gouraudLeft = Red(gl.Pixel(42, 60));
    const int gouraudRight = Red(gl.Pixel(117, 60));
    EXPECT_NEAR(gouraudLeft, 255, 4);
    EXPECT_NEAR(gouraudRight, 153, 6);

    device->SetQuality(D3DRMRENDER_FLAT);
    Draw();
    EXPECT_NEAR(Red(gl.Pixel(42, 60)), 255, 1);
    EXPECT_NEAR(Red(gl.Pixel(117, 60)), 255, 1);
}

TEST_F(DeviceTest, NormalsOfAnyLengthLightAsUnitOnesAndMissingOnesTakeTheFaces) {
    // 0.25 ambient + 0.5 head-on: x 0.75. A missing (zero) normal is filled with the
    // face's before drawing, which here faces the light.
    AddLights(0.25f, 0.5f);
    struct Case {
        Vector normal;
        D3DRMRENDERQUALITY quality;
        std::uint32_t colour;
    };
    const Case cases[] = {
        {{0, 0, 0}, D3DRMRENDER_GOURAUD, 0x603018},
        {{0, 0, 0}, D3DRMRENDER_PHONG, 0x603018},
        {{0, 0, -3}, D3DRMRENDER_GOURAUD, 0x603018},
        {{0, 0, -1e-3f}, D3DRMRENDER_PHONG, 0x603018},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.normal.z << " quality " << c.quality);
        scene = MakeRef<Frame>();
        root->AddChild(scene.Get());
        auto quad = MakeRef<MeshBuilder>();
        const Vector corners[4] = {{-1, 0.75f, 4}, {1, 0.75f, 4}, {1, -0.75f, 4}, {-1, -0.75f, 4}};
        const std::uint32_t faces[] = {4, 0, 0, 1, 0, 2, 0, 3, 0, 0};
        quad->AddFaces(4, corners, 1, &c.normal, faces);
        quad->SetColor(0xFF804020);
        scene->AddVisual(quad.Get());
        device->SetQuality(c.quality);
        const std::uint32_t got = CentreAfterDrawing();
        EXPECT_NEAR(Red(got), Red(c.colour), 2);
        EXPECT_NEAR(Green(got), Green(c.colour), 2);
        EXPECT_NEAR(Blue(got), Blue(c.colour), 2);
        root->DeleteChild(scene.Get());
    }
}

TEST_F(DeviceTest, PerVertexColoursBlendAcrossTheFace) {
    auto quad = Quad(-1, -0.75f, 1, 0.75f, 4, 0xFFFFFFFF);
    quad->SetVertexColor(0, 0xFFFF0000); // top left
    quad->SetVertexColor(1, 0xFF00FF00); // top right
    quad->SetVertexColor(2, 0xFF0000FF); // bottom right
    quad->SetVertexColor(3, 0xFF0000FF); // bottom left
    scene->AddVisual(quad.Get());
    device->SetQuality(D3DRMSHADE_GOURAUD | D3DRMLIGHT_OFF | D3DRMFILL_SOLID);
    Draw();
    const std::uint32_t topLeft = gl.Pixel(41, 31);
    EXPECT_GT(Red(topLeft), 230);
    EXPECT_LT(Green(topLeft), 25);
    const std::uint32_t topRight = gl.Pixel(118, 31);
    EXPECT_GT(Green(topRight), 230);
    EXPECT_LT(Red(topRight), 25);
    EXPECT_GT(Blue(gl.Pixel(80, 88)), 230);
}

TEST_F(DeviceTest, VertexColoursTintTheFaceColour) {
    auto quad = Quad(-1, -0.75f, 1, 0.75f, 4, 0xFF808080);
    for (std::uint32_t v = 0; v < 4; ++v) {
        quad->SetVertexColor(v, 0xFFFF0000);
    }
    scene->AddVisual(quad.Get());
    device->SetQuality(D3DRMSHADE_GOURAUD | D3DRMLIGHT_OFF | D3DRMFILL_SOLID);
    // Grey faces tinted red: half of the red, none of the rest.
    const std::uint32_t centre = CentreAfterDrawing();
    EXPECT_NEAR(Red(centre), 128, 3);
    EXPECT_LT(Green(centre), 3);
    EXPECT_LT(Blue(centre), 3);
}

TEST_F(DeviceTest, FillModesDrawSolidThenEdgesThenCorners) {
    scene->AddVisual(Quad(-1, -0.75f, 1, 0.75f, 4, 0xFFFFFFFF).Get());
    struct Case {
        D3DRMRENDERQUALITY fill;
        bool centre;
    };
    int counts[3] = {};
    const Case cases[3] = {
        {D3DRMFILL_SOLID, true}, {D3DRMFILL_WIREFRAME, false}, {D3DRMFILL_POINTS, false}};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        device->SetQuality(cases[i].fill | D3DRMLIGHT_OFF | D3DRMSHADE_FLAT);
        Draw();
        EXPECT_EQ((gl.Pixel(80, 60) & 0xFFFFFF) != (kBackground & 0xFFFFFF), cases[i].centre);
        counts[i] = gl.CountNot(kBackground);
    }
    EXPECT_NEAR(counts[0], 80 * 60, 200);
    // The outline, without the diagonal the quad is split along.
    EXPECT_GT(counts[1], 2 * (80 + 60) - 20);
    EXPECT_LT(counts[1], 2 * (80 + 60) + 20);
    EXPECT_GE(counts[2], 1);
    EXPECT_LE(counts[2], 8);
}

TEST_F(DeviceTest, FacesTurnedAwayAreNotDrawn) {
    scene->AddVisual(Quad(-1, -0.75f, 1, 0.75f, 4, 0xFFFFFFFF, false).Get());
    for (D3DRMRENDERQUALITY fill : {D3DRMFILL_SOLID, D3DRMFILL_WIREFRAME, D3DRMFILL_POINTS}) {
        device->SetQuality(fill | D3DRMLIGHT_OFF);
        Draw();
        EXPECT_EQ(gl.CountNot(kBackground), 0) << fill;
    }
}

TEST_F(DeviceTest, AMirroringFrameKeepsFacesTheRightWayOut) {
    // Exporters that convert handedness write frames that mirror; a face stays visible
    // from the side its own winding says, whatever the frame does to it on screen.
    auto mirror = MakeRef<Frame>();
    scene->AddChild(mirror.Get());
    mirror->AddScale(D3DRMCOMBINE_REPLACE, -1, 1, 1);
    auto front = Quad(-1, -0.75f, 0, 0.75f, 4, 0xFFFFFFFF);      // drawn at x 80..120
    auto away = Quad(0, -0.75f, 1, 0.75f, 4, 0xFFFFFFFF, false); // drawn at x 40..80
    mirror->AddVisual(front.Get());
    mirror->AddVisual(away.Get());
    for (D3DRMRENDERQUALITY fill : {D3DRMFILL_SOLID, D3DRMFILL_WIREFRAME}) {
        SCOPED_TRACE(fill);
        device->SetQuality(fill | D3DRMLIGHT_OFF);
        Draw();
        int left = 0, right = 0;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                if ((gl.Pixel(x, y) & 0xFFFFFF) == 0xFFFFFF) {
                    (x < 79 ? left : right) += 1;
                }
            }
        }
        EXPECT_EQ(left, 0);
        EXPECT_GT(right, fill == D3DRMFILL_SOLID ? 2000 : 100);
    }
    // Lit from the front, the mirrored face takes the full light.
    AddLights(0, 1);
    device->SetQuality(D3DRMRENDER_GOURAUD);
    Draw();
    EXPECT_NEAR(Red(gl.Pixel(100, 60)), 255, 2);
    // Picking agrees with the drawing.
    std::vector<PickRecord> picks;
    ASSERT_EQ(viewport->Pick(100, 60, &picks), D3DRM_OK);
    ASSERT_EQ(picks.size(), 1u);
    EXPECT_EQ(picks[0].visual.Get(), front.Get());
    ASSERT_EQ(viewport->Pick(60, 60, &picks), D3DRM_OK);
    EXPECT_TRUE(picks.empty());
}

TEST_F(DeviceTest, TriangleCountIsExactWhateverTheFillAndAccumulates) {
    // A quad (2), a triangle (1) and a pentagon (3), one of them turned away.
    auto builder = MakeRef<MeshBuilder>();
    const Vector v[8] = {{0, 0, 5},  {1, 0, 5},  {1, -1, 5},  {0, -1, 5},
                         {-1, 0, 5}, {-2, 0, 5}, {-2, -1, 5}, {-1.5f, -1.5f, 5}};
    const std::uint32_t faces[] = {4, 0, 1, 2, 3, 3, 3, 2, 1, 5, 4, 0, 3, 7, 6, 0};
    builder->AddFaces(8, v, 0, nullptr, faces);
    scene->AddVisual(builder.Get());
    EXPECT_EQ(device->GetTrianglesDrawn(), 0u);
    std::uint32_t expected = 0;
    for (D3DRMRENDERQUALITY fill : {D3DRMFILL_SOLID, D3DRMFILL_WIREFRAME, D3DRMFILL_POINTS}) {
        device->SetQuality(fill | D3DRMLIGHT_ON);
        Draw();
        expected += 6;
        EXPECT_EQ(device->GetTrianglesDrawn(), expected) << fill;
    }
}

TEST_F(DeviceTest, DepthTestFollowsTheRootsZBufferMode) {
    scene->AddVisual(Quad(-1, -0.75f, 1, 0.75f, 3, 0xFFFF0000).Get()); // near, drawn first
    scene->AddVisual(Quad(-1, -0.75f, 1, 0.75f, 5, 0xFF0000FF).Get()); // far, drawn second
    device->SetQuality(D3DRMRENDER_UNLITFLAT);
    EXPECT_EQ(CentreAfterDrawing(), 0xFF0000u);
    root->SetZbufferMode(D3DRMZBUFFER_DISABLE);
    EXPECT_EQ(CentreAfterDrawing(), 0x0000FFu);
}

TEST_F(DeviceTest, OwnQualityOfVisualsCombinesWithTheDevicesAsThePlatformDid) {
    struct Case {
        const char* what;
        D3DRMRENDERQUALITY device;
        bool mesh; // a mesh group's quality replaces the device's; a builder's caps it
        D3DRMRENDERQUALITY own;
        int minCount, maxCount;
        bool centre;
    };
    const Case cases[] = {
        {"builder wireframe on a solid device", D3DRMRENDER_GOURAUD, false, D3DRMRENDER_WIREFRAME,
         250, 300, false},
        {"builder solid on a points device", D3DRMFILL_POINTS | D3DRMLIGHT_OFF, false,
         D3DRMRENDER_UNLITFLAT, 1, 8, false},
        {"mesh wireframe on a points device", D3DRMFILL_POINTS | D3DRMLIGHT_OFF, true,
         D3DRMRENDER_WIREFRAME, 250, 300, false},
        {"mesh unlit solid on a lit device without lights", D3DRMRENDER_GOURAUD, true,
         D3DRMRENDER_UNLITFLAT, 4600, 5000, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto quad = Quad(-1, -0.75f, 1, 0.75f, 4, 0xFFFFFFFF);
        quad->SetQuality(c.own);
        Ref<Visual> visual = c.mesh ? Ref<Visual>(ToMesh(quad)) : Ref<Visual>(quad);
        scene->AddVisual(visual.Get());
        device->SetQuality(c.device);
        Draw();
        const int count = gl.CountNot(kBackground);
        EXPECT_GE(count, c.minCount);
        EXPECT_LE(count, c.maxCount);
        EXPECT_EQ((gl.Pixel(80, 60) & 0xFFFFFF) == 0xFFFFFF, c.centre);
        scene->DeleteVisual(visual.Get());
    }
}

TEST_F(DeviceTest, VisualsNotEnabledForRenderingAreSkipped) {
    auto quad = Quad(-1, -0.75f, 1, 0.75f, 4, 0xFFFFFFFF);
    quad->Enable(D3DRMMESHBUILDER_PICKENABLE);
    scene->AddVisual(quad.Get());
    device->SetQuality(D3DRMRENDER_UNLITFLAT);
    Draw();
    EXPECT_EQ(gl.CountNot(kBackground), 0);
    EXPECT_EQ(device->GetTrianglesDrawn(), 0u);
}

TEST_F(DeviceTest, NearestTextureShowsItsTexelsInTheirQuadrants) {
    auto texture = MakeRef<Texture>();
    texture->SetImage(2, 2, {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255});
    auto quad = Quad(-1, -0.75f, 1, 0.75f, 4, 0xFFFFFFFF);
    quad->SetTextureCoordinates(0, 0, 0);
    quad->SetTextureCoordinates(1, 1, 0);
    quad->SetTextureCoordinates(2, 1, 1);
    quad->SetTextureCoordinates(3, 0, 1);
    quad->SetTexture(texture.Get());
    scene->AddVisual(quad.Get());
    device->SetQuality(D3DRMRENDER_UNLITFLAT);
    device->SetTextureQuality(D3DRMTEXTURE_NEAREST);
    Draw();
    EXPECT_EQ(gl.Pixel(60, 45) & 0xFFFFFF, 0xFF0000u);  // top left texel
    EXPECT_EQ(gl.Pixel(100, 45) & 0xFFFFFF, 0x00FF00u); // top right
    EXPECT_EQ(gl.Pixel(60, 75) & 0xFFFFFF, 0x0000FFu);  // bottom left
    EXPECT_EQ(gl.Pixel(100, 75) & 0xFFFFFF, 0xFFFFFFu); // bottom right

    // Linear filtering blends neighbouring texels near the middle.
    device->SetTextureQuality(D3DRMTEXTURE_LINEAR);
    Draw();
    const std::uint32_t middleTop = gl.Pixel(80, 40);
    EXPECT_GT(Red(middleTop), 60);
    EXPECT_GT(Green(middleTop), 60);
}

TEST_F(DeviceTest, VertexBuffersAreRefreshedOnlyWhenTheGeometryChanges) {
    auto mesh = ToMesh(Quad(-1, -0.75f, 1, 0.75f, 4, 0xFFFFFFFF));
    scene->AddVisual(mesh.Get());
    device->SetQuality(D3DRMRENDER_UNLITFLAT);
    Draw();
    Draw();
    const MeshCache& cache = device->Cache();
    EXPECT_EQ(cache.VertexUploads(), 1u);
    EXPECT_EQ(cache.IndexBuilds(), 1u);

    // Moving vertices (what the skin does every tick) uploads vertices, keeps indices.
    std::vector<MeshVertex> vertices = mesh->GroupVertices(0);
    for (auto& v : vertices) {
        v.position.x -= 1; // the quad now covers x 0..80
    }
    mesh->SetVertices(0, 0, std::uint32_t(vertices.size()), vertices.data());
    Draw();
    EXPECT_EQ(cache.VertexUploads(), 2u);
    EXPECT_EQ(cache.IndexBuilds(), 1u);
    EXPECT_EQ(gl.Pixel(20, 60) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(gl.Pixel(100, 60) & 0xFFFFFF, kBackground & 0xFFFFFF);

    const std::uint32_t triangle[] = {0, 1, 2};
    mesh->AddGroup(3, 1, 3, triangle, nullptr);
    Draw();
    EXPECT_EQ(cache.IndexBuilds(), 2u);
}

TEST_F(DeviceTest, EdgeListsAreBuiltOnlyForWireframeAndAgainOnlyWithNewFaces) {
    auto mesh = ToMesh(Quad(-1, -0.75f, 1, 0.75f, 4, 0xFFFFFFFF));
    scene->AddVisual(mesh.Get());
    device->SetQuality(D3DRMRENDER_UNLITFLAT);
    Draw();
    const MeshCache& cache = device->Cache();
    EXPECT_EQ(cache.EdgeBuilds(), 0u);
    device->SetQuality(D3DRMRENDER_WIREFRAME);
    Draw();
    Draw();
    EXPECT_EQ(cache.EdgeBuilds(), 1u);
    const std::uint32_t triangle[] = {0, 1, 2};
    mesh->AddGroup(3, 1, 3, triangle, nullptr);
    Draw();
    EXPECT_EQ(cache.EdgeBuilds(), 2u);
}

TEST_F(DeviceTest, UpdateLetsGoOfVisualsNobodyHolds) {
    {
        auto quad = Quad(-1, -0.75f, 1, 0.75f, 4, 0xFFFFFFFF);
        scene->AddVisual(quad.Get());
        Draw();
        EXPECT_EQ(device->Cache().Size(), 1u);
        scene->DeleteVisual(quad.Get());
    }
    EXPECT_EQ(device->Update(), D3DRM_OK);
    EXPECT_EQ(device->Cache().Size(), 0u);
}

TEST_F(DeviceTest, SettingsRejectValuesThePlatformRejects) {
    EXPECT_EQ(device->SetShades(3), D3DRMERR_BADVALUE);
    EXPECT_EQ(device->SetShades(0), D3DRMERR_BADVALUE);
    EXPECT_EQ(device->SetShades(8), D3DRM_OK);
    EXPECT_EQ(device->GetShades(), 8u);
    EXPECT_EQ(device->SetBufferCount(0), D3DRMERR_BADVALUE);
    EXPECT_EQ(device->SetBufferCount(2), D3DRM_OK);
    EXPECT_EQ(device->SetTextureQuality(6), D3DRMERR_BADVALUE);
    EXPECT_EQ(device->GetTextureQuality(), D3DRMTEXTURE_NEAREST);
    EXPECT_EQ(device->GetQuality(), D3DRMRENDER_FLAT);
    EXPECT_EQ(device->GetDither(), 1);
    EXPECT_EQ(device->GetColorModel(), D3DCOLOR_RGB);
}

TEST(DeviceCreateTest, FailsWithoutAContextOrWithAnEmptyTarget) {
    Ref<Device> device;
    DeviceTarget none;
    none.width = 10;
    none.height = 10;
    none.makeCurrent = [] { return false; };
    EXPECT_EQ(Device::Create(none, &device), D3DRMERR_BADDEVICE);
    EXPECT_FALSE(device);
    DeviceTarget empty;
    EXPECT_EQ(Device::Create(empty, &device), D3DRMERR_BADVALUE);
}

} // namespace
