#pragma once

#include <cstddef>

#include <QUndoCommand>

#include "commands/SceneChange.h"

/// One step of the edit history: what an edit changed (SceneChange). Undo writes back the
/// state before it, redo the state after. The step is pushed after its edit happened, so the
/// push's own redo does nothing.
///
/// The history may drop the pictures of its oldest steps to stay within its byte limit; a
/// dropped step can no longer be undone.
class EditStep : public QUndoCommand {
public:
    /// `totalBytes` is the history's count of the bytes all its steps hold; the step adds
    /// its own and takes them off again when it drops its pictures or is destroyed.
    EditStep(const QString& name, SceneChange change, std::size_t& totalBytes);
    ~EditStep() override;

    void undo() override;
    void redo() override;

    std::size_t Bytes() const { return m_bytes; }
    bool Dropped() const { return m_dropped; }
    /// Frees what it keeps; the step stays on the stack as a mark that cannot be undone.
    void Drop();

private:
    SceneChange m_change;
    std::size_t& m_totalBytes;
    std::size_t m_bytes = 0;
    bool m_done = true;
    bool m_dropped = false;
};
