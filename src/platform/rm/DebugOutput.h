#pragma once

// The debugger output every layer writes its diagnostic lines to.

#include <functional>
#include <string_view>

namespace rm {

/// One program-wide sink for diagnostic text. By default it is silent; with the
/// environment variable PAVRIX_DEBUG set to "1" each text is also written to standard
/// error as given (callers end their lines with '\n' themselves). A capture installed with
/// SetCapture receives every text, whatever PAVRIX_DEBUG says; tests use it to read what
/// was written. Used from the user-interface thread only.
class DebugOutput {
public:
    using Capture = std::function<void(std::string_view text)>;

    /// Sends text to the capture (when one is installed) and, with PAVRIX_DEBUG=1, to
    /// standard error. A null text is ignored.
    static void Write(const char* text);

    /// Installs capture (an empty function removes it) and returns the one it replaces,
    /// so a caller can put it back.
    static Capture SetCapture(Capture capture);

    /// Whether PAVRIX_DEBUG=1 is set at the time of the call.
    static bool WritesToStandardError();
};

/// The platform's name for DebugOutput::Write.
inline void OutputDebugStringA(const char* text) {
    DebugOutput::Write(text);
}

} // namespace rm
