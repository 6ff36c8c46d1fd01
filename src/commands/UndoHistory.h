#pragma once

#include <cstddef>
#include <functional>

#include <QString>
#include <QUndoStack>

#include "commands/SceneChange.h"
#include "platform/NonCopyable.h"

class EditScope;
class EditStep;

/// The edit history of the document: the steps edit scopes push (EditScope), on a
/// QUndoStack. Undo and redo write a step's pictures back and then call the refresh hook,
/// so the window shows the restored state. The stack's clean index is the state last saved
/// (or loaded): the clean hook hears when the history reaches it or leaves it, and the
/// document's modified flag follows.
///
/// Memory stays bounded: at most `stepLimit` steps are kept and at most `byteLimit` bytes
/// of pictures; the oldest steps go first (a step dropped for bytes stays as a mark that
/// cannot be undone). Nothing can be undone or redone while a scope is open.
class UndoHistory : private platform::NonCopyable {
public:
    static constexpr int kDefaultStepLimit = 100;
    static constexpr std::size_t kDefaultByteLimit = std::size_t(64) << 20;

    explicit UndoHistory(int stepLimit = kDefaultStepLimit,
                         std::size_t byteLimit = kDefaultByteLimit);
    ~UndoHistory();

    /// Called before a step is undone or redone (the window stops playback), and after
    /// (it shows the restored state).
    void SetApplyHooks(std::function<void()> before, std::function<void()> after);
    /// Called with true when the history reaches the saved state and false when it leaves it.
    void SetCleanHook(std::function<void(bool)> hook);

    bool CanUndo() const;
    bool CanRedo() const;
    /// The names of the steps undo and redo would take (empty when there is none).
    QString UndoText() const;
    QString RedoText() const;
    /// Takes back the last step, or makes the last undone one again. 0 when there is none.
    int Undo();
    int Redo();

    /// Forgets every step (after a load, or an edit that cannot be taken back). With
    /// `documentModified` the saved state is out of reach from here on, so the document stays
    /// modified until it is saved; otherwise the present state is the saved one. The clean
    /// hook is not called.
    void Clear(bool documentModified);
    /// Forgets every step and keeps the saved state where it is as far as that can be: the
    /// present state counts as saved only when it was.
    void ClearKeepingState() { Clear(!m_stack.isClean()); }
    /// The present state is the saved one (after a save).
    void SetClean() { m_stack.setClean(); }
    bool IsClean() const { return m_stack.isClean(); }

    /// New limits. The steps kept so far are forgotten (the stack takes a step limit only
    /// while it is empty), the saved state kept as ClearKeepingState keeps it.
    void SetLimits(int stepLimit, std::size_t byteLimit);

    int Count() const { return m_stack.count(); }
    /// Bytes held by the pictures of every step.
    std::size_t Bytes() const { return m_bytes; }
    const QUndoStack& Stack() const { return m_stack; }

    // For EditScope.
    EditScope* OpenScope() const { return m_openScope; }
    void SetOpenScope(EditScope* scope) { m_openScope = scope; }
    /// Pushes the step from `before` to `after` (pictures a scope took, see
    /// SceneChange::Between) that has happened already, then drops the oldest pictures while
    /// the bytes are above the limit (never the newest step's).
    void Push(const QString& name, const SceneImage& before, SceneImage after);

private:
    EditStep* StepAt(int index) const;
    /// Undo or redo (`move`) between the apply hooks, when `possible`.
    int Apply(bool possible, void (QUndoStack::*move)());

    QUndoStack m_stack;
    /// The frames as the last step (pushed, undone or redone) left them; empty after Clear.
    SceneImage m_lastFrames;
    std::size_t m_byteLimit;
    std::size_t m_bytes = 0;
    EditScope* m_openScope = nullptr;
    bool m_clearing = false;
    std::function<void()> m_beforeApply;
    std::function<void()> m_afterApply;
    std::function<void(bool)> m_cleanHook;
};
