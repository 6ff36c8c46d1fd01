#pragma once

// Collects what is written to the debugger output while a test runs.

#include <string>

#include "platform/NonCopyable.h"
#include "platform/rm/DebugOutput.h"

class DebugCapture : private platform::NonCopyable {
public:
    DebugCapture() {
        m_previous = rm::DebugOutput::SetCapture([this](std::string_view text) {
            m_text.append(text);
            ++m_writes;
        });
    }
    ~DebugCapture() { rm::DebugOutput::SetCapture(std::move(m_previous)); }

    const std::string& Text() const { return m_text; }
    int Writes() const { return m_writes; }
    void Reset() {
        m_text.clear();
        m_writes = 0;
    }

private:
    rm::DebugOutput::Capture m_previous;
    std::string m_text;
    int m_writes = 0;
};
