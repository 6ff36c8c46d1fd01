#include "commands/EditStep.h"

#include <utility>

EditStep::EditStep(const QString& name, SceneChange change, std::size_t& totalBytes)
    : m_change(std::move(change)), m_totalBytes(totalBytes) {
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
    m_done = false;
}

void EditStep::redo() {
    // The edit itself made the change before the step was pushed.
    if (!m_done && !m_dropped) {
        m_change.Redo();
    }
    m_done = true;
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
