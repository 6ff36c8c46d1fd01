#include "scene/ModelFile.h"

#include "platform/rm/Frame.h"
#include "platform/rm/MeshBuilder.h"
#include "platform/rm/XFileLoader.h"

namespace scene {

std::string DirectoryOf(std::string_view path) {
    const std::size_t cut = path.find_last_of("/\\");
    if (cut == std::string_view::npos) {
        return {};
    }
    return std::string(path.substr(0, cut == 0 ? 1 : cut));
}

rm::HRESULT LoadModelFile(rm::Frame* root, const char* path, ModelFileContent* content,
                          std::string* frameMessage) {
    if (content) {
        *content = ModelFileContent::None;
    }
    if (!root || !path) {
        return rm::D3DRMERR_BADVALUE;
    }
    const std::string directory = DirectoryOf(path);
    rm::HRESULT hr = root->Load(path, directory.c_str());
    if (rm::Succeeded(hr)) {
        if (content) {
            *content = ModelFileContent::Frames;
        }
        return hr;
    }
    if (frameMessage) {
        *frameMessage = rm::GetLastLoadMessage();
    }
    if (hr != rm::D3DRMERR_NOTFOUND) {
        return hr;
    }
    auto builder = rm::MakeRef<rm::MeshBuilder>();
    hr = builder->Load(path, directory.c_str());
    if (rm::Failed(hr)) {
        return hr;
    }
    auto frame = rm::MakeRef<rm::Frame>();
    frame->AddVisual(builder.Get());
    root->AddChild(frame.Get());
    if (content) {
        *content = ModelFileContent::Mesh;
    }
    return hr;
}

} // namespace scene
