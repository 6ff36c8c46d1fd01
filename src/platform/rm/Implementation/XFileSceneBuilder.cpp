#include "platform/rm/Implementation/XFileSceneBuilder.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "platform/rm/Implementation/TextureImage.h"
#include "platform/rm/Math.h"

namespace rm {

namespace {

// Templates every reader of the format knows, and those this library reads: a kept
// object's declarations leave them out.
bool IsKnownTemplate(std::string_view name) {
    static constexpr std::string_view kKnown[] = {"Header",
                                                  "Vector",
                                                  "Coords2d",
                                                  "Matrix4x4",
                                                  "ColorRGBA",
                                                  "ColorRGB",
                                                  "IndexedColor",
                                                  "Boolean",
                                                  "Boolean2d",
                                                  "MaterialWrap",
                                                  "TextureFilename",
                                                  "Material",
                                                  "MeshFace",
                                                  "MeshFaceWraps",
                                                  "MeshTextureCoords",
                                                  "MeshMaterialList",
                                                  "MeshNormals",
                                                  "MeshVertexColors",
                                                  "Mesh",
                                                  "FrameTransformMatrix",
                                                  "Frame",
                                                  "FloatKeys",
                                                  "TimedFloatKeys",
                                                  "AnimationKey",
                                                  "AnimationOptions",
                                                  "Animation",
                                                  "AnimationSet",
                                                  "XSkinMeshHeader",
                                                  "SkinWeights",
                                                  "AnimTicksPerSecond"};
    return std::find(std::begin(kKnown), std::end(kKnown), name) != std::end(kKnown);
}

// Standard templates this library does not interpret, for files that use them without
// declaring them.
std::string_view StandardDeclaration(std::string_view name) {
    static constexpr struct {
        std::string_view name;
        std::string_view text;
    } kStandard[] = {
        {"VertexDuplicationIndices",
         "template VertexDuplicationIndices {\n <B8D65549-D7C9-4995-89CF-53A9A8B031E3>\n"
         " DWORD nIndices;\n DWORD nOriginalVertices;\n array DWORD indices[nIndices];\n}\n"},
        {"FVFData", "template FVFData {\n <B6E70A0E-8EF9-4e83-94AD-ECC8B0C04897>\n"
                    " DWORD dwFVF;\n DWORD nDWords;\n array DWORD data[nDWords];\n}\n"},
        {"VertexElement", "template VertexElement {\n <F752461C-1E23-48f6-B9F8-8350850F336F>\n"
                          " DWORD Type;\n DWORD Method;\n DWORD Usage;\n DWORD UsageIndex;\n}\n"},
        {"DeclData", "template DeclData {\n <BF22E553-292C-4781-9FEA-62BD554BDD93>\n"
                     " DWORD nElements;\n array VertexElement Elements[nElements];\n"
                     " DWORD nDWords;\n array DWORD data[nDWords];\n}\n"},
    };
    for (const auto& entry : kStandard) {
        if (entry.name == name) {
            return entry.text;
        }
    }
    return {};
}

// The words of a declaration's body that could name a template its members use.
std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    const auto isWordByte = [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_' ||
               static_cast<unsigned char>(c) >= 0x80;
    };
    const std::size_t open = text.find('{');
    for (std::size_t i = open == std::string_view::npos ? text.size() : open; i < text.size();) {
        if (!isWordByte(text[i])) {
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j < text.size() && isWordByte(text[j])) {
            ++j;
        }
        words.push_back(text.substr(i, j - i));
        i = j;
    }
    return words;
}

} // namespace

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
        if (!source.carried.empty()) {
            frame->SetCarriedObjects(Carry(source.carried));
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
    if (!mesh.carried.empty()) {
        builder->SetCarriedObjects(Carry(mesh.carried));
    }

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
    if (mesh.faceMaterials.empty() && mesh.faceWraps.empty()) {
        return;
    }
    // One look per material list entry and wrap that some face has: look 4 * entry + wrap
    // (entry 0, white without material, when there is no list). The per-face entries become
    // the per-face looks in place. An entry no face uses loads no texture.
    std::vector<std::uint32_t> faceLooks = std::move(mesh.faceMaterials);
    const bool listed = !faceLooks.empty();
    if (!listed) {
        faceLooks.assign(mesh.faceSizes.size(), 0);
    }
    const std::size_t entries = listed ? mesh.materials.size() : 1;
    const bool wraps = !mesh.faceWraps.empty();
    if (wraps) {
        for (std::size_t f = 0; f < faceLooks.size(); ++f) {
            faceLooks[f] = 4 * faceLooks[f] + (f < mesh.faceWraps.size() ? mesh.faceWraps[f] : 0);
        }
    }
    std::vector<MeshBuilder::FaceLook> looks(wraps ? 4 * entries : entries);
    std::vector<std::uint8_t> ready(looks.size(), 0);
    std::uint32_t previous = std::uint32_t(looks.size());
    for (const std::uint32_t index : faceLooks) {
        if (index == previous || ready[index]) {
            continue;
        }
        previous = index;
        ready[index] = 1;
        MeshBuilder::FaceLook& look = looks[index];
        const std::uint32_t entry = wraps ? index / 4 : index;
        look.wrap = wraps ? std::uint8_t(index % 4) : 0;
        if (!listed) {
            continue;
        }
        const std::uint32_t material = mesh.materials[entry];
        const XFileDocument::Material& source = m_doc.materials[material];
        look.color = CreateColorRGBA(source.faceColor[0], source.faceColor[1], source.faceColor[2],
                                     source.faceColor[3]);
        look.material = MaterialFor(material);
        if (source.hasTexture) {
            look.texture = TextureFor(source.textureFileName);
        }
    }
    builder->SetFaceLooks(std::move(looks), std::move(faceLooks));
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
        // The keys in time order (equal times keep file order), numbered and holding only
        // their type's values, as adding them one by one would leave them, in one move.
        keys.clear();
        keys.reserve(source.keys.size());
        for (const AnimationKey& key : source.keys) {
            AnimationKey& added = keys.emplace_back();
            added.dwKeyType = key.dwKeyType;
            added.dvTime = key.dvTime;
            const int values = key.dwKeyType == D3DRMANIMATION_ROTATEKEY ? 4 : 3;
            std::copy_n(&key.dqRotateKey.s, values, &added.dqRotateKey.s);
        }
        std::stable_sort(
            keys.begin(), keys.end(),
            [](const AnimationKey& a, const AnimationKey& b) { return a.dvTime < b.dvTime; });
        std::uint32_t id = animation->NextKeyId();
        for (AnimationKey& key : keys) {
            key.dwID = id++;
        }
        animation->RestoreKeys(std::move(keys), id);
        keys = {};
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

std::vector<CarriedObject>
XFileSceneBuilder::Carry(const std::vector<XFileDocument::Carried>& objects) {
    std::vector<CarriedObject> carried;
    carried.reserve(objects.size());
    for (const auto& object : objects) {
        carried.push_back({object.templateName, object.text, DeclarationsFor(object.templateName)});
    }
    return carried;
}

const std::vector<std::string>& XFileSceneBuilder::DeclarationsFor(const std::string& name) {
    const auto known = m_declarations.find(name);
    if (known != m_declarations.end()) {
        return known->second;
    }
    // The template and, through its members, every template it needs; declared ones in
    // the file's order (which declares a template before its users), standard ones the
    // file leaves undeclared before them.
    std::vector<bool> declared(m_doc.templates.size(), false);
    std::vector<std::string> standard;
    std::vector<std::string> pending{name};
    std::vector<std::string> seen;
    while (!pending.empty()) {
        const std::string next = std::move(pending.back());
        pending.pop_back();
        if (IsKnownTemplate(next) || std::find(seen.begin(), seen.end(), next) != seen.end()) {
            continue;
        }
        seen.push_back(next);
        const auto it =
            std::find_if(m_doc.templates.begin(), m_doc.templates.end(),
                         [&](const XFileDocument::Template& t) { return t.name == next; });
        std::string_view text;
        if (it != m_doc.templates.end()) {
            declared[std::size_t(it - m_doc.templates.begin())] = true;
            text = it->text;
        } else {
            text = StandardDeclaration(next);
            if (text.empty()) {
                continue;
            }
            standard.emplace_back(text);
        }
        for (const std::string_view word : Words(text)) {
            pending.emplace_back(word);
        }
    }
    std::vector<std::string> declarations = std::move(standard);
    for (std::size_t i = 0; i < declared.size(); ++i) {
        if (declared[i]) {
            declarations.push_back(m_doc.templates[i].text);
        }
    }
    return m_declarations.emplace(name, std::move(declarations)).first->second;
}

} // namespace rm
