// Feeds arbitrary bytes to the .x reader as a whole file and builds the scene it reads:
// every input must be either refused with a message naming the file, or loaded into frames,
// mesh builders and animations that the scene library can then use. Texture images are not
// opened (file names in the input must not reach the file system).

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rm/AnimationSet.h"
#include "platform/rm/Frame.h"
#include "platform/rm/Implementation/XFileDocument.h"
#include "platform/rm/Implementation/XFileReader.h"
#include "platform/rm/Implementation/XFileSceneBuilder.h"
#include "platform/rm/Mesh.h"
#include "platform/rm/MeshBuilder.h"

namespace {

constexpr std::string_view kName = "fuzz.x";

[[noreturn]] void Broken() {
    __builtin_trap();
}

// What both reads must find alike: the frames with their tree, and every animation set.
bool SameOutline(const rm::XFileDocument& a, const rm::XFileDocument& b) {
    if (a.frames.size() != b.frames.size() || a.animationSets.size() != b.animationSets.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.frames.size(); ++i) {
        if (a.frames[i].name != b.frames[i].name || a.frames[i].children != b.frames[i].children) {
            return false;
        }
    }
    for (std::size_t i = 0; i < a.animationSets.size(); ++i) {
        const auto& x = a.animationSets[i].animations;
        const auto& y = b.animationSets[i].animations;
        if (a.animationSets[i].name != b.animationSets[i].name || x.size() != y.size()) {
            return false;
        }
        for (std::size_t j = 0; j < x.size(); ++j) {
            if (x[j].name != y[j].name || x[j].frameName != y[j].frameName ||
                x[j].keys.size() != y[j].keys.size()) {
                return false;
            }
        }
    }
    return true;
}

template <typename T>
bool SameBytes(const std::vector<T>& a, const std::vector<T>& b) {
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

// What a read with meshes on a second thread must find as the read in turn does: the
// materials, every mesh's content, and which frame holds which mesh.
bool SameMeshes(const rm::XFileDocument& a, const rm::XFileDocument& b) {
    if (a.materials.size() != b.materials.size() || a.meshes.size() != b.meshes.size() ||
        a.frames.size() != b.frames.size() || !SameOutline(a, b)) {
        return false;
    }
    for (std::size_t i = 0; i < a.materials.size(); ++i) {
        if (a.materials[i].name != b.materials[i].name ||
            a.materials[i].textureFileName != b.materials[i].textureFileName) {
            return false;
        }
    }
    for (std::size_t i = 0; i < a.meshes.size(); ++i) {
        const auto& x = a.meshes[i];
        const auto& y = b.meshes[i];
        if (x.name != y.name || !SameBytes(x.positions, y.positions) ||
            x.faceSizes != y.faceSizes || x.faceVertices != y.faceVertices ||
            !SameBytes(x.normals, y.normals) || x.faceNormals != y.faceNormals ||
            !SameBytes(x.texCoords, y.texCoords) || x.materials != y.materials ||
            x.faceMaterials != y.faceMaterials || x.warnings != y.warnings ||
            x.skin.bones.size() != y.skin.bones.size() || x.carried.size() != y.carried.size()) {
            return false;
        }
    }
    for (std::size_t i = 0; i < a.frames.size(); ++i) {
        if (a.frames[i].meshes != b.frames[i].meshes) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    rm::XFileSceneBuilder::Options options;
    options.loadTextureImages = false;

    rm::XFileDocument document;
    std::string message;
    const rm::HRESULT hr = rm::ReadXFileFromMemory(bytes, kName, &document, &message);

    // Every mesh read on a second thread: the same document, or the same refusal.
    rm::XFileDocument asideDocument;
    std::string asideMessage;
    rm::XFileReadOptions everyMeshAside;
    everyMeshAside.asideMeshBytes = 1;
    if (rm::ReadXFileFromMemory(bytes, kName, &asideDocument, &asideMessage, everyMeshAside) !=
            hr ||
        asideMessage != message || (rm::Succeeded(hr) && !SameMeshes(document, asideDocument))) {
        Broken();
    }

    // The animation load reads less (it steps over meshes), so it refuses no more.
    rm::XFileDocument animationDocument;
    std::string animationMessage;
    rm::XFileReadOptions withoutMeshes;
    withoutMeshes.readMeshes = false;
    const rm::HRESULT animationResult =
        rm::ReadXFileFromMemory(bytes, kName, &animationDocument, &animationMessage, withoutMeshes);

    if (rm::Failed(hr)) {
        if (hr != rm::D3DRMERR_BADFILE || message.rfind("fuzz.x:", 0) != 0) {
            Broken();
        }
    } else {
        rm::XFileSceneBuilder builder(document, kName, options);
        auto root = rm::MakeRef<rm::Frame>();
        for (const auto& frame : builder.BuildTopLevelFrames()) {
            root->AddChild(frame.Get());
        }
        rm::Box box;
        root->GetHierarchyBox(&box);
        const std::int64_t first = builder.FirstMesh();
        if (first >= 0) {
            auto mesh = rm::MakeRef<rm::MeshBuilder>();
            builder.FillMeshBuilder(std::uint32_t(first), mesh.Get());
            rm::Ref<rm::Mesh> drawable;
            mesh->CreateMesh(&drawable);
        }
        if (rm::Failed(animationResult) || !SameOutline(document, animationDocument)) {
            Broken();
        }
    }

    if (rm::Succeeded(animationResult) && !animationDocument.animationSets.empty()) {
        rm::XFileSceneBuilder builder(animationDocument, kName, options);
        auto parent = rm::MakeRef<rm::Frame>();
        auto set = rm::MakeRef<rm::AnimationSet>();
        for (const auto& animation : builder.BuildAnimations(0, parent.Get())) {
            set->AddAnimation(animation.Get());
        }
        // Pose at a key time and between keys, as playback does.
        for (const auto& animation : set->Animations()) {
            if (!animation->Keys().empty()) {
                set->SetTime(animation->Keys().front().dvTime);
                set->SetTime(animation->Keys().back().dvTime + 0.5f);
                break;
            }
        }
    }
    return 0;
}
