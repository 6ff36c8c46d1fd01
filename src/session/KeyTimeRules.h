#pragma once

// The rules every part of the editor applies to the current time and the key-time list:
// whole key times, the first and last key time, posing an animation set, the wrap of
// playback past the last key time, and the key index and key length the animation bar
// shows. Plain functions over the edit context (EditContext.h), shared by
// playback, the key-frame commands and the view.

class CAnimationData;

namespace session {
class EditContext;
} // namespace session

/// A time truncated toward zero as a whole key time; 0 for times that do not fit (NaN,
/// infinities, beyond ±9e18). Large positive times wrap as unsigned numbers do.
unsigned ToKeyTime(float time);
/// Entry 0 of the animation set's key-time list; 0 without a set or with an empty list.
float FirstKeyTime(const CAnimationData* animation);
/// The last entry of the key-time list; 0 without a set or with an empty list.
float LastKeyTime(const CAnimationData* animation);
/// `time`, or the first key time when `time` lies past the last key time (strictly): the
/// loop of playback, which drops the rest of the step.
float WrapPastLastKeyTime(const CAnimationData* animation, float time);

/// Sets the animation set's own time, poses every part it drives there and lets the
/// bound model's skin follow. Nothing without a set or without its scene-library set.
void PoseAnimation(CAnimationData* animation, float time);

/// The last key-time list entry at or before the context's currentTime becomes its keyIndex
/// (before the first entry the index stays); when the index changed, keyTime takes the
/// current time's whole part. Nothing without a current animation set.
void RecomputeKeyIndex(session::EditContext& context);
/// The gap from keyTime to the key time after keyIndex (unsigned arithmetic), or 0 when
/// keyIndex is the last entry or there is no current animation set.
unsigned CurrentKeyLength(const session::EditContext& context);
