#include "render/ModelFraming.h"

#include <algorithm>
#include <cmath>

#include "platform/rm/Frame.h"
#include "platform/rm/Viewport.h"

namespace render {

float ModelFraming::FittingDistance(float radius, float field, float front, int width, int height) {
    const float wide = static_cast<float>(std::max({width, height, 1}));
    const float narrow = static_cast<float>(std::max(std::min(width, height), 1));
    // Half the narrower side's extent at distance 1 (the projection scales x and y alike
    // by the wider side).
    const float slope = field * (narrow / wide) / std::max(front, 1e-6f);
    const float halfAngle = std::atan(std::max(slope, 1e-6f));
    const float distance = radius * kMargin / std::sin(halfAngle);
    return std::max(distance, front + radius);
}

int ModelFraming::FrameWhole(rm::Frame* pivot, const rm::Viewport* viewport, rm::Frame* target) {
    rm::Frame* camera = viewport != nullptr ? viewport->GetCamera() : nullptr;
    if (pivot == nullptr || camera == nullptr || target == nullptr) {
        return 0;
    }
    rm::Box box;
    if (rm::Failed(target->GetHierarchyBox(&box))) {
        return 0;
    }

    // The box's corners in the world: the target may be scaled or turned.
    rm::Vector low{}, high{};
    for (int corner = 0; corner < 8; ++corner) {
        const rm::Vector local{(corner & 1) != 0 ? box.max.x : box.min.x,
                               (corner & 2) != 0 ? box.max.y : box.min.y,
                               (corner & 4) != 0 ? box.max.z : box.min.z};
        rm::Vector world;
        target->Transform(&world, &local);
        if (corner == 0) {
            low = high = world;
            continue;
        }
        low = {std::min(low.x, world.x), std::min(low.y, world.y), std::min(low.z, world.z)};
        high = {std::max(high.x, world.x), std::max(high.y, world.y), std::max(high.z, world.z)};
    }
    const rm::Vector centre{(low.x + high.x) * 0.5f, (low.y + high.y) * 0.5f,
                            (low.z + high.z) * 0.5f};
    const float dx = high.x - low.x, dy = high.y - low.y, dz = high.z - low.z;
    const float radius = std::max(0.5f * std::sqrt(dx * dx + dy * dy + dz * dz), 1e-3f);

    pivot->SetPosition(nullptr, centre.x, centre.y, centre.z);
    if (viewport->GetProjection() == rm::D3DRMPROJECT_PERSPECTIVE) {
        const float distance = FittingDistance(radius, viewport->GetField(), viewport->GetFront(),
                                               viewport->GetWidth(), viewport->GetHeight());
        camera->SetPosition(pivot, 0, 0, -distance);
    }
    return 1;
}

} // namespace render
