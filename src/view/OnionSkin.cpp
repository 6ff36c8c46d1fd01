#include "view/OnionSkin.h"

#include <algorithm>
#include <utility>

#include "platform/rm/Device.h"
#include "platform/rm/Viewport.h"
#include "scene/CAnimationData.h"
#include "scene/CModelData.h"
#include "session/EditContext.h"
#include "session/KeyTimeRules.h"

namespace {

// Earlier poses warm, later ones cool; the nearest pair the most opaque.
constexpr float kEarlier[3] = {1.0f, 0.35f, 0.15f};
constexpr float kLater[3] = {0.15f, 0.55f, 1.0f};
constexpr float kAlpha[OnionSkin::kMostGhosts] = {0.45f, 0.3f, 0.2f};

} // namespace

void OnionSkin::SetGhostsPerSide(int ghosts) {
    m_ghostsPerSide = std::clamp(ghosts, 1, kMostGhosts);
}

void OnionSkin::GhostTimes(const CAnimationData& animation, float time, int perSide,
                           std::vector<float>* earlier, std::vector<float>* later) {
    earlier->clear();
    later->clear();
    const std::vector<float>& times = animation.KeyTimeList();
    const auto after = std::upper_bound(times.begin(), times.end(), time);
    auto before = std::lower_bound(times.begin(), times.end(), time);
    for (int i = 0; i < perSide && before != times.begin(); ++i) {
        earlier->push_back(*--before);
    }
    for (auto it = after; it != times.end() && int(later->size()) < perSide; ++it) {
        later->push_back(*it);
    }
}

void OnionSkin::Draw(const session::EditContext& context, std::span<rm::Viewport* const> viewports,
                     rm::Device& device) {
    CAnimationData* animation = context.currentAnimation;
    if (!m_shown || animation == nullptr || animation->Model() == nullptr ||
        animation->Model()->Root() == nullptr) {
        return;
    }
    GhostTimes(*animation, context.currentTime, m_ghostsPerSide, &m_earlier, &m_later);
    if (m_earlier.empty() && m_later.empty()) {
        return;
    }
    DrawGhosts(viewports, device, animation->Model()->Root(), m_earlier, m_later,
               [animation](float time) { PoseAnimation(animation, time); });
    PoseAnimation(animation, context.currentTime);
}

void OnionSkin::DrawGhosts(std::span<rm::Viewport* const> viewports, rm::Device& device,
                           rm::Frame* root, std::span<const float> earlier,
                           std::span<const float> later, const std::function<void(float)>& pose) {
    for (const auto& [times, tint] : {std::pair(earlier, kEarlier), std::pair(later, kLater)}) {
        for (std::size_t i = std::min<std::size_t>(times.size(), kMostGhosts); i-- > 0;) {
            pose(times[i]);
            device.SetTint(tint[0], tint[1], tint[2], kAlpha[i]);
            for (rm::Viewport* viewport : viewports) {
                viewport->Render(root);
            }
        }
    }
    device.SetTint(0, 0, 0, 0);
}
