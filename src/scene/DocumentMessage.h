#pragma once

#include <string>

namespace scene {

/// A message the document's open sequence shows the user, as data: the window layer puts
/// it in a message box, the command line on standard error.
struct DocumentMessage {
    /// The application's message-box caption, which the document's messages use.
    static constexpr const char* kApplicationCaption = "Pavrix / Prototype";
    /// Win32 style number: 0, an OK button (the application's message box).
    static constexpr unsigned kStyleOk = 0;

    /// UTF-8, exactly as the user sees it.
    std::string text;
    /// Why, for a failure that has a reason beyond text (a loader's message naming the
    /// file, line and what was expected); empty otherwise. Shown on a line of its own
    /// under text.
    std::string detail;
    std::string caption = kApplicationCaption;
    unsigned style = kStyleOk;
    /// True for a notice after which the sequence went on; false when it ended the
    /// sequence with failure.
    bool notice = false;
};

} // namespace scene
