#include "render/Direct3R.h"

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "platform/surface/OffscreenWindow.h"
#include "platform/surface/SurfaceTestDevices.h"
#include "support/DebugCapture.h"

using namespace render;
using surface::DeviceInfo;
using surface::OffscreenWindow;
using testing_surface::BrokenHardware;
using testing_surface::PretendHardware;
using testing_surface::SystemSoftwareDevice;

namespace {

std::string Hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%x", value);
    return text;
}

// A window that counts its paint cycles and may claim to need painting.
class PaintWindow : public OffscreenWindow {
public:
    using OffscreenWindow::OffscreenWindow;
    bool HasUpdateRegion() const override { return dirty; }
    void BeginPaint() override { ++begins; }
    void EndPaint() override {
        ++ends;
        dirty = false;
    }
    bool dirty = false;
    int begins = 0, ends = 0;
};

class Direct3RTest : public ::testing::Test {
protected:
    void SetUp() override {
        const DeviceInfo* found = SystemSoftwareDevice();
        ASSERT_NE(found, nullptr) << "the software rasteriser is needed";
        software = *found;
        hardware = PretendHardware(software);
    }

    // Creates everything the view's initial update creates, on the given devices.
    void CreateAll(Direct3R& d, std::vector<DeviceInfo> devices) {
        d.UseDevices(std::move(devices));
        ASSERT_EQ(d.CreateDirectDrawWin(&window), 1) << log.Text();
        ASSERT_EQ(d.CreateD3DRM(), 1) << log.Text();
    }

    DeviceInfo software;
    DeviceInfo hardware;
    PaintWindow window{64, 48};
    DebugCapture log;
};

TEST_F(Direct3RTest, SoftwareOnlyMachineLogsEveryStepAndSetsTheDefaults) {
    Direct3R d;
    CreateAll(d, {software});
    const std::string expected = "D3R:Direct3R Initialize\n"
                                 "D3R:CreateDirectDrawWin\n"
                                 "D3R:ScreenW = 64, ScreenH = 48\n"
                                 "D3R:back buffer - system memory\n"
                                 "D3R:CreateD3DRM\n"
                                 "D3R:DeviceName :" +
                                 software.name + " " + Hex(software.GuidFirst32()) +
                                 "\n"
                                 "D3R:DeviceGuid " +
                                 Hex(std::uint32_t(Direct3R::LastHardwareGuid()[0]) |
                                     (std::uint32_t(Direct3R::LastHardwareGuid()[1]) << 8) |
                                     (std::uint32_t(Direct3R::LastHardwareGuid()[2]) << 16) |
                                     (std::uint32_t(Direct3R::LastHardwareGuid()[3]) << 24)) +
                                 "\n"
                                 "D3R:Created Direct3DDevice with MMX(HEL)\n";
    EXPECT_EQ(log.Text(), expected);
    EXPECT_FALSE(Direct3R::HardwareDeviceFound());
    EXPECT_EQ(d.IsWindowReady(), 1);
    EXPECT_EQ(d.IsEnabled(), 0); // the view enables it
    EXPECT_EQ(d.ColorModel(), 2);
    EXPECT_EQ(d.Width(), 64);
    EXPECT_EQ(d.Height(), 48);
    EXPECT_EQ(d.BackBuffer()->Width(), 64);
    EXPECT_EQ(d.BackBuffer()->Memory(), surface::SurfaceMemory::System);
    EXPECT_EQ(d.ZBuffer()->Bits(), 16);
    EXPECT_EQ(d.D3DDevice()->Kind(), surface::Rasterizer::Mmx);
    EXPECT_EQ(d.Clipper()->GetHWnd(), &window);
    EXPECT_EQ(d.Direct3D(), d.DirectDraw());
    // Device defaults on a display of more than 8 bits.
    const rm::Device* device = d.D3DRMDevice();
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(device->GetBufferCount(), 2u);
    EXPECT_EQ(device->GetShades(), 32u);
    EXPECT_EQ(device->GetQuality(), rm::D3DRMRENDER_GOURAUD);
    EXPECT_EQ(device->GetDither(), 1);
    EXPECT_EQ(device->GetTextureQuality(), rm::D3DRMTEXTURE_LINEAR);
    EXPECT_EQ(d.D3DRM()->DefaultTextureColors(), 64u);
    EXPECT_EQ(d.D3DRM()->DefaultTextureShades(), 32u);
}

TEST_F(Direct3RTest, HardwareDeviceIsChosenWhenItQualifies) {
    Direct3R d;
    CreateAll(d, {software, hardware});
    const std::string& text = log.Text();
    EXPECT_NE(text.find("D3R:back buffer - video memory\n"), std::string::npos);
    EXPECT_NE(text.find("D3R:HAL DeviceName :Pretend HAL " + Hex(hardware.GuidFirst32()) + "\n"),
              std::string::npos);
    EXPECT_NE(text.find("D3R:I'll use HAL\nD3R:DeviceGuid " + Hex(hardware.GuidFirst32()) + "\n"),
              std::string::npos);
    // The software device listed first was recorded, but only the software flag matters.
    EXPECT_NE(text.find("D3R:DeviceName :" + software.name), std::string::npos);
    EXPECT_TRUE(Direct3R::HardwareDeviceFound());
    EXPECT_EQ(Direct3R::LastHardwareGuid(), hardware.guid);
    EXPECT_EQ(d.IsSoftware(), 0);
    EXPECT_EQ(d.D3DDevice()->Kind(), surface::Rasterizer::Hardware);
    EXPECT_EQ(d.ZBuffer()->Memory(), surface::SurfaceMemory::Video);
    EXPECT_EQ(d.ZBuffer()->Bits(), 16);
}

TEST_F(Direct3RTest, HardwareDepthIsTheSmallestOf16_24_32ItOffers) {
    for (auto [offered, chosen] :
         {std::pair{std::vector<int>{24, 32}, 24}, std::pair{std::vector<int>{32}, 32}}) {
        DeviceInfo h = hardware;
        h.depthBits = offered;
        Direct3R d;
        CreateAll(d, {h, software});
        EXPECT_EQ(d.ZBuffer()->Bits(), chosen);
        EXPECT_EQ(d.D3DDevice()->Kind(), surface::Rasterizer::Hardware);
    }
}

TEST_F(Direct3RTest, BackBufferFallsBackToSystemMemoryWhenVideoMemoryFails) {
    Direct3R d;
    CreateAll(d, {BrokenHardware(), software});
    const std::string& text = log.Text();
    EXPECT_NE(text.find("D3R:back buffer - video memory\n"
                        "D3R:Retry HEL(back buffer - system memory)\n"),
              std::string::npos);
    EXPECT_EQ(d.IsSoftware(), 1);
    EXPECT_EQ(d.BackBuffer()->Memory(), surface::SurfaceMemory::System);
    // With the software flag set the enumeration records no hardware device.
    EXPECT_EQ(text.find("HAL DeviceName"), std::string::npos);
    EXPECT_NE(text.find("D3R:Created Direct3DDevice with MMX(HEL)\n"), std::string::npos);
}

TEST_F(Direct3RTest, UnqualifiedHardwareIsNotChosenAndTheRetryUsesSoftware) {
    // The hardware device still holds the back buffer (video memory), but is not chosen:
    // the software choice then cannot put its 16-bit system-memory z-buffer on it, and the
    // device layer retries in software mode on surfaces rebuilt for that.
    DeviceInfo noDepth = hardware;
    noDepth.depthBits = {8};
    DeviceInfo mono = hardware;
    mono.colorModels = surface::kColorModelMono;
    struct Case {
        const char* what;
        DeviceInfo device;
        const char* failure;
    };
    const Case cases[] = {
        {"no 16, 24 or 32-bit depth", noDepth, "D3R:Failed to Create Z-Buffer\n"},
        {"not the RGB colour model", mono, "D3R:Failed to Attach Z-Buffer\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        log.Reset();
        Direct3R d;
        CreateAll(d, {c.device, software});
        const std::string& text = log.Text();
        EXPECT_EQ(text.find("HAL DeviceName"), std::string::npos);
        EXPECT_NE(text.find(std::string(c.failure) + "D3R:Fail to Direct3D create. Retry HEL\n"
                                                     "D3R:CreateDirectDrawWin\n"
                                                     "D3R:Direct3R Cleanup_ExceptIDirect3DRM\n"),
                  std::string::npos)
            << text;
        EXPECT_NE(text.find("D3R:back buffer - system memory\n"), std::string::npos);
        EXPECT_EQ(d.IsSoftware(), 1);
        EXPECT_EQ(d.BackBuffer()->Memory(), surface::SurfaceMemory::System);
        EXPECT_EQ(d.D3DDevice()->Kind(), surface::Rasterizer::Mmx);
        EXPECT_NE(d.D3DRMDevice(), nullptr);
    }
}

TEST_F(Direct3RTest, FailedHardwareDeviceIsRetriedOnceInSoftwareMode) {
    // The first hardware device holds video memory but lacks the RGB model; the second is
    // chosen, and a device cannot be made on the first one's surface.
    DeviceInfo mono = hardware;
    mono.name = "Mono HAL";
    mono.colorModels = surface::kColorModelMono;
    DeviceInfo other = hardware;
    other.name = "Other HAL";
    other.guid[1] ^= 0x5A;
    Direct3R d;
    CreateAll(d, {mono, other, software});
    const std::string& text = log.Text();
    EXPECT_NE(text.find("D3R:DeviceName :Mono HAL"), std::string::npos);
    EXPECT_NE(text.find("D3R:HAL DeviceName :Other HAL"), std::string::npos);
    EXPECT_NE(text.find("D3R:Can't Create Direct3DDevice2 from Direct3D2\n"
                        "D3R:Direct3R Cleanup_ExceptIDirect3DRM\n"
                        "D3R:Fail to Direct3D create. Retry HEL\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(d.IsSoftware(), 1);
    EXPECT_EQ(d.D3DDevice()->Kind(), surface::Rasterizer::Mmx);
}

TEST_F(Direct3RTest, SoftwareRasterisersAreTriedMmxThenRgbOrRamp) {
    struct Case {
        std::uint32_t offered;
        int colorModel;
        const char* log;
        int result;
    };
    const Case cases[] = {
        {surface::kRasterizerRgb, 2, "D3R:Created Direct3DDevice with RGB(HEL)\n", 1},
        {surface::kRasterizerRamp, 1, "D3R:Created Direct3DDevice with RAMP(HEL)\n", 1},
        {surface::kRasterizerRamp, 2,
         "D3R:Created Direct3DDevice with RGB(HEL)\nD3R:Failed to Create Direct3DDevice!\n"
         "D3R:Direct3R Cleanup_ExceptIDirect3DRM\n",
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.log);
        DeviceInfo s = software;
        s.rasterizers = c.offered;
        Direct3R d;
        d.UseDevices({s});
        d.SetHEL(1);
        ASSERT_EQ(d.CreateDirectDrawWin(&window), 1);
        log.Reset();
        EXPECT_EQ(d.CreateD3DDevice(c.colorModel), c.result);
        EXPECT_NE(log.Text().find(c.log), std::string::npos) << log.Text();
        EXPECT_EQ(log.Text().find("MMX(HEL)"), std::string::npos);
    }
}

TEST_F(Direct3RTest, DeviceFailureInSoftwareModeEndsCreateD3DRM) {
    DeviceInfo s = software;
    s.rasterizers = 0;
    Direct3R d;
    d.UseDevices({s});
    ASSERT_EQ(d.CreateDirectDrawWin(&window), 1);
    EXPECT_EQ(d.CreateD3DRM(), 0);
    const std::string& text = log.Text();
    // The software flag was clear: one retry, then the end.
    EXPECT_NE(text.find("D3R:Fail to Direct3D create. Retry HEL\n"), std::string::npos);
    EXPECT_NE(text.find("D3R:Error:Fail to Direct3D create \n "), std::string::npos);
    EXPECT_EQ(d.D3DRMDevice(), nullptr);
    EXPECT_EQ(d.DirectDraw(), nullptr);
    EXPECT_NE(d.D3DRM(), nullptr); // the scene library's object stays
}

TEST_F(Direct3RTest, FailingCallsAreReportedWithTheirCodesAndLines) {
    struct Case {
        const char* what;
        std::vector<DeviceInfo> devices;
        int software;
        bool window;
        const char* report;
    };
    const Case cases[] = {
        {"no device at all",
         {},
         0,
         true,
         "DirectDraw Error DDERR_NODIRECTDRAWHW\nin file Direct3r at line 646\n"},
        {"no window",
         {software},
         0,
         false,
         "DirectDraw Error DDERR_NOHWND\nin file Direct3r at line 674\n"},
        {"system memory without a software device",
         {BrokenHardware()},
         1,
         true,
         "DirectDraw Error DDERR_OUTOFMEMORY\nin file Direct3r at line 714\n"},
        {"video memory, then system memory fail",
         {BrokenHardware()},
         0,
         true,
         "DirectDraw Error DDERR_OUTOFMEMORY\nin file Direct3r at line 712\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Direct3R d;
        d.UseDevices(c.devices);
        d.SetHEL(c.software);
        log.Reset();
        EXPECT_EQ(d.CreateDirectDrawWin(c.window ? &window : nullptr), 0);
        EXPECT_NE(log.Text().find(c.report), std::string::npos) << log.Text();
        EXPECT_EQ(d.IsWindowReady(), 0);
    }
}

TEST_F(Direct3RTest, ViewportIsMadeOnceWithTheBackPlaneAt5000) {
    Direct3R d;
    auto camera = rm::MakeRef<rm::Frame>();
    log.Reset();
    EXPECT_EQ(d.D3RViewport(camera.Get()), 0);
    EXPECT_NE(log.Text().find("Direct3D-RM Error : D3DRMERR_BADOBJECT\nin file Direct3r at "
                              "line 1433\n"),
              std::string::npos)
        << log.Text();

    CreateAll(d, {software});
    log.Reset();
    ASSERT_EQ(d.D3RViewport(camera.Get()), 1);
    EXPECT_EQ(log.Text(), "D3R:D3RViewport\nD3R:Viewport width:64 height:48\n");
    EXPECT_EQ(d.Viewport()->GetBack(), 5000.0f);
    EXPECT_EQ(d.Viewport()->GetWidth(), 64);
    log.Reset();
    EXPECT_EQ(d.D3RViewport(camera.Get()), 0);
    EXPECT_EQ(log.Text(), "D3R:D3RViewport Exist m_viewport\n");
}

TEST_F(Direct3RTest, AnEmptyClientAreaGetsAOneByOneBackBuffer) {
    OffscreenWindow empty(0, 0);
    Direct3R d;
    d.UseDevices({software});
    ASSERT_EQ(d.CreateDirectDrawWin(&empty), 1);
    EXPECT_NE(log.Text().find("D3R:ScreenW = 1, ScreenH = 1\n"), std::string::npos);
    EXPECT_EQ(d.BackBuffer()->Width(), 1);
    EXPECT_EQ(d.BackBuffer()->Height(), 1);
    // UpdateScreenRect does not raise the size.
    d.SetEnable(1);
    EXPECT_EQ(d.UpdateScreenRect(nullptr), 1);
    EXPECT_EQ(d.Width(), 0);
    EXPECT_EQ(d.Height(), 0);
}

TEST_F(Direct3RTest, SetEnableTakesOnlyZeroOrOne) {
    Direct3R d;
    EXPECT_EQ(d.SetEnable(1), 1);
    EXPECT_EQ(d.IsEnabled(), 1);
    EXPECT_EQ(d.SetEnable(2), 1);
    EXPECT_EQ(d.IsEnabled(), 1);
    EXPECT_EQ(d.SetEnable(0), 1);
    EXPECT_EQ(d.IsEnabled(), 0);
}

TEST_F(Direct3RTest, ShowBackBufferPresentsOnlyWhileEnabledAndNotSuspended) {
    Direct3R d;
    CreateAll(d, {software});
    EXPECT_EQ(d.ShowBackBuffer(), 0); // not enabled yet
    d.SetEnable(1);
    EXPECT_EQ(d.ShowBackBuffer(), 1);
    EXPECT_EQ(window.PresentCount(), 1);
    EXPECT_EQ(window.LastPicture().Width(), 64);

    // A resize suspends the wrapper while it rebuilds; nothing is shown meanwhile.
    log.Reset();
    ASSERT_EQ(d.ResizeWindow(nullptr), 1);
    EXPECT_EQ(d.IsSuspended(), 0);
    EXPECT_EQ(d.Viewport(), nullptr);
    EXPECT_NE(d.D3DRMDevice(), nullptr);
    EXPECT_EQ(log.Text().rfind("D3R:Resize Window\nD3R:Direct3R Cleanup_ExceptIDirect3DRM\n", 0),
              0u);
    // A lost picture is reported against the blit.
    d.PrimarySurface()->MarkLost();
    log.Reset();
    EXPECT_EQ(d.ShowBackBuffer(), 0);
    EXPECT_EQ(log.Text(), "DirectDraw Error DDERR_SURFACELOST\nin file Direct3r at line 1297\n");
}

TEST_F(Direct3RTest, ResizeWindowNeedsTheWindowSurfaces) {
    Direct3R d;
    EXPECT_EQ(d.ResizeWindow(&window), 0);
    EXPECT_EQ(log.Text(), "D3R:Direct3R Initialize\nD3R:Resize Window\n");
    CreateAll(d, {software});
    window.SetClientRect({10, 20, 110, 70});
    ASSERT_EQ(d.ResizeWindow(nullptr), 1);
    EXPECT_EQ(d.Width(), 100);
    EXPECT_EQ(d.Height(), 50);
    EXPECT_EQ(d.BackBuffer()->Width(), 100);
    EXPECT_EQ(d.ZBuffer()->Height(), 50);
}

TEST_F(Direct3RTest, ActivationAndPaintFollowTheFlags) {
    Direct3R d;
    CreateAll(d, {software});
    log.Reset();
    EXPECT_EQ(d.ActivateHandle(0), 0); // not enabled: only the flag and the log
    EXPECT_EQ(log.Text(), "D3R:ActivateHandle Non Active\n");
    EXPECT_EQ(d.IsActive(), 0);
    d.SetEnable(1);
    EXPECT_EQ(d.ActivateHandle(1), 1);
    EXPECT_EQ(d.IsActive(), 1);

    EXPECT_EQ(d.PaintHandle(nullptr), 1);
    EXPECT_EQ(window.begins, 0); // nothing to paint
    window.dirty = true;
    EXPECT_EQ(d.PaintHandle(nullptr), 1);
    EXPECT_EQ(window.begins, 1);
    EXPECT_EQ(window.ends, 1);
    d.SetEnable(0);
    EXPECT_EQ(d.PaintHandle(nullptr), 0);
}

TEST_F(Direct3RTest, RestoreSurfacesBringsBackALostPictureAndDepthBuffer) {
    Direct3R d;
    CreateAll(d, {software});
    d.PrimarySurface()->MarkLost();
    d.ZBuffer()->MarkLost();
    d.RestoreSurfaces(); // not enabled: nothing
    EXPECT_TRUE(d.PrimarySurface()->IsLost());
    d.SetEnable(1);
    d.RestoreSurfaces();
    EXPECT_FALSE(d.PrimarySurface()->IsLost());
    EXPECT_FALSE(d.ZBuffer()->IsLost());
}

TEST_F(Direct3RTest, CleanupReleasesEverythingAndTheOtherKeepsTheSceneObject) {
    Direct3R d;
    CreateAll(d, {software});
    d.SetEnable(1);
    d.Cleanup_ExceptIDirect3DRM();
    EXPECT_NE(d.D3DRM(), nullptr);
    EXPECT_EQ(d.IsEnabled(), 1);
    EXPECT_EQ(d.BackBuffer(), nullptr);
    EXPECT_EQ(d.D3DRMDevice(), nullptr);
    EXPECT_EQ(d.DirectDraw(), nullptr);

    CreateAll(d, {software});
    log.Reset();
    d.Cleanup();
    EXPECT_EQ(log.Text(), "D3R:Direct3R Cleanup\n");
    EXPECT_EQ(d.D3DRM(), nullptr);
    EXPECT_EQ(d.PrimarySurface(), nullptr);
    EXPECT_EQ(d.ZBuffer(), nullptr);
    EXPECT_EQ(d.IsEnabled(), 0);
}

TEST_F(Direct3RTest, EightBitDisplaysGetAPaletteAndFlatDefaults) {
    OffscreenWindow eight(32, 16, 8);
    Direct3R d;
    d.UseDevices({software});
    ASSERT_EQ(d.CreateDirectDrawWin(&eight), 1);
    ASSERT_EQ(d.CreateD3DRM(), 1);
    EXPECT_NE(log.Text().find("D3R:CreateD3DRM\nD3R:palettized \n"), std::string::npos);
    ASSERT_NE(d.Palette(), nullptr);
    EXPECT_EQ(d.PrimarySurface()->GetPalette().get(), d.Palette());
    EXPECT_EQ(d.BackBuffer()->GetPalette().get(), d.Palette());
    const surface::PaletteEntry* entries = d.PaletteEntries();
    EXPECT_EQ(entries[0].flags, 0x40);
    EXPECT_EQ(entries[9].flags, 0x40);
    EXPECT_EQ(entries[10].flags, 0x01);
    EXPECT_EQ(entries[245].flags, 0x01);
    EXPECT_EQ(entries[246].flags, 0x40);
    const rm::Device* device = d.D3DRMDevice();
    EXPECT_EQ(device->GetShades(), 8u);
    EXPECT_EQ(device->GetDither(), 0);
    EXPECT_EQ(device->GetQuality(), rm::D3DRMRENDER_FLAT);
    EXPECT_EQ(device->GetTextureQuality(), rm::D3DRMTEXTURE_NEAREST);
}

} // namespace
