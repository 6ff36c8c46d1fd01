#include "platform/surface/PrimarySurface.h"

#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include "SurfaceTestDevices.h"
#include "platform/surface/Driver.h"
#include "platform/surface/OffscreenWindow.h"

using namespace surface;
using testing_surface::SystemSoftwareDevice;

namespace {

class PrimarySurfaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        const DeviceInfo* software = SystemSoftwareDevice();
        ASSERT_NE(software, nullptr);
        std::shared_ptr<Driver> driver;
        ASSERT_EQ(Driver::CreateWithDevices({*software}, &driver), DD_OK);
        ASSERT_EQ(RenderTarget::Create(*driver, 4, 2, SurfaceMemory::System, &target), DD_OK);
        ASSERT_TRUE(target->Bind());
        glClearColor(190 / 255.0f, 100 / 255.0f, 10 / 255.0f, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        ASSERT_EQ(PrimarySurface::Create(&primary), DD_OK);
    }

    std::shared_ptr<RenderTarget> target;
    std::unique_ptr<PrimarySurface> primary;
};

TEST_F(PrimarySurfaceTest, BltShowsTheBackBufferInTheClippersWindow) {
    OffscreenWindow window(4, 2);
    std::shared_ptr<Clipper> clipper;
    ASSERT_EQ(Clipper::Create(&clipper), DD_OK);
    EXPECT_EQ(clipper->SetHWnd(nullptr), DDERR_NOHWND);
    ASSERT_EQ(clipper->SetHWnd(&window), DD_OK);
    primary->SetClipper(clipper);
    ASSERT_EQ(primary->Blt(*target), DD_OK);
    EXPECT_EQ(window.PresentCount(), 1);
    EXPECT_EQ(window.LastPicture().PixelAt(3, 1), 0xFFBE640Au);
    EXPECT_EQ(primary->Picture().PixelAt(0, 0), 0xFFBE640Au);
}

TEST_F(PrimarySurfaceTest, ALostSurfaceShowsNothingUntilRestored) {
    primary->MarkLost();
    EXPECT_EQ(primary->Blt(*target), DDERR_SURFACELOST);
    EXPECT_TRUE(primary->Picture().IsEmpty());
    primary->Restore();
    EXPECT_EQ(primary->Blt(*target), DD_OK);
    EXPECT_FALSE(primary->Picture().IsEmpty());
}

TEST_F(PrimarySurfaceTest, APaletteReducesThePictureToItsColours) {
    PaletteEntry entries[256];
    OffscreenWindow(1, 1, 8).GetSystemPaletteEntries(entries);
    std::shared_ptr<Palette> palette;
    EXPECT_EQ(Palette::Create(0, entries, &palette), DDERR_INVALIDPARAMS);
    ASSERT_EQ(Palette::Create(Palette::kCaps8Bit, entries, &palette), DD_OK);
    primary->SetPalette(palette);
    ASSERT_EQ(primary->Blt(*target), DD_OK);
    // (190, 100, 10) is nearest to the 3-3-2 entry (182, 109, 0).
    EXPECT_EQ(primary->Picture().PixelAt(1, 1) & 0xFFFFFF, 0xB66D00u);
    const std::uint8_t nearest = palette->Nearest(190, 100, 10);
    EXPECT_EQ(entries[nearest].red, 182);
}

} // namespace
