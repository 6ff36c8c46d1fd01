#include "commands/EditStep.h"

#include <utility>

EditStep::EditStep(const QString& name, SceneImage before, SceneImage after,
                   std::size_t& totalBytes)
    : m_before(std::move(before)), m_after(std::move(after)), m_totalBytes(totalBytes) {
    setText(name);
    m_bytes = m_before.Bytes() + m_after.Bytes();
    m_totalBytes += m_bytes;
}

EditStep::~EditStep() {
    m_totalBytes -= m_bytes;
}

void EditStep::undo() {
    if (!m_dropped) {
        m_before.Restore();
    }
    m_done = false;
}

void EditStep::redo() {
    // The edit itself made the change before the step was pushed.
    if (!m_done && !m_dropped) {
        m_after.Restore();
    }
    m_done = true;
}

void EditStep::Drop() {
    if (m_dropped) {
        return;
    }
    m_dropped = true;
    m_before = SceneImage();
    m_after = SceneImage();
    m_totalBytes -= m_bytes;
    m_bytes = 0;
}
