#pragma once

#include <functional>
#include <span>
#include <vector>

class CAnimationData;

namespace session {
class EditContext;
} // namespace session

namespace rm {
class Device;
class Frame;
class Viewport;
} // namespace rm

/// The onion skin: the current character's poses at the key times just before and just
/// after the current time, drawn as translucent ghosts over the scene (earlier ones tinted
/// warm, later ones cool, the nearest the most opaque). Ghosts are drawn only: they are no
/// part of the scene, so picks, bounds, saves and the edit history never see them, and the
/// character is posed back at the current time once they are drawn. Off by default.
class OnionSkin {
public:
    /// How many key times each side may be shown.
    static constexpr int kMostGhosts = 3;

    bool IsShown() const { return m_shown; }
    void SetShown(bool shown) { m_shown = shown; }
    /// Ghosts each side, 1 to kMostGhosts (other values are clamped).
    int GhostsPerSide() const { return m_ghostsPerSide; }
    void SetGhostsPerSide(int ghosts);

    /// Up to `perSide` key times of `animation`'s key-time list before `time` (nearest
    /// first) into *earlier, and after it into *later. The key time equal to `time` is
    /// neither: it is the character itself.
    static void GhostTimes(const CAnimationData& animation, float time, int perSide,
                           std::vector<float>* earlier, std::vector<float>* later);

    /// Draws the ghosts of `context`'s current animation set's model into each of
    /// `viewports` on `device`, then poses the set at the context's current time again. Nothing
    /// while hidden or without a current animation set bound to a model.
    void Draw(const session::EditContext& context, std::span<rm::Viewport* const> viewports,
              rm::Device& device);

    /// The drawing itself: for each time of `earlier` and of `later` (nearest first, at
    /// most kMostGhosts each), `pose` poses the model for that time and `root` is drawn as
    /// a ghost of its side's colour into each viewport, the farthest first. `pose` is not
    /// called to put the model back.
    static void DrawGhosts(std::span<rm::Viewport* const> viewports, rm::Device& device,
                           rm::Frame* root, std::span<const float> earlier,
                           std::span<const float> later, const std::function<void(float)>& pose);

private:
    bool m_shown = false;
    int m_ghostsPerSide = 2;
    // Reused by every drawing.
    std::vector<float> m_earlier;
    std::vector<float> m_later;
};
