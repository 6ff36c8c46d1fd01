#include "platform/rm/XFileLoader.h"

#include <memory>
#include <new>

#include "platform/rm/AnimationSet.h"
#include "platform/rm/Frame.h"
#include "platform/rm/Implementation/XFileDocument.h"
#include "platform/rm/Implementation/XFileReader.h"
#include "platform/rm/Implementation/XFileSceneBuilder.h"
#include "platform/rm/Implementation/XFileTextTokenizer.h"
#include "platform/rm/MeshBuilder.h"

namespace rm {

namespace {

thread_local std::string t_lastMessage;

std::string NameOf(const char* fileName) {
    return fileName ? fileName : "(null)";
}

XFileSceneBuilder::Options TextureOptions(const char* textureDirectory) {
    XFileSceneBuilder::Options options;
    options.textureDirectory = textureDirectory ? textureDirectory : "";
    return options;
}

HRESULT OutOfMemory(const char* fileName) {
    t_lastMessage = NameOf(fileName) + ": out of memory";
    return D3DRMERR_BADALLOC;
}

} // namespace

const std::string& GetLastLoadMessage() {
    return t_lastMessage;
}

HRESULT GetXFileFormat(const char* fileName, XFileFormat* format) {
    if (!format) {
        return D3DRMERR_BADVALUE;
    }
    return ReadXFileFormat(fileName, format, &t_lastMessage);
}

HRESULT ReadXFileContents(const char* fileName, bool withMeshes, XFileContents* contents) {
    if (!contents) {
        return D3DRMERR_BADVALUE;
    }
    *contents = {};
    XFileReadOptions options;
    options.readMeshes = withMeshes;
    std::shared_ptr<XFileDocument> document;
    try {
        const HRESULT hr = AcquireXFileDocument(fileName, options, &document, &t_lastMessage);
        if (Failed(hr)) {
            return hr;
        }
    } catch (const std::bad_alloc&) {
        return OutOfMemory(fileName);
    }
    contents->model = !document->topLevel.empty() || !document->meshes.empty();
    contents->animationSets = !document->animationSets.empty();
    t_lastMessage.clear();
    return D3DRM_OK;
}

namespace {

/// Reads fileName and hands its document and a scene builder to build, which returns the
/// load's result; onOutOfMemory undoes what build did when memory runs out. The builder's
/// warnings become the last load message when build succeeds.
template <typename Build, typename Undo>
HRESULT BuildFromFile(const char* fileName, const char* textureDirectory, Build build,
                      Undo onOutOfMemory) {
    std::shared_ptr<XFileDocument> document;
    const HRESULT hr = AcquireXFileDocument(fileName, {}, &document, &t_lastMessage);
    if (Failed(hr)) {
        return hr;
    }
    try {
        XFileSceneBuilder builder(*document, NameOf(fileName), TextureOptions(textureDirectory));
        const HRESULT built = build(*document, builder);
        if (Succeeded(built)) {
            t_lastMessage = builder.Warnings();
        }
        return built;
    } catch (const std::bad_alloc&) {
        onOutOfMemory();
        return OutOfMemory(fileName);
    }
}

} // namespace

HRESULT Frame::Load(const char* fileName, const char* textureDirectory) {
    return BuildFromFile(
        fileName, textureDirectory,
        [&](XFileDocument&, XFileSceneBuilder& builder) {
            if (!builder.HasTopLevelFrame()) {
                t_lastMessage = NameOf(fileName) + ": expected a Frame, found none in the file";
                return D3DRMERR_NOTFOUND;
            }
            const std::vector<Ref<Frame>> frames = builder.BuildTopLevelFrames();
            m_children.reserve(m_children.size() + frames.size());
            for (const auto& frame : frames) {
                AddChild(frame.Get());
            }
            return D3DRM_OK;
        },
        [] {});
}

HRESULT MeshBuilder::Load(const char* fileName, const char* textureDirectory) {
    return BuildFromFile(
        fileName, textureDirectory,
        [&](XFileDocument& document, XFileSceneBuilder& builder) {
            const std::int64_t mesh = builder.FirstMesh();
            if (mesh < 0) {
                t_lastMessage = NameOf(fileName) + ": expected a Mesh, found none in the file";
                return D3DRMERR_NOTFOUND;
            }
            builder.FillMeshBuilder(std::uint32_t(mesh), this);
            // A file of several meshes and no frame keeps them all, in file order, in this
            // one builder rather than losing every mesh but the first. (With frames, the
            // frame load keeps every mesh and this load is not what opens the file.)
            for (const auto& item : document.topLevel) {
                if (document.frames.empty() && !item.isFrame && std::int64_t(item.index) != mesh) {
                    auto more = MakeRef<MeshBuilder>();
                    builder.FillMeshBuilder(item.index, more.Get());
                    AddMeshBuilder(more.Get());
                }
            }
            return D3DRM_OK;
        },
        [this] { Empty(); });
}

namespace {

/// Makes set `index` of `document` into `set`, its frames under `parent` (or kept alive by
/// the animations alone when there is none).
void BuildAnimationSet(XFileSceneBuilder& builder, const XFileDocument& document,
                       std::uint32_t index, AnimationSet* set, Frame* parent) {
    auto root = MakeRef<Frame>();
    const std::vector<Ref<Animation>> animations = builder.BuildAnimations(index, root.Get());
    for (const auto& frame : root->GetChildren()) {
        if (parent) {
            parent->AddChild(frame.Get());
        } else {
            root->DeleteChild(frame.Get());
        }
    }
    for (const auto& animation : animations) {
        set->AddAnimation(animation.Get());
    }
    set->SetName(document.animationSets[index].name);
    if (document.hasTicksPerSecond) {
        set->SetTicksPerSecond(document.ticksPerSecond);
    }
}

/// Reads fileName for its animation sets; the mesh data is stepped over unread, since the
/// animations' frames need no meshes (or, when the open shares a document read for the
/// frames, not looked at).
HRESULT ReadAnimationSets(const char* fileName, std::shared_ptr<XFileDocument>* document) {
    XFileReadOptions options;
    options.readMeshes = false;
    const HRESULT hr = AcquireXFileDocument(fileName, options, document, &t_lastMessage);
    if (Failed(hr)) {
        return hr;
    }
    if ((*document)->animationSets.empty()) {
        t_lastMessage = NameOf(fileName) + ": expected an AnimationSet, found none in the file";
        return D3DRMERR_NOTFOUND;
    }
    return D3DRM_OK;
}

} // namespace

HRESULT AnimationSet::Load(const char* fileName, Frame* parent) {
    std::vector<Loaded> sets;
    const HRESULT hr = LoadAll(fileName, &sets);
    if (Failed(hr)) {
        return hr;
    }
    try {
        Loaded& first = sets.front();
        m_animations.reserve(m_animations.size() + first.set->m_animations.size());
        for (const auto& animation : first.set->m_animations) {
            AddAnimation(animation.Get());
        }
        for (const auto& frame : first.frames->GetChildren()) {
            if (parent) {
                parent->AddChild(frame.Get());
            }
        }
        SetName(first.set->Name());
        SetTicksPerSecond(first.set->TicksPerSecond());
    } catch (const std::bad_alloc&) {
        return OutOfMemory(fileName);
    }
    return D3DRM_OK;
}

HRESULT AnimationSet::LoadAll(const char* fileName, std::vector<Loaded>* sets) {
    if (!sets) {
        return D3DRMERR_BADVALUE;
    }
    sets->clear();
    std::shared_ptr<XFileDocument> shared;
    const HRESULT hr = ReadAnimationSets(fileName, &shared);
    if (Failed(hr)) {
        return hr;
    }
    XFileDocument& document = *shared;
    try {
        XFileSceneBuilder builder(document, NameOf(fileName), {});
        sets->reserve(document.animationSets.size());
        for (std::uint32_t i = 0; i < document.animationSets.size(); ++i) {
            Loaded loaded{MakeRef<AnimationSet>(), MakeRef<Frame>()};
            loaded.set->m_animations.reserve(document.animationSets[i].animations.size());
            BuildAnimationSet(builder, document, i, loaded.set.Get(), loaded.frames.Get());
            sets->push_back(std::move(loaded));
        }
        t_lastMessage = builder.Warnings();
    } catch (const std::bad_alloc&) {
        sets->clear();
        return OutOfMemory(fileName);
    }
    return D3DRM_OK;
}

std::size_t XFileNameLength(std::string_view bytes) {
    return XFileTextTokenizer::NameLength(bytes);
}

} // namespace rm
