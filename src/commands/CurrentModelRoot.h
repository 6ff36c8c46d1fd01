#pragma once

namespace rm {
class Frame;
} // namespace rm

/// The root frame of the current model, else of the model the current animation set is
/// bound to; null when there is neither.
rm::Frame* CurrentModelRoot();
