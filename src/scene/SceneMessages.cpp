#include "scene/SceneMessages.h"

#include <cstdio>
#include <string>
#include <utility>

namespace scene {

namespace {
MessageHook& Hook() {
    static MessageHook hook;
    return hook;
}
} // namespace

MessageHook SetMessageHook(MessageHook hook) {
    return std::exchange(Hook(), std::move(hook));
}

void ShowMessage(std::string_view text) {
    if (Hook()) {
        Hook()(text);
        return;
    }
    std::fprintf(stderr, "%.*s\n", int(text.size()), text.data());
}

} // namespace scene
