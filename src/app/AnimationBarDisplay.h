#pragma once

#include <functional>
#include <string>

#include <QString>

#include "app/Playback.h"

class QWidget;

namespace framework {
class DialogBar;
class Document;
class ToolBar;
} // namespace framework

class CAnimationData;

namespace session {
class EditContext;
} // namespace session

/// The read-outs of the animation bar (dialog bar 103) and the name edits of the control
/// panel (dialog bar 136) for the current animation set: time, slider, key number, key
/// length, first and last key time, the set's and the model's file names. It also keeps
/// the document's path name following the current set and releases the play buttons of
/// the animation tool bar. The bars are borrowed; until they are given every call does
/// nothing.
class AnimationBarDisplay : public Playback::Display {
public:
    /// The document whose path name follows the current animation set (may give null).
    using DocumentGetter = std::function<framework::Document*()>;

    /// `context` is borrowed and must outlive the display.
    AnimationBarDisplay(session::EditContext& context, DocumentGetter document);

    /// The bars, once they exist (all borrowed; the frame owns them).
    void SetBars(framework::DialogBar* animationBar, framework::DialogBar* controlPanel,
                 framework::ToolBar* animationToolBar);

    /// Shows the current time, slider position, key number and key length of the current
    /// animation set, recomputes the key index and requests a redraw. Nothing without a
    /// current animation set.
    void RefreshTimeDisplay() override;
    void ReleasePlayButtons() override;
    /// Rebuilds the key-time list first when `keyTimes` says so, then shows the first
    /// and last key time, the character's animation sets (the current one selected), the
    /// model's name and the slider's range and ticks. When another character's sets have
    /// become current since the last refresh, the document's path name becomes the full
    /// library name of the character's first set (the path it was opened from, or that
    /// path with its "_<n>" suffix), so Save writes where the sets came from and never to
    /// a bare file name in the working directory; picking another set of the same
    /// character leaves it alone. 0 without a current animation set.
    int RefreshKeyRange(session::KeyTimeList keyTimes) override;
    /// Refreshes the bar for the current animation set, or shows its empty state ("0.00",
    /// "0.00", "Non", slider 0..1). Returns 1.
    int ResetAnimationBar();
    /// The Length edit: `length`, or "Last" for 0.
    void ShowKeyLength(unsigned length);
    /// The number typed in the Time edit, when it is one and lies within the current set's
    /// first and last key time (the bar's Min and Max): 1 with it in *time; else 0.
    int ReadTypedTime(float* time) const;
    /// Called after every RefreshKeyRange (and a reset without a set) and every
    /// RefreshTimeDisplay: whatever else shows the keys or the time follows (the timeline).
    void SetFollowers(std::function<void()> keysChanged, std::function<void()> timeChanged);
    /// The text typed in the Length edit.
    QString GetKeyLengthText() const;
    /// The time slider's position; -1 without the slider.
    int GetSliderPosition() const;
    /// Stretches the time slider so its right edge meets the bar's, as the bar sits in
    /// `frame` (its window); its left, top and height stay.
    void StretchTimeSlider(QWidget* frame);
    /// The scene was cleared: the name edits show "non" and the path name is forgotten.
    void OnSceneCleared();

private:
    void ShowTimeDisplay();
    int ShowKeyRange(session::KeyTimeList keyTimes);

    session::EditContext& m_context;
    DocumentGetter m_document;
    std::function<void()> m_keysChanged;
    std::function<void()> m_timeChanged;
    framework::DialogBar* m_animationBar = nullptr;
    framework::DialogBar* m_controlPanel = nullptr;
    framework::ToolBar* m_animationToolBar = nullptr;
    // The animation set and library name the document's path name was last taken from,
    // so a refresh gives the document a new path name only when another set became
    // current (a Save As name survives later refreshes). Compared, never dereferenced.
    const CAnimationData* m_pathNameAnimation = nullptr;
    std::string m_pathNameEntry;
};
