#pragma once

#include <string_view>

#include <QString>

/// Turns the technical line of a failed open or save (the reader's or the writer's own
/// English text, naming the file and the system's reason) into a Japanese line that says
/// what happened in the user's terms, for the common causes: no such file or folder, no
/// permission, the disk is full, the file ends early, not an .x file. The message boxes
/// show that line before the exact technical one.
class FailureCause {
public:
    /// The Japanese line for `technical`; empty when none of the common causes fits.
    static QString Explain(std::string_view technical);
    /// `technical` with the Japanese line (when there is one) on a line of its own before
    /// it; `technical` is taken as UTF-8 or, failing that, as the local encoding.
    static QString DetailLines(std::string_view technical);
};
