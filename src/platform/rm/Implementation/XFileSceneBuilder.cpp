#include "platform/rm/Implementation/XFileSceneBuilder.h"

#include <algorithm>
#include <utility>

#include "platform/rm/Implementation/TextureImage.h"
#include "platform/rm/Math.h"

namespace rm {

XFileSceneBuilder::XFileSceneBuilder(XFileDocument& document, std::string_view fileName,
                                     Options options)
    : m_doc(document), m_fileName(fileName), m_options(std::move(options)),
      m_builders(document.meshes.size()), m_materials(document.materials.size()),
      m_frames(document.frames.size()) {}

bool XFileSceneBuilder::HasTopLevelFrame() const {
    return std::any_of(m_doc.topLevel.begin(), m_doc.topLevel.end(),
                       [](const XFileDocument::TopLevelItem& item) { return item.isFrame; });
}

std::vector<Ref<Frame>> XFileSceneBuilder::BuildTopLevelFrames() {
    std::vector<Ref<Frame>> frames;
    for (const auto& item : m_doc.topLevel) {
        if (item.isFrame) {
            frames.push_back(BuildFrame(item.index, true));
        } else if (!m_doc.meshUsedByFrame[item.index]) {
            auto wrapper = MakeRef<Frame>();
            wrapper->AddVisual(BuilderFor(item.index).Get());
            frames.push_back(std::move(wrapper));
        }
    }
    return frames;
}

Ref<Frame> XFileSceneBuilder::BuildFrame(std::uint32_t index, bool withMeshes) {
    const XFileDocument::Frame& source = m_doc.frames[index];
    auto frame = MakeRef<Frame>();
    frame->SetName(source.name);
    frame->SetRestTransform(source.transform);
    if (withMeshes) {
        for (const std::uint32_t mesh : source.meshes) {
            frame->AddVisual(BuilderFor(mesh).Get());
        }
    }
    for (const std::uint32_t child : source.children) {
        frame->AddChild(BuildFrame(child, withMeshes).Get());
    }
    m_frames[index] = frame;
    return frame;
}

Ref<MeshBuilder> XFileSceneBuilder::BuilderFor(std::uint32_t mesh) {
    if (!m_builders[mesh]) {
        FillMeshBuilder(mesh, MakeRef<MeshBuilder>().Get());
    }
    return m_builders[mesh];
}

std::int64_t XFileSceneBuilder::FirstMesh() const {
    for (const auto& item : m_doc.topLevel) {
        if (!item.isFrame) {
            return item.index;
        }
    }
    return m_doc.meshes.empty() ? -1 : 0;
}

void XFileSceneBuilder::FillMeshBuilder(std::uint32_t index, MeshBuilder* builder) {
    XFileDocument::Mesh& mesh = m_doc.meshes[index];
    builder->Empty();
    builder->SetName(mesh.name);
    if (m_builders[index]) {
        // The data went into the mesh's first builder; later ones copy that.
        if (m_builders[index].Get() != builder) {
            builder->AddMeshBuilder(m_builders[index].Get());
        }
        return;
    }
    m_builders[index] = builder;
    m_doc.hasMeshData = false;

    const std::size_t vertices = mesh.positions.size();
    const std::size_t corners = mesh.faceVertices.size();
    MeshBuilder::Geometry geometry;
    // Face sizes become first corners in place; normals of faces past MeshNormals' face
    // list, and texture coordinates past its vertex list, are filled in.
    std::uint32_t corner = 0;
    for (std::uint32_t& size : mesh.faceSizes) {
        const std::uint32_t start = corner;
        corner += size;
        size = start;
    }
    geometry.faceStart = std::move(mesh.faceSizes);
    geometry.cornerVertex = std::move(mesh.faceVertices);
    mesh.faceNormals.resize(corners, UINT32_MAX);
    geometry.cornerNormal = std::move(mesh.faceNormals);
    mesh.texCoords.resize(2 * vertices, 0.0f);
    geometry.texCoords = std::move(mesh.texCoords);
    geometry.positions = std::move(mesh.positions);
    geometry.normals = std::move(mesh.normals);
    builder->TakeGeometry(std::move(geometry));
    builder->SetSkin(std::move(mesh.skin));
    AddWarning(mesh.warnings);

    for (const auto& c : mesh.vertexColors) {
        builder->SetVertexColor(c.vertex,
                                CreateColorRGBA(c.rgba[0], c.rgba[1], c.rgba[2], c.rgba[3]));
    }
    for (std::uint32_t f = 0; f < mesh.faceWraps.size(); ++f) {
        builder->SetFaceWrap(f, (mesh.faceWraps[f] & 1) != 0, (mesh.faceWraps[f] & 2) != 0);
    }
    if (mesh.faceMaterials.empty()) {
        return;
    }
    // What each entry of the mesh's material list gives a face, worked out at its first
    // face (an entry no face uses loads no texture).
    struct Look {
        bool ready = false;
        D3DCOLOR color = 0;
        Material* material = nullptr;
        Texture* texture = nullptr;
    };
    std::vector<Look> looks(mesh.materials.size());
    for (std::uint32_t f = 0; f < mesh.faceMaterials.size(); ++f) {
        Look& look = looks[mesh.faceMaterials[f]];
        if (!look.ready) {
            const std::uint32_t material = mesh.materials[mesh.faceMaterials[f]];
            const XFileDocument::Material& source = m_doc.materials[material];
            look.color = CreateColorRGBA(source.faceColor[0], source.faceColor[1],
                                         source.faceColor[2], source.faceColor[3]);
            look.material = MaterialFor(material);
            look.texture = source.hasTexture ? TextureFor(source.textureFileName) : nullptr;
            look.ready = true;
        }
        builder->SetFaceColor(f, look.color);
        builder->SetFaceMaterial(f, look.material);
        if (look.texture) {
            builder->SetFaceTexture(f, look.texture);
        }
    }
}

Material* XFileSceneBuilder::MaterialFor(std::uint32_t index) {
    if (!m_materials[index]) {
        const XFileDocument::Material& source = m_doc.materials[index];
        auto material = MakeRef<Material>(source.power);
        material->SetName(source.name);
        material->SetSpecular(source.specular[0], source.specular[1], source.specular[2]);
        material->SetEmissive(source.emissive[0], source.emissive[1], source.emissive[2]);
        m_materials[index] = std::move(material);
    }
    return m_materials[index].Get();
}

Texture* XFileSceneBuilder::TextureFor(const std::string& fileName) {
    auto [it, inserted] = m_textures.try_emplace(fileName);
    if (!inserted) {
        return it->second.Get();
    }
    auto texture = MakeRef<Texture>();
    texture->SetName(fileName);
    it->second = texture;
    if (!m_options.loadTextureImages) {
        return texture.Get();
    }
    // Files from other machines name textures by paths that do not exist here; the image
    // is then looked for by its bare name in the texture directory.
    TextureImageResult result = LoadTextureImage(TexturePath(fileName), texture.Get());
    const std::size_t slash = fileName.find_last_of("\\/");
    const std::string bare = slash == std::string::npos ? "" : fileName.substr(slash + 1);
    if (result == TextureImageResult::NotFound && !bare.empty()) {
        result = LoadTextureImage(TexturePath(bare), texture.Get());
    }
    if (result != TextureImageResult::Loaded) {
        std::string warning = m_fileName + ": texture image '" + fileName;
        warning += result == TextureImageResult::NotFound ? "' not found" : "' is not readable";
        if (result == TextureImageResult::NotFound && !bare.empty()) {
            warning += " (nor '" + bare + "')";
        }
        AddWarning(warning);
    }
    return texture.Get();
}

void XFileSceneBuilder::AddWarning(std::string_view lines) {
    if (lines.empty()) {
        return;
    }
    if (!m_warnings.empty()) {
        m_warnings += '\n';
    }
    m_warnings += lines;
}

std::string XFileSceneBuilder::TexturePath(const std::string& fileName) const {
    const std::string& directory = m_options.textureDirectory;
    if (directory.empty() || fileName.empty() || fileName.front() == '/') {
        return fileName;
    }
    return directory.back() == '/' ? directory + fileName : directory + '/' + fileName;
}

void XFileSceneBuilder::RememberNames(Frame* frame) {
    if (frame->HasName()) {
        m_framesByName.try_emplace(frame->Name(), frame);
    }
    for (const auto& child : frame->Children()) {
        RememberNames(child.Get());
    }
}

std::vector<Ref<Animation>> XFileSceneBuilder::BuildAnimations(std::uint32_t setIndex,
                                                               Frame* root) {
    const XFileDocument::AnimationSet& set = m_doc.animationSets[setIndex];
    // Every set gets frames of its own: forget those made for an earlier one.
    std::fill(m_frames.begin(), m_frames.end(), Ref<Frame>());
    m_framesByName.clear();
    // An animation binds to the first frame of its name, in file order.
    for (const auto& item : m_doc.topLevel) {
        if (item.isFrame) {
            const Ref<Frame> frame = BuildFrame(item.index, false);
            root->AddChild(frame.Get());
            RememberNames(frame.Get());
        }
    }
    for (const auto& animation : set.animations) {
        if (animation.inlineFrame >= 0 && !m_frames[std::size_t(animation.inlineFrame)]) {
            const Ref<Frame> frame = BuildFrame(std::uint32_t(animation.inlineFrame), false);
            root->AddChild(frame.Get());
            RememberNames(frame.Get());
        }
    }

    std::vector<Ref<Animation>> animations;
    std::vector<AnimationKey> keys;
    for (const auto& source : set.animations) {
        auto animation = MakeRef<Animation>();
        animation->SetName(source.name);
        animation->SetOptions(source.options);
        // Keys are added in time order (equal times keep file order, as adding them one by
        // one would), so each lands at the end of the animation's list.
        keys = source.keys;
        std::stable_sort(
            keys.begin(), keys.end(),
            [](const AnimationKey& a, const AnimationKey& b) { return a.dvTime < b.dvTime; });
        for (AnimationKey& key : keys) {
            animation->AddKey(&key);
        }
        Frame* frame = nullptr;
        if (source.inlineFrame >= 0) {
            frame = m_frames[std::size_t(source.inlineFrame)].Get();
        } else if (source.hasFrameReference) {
            auto it = m_framesByName.find(source.frameName);
            if (it == m_framesByName.end()) {
                auto created = MakeRef<Frame>();
                created->SetName(source.frameName);
                root->AddChild(created.Get());
                it = m_framesByName.emplace(source.frameName, created.Get()).first;
            }
            frame = it->second;
        }
        animation->SetFrame(frame);
        animations.push_back(std::move(animation));
    }
    return animations;
}

} // namespace rm
