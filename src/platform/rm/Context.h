#pragma once

#include "platform/rm/Animation.h"
#include "platform/rm/AnimationSet.h"
#include "platform/rm/Device.h"
#include "platform/rm/Face.h"
#include "platform/rm/Frame.h"
#include "platform/rm/Light.h"
#include "platform/rm/Material.h"
#include "platform/rm/Mesh.h"
#include "platform/rm/MeshBuilder.h"
#include "platform/rm/Object.h"
#include "platform/rm/Texture.h"
#include "platform/rm/Viewport.h"

namespace rm {

/// The factory of scene objects, shared by the whole program (one per run). Every
/// Create call hands the caller one reference.
class Context : public Object {
public:
    const char* ClassName() const override { return "Direct3DRM"; }

    /// A frame, made a child of parent when parent is not null.
    HRESULT CreateFrame(Frame* parent, Ref<Frame>* frame);
    HRESULT CreateMeshBuilder(Ref<MeshBuilder>* builder);
    HRESULT CreateMesh(Ref<Mesh>* mesh);
    HRESULT CreateAnimation(Ref<Animation>* animation);
    HRESULT CreateAnimationSet(Ref<AnimationSet>* set);
    HRESULT CreateLightRGB(D3DRMLIGHTTYPE type, float r, float g, float b, Ref<Light>* light);
    HRESULT CreateMaterial(float power, Ref<Material>* material);
    HRESULT CreateTexture(Ref<Texture>* texture);
    /// A drawing device on a GL framebuffer (see Device::Create for the results).
    HRESULT CreateDeviceFromD3D(const DeviceTarget& target, Ref<Device>* device);
    /// A viewport of device for camera (see Viewport::Create for the results).
    HRESULT CreateViewport(Device* device, Frame* camera, int x, int y, int width, int height,
                           Ref<Viewport>* viewport);

    /// Texture colour count and shade count defaults (kept for the device set-up).
    HRESULT SetDefaultTextureColors(std::uint32_t colors) {
        m_textureColors = colors;
        return D3DRM_OK;
    }
    HRESULT SetDefaultTextureShades(std::uint32_t shades) {
        m_textureShades = shades;
        return D3DRM_OK;
    }
    std::uint32_t DefaultTextureColors() const { return m_textureColors; }
    std::uint32_t DefaultTextureShades() const { return m_textureShades; }

private:
    std::uint32_t m_textureColors = 0;
    std::uint32_t m_textureShades = 0;
};

/// Creates the shared factory object.
HRESULT Direct3DRMCreate(Ref<Context>* context);

} // namespace rm
