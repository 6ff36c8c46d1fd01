#pragma once

/// Whether Change Model Scale scales the position keys of the model's animation sets with
/// the model (the model scale dialog's check box).
enum class PositionKeyScaling {
    Keep,
    Scale,
};
