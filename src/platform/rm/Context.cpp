#include "platform/rm/Context.h"

namespace rm {

namespace {
template <typename T, typename... Args>
HRESULT Make(Ref<T>* out, Args&&... args) {
    if (!out) {
        return D3DRMERR_BADVALUE;
    }
    *out = MakeRef<T>(std::forward<Args>(args)...);
    return D3DRM_OK;
}
} // namespace

HRESULT Context::CreateFrame(Frame* parent, Ref<Frame>* frame) {
    const HRESULT hr = Make(frame);
    if (Succeeded(hr) && parent) {
        return parent->AddChild(frame->Get());
    }
    return hr;
}

HRESULT Context::CreateMeshBuilder(Ref<MeshBuilder>* builder) {
    return Make(builder);
}
HRESULT Context::CreateMesh(Ref<Mesh>* mesh) {
    return Make(mesh);
}
HRESULT Context::CreateAnimation(Ref<Animation>* animation) {
    return Make(animation);
}
HRESULT Context::CreateAnimationSet(Ref<AnimationSet>* set) {
    return Make(set);
}

HRESULT Context::CreateLightRGB(D3DRMLIGHTTYPE type, float r, float g, float b, Ref<Light>* light) {
    return Make(light, type, r, g, b);
}

HRESULT Context::CreateMaterial(float power, Ref<Material>* material) {
    return Make(material, power);
}

HRESULT Context::CreateTexture(Ref<Texture>* texture) {
    return Make(texture);
}

HRESULT Context::CreateDeviceFromD3D(const DeviceTarget& target, Ref<Device>* device) {
    return Device::Create(target, device);
}

HRESULT Context::CreateViewport(Device* device, Frame* camera, int x, int y, int width, int height,
                                Ref<Viewport>* viewport) {
    return Viewport::Create(device, camera, x, y, width, height, viewport);
}

HRESULT Direct3DRMCreate(Ref<Context>* context) {
    return Make(context);
}

} // namespace rm
