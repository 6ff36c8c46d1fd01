#include "scene/PartNaming.h"

#include <charconv>
#include <vector>

#include "platform/Assert.h"
#include "platform/rm/Animation.h"
#include "platform/rm/BoneNameAlias.h"
#include "platform/rm/Frame.h"

namespace scene {

namespace {

constexpr std::string_view kFramePrefix = "FRAME";

void AppendHex(std::string* out, std::uintptr_t id) {
    char digits[2 * sizeof(std::uintptr_t)];
    const auto result = std::to_chars(digits, digits + sizeof digits, id, 16);
    out->append(digits, result.ptr);
}

bool StartsWithFramePrefix(std::string_view name) {
    if (name.size() < kFramePrefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < kFramePrefix.size(); ++i) {
        // ASCII upper-casing only: bytes of multi-byte encodings must never match.
        char c = name[i];
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
        if (c != kFramePrefix[i]) {
            return false;
        }
    }
    return true;
}

} // namespace

std::string RemoveFramePrefix(std::string_view name) {
    if (!StartsWithFramePrefix(name)) {
        return std::string(name);
    }
    std::size_t pos = kFramePrefix.size();
    while (pos < name.size() && name[pos] >= '0' && name[pos] <= '9') {
        ++pos;
    }
    if (pos < name.size() && name[pos] == '_') {
        ++pos;
    }
    return std::string(name.substr(pos));
}

std::string MakeWorkingName(std::string_view base, std::uintptr_t id) {
    std::string name;
    name.reserve(base.size() + 1 + 2 * sizeof id);
    name.append(base);
    name.push_back('@');
    AppendHex(&name, id);
    return name;
}

std::string MakeTempPartName(int number, std::uintptr_t id) {
    return MakeWorkingName("PartsTempName_" + std::to_string(number), id);
}

std::optional<std::string_view> BaseName(std::string_view name) {
    const std::size_t at = name.rfind('@');
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    return name.substr(0, at);
}

std::string_view BoneNameOf(std::string_view frameName) {
    return BaseName(frameName).value_or(std::string_view());
}

namespace {

// Bones and animations in a file name the frames as the file does; the frames carry
// working names. The scene library learns the rule from here, before any model is read.
[[maybe_unused]] const bool kBoneNamesInstalled = (rm::SetBoneNameAlias(&BoneNameOf), true);

} // namespace

bool HasBaseName(std::string_view workingName, std::string_view base) {
    const auto own = BaseName(workingName);
    return own && *own == base;
}

bool PartNamesMatch(std::string_view a, std::string_view b) {
    const auto baseA = BaseName(a);
    const auto baseB = BaseName(b);
    return baseA && baseB && *baseA == *baseB;
}

void NameFrame(rm::Frame* frame, FrameOrigin origin, int* tempNameCount) {
    if (!frame) {
        return;
    }
    if (frame->HasName()) {
        frame->SetName(MakeWorkingName(RemoveFramePrefix(frame->Name()), frame->Id()));
    } else if (origin == FrameOrigin::Model) {
        PAVRIX_ASSERT(tempNameCount, "scene::NameFrame: a model pass needs its counter");
        frame->SetName(MakeTempPartName(++*tempNameCount, frame->Id()));
    }
    for (const rm::Ref<rm::Visual>& visual : frame->Visuals()) {
        visual->SetName("");
    }
}

void NameFrameTree(rm::Frame* root, FrameOrigin origin, int* tempNameCount) {
    if (!root) {
        return;
    }
    // An explicit stack keeps a pathologically deep tree from exhausting the call stack.
    // Children are pushed last to first so they are named in their own order.
    std::vector<rm::Frame*> pending{root};
    while (!pending.empty()) {
        rm::Frame* frame = pending.back();
        pending.pop_back();
        NameFrame(frame, origin, tempNameCount);
        const auto& children = frame->Children();
        for (auto it = children.rbegin(); it != children.rend(); ++it) {
            pending.push_back(it->Get());
        }
    }
}

int NameAnimation(rm::Animation* animation, int* tempNameCount) {
    if (!animation) {
        return 0;
    }
    const rm::Ref<rm::Frame> frame = animation->GetFrame();
    if (!frame) {
        return 0;
    }
    if (frame->HasName()) {
        const auto base = BaseName(frame->Name());
        if (!base) {
            return 0;
        }
        animation->SetName(MakeWorkingName(*base, animation->Id()));
        return 1;
    }
    PAVRIX_ASSERT(tempNameCount, "scene::NameAnimation: the animation set's counter is missing");
    animation->SetName(MakeTempPartName(++*tempNameCount, animation->Id()));
    return 1;
}

std::string MakeLibraryEntryName(std::string_view fileName, int counter) {
    // Not "_" + std::to_string(…): GCC 12 at -O3 warns falsely about it (-Wrestrict).
    std::string suffix = std::to_string(counter);
    suffix.insert(suffix.begin(), '_');
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos) {
        return std::string(fileName) + suffix;
    }
    std::string name(fileName.substr(0, dot));
    name += suffix;
    name += fileName.substr(dot);
    return name;
}

} // namespace scene
