#pragma once

#include <functional>
#include <string_view>

// The scene's texts are marked for `make translations` with Qt's own marker, which only
// returns its text; the scene does not use Qt, so it is given here when Qt has not.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, x) x
#endif

namespace scene {

/// The scene data model shows two messages of its own (an unnamed frame while binding,
/// too many key times). They go through one hook: the editor routes it to its message
/// box (in the interface language), tests capture it. Without a hook the text goes to standard
/// error.
using MessageHook = std::function<void(std::string_view text)>;

/// Installs hook (an empty one restores the default) and returns the previous one.
MessageHook SetMessageHook(MessageHook hook);

/// Shows text through the hook.
void ShowMessage(std::string_view text);

} // namespace scene
