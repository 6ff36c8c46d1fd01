#include "render/Direct3R.h"

#include <algorithm>
#include <cstdio>

#include "platform/rm/DebugOutput.h"
#include "render/ErrorReport.h"

namespace render {

namespace {

// The source name and line numbers the reports carry, one per failing call.
constexpr const char* kSource = "Direct3r";
constexpr int kLineDirectDrawCreate = 646;
constexpr int kLineSetCooperativeLevel = 674;
constexpr int kLineCreatePrimary = 684;
constexpr int kLineBackBufferRetry = 712;
constexpr int kLineBackBufferSystem = 714;
constexpr int kLineCreateClipper = 718;
constexpr int kLineSetHWnd = 719;
constexpr int kLineSetClipper = 720;
constexpr int kLineCreateDeviceFromD3D = 1062;
constexpr int kLineBlt = 1297;
constexpr int kLineFlip = 1301;
constexpr int kLineCreateViewport = 1433;
constexpr int kLineSetBack = 1435;

constexpr int kColorModelRgb = 2;

void Log(const char* text) {
    rm::OutputDebugStringA(text);
}

template <typename... Args>
void Logf(const char* format, Args... args) {
    char line[512];
    std::snprintf(line, sizeof line, format, args...);
    rm::OutputDebugStringA(line);
}

std::uint32_t First32(const std::array<std::uint8_t, 16>& guid) {
    return std::uint32_t(guid[0]) | (std::uint32_t(guid[1]) << 8) | (std::uint32_t(guid[2]) << 16) |
           (std::uint32_t(guid[3]) << 24);
}

} // namespace

bool Direct3R::s_hardwareDeviceFound = false;
const Direct3R* Direct3R::s_enumerating = nullptr;
std::array<std::uint8_t, 16> Direct3R::s_deviceGuid{};

Direct3R::Direct3R() {
    Log("D3R:Direct3R Initialize\n");
    s_hardwareDeviceFound = false;
}

Direct3R::~Direct3R() {
    if (s_enumerating == this) {
        s_enumerating = nullptr;
    }
}

void Direct3R::UseDevices(std::vector<surface::DeviceInfo> devices) {
    m_devices = std::move(devices);
    m_useOwnDevices = true;
}

int Direct3R::CreateDirectDrawWin(surface::Window* window) {
    m_window = window;
    Log("D3R:CreateDirectDrawWin\n");
    if (m_directDraw) {
        Cleanup_ExceptIDirect3DRM();
    }
    surface::Rect rect;
    if (window) {
        m_bitsPerPixel = window->BitsPerPixel();
        rect = window->ClientRectOnScreen();
    }
    m_screenRect = rect;
    m_width = std::max(rect.Width(), 1);
    m_height = std::max(rect.Height(), 1);
    Logf("D3R:ScreenW = %d, ScreenH = %d\n", m_width, m_height);

    const surface::HRESULT created =
        m_useOwnDevices ? surface::Driver::CreateWithDevices(m_devices, &m_directDraw)
                        : surface::Driver::Create(&m_directDraw);
    if (surface::Failed(created)) {
        ReportDirectDrawError(created, kSource, kLineDirectDrawCreate);
        return 0;
    }
    if (!m_directDraw) {
        Log("Can't query DirectDraw2!\n");
        return 0;
    }
    const bool hardware3D = m_directDraw->HasHardware3D();
    m_colorModel = kColorModelRgb;
    if (!window) {
        // The windowed, shared cooperative level needs the window to share with.
        ReportDirectDrawError(surface::DDERR_NOHWND, kSource, kLineSetCooperativeLevel);
        return 0;
    }
    if (surface::HRESULT hr = surface::PrimarySurface::Create(&m_primarySurface);
        surface::Failed(hr)) {
        ReportDirectDrawError(hr, kSource, kLineCreatePrimary);
        return 0;
    }

    const bool video = m_videoMemory || (!m_software && hardware3D);
    Log(video ? "D3R:back buffer - video memory\n" : "D3R:back buffer - system memory\n");
    const auto memory = video ? surface::SurfaceMemory::Video : surface::SurfaceMemory::System;
    surface::HRESULT hr =
        surface::RenderTarget::Create(*m_directDraw, m_width, m_height, memory, &m_backBuffer);
    if (surface::Failed(hr)) {
        if (!video) {
            ReportDirectDrawError(hr, kSource, kLineBackBufferSystem);
            return 0;
        }
        Log("D3R:Retry HEL(back buffer - system memory)\n");
        m_software = 1;
        hr = surface::RenderTarget::Create(*m_directDraw, m_width, m_height,
                                           surface::SurfaceMemory::System, &m_backBuffer);
        if (surface::Failed(hr)) {
            ReportDirectDrawError(hr, kSource, kLineBackBufferRetry);
            return 0;
        }
    }

    if (hr = surface::Clipper::Create(&m_clipper); surface::Failed(hr)) {
        ReportDirectDrawError(hr, kSource, kLineCreateClipper);
        return 0;
    }
    if (hr = m_clipper->SetHWnd(window); surface::Failed(hr)) {
        ReportDirectDrawError(hr, kSource, kLineSetHWnd);
        return 0;
    }
    if (hr = m_primarySurface->SetClipper(m_clipper); surface::Failed(hr)) {
        ReportDirectDrawError(hr, kSource, kLineSetClipper);
        return 0;
    }
    m_windowReady = 1;
    return 1;
}

void Direct3R::SetUpPalette() {
    Log("D3R:palettized \n");
    if (m_window) {
        m_window->GetSystemPaletteEntries(m_paletteEntries.data());
    }
    // The system's static colours (the first and last ten) stay the system's; the rest
    // are free for the picture.
    for (int i = 0; i < 256; ++i) {
        if (m_windowReady) {
            m_paletteEntries[std::size_t(i)].flags = (i < 10 || i >= 246) ? 0x40 : 0x01;
        } else if (i < 255) {
            m_paletteEntries[std::size_t(i)].flags = 0x01;
        }
    }
    surface::Palette::Create(surface::Palette::kCaps8Bit, m_paletteEntries.data(), &m_palette);
    if (m_backBuffer) {
        m_backBuffer->SetPalette(m_palette);
    }
    if (m_primarySurface) {
        m_primarySurface->SetPalette(m_palette);
    }
}

int Direct3R::CreateD3DRM() {
    Log("D3R:CreateD3DRM\n");
    if (!m_d3drm && rm::Failed(rm::Direct3DRMCreate(&m_d3drm))) {
        Cleanup_ExceptIDirect3DRM();
        return 0;
    }
    const bool palettized = m_bitsPerPixel == 8;
    if (palettized) {
        SetUpPalette();
    }
    if (m_d3dDevice) {
        return 1;
    }
    if (!CreateD3DDevice(m_colorModel)) {
        if (m_software) {
            Cleanup_ExceptIDirect3DRM();
            Log("D3R:Error:Fail to Direct3D create \n ");
            return 0;
        }
        Log("D3R:Fail to Direct3D create. Retry HEL\n");
        m_software = 1;
        // The failed attempt may have released the surfaces, and what is left was made
        // for the hardware device, which the software rasteriser cannot draw into: the
        // retry starts from window surfaces made for it.
        int rebuilt = 0;
        if (m_window) {
            rebuilt = CreateDirectDrawWin(m_window);
            if (rebuilt && palettized) {
                SetUpPalette();
            }
        }
        if (!rebuilt || !CreateD3DDevice(m_colorModel)) {
            Cleanup_ExceptIDirect3DRM();
            Log("D3R:Error:Fail to Direct3D create \n ");
            return 0;
        }
    }

    rm::DeviceTarget target;
    target.framebuffer = m_backBuffer->Framebuffer();
    target.width = m_backBuffer->Width();
    target.height = m_backBuffer->Height();
    // The scene library's device may outlive the 3D device it was made on (someone may
    // still hold it); it then finds the device gone instead of drawing into freed GL names.
    std::weak_ptr<surface::RasterDevice> raster = m_d3dDevice;
    target.makeCurrent = [raster] {
        const auto device = raster.lock();
        return device && device->MakeCurrent();
    };
    if (rm::HRESULT hr = m_d3drm->CreateDeviceFromD3D(target, &m_d3drmDevice); rm::Failed(hr)) {
        ReportRetainedModeError(hr, kSource, kLineCreateDeviceFromD3D);
        return 0;
    }

    m_d3drmDevice->SetBufferCount(2);
    if (palettized) {
        m_d3drmDevice->SetShades(8);
        m_d3drmDevice->SetDither(0);
        m_d3drmDevice->SetQuality(rm::D3DRMRENDER_FLAT);
        m_d3drmDevice->SetTextureQuality(rm::D3DRMTEXTURE_NEAREST);
    } else {
        m_d3drmDevice->SetShades(32);
        m_d3drm->SetDefaultTextureColors(64);
        m_d3drm->SetDefaultTextureShades(32);
        m_d3drmDevice->SetQuality(rm::D3DRMRENDER_GOURAUD);
        m_d3drmDevice->SetDither(1);
        m_d3drmDevice->SetTextureQuality(rm::D3DRMTEXTURE_LINEAR);
    }
    return 1;
}

int Direct3R::CreateD3DDevice(int colorModel) {
    if (!m_directDraw) {
        Log("D3R:Error:Failed to QI Direct3D2 from DirectDraw\n");
        m_directDraw.reset();
        return 0;
    }
    m_direct3D = m_directDraw;

    // What the enumeration records: the hardware device and the first other device.
    struct Choice {
        const surface::DeviceInfo* hardware = nullptr;
        const surface::DeviceInfo* software = nullptr;
    } choice;
    s_hardwareDeviceFound = false;
    s_enumerating = this;
    m_direct3D->EnumDevices([&](const surface::DeviceInfo& device) {
        if (s_hardwareDeviceFound) {
            return true;
        }
        const bool hardwareModel =
            !device.software && (device.colorModels & std::uint32_t(colorModel)) != 0;
        if (!m_software && hardwareModel) {
            if (device.SupportsDepth(16) || device.SupportsDepth(24) || device.SupportsDepth(32)) {
                choice.hardware = &device;
                Logf("D3R:HAL DeviceName :%s %x\n", device.name.c_str(), device.GuidFirst32());
                s_hardwareDeviceFound = true;
            }
            return true;
        }
        if (!choice.software) {
            choice.software = &device;
            Logf("D3R:DeviceName :%s %x\n", device.name.c_str(), device.GuidFirst32());
        }
        return true;
    });
    s_enumerating = nullptr;

    const bool useHardware = choice.hardware && !m_software;
    int depth = 16;
    auto memory = surface::SurfaceMemory::System;
    if (useHardware) {
        depth = choice.hardware->SupportsDepth(16)   ? 16
                : choice.hardware->SupportsDepth(24) ? 24
                : choice.hardware->SupportsDepth(32) ? 32
                                                     : 0;
        s_deviceGuid = choice.hardware->guid;
        Log("D3R:I'll use HAL\n");
        memory = surface::SurfaceMemory::Video;
    }
    Logf("D3R:DeviceGuid %x\n", First32(s_deviceGuid));

    if (depth != 0) {
        if (!m_backBuffer || surface::Failed(surface::DepthBuffer::Create(*m_backBuffer, depth,
                                                                          memory, &m_zBuffer))) {
            Log("D3R:Failed to Create Z-Buffer\n");
            return 0;
        }
        if (surface::Failed(m_backBuffer->AttachDepth(m_zBuffer.get()))) {
            Log("D3R:Failed to Attach Z-Buffer\n");
            return 0;
        }
    }

    if (!useHardware) {
        if (surface::Succeeded(surface::RasterDevice::Create(m_backBuffer, surface::Rasterizer::Mmx,
                                                             s_deviceGuid, &m_d3dDevice))) {
            Log("D3R:Created Direct3DDevice with MMX(HEL)\n");
            return 1;
        }
        const bool rgb = colorModel == kColorModelRgb;
        const surface::HRESULT hr = surface::RasterDevice::Create(
            m_backBuffer, rgb ? surface::Rasterizer::Rgb : surface::Rasterizer::Ramp, s_deviceGuid,
            &m_d3dDevice);
        Log(rgb ? "D3R:Created Direct3DDevice with RGB(HEL)\n"
                : "D3R:Created Direct3DDevice with RAMP(HEL)\n");
        if (surface::Succeeded(hr)) {
            return 1;
        }
        Log("D3R:Failed to Create Direct3DDevice!\n");
        Cleanup_ExceptIDirect3DRM();
        return 0;
    }
    if (surface::Succeeded(surface::RasterDevice::Create(
            m_backBuffer, surface::Rasterizer::Hardware, s_deviceGuid, &m_d3dDevice))) {
        return 1;
    }
    Log("D3R:Can't Create Direct3DDevice2 from Direct3D2\n");
    Cleanup_ExceptIDirect3DRM();
    return 0;
}

int Direct3R::D3RViewport(rm::Frame* camera) {
    if (m_viewport) {
        Log("D3R:D3RViewport Exist m_viewport\n");
        return 0;
    }
    Log("D3R:D3RViewport\n");
    Logf("D3R:Viewport width:%d height:%d\n", m_width, m_height);
    rm::HRESULT hr = m_d3drm ? m_d3drm->CreateViewport(m_d3drmDevice.Get(), camera, 0, 0, m_width,
                                                       m_height, &m_viewport)
                             : rm::D3DRMERR_BADOBJECT;
    if (rm::Failed(hr)) {
        ReportRetainedModeError(hr, kSource, kLineCreateViewport);
        return 0;
    }
    if (hr = m_viewport->SetBack(5000.0f); rm::Failed(hr)) {
        ReportRetainedModeError(hr, kSource, kLineSetBack);
        return 0;
    }
    return 1;
}

int Direct3R::ResizeWindow(surface::Window* window) {
    Log("D3R:Resize Window\n");
    if (!m_windowReady) {
        return 0;
    }
    const bool hadRetainedMode = bool(m_d3drm);
    Cleanup_ExceptIDirect3DRM();
    m_suspended = 1;
    CreateDirectDrawWin(window ? window : m_window);
    if (hadRetainedMode) {
        CreateD3DRM();
    }
    m_suspended = 0;
    return 1;
}

int Direct3R::ShowBackBuffer() {
    if (m_suspended || !m_enabled) {
        return 0;
    }
    const int line = m_windowReady ? kLineBlt : kLineFlip;
    surface::HRESULT hr = surface::DDERR_INVALIDOBJECT;
    if (m_primarySurface && m_backBuffer) {
        hr = m_windowReady ? m_primarySurface->Blt(*m_backBuffer)
                           : m_primarySurface->Flip(*m_backBuffer);
    }
    if (surface::Failed(hr)) {
        ReportDirectDrawError(hr, kSource, line);
        return 0;
    }
    return 1;
}

int Direct3R::SetEnable(int flag) {
    if (flag == 0 || flag == 1) {
        m_enabled = flag;
    }
    return 1;
}

int Direct3R::UpdateScreenRect(surface::Window* window) {
    if (!m_enabled || !m_windowReady) {
        return 0;
    }
    surface::Window* w = window ? window : m_window;
    if (!w) {
        return 0;
    }
    m_screenRect = w->ClientRectOnScreen();
    m_width = m_screenRect.Width();
    m_height = m_screenRect.Height();
    return 1;
}

int Direct3R::ActivateHandle(int active) {
    Log("D3R:ActivateHandle ");
    Log(active ? "Active\n" : "Non Active\n");
    m_active = active;
    if (!m_enabled || m_suspended) {
        return 0;
    }
    if (m_windowReady && m_d3drmDevice) {
        m_d3drmDevice->HandleActivate(active);
    }
    if (m_primarySurface) {
        m_primarySurface->SetPalette(m_palette);
    }
    return 1;
}

int Direct3R::PaintHandle(surface::Window* window) {
    if (!m_enabled || !m_windowReady || m_suspended) {
        return 0;
    }
    surface::Window* w = window ? window : m_window;
    if (!w || !w->HasUpdateRegion()) {
        return 1;
    }
    w->BeginPaint();
    if (m_d3drmDevice) {
        m_d3drmDevice->HandlePaint();
    }
    w->EndPaint();
    return 1;
}

void Direct3R::RestoreSurfaces() {
    if (!m_enabled || !m_active || !m_primarySurface) {
        return;
    }
    if (m_primarySurface->IsLost()) {
        m_primarySurface->Restore();
        if (m_viewport) {
            m_viewport->ForceUpdate(0, 0, m_width, m_height);
        }
    }
    if (m_zBuffer && m_zBuffer->IsLost()) {
        m_zBuffer->Restore();
        if (m_viewport) {
            m_viewport->ForceUpdate(0, 0, m_width, m_height);
        }
    }
}

void Direct3R::Cleanup() {
    Log("D3R:Direct3R Cleanup\n");
    Release(false);
    m_enabled = 0;
}

void Direct3R::Cleanup_ExceptIDirect3DRM() {
    Log("D3R:Direct3R Cleanup_ExceptIDirect3DRM\n");
    Release(true);
}

void Direct3R::Release(bool keepD3drm) {
    m_viewport = nullptr;
    m_d3drmDevice = nullptr;
    m_d3dDevice.reset();
    m_palette.reset();
    m_zBuffer.reset();
    if (!keepD3drm) {
        m_d3drm = nullptr;
    }
    m_direct3D.reset();
    // Released even when the window surfaces were never completed: a back buffer made
    // before a later step failed would otherwise be left behind.
    m_backBuffer.reset();
    m_clipper.reset();
    m_primarySurface.reset();
    m_directDraw.reset();
}

} // namespace render
