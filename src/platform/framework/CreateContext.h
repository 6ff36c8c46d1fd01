#pragma once

#include <functional>

namespace framework {

class Document;
class SingleDocTemplate;
class View;

/// What a frame needs while it is being created: the document it will show and how to
/// make its view. Passed to `FrameWindow::OnCreate` and `OnCreateClient`.
struct CreateContext {
    Document* document = nullptr;             ///< borrowed; may be null
    SingleDocTemplate* docTemplate = nullptr; ///< borrowed; may be null
    /// Makes a new view (without parent); empty when the frame has no view.
    std::function<View*()> newView;
};

} // namespace framework
