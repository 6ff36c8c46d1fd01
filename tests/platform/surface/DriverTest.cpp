#include "platform/surface/Driver.h"

#include <gtest/gtest.h>

#include "SurfaceTestDevices.h"

using namespace surface;
using testing_surface::BrokenHardware;
using testing_surface::PretendHardware;
using testing_surface::SystemSoftwareDevice;

TEST(DriverTest, EnumerationFindsTheSoftwareRasteriserWithoutADisplay) {
    const std::vector<DeviceInfo> devices = Driver::EnumerateSystemDevices();
    ASSERT_FALSE(devices.empty());
    const DeviceInfo* software = SystemSoftwareDevice();
    ASSERT_NE(software, nullptr) << "Mesa lists its software rasteriser as an EGL device";
    EXPECT_NE(software->extensions.find("EGL_MESA_device_software"), std::string::npos);
    // Every device without that extension counts as hardware.
    for (const auto& d : devices) {
        EXPECT_EQ(d.software, d.extensions.find("EGL_MESA_device_software") != std::string::npos)
            << d.name;
    }
    // Identifiers tell the devices apart.
    for (std::size_t i = 0; i < devices.size(); ++i) {
        for (std::size_t j = i + 1; j < devices.size(); ++j) {
            EXPECT_NE(devices[i].guid, devices[j].guid);
        }
    }
}

TEST(DriverTest, CapabilitiesFollowTheDeviceList) {
    std::shared_ptr<Driver> driver;
    EXPECT_EQ(Driver::CreateWithDevices({}, &driver), DDERR_NODIRECTDRAWHW);
    EXPECT_FALSE(driver);

    const DeviceInfo* software = SystemSoftwareDevice();
    ASSERT_NE(software, nullptr);
    ASSERT_EQ(Driver::CreateWithDevices({*software}, &driver), DD_OK);
    EXPECT_FALSE(driver->HasHardware3D());
    EXPECT_EQ(driver->FirstHardwareDevice(), nullptr);
    EXPECT_EQ(driver->FirstSoftwareDevice()->guid, software->guid);

    const DeviceInfo hardware = PretendHardware(*software);
    ASSERT_EQ(Driver::CreateWithDevices({*software, BrokenHardware(), hardware}, &driver), DD_OK);
    EXPECT_TRUE(driver->HasHardware3D());
    EXPECT_EQ(driver->FirstHardwareDevice()->name, "Broken HAL");
    EXPECT_EQ(driver->FindDevice(hardware.guid)->name, "Pretend HAL");

    std::vector<std::string> seen;
    driver->EnumDevices([&](const DeviceInfo& d) {
        seen.push_back(d.name);
        return seen.size() < 2;
    });
    EXPECT_EQ(seen.size(), 2u);
}

TEST(DriverTest, GuidFirst32ReadsTheFirstFourBytesLittleEndian) {
    DeviceInfo d;
    d.guid = {0x78, 0x56, 0x34, 0x12, 0xFF};
    EXPECT_EQ(d.GuidFirst32(), 0x12345678u);
    d.depthBits = {24};
    EXPECT_TRUE(d.SupportsDepth(24));
    EXPECT_FALSE(d.SupportsDepth(16));
}
