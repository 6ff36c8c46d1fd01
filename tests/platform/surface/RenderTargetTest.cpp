#include "platform/surface/RenderTarget.h"

#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include "SurfaceTestDevices.h"
#include "platform/surface/DepthBuffer.h"
#include "platform/surface/Driver.h"
#include "platform/surface/RasterDevice.h"

using namespace surface;
using testing_surface::BrokenHardware;
using testing_surface::PretendHardware;
using testing_surface::SystemSoftwareDevice;

namespace {

class RenderTargetTest : public ::testing::Test {
protected:
    void SetUp() override {
        const DeviceInfo* software = SystemSoftwareDevice();
        ASSERT_NE(software, nullptr);
        ASSERT_EQ(Driver::CreateWithDevices({*software}, &softwareOnly), DD_OK);
        ASSERT_EQ(Driver::CreateWithDevices({*software, PretendHardware(*software)}, &withHardware),
                  DD_OK);
    }

    // Fills the top `rows` rows of the target with one colour and the rest with another.
    static void PaintTopRows(const RenderTarget& target, int rows) {
        ASSERT_TRUE(target.Bind());
        glDisable(GL_SCISSOR_TEST);
        glClearColor(0, 0, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glEnable(GL_SCISSOR_TEST);
        glScissor(0, target.Height() - rows, target.Width(), rows);
        glClearColor(1, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_SCISSOR_TEST);
    }

    std::shared_ptr<Driver> softwareOnly;
    std::shared_ptr<Driver> withHardware;
};

TEST_F(RenderTargetTest, ReadBackGivesTheTopRowFirst) {
    std::shared_ptr<RenderTarget> target;
    ASSERT_EQ(RenderTarget::Create(*softwareOnly, 64, 32, SurfaceMemory::System, &target), DD_OK);
    EXPECT_EQ(target->Context()->Device().software, true);
    PaintTopRows(*target, 4);
    Image image;
    ASSERT_EQ(target->ReadPixels(&image), DD_OK);
    ASSERT_EQ(image.Width(), 64);
    ASSERT_EQ(image.Height(), 32);
    EXPECT_EQ(image.PixelAt(0, 0), 0xFFFF0000u);
    EXPECT_EQ(image.PixelAt(63, 3), 0xFFFF0000u);
    EXPECT_EQ(image.PixelAt(0, 4), 0xFF0000FFu);
    EXPECT_EQ(image.PixelAt(63, 31), 0xFF0000FFu);
}

TEST_F(RenderTargetTest, ANewTargetIsBlackAndResizingKeepsItUsable) {
    std::shared_ptr<RenderTarget> target;
    ASSERT_EQ(RenderTarget::Create(*softwareOnly, 8, 8, SurfaceMemory::System, &target), DD_OK);
    Image image;
    target->ReadPixels(&image);
    EXPECT_EQ(image.PixelAt(4, 4), 0xFF000000u);
    ASSERT_EQ(target->Resize(20, 10), DD_OK);
    PaintTopRows(*target, 1);
    target->ReadPixels(&image);
    EXPECT_EQ(image.Width(), 20);
    EXPECT_EQ(image.Height(), 10);
    EXPECT_EQ(image.PixelAt(19, 0), 0xFFFF0000u);
    EXPECT_EQ(image.PixelAt(19, 9), 0xFF0000FFu);
    EXPECT_EQ(target->Resize(0, 10), DDERR_INVALIDPARAMS);
}

TEST_F(RenderTargetTest, MemoryChoosesTheDeviceAndFailsWithoutOne) {
    struct Case {
        const char* what;
        Driver* driver;
        SurfaceMemory memory;
        HRESULT expected;
        bool software;
    };
    std::shared_ptr<Driver> broken;
    ASSERT_EQ(Driver::CreateWithDevices({BrokenHardware()}, &broken), DD_OK);
    const Case cases[] = {
        {"video memory without hardware", softwareOnly.get(), SurfaceMemory::Video,
         DDERR_OUTOFVIDEOMEMORY, false},
        {"video memory on a device that will not open", broken.get(), SurfaceMemory::Video,
         DDERR_OUTOFVIDEOMEMORY, false},
        {"system memory without a software device", broken.get(), SurfaceMemory::System,
         DDERR_OUTOFMEMORY, false},
        {"video memory with hardware", withHardware.get(), SurfaceMemory::Video, DD_OK, false},
        {"system memory with both", withHardware.get(), SurfaceMemory::System, DD_OK, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::shared_ptr<RenderTarget> target;
        EXPECT_EQ(RenderTarget::Create(*c.driver, 16, 16, c.memory, &target), c.expected);
        EXPECT_EQ(bool(target), c.expected == DD_OK);
        if (target) {
            EXPECT_EQ(target->Context()->Device().software, c.software);
            EXPECT_EQ(target->Memory(), c.memory);
        }
    }
    std::shared_ptr<RenderTarget> target;
    EXPECT_EQ(RenderTarget::Create(*softwareOnly, 0, 16, SurfaceMemory::System, &target),
              DDERR_INVALIDPARAMS);
    EXPECT_EQ(RenderTarget::Create(*softwareOnly, 1 << 20, 16, SurfaceMemory::System, &target),
              DDERR_TOOBIGSIZE);
}

TEST_F(RenderTargetTest, DepthBufferAttachesOnlyToATargetOfTheSameMemoryAndSize) {
    std::shared_ptr<RenderTarget> target;
    ASSERT_EQ(RenderTarget::Create(*softwareOnly, 32, 16, SurfaceMemory::System, &target), DD_OK);
    std::unique_ptr<DepthBuffer> depth;
    EXPECT_EQ(DepthBuffer::Create(*target, 20, SurfaceMemory::System, &depth),
              DDERR_INVALIDPIXELFORMAT);

    ASSERT_EQ(DepthBuffer::Create(*target, 16, SurfaceMemory::Video, &depth), DD_OK);
    EXPECT_EQ(target->AttachDepth(depth.get()), DDERR_CANNOTATTACHSURFACE);
    EXPECT_EQ(target->AttachedDepth(), nullptr);

    ASSERT_EQ(DepthBuffer::Create(*target, 24, SurfaceMemory::System, &depth), DD_OK);
    ASSERT_EQ(target->AttachDepth(depth.get()), DD_OK);
    EXPECT_EQ(target->AttachDepth(depth.get()), DDERR_SURFACEALREADYATTACHED);
    EXPECT_EQ(depth->AttachedTo(), target.get());
    ASSERT_TRUE(target->Bind());
    GLint bits = 0;
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT,
                                          GL_FRAMEBUFFER_ATTACHMENT_DEPTH_SIZE, &bits);
    EXPECT_GE(bits, 24);

    // Resizing the target resizes its depth buffer with it.
    ASSERT_EQ(target->Resize(40, 20), DD_OK);
    EXPECT_EQ(depth->Width(), 40);
    EXPECT_EQ(depth->Height(), 20);

    // A depth buffer that goes away detaches itself.
    depth.reset();
    EXPECT_EQ(target->AttachedDepth(), nullptr);
}

TEST_F(RenderTargetTest, ARasteriserDrawsOnlyIntoSurfacesOfItsOwnDevice) {
    std::shared_ptr<RenderTarget> system, video;
    ASSERT_EQ(RenderTarget::Create(*withHardware, 8, 8, SurfaceMemory::System, &system), DD_OK);
    ASSERT_EQ(RenderTarget::Create(*withHardware, 8, 8, SurfaceMemory::Video, &video), DD_OK);
    const auto hardwareGuid = withHardware->FirstHardwareDevice()->guid;
    const auto softwareGuid = withHardware->FirstSoftwareDevice()->guid;
    std::shared_ptr<RasterDevice> device;
    EXPECT_EQ(RasterDevice::Create(system, Rasterizer::Mmx, softwareGuid, &device), DD_OK);
    EXPECT_EQ(RasterDevice::Create(video, Rasterizer::Mmx, softwareGuid, &device),
              DDERR_INVALIDOBJECT);
    EXPECT_EQ(RasterDevice::Create(video, Rasterizer::Hardware, hardwareGuid, &device), DD_OK);
    EXPECT_EQ(device->Kind(), Rasterizer::Hardware);
    EXPECT_EQ(RasterDevice::Create(system, Rasterizer::Hardware, hardwareGuid, &device),
              DDERR_INVALIDOBJECT);
    EXPECT_EQ(RasterDevice::Create(video, Rasterizer::Hardware, softwareGuid, &device),
              DDERR_INVALIDOBJECT);
    EXPECT_EQ(RasterDevice::Create(nullptr, Rasterizer::Rgb, softwareGuid, &device),
              DDERR_INVALIDPARAMS);

    // A software device without the MMX rasteriser refuses it but offers RGB.
    DeviceInfo noMmx = *SystemSoftwareDevice();
    noMmx.rasterizers = kRasterizerRgb;
    std::shared_ptr<Driver> driver;
    ASSERT_EQ(Driver::CreateWithDevices({noMmx}, &driver), DD_OK);
    std::shared_ptr<RenderTarget> target;
    ASSERT_EQ(RenderTarget::Create(*driver, 8, 8, SurfaceMemory::System, &target), DD_OK);
    EXPECT_EQ(RasterDevice::Create(target, Rasterizer::Mmx, noMmx.guid, &device),
              DDERR_UNSUPPORTED);
    EXPECT_EQ(RasterDevice::Create(target, Rasterizer::Rgb, noMmx.guid, &device), DD_OK);
    EXPECT_EQ(RasterDevice::Create(target, Rasterizer::Ramp, noMmx.guid, &device),
              DDERR_UNSUPPORTED);
}

} // namespace
