#pragma once

class CAnimationData;

/// The key time "Copy Key Frame" remembered for "Paste Key Frame": a time, not key
/// values (the paste copies what the current animation set holds at that time then).
/// Lives as long as the main frame; a clear of the scene does not empty it.
struct CopiedKey {
    /// 1 after the first copy, never cleared.
    int hasCopiedKey = 0;
    float copiedKeyTime = 0;
    /// The animation set current at the copy; recorded only, compared never, borrowed.
    CAnimationData* copiedKeyAnimation = nullptr;
};
