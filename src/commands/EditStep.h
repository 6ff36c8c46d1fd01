#pragma once

#include <cstddef>

#include <QUndoCommand>

#include "commands/SceneChange.h"

/// One step of the edit history: what an edit changed (SceneChange). Undo writes back the
/// state before it, redo the state after. A step is pushed after its edit happened
/// (Pushed::AfterItHappened), so the redo the stack calls on every push must not apply it
/// a second time: the step skips its first redo (SkipsNextRedo).
///
/// The history may drop the pictures of its oldest steps to stay within its byte limit; a
/// dropped step can no longer be undone.
class EditStep : public QUndoCommand {
public:
    /// `totalBytes` is the history's count of the bytes all its steps hold; the step adds
    /// its own and takes them off again when it drops its pictures or is destroyed.
    /// When the step is pushed: after the edit changed the scene (the edit scope's way), or
    /// before, so the push's redo makes the change.
    enum class Pushed { AfterItHappened, BeforeItHappens };

    EditStep(const QString& name, SceneChange change, std::size_t& totalBytes,
             Pushed pushed = Pushed::AfterItHappened);
    ~EditStep() override;

    void undo() override;
    void redo() override;

    std::size_t Bytes() const { return m_bytes; }
    bool Dropped() const { return m_dropped; }
    /// Frees what it keeps; the step stays on the stack as a mark that cannot be undone.
    void Drop();
    /// Whether the next redo leaves the scene as it is: the scene shows the step's result
    /// already (just pushed after its edit, or redone).
    bool SkipsNextRedo() const { return m_applied; }

private:
    SceneChange m_change;
    std::size_t& m_totalBytes;
    std::size_t m_bytes = 0;
    /// The scene shows the state after the step.
    bool m_applied = true;
    bool m_dropped = false;
};
