#include "scene/ModelFile.h"

#include <algorithm>

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

std::string WithBareFileName(const std::string& message, std::string_view path) {
    const std::string_view bare = path.substr(path.find_last_of("/\\") + 1);
    if (bare.size() == path.size()) {
        return message;
    }
    std::string out;
    std::size_t start = 0;
    while (start <= message.size()) {
        const std::size_t end = std::min(message.find('\n', start), message.size());
        std::string_view line(message.data() + start, end - start);
        if (line.substr(0, path.size()) == path) {
            out += bare;
            line.remove_prefix(path.size());
        }
        out += line;
        if (end == message.size()) {
            break;
        }
        out += '\n';
        start = end + 1;
    }
    return out;
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
