#include "commands/EditStep.h"

#include <utility>

EditStep::EditStep(const QString& name, SceneChange change, std::size_t& totalBytes, Pushed pushed)
    : m_change(std::move(change)), m_totalBytes(totalBytes),
      m_applied(pushed == Pushed::AfterItHappened) {
    setText(name);
    m_bytes = m_change.Bytes();
    m_totalBytes += m_bytes;
}

EditStep::~EditStep() {
    m_totalBytes -= m_bytes;
}

void EditStep::undo() {
    if (!m_dropped) {
        m_change.Undo();
    }
    m_applied = false;
}

void EditStep::redo() {
    // Skip-first-redo: a step pushed after its edit finds the change made already.
    if (!SkipsNextRedo() && !m_dropped) {
        m_change.Redo();
    }
    m_applied = true;
}

void EditStep::Drop() {
    if (m_dropped) {
        return;
    }
    m_dropped = true;
    m_change = SceneChange();
    m_totalBytes -= m_bytes;
    m_bytes = 0;
}
