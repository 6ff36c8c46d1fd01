#pragma once

#include <functional>
#include <string_view>

namespace scene {

/// The scene data model shows two messages of its own (an unnamed frame while binding,
/// too many key times). They go through one hook: the editor routes it to its message
/// box, tests capture it. Without a hook the text goes to standard error.
using MessageHook = std::function<void(std::string_view text)>;

/// Installs hook (an empty one restores the default) and returns the previous one.
MessageHook SetMessageHook(MessageHook hook);

/// Shows text through the hook.
void ShowMessage(std::string_view text);

} // namespace scene
