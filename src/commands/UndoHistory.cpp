#include "commands/UndoHistory.h"

#include <utility>

#include "commands/EditScope.h"
#include "commands/EditStep.h"

UndoHistory::UndoHistory(int stepLimit, std::size_t byteLimit) : m_byteLimit(byteLimit) {
    m_stack.setUndoLimit(stepLimit);
    QObject::connect(&m_stack, &QUndoStack::cleanChanged, &m_stack, [this](bool clean) {
        if (!m_clearing && m_cleanHook) {
            m_cleanHook(clean);
        }
    });
}

UndoHistory::~UndoHistory() {
    m_clearing = true;
    m_stack.clear();
}

void UndoHistory::SetApplyHooks(std::function<void()> before, std::function<void()> after) {
    m_beforeApply = std::move(before);
    m_afterApply = std::move(after);
}

void UndoHistory::SetCleanHook(std::function<void(bool)> hook) {
    m_cleanHook = std::move(hook);
}

EditStep* UndoHistory::StepAt(int index) const {
    // Every command on the stack is an EditStep this history made and owns through it.
    return static_cast<EditStep*>(const_cast<QUndoCommand*>(m_stack.command(index)));
}

bool UndoHistory::CanUndo() const {
    return m_openScope == nullptr && m_stack.canUndo() && !StepAt(m_stack.index() - 1)->Dropped();
}

bool UndoHistory::CanRedo() const {
    return m_openScope == nullptr && m_stack.canRedo();
}

QString UndoHistory::UndoText() const {
    return CanUndo() ? m_stack.undoText() : QString();
}

QString UndoHistory::RedoText() const {
    return CanRedo() ? m_stack.redoText() : QString();
}

int UndoHistory::Undo() {
    return Apply(CanUndo(), &QUndoStack::undo);
}

int UndoHistory::Redo() {
    return Apply(CanRedo(), &QUndoStack::redo);
}

int UndoHistory::Apply(bool possible, void (QUndoStack::*move)()) {
    if (!possible) {
        return 0;
    }
    if (m_beforeApply) {
        m_beforeApply();
    }
    (m_stack.*move)();
    // Frames the step does not name are left as they are: the next step starts from here.
    m_lastFrames = m_lastFrames.FramesNow();
    if (m_afterApply) {
        m_afterApply();
    }
    return 1;
}

void UndoHistory::Clear(bool documentModified) {
    if (m_openScope != nullptr) {
        m_openScope->Abandon();
        m_openScope = nullptr;
    }
    m_clearing = true;
    m_stack.clear();
    m_lastFrames = SceneImage();
    if (documentModified) {
        m_stack.resetClean();
    }
    m_clearing = false;
}

void UndoHistory::SetLimits(int stepLimit, std::size_t byteLimit) {
    ClearKeepingState();
    m_stack.setUndoLimit(stepLimit);
    m_byteLimit = byteLimit;
}

void UndoHistory::Push(const QString& name, const SceneImage& before, SceneImage after) {
    m_stack.push(new EditStep(name, SceneChange::Between(before, after, &m_lastFrames), m_bytes,
                              EditStep::Pushed::AfterItHappened));
    // Nothing changed since `after` was taken: its frames are the frames now.
    m_lastFrames = std::move(after).FramesOnly();
    for (int i = 0; i + 1 < m_stack.count() && m_bytes > m_byteLimit; ++i) {
        StepAt(i)->Drop();
    }
}
