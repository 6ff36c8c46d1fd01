#pragma once

#include <memory>
#include <vector>

#include <QString>

#include "commands/SceneImage.h"
#include "platform/NonCopyable.h"

class UndoHistory;

namespace session {
class EditContext;
} // namespace session

namespace rm {
class Animation;
} // namespace rm

/// The one door every change to a character goes through: a command (or a drag, from press
/// to release) opens a scope before its first change and closes it after its last. Opening
/// names what the edit may touch and takes pictures of exactly that (SceneImage) of the
/// current character; closing takes them again and, when what it may touch differs, pushes
/// one step onto the history. A scope that changed nothing pushes nothing.
///
/// Always pictured: the current model's frames and the time, so an undo puts back the pose
/// the edit changed as a side effect; but only a scope that touches the frames makes a step
/// of a change to them alone.
///
/// A scope opened while another is open on the same history adds what it may touch to the
/// outer one (pictured now, before it changes anything) and pushes nothing itself: the drag
/// that adds a key frame on its way is one step. Without a history (null) a scope does
/// nothing at all. Not copyable; closes in its destructor.
///
/// In debug and sanitizer builds the outermost scope also pictures what it
/// may not touch (the keys and options of every other animation of the current sets, the
/// meshes while the skin is off) and stops the program when closing finds that changed: an edit
/// that touches more than its scope declares would leave a step that cannot take all of it back.
class EditScope : private platform::NonCopyable {
public:
    /// What a scope may change (bits).
    enum Touch : unsigned {
        /// The keys and options of `partAnimation`.
        PartAnimation = 0x1,
        /// Every animation set of the current character (the current one when there is no
        /// character): which animations they hold, their keys, options and names.
        AnimationSets = 0x2,
        /// The current model's frames: tree, matrices, names and part records.
        ModelFrames = 0x4,
        /// The current model's meshes: vertices and skin weights.
        Meshes = 0x8,
    };

    /// `history` is borrowed (null: no recording); `context` (borrowed) is what the edit
    /// works on, pictured and written back by the step; `stepName` is what the Edit menu
    /// shows.
    EditScope(UndoHistory* history, session::EditContext& context, const QString& stepName,
              unsigned touches, rm::Animation* partAnimation = nullptr);
    ~EditScope();

    /// Ends the scope (pushing its step when it changed something). Later calls do nothing.
    void Close();
    /// The history was cleared under the scope: it ends without a step.
    void Abandon() { m_open = false; }

    /// Whether scopes picture and check what they did not declare (debug and sanitizer
    /// builds).
    static bool ChecksUndeclared();

private:
    struct Undeclared;

    void Take(unsigned touches, rm::Animation* partAnimation);
    void PictureUndeclared();
    void CheckUndeclared();

    UndoHistory* m_history = nullptr;
    session::EditContext& m_context;
    bool m_open = false;
    QString m_stepName;
    unsigned m_touches = 0;
    SceneImage m_before;
    /// The part animations declared so far (borrowed).
    std::vector<rm::Animation*> m_declared;
    /// Debug builds: what the scope did not declare, as it was when it opened.
    std::unique_ptr<Undeclared> m_undeclared;
};
