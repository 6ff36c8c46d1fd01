#pragma once

// A device on the software rasteriser with a viewport looking from a camera frame in a
// scene, and quads to put in it: the setting of the drawing and picking tests.

#include <cstdint>

#include <gtest/gtest.h>

#include "DeviceTestContext.h"
#include "platform/rm/Device.h"
#include "platform/rm/Frame.h"
#include "platform/rm/MeshBuilder.h"
#include "platform/rm/Viewport.h"

namespace testing_rm {

/// A quad from (x0, y0) to (x1, y1) at depth z, clockwise as seen from the origin looking
/// along +z (facing the default camera) or turned away.
inline rm::Ref<rm::MeshBuilder> Quad(float x0, float y0, float x1, float y1, float z,
                                     rm::D3DCOLOR colour = 0xFFFFFFFF, bool clockwise = true) {
    auto builder = rm::MakeRef<rm::MeshBuilder>();
    const rm::Vector corners[4] = {{x0, y1, z}, {x1, y1, z}, {x1, y0, z}, {x0, y0, z}};
    const std::uint32_t cw[] = {4, 0, 1, 2, 3, 0};
    const std::uint32_t ccw[] = {4, 3, 2, 1, 0, 0};
    builder->AddFaces(4, corners, 0, nullptr, clockwise ? cw : ccw);
    builder->SetColor(colour);
    return builder;
}

class DeviceSceneTest : public ::testing::Test {
protected:
    DeviceSceneTest(int width, int height, rm::D3DCOLOR background)
        : gl(width, height), m_background(background) {}

    void SetUp() override {
        ASSERT_TRUE(gl.Ok()) << "no OpenGL 3.3 core context on the software rasteriser";
        ASSERT_EQ(rm::Device::Create(gl.Target(), &device), rm::D3DRM_OK);
        root = rm::MakeRef<rm::Frame>();
        root->SetSceneBackground(m_background);
        camera = rm::MakeRef<rm::Frame>();
        root->AddChild(camera.Get());
        ASSERT_EQ(rm::Viewport::Create(device.Get(), camera.Get(), 0, 0, gl.Width(), gl.Height(),
                                       &viewport),
                  rm::D3DRM_OK);
    }

    /// Clears, draws root's tree and reads the picture back into gl.
    void Draw() {
        ASSERT_EQ(viewport->Clear(rm::D3DRMCLEAR_ALL), rm::D3DRM_OK);
        ASSERT_EQ(viewport->Render(root.Get()), rm::D3DRM_OK);
        ASSERT_EQ(device->Update(), rm::D3DRM_OK);
        gl.Read();
    }

    DeviceTestContext gl;
    rm::Ref<rm::Device> device;
    rm::Ref<rm::Frame> root, camera;
    rm::Ref<rm::Viewport> viewport;

private:
    rm::D3DCOLOR m_background;
};

} // namespace testing_rm
