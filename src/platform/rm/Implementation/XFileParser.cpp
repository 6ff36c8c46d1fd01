#include "platform/rm/Implementation/XFileParser.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <memory>
#include <string>
#include <system_error>
#include <type_traits>
#include <unordered_map>
#include <unordered_set>

#include "platform/rm/Implementation/XFileBinaryTokenizer.h"
#include "platform/rm/Implementation/XFileError.h"
#include "platform/rm/Implementation/XFileTextTokenizer.h"
#include "platform/rm/Implementation/XFileToken.h"
#include "platform/rm/Math.h"

namespace rm {

namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z') {
            x = char(x - 'A' + 'a');
        }
        if (y >= 'A' && y <= 'Z') {
            y = char(y - 'A' + 'a');
        }
        if (x != y) {
            return false;
        }
    }
    return true;
}

/// A short message phrase built on the stack: objects are opened often enough that a heap
/// string per object would show in a profile, and the phrase is only read on failure.
class Phrase {
public:
    Phrase(std::string_view a, std::string_view b) {
        m_size = std::min(a.size(), sizeof m_text);
        std::copy_n(a.data(), m_size, m_text);
        const std::size_t n = std::min(b.size(), sizeof m_text - m_size);
        std::copy_n(b.data(), n, m_text + m_size);
        m_size += n;
    }
    operator std::string_view() const { return {m_text, m_size}; }

private:
    char m_text[96];
    std::size_t m_size;
};

std::string Text(std::initializer_list<std::string_view> parts) {
    std::string s;
    for (std::string_view p : parts) {
        s += p;
    }
    return s;
}

} // namespace

template <typename Tokenizer>
typename XFileParser<Tokenizer>::Keyword XFileParser<Tokenizer>::Classify(std::string_view word) {
    static constexpr struct {
        std::string_view name;
        Keyword keyword;
    } kKeywords[] = {
        {"Frame", Keyword::Frame},
        {"FrameTransformMatrix", Keyword::FrameTransformMatrix},
        {"Mesh", Keyword::Mesh},
        {"MeshNormals", Keyword::MeshNormals},
        {"MeshTextureCoords", Keyword::MeshTextureCoords},
        {"MeshVertexColors", Keyword::MeshVertexColors},
        {"MeshFaceWraps", Keyword::MeshFaceWraps},
        {"MeshMaterialList", Keyword::MeshMaterialList},
        {"XSkinMeshHeader", Keyword::XSkinMeshHeader},
        {"SkinWeights", Keyword::SkinWeights},
        {"Material", Keyword::Material},
        {"TextureFilename", Keyword::TextureFilename},
        {"AnimationSet", Keyword::AnimationSet},
        {"Animation", Keyword::Animation},
        {"AnimationKey", Keyword::AnimationKey},
        {"AnimationOptions", Keyword::AnimationOptions},
        {"AnimTicksPerSecond", Keyword::AnimTicksPerSecond},
    };
    for (const auto& k : kKeywords) {
        if (EqualsIgnoringCase(word, k.name)) {
            return k.keyword;
        }
    }
    return Keyword::Unknown;
}

template <typename Tokenizer>
void XFileParser<Tokenizer>::Parse() {
    const std::size_t start = m_tok.Position();
    const XFileDocument blank = m_doc;
    try {
        ParseObjects();
    } catch (const ReadAgainInOrder&) {
        m_doc = blank;
        m_meshReferences.clear();
        m_materialReferences.clear();
        m_boneNames.clear();
        m_options.asideMeshBytes = 0;
        m_tok.MoveTo(start);
        ParseObjects();
    }
}

template <typename Tokenizer>
void XFileParser<Tokenizer>::ParseObjects() {
    try {
        for (;;) {
            switch (m_tok.Peek()) {
            case XFileToken::End:
                TakeAside();
                ResolveReferences();
                return;
            case XFileToken::Template: {
                const std::size_t start = m_tok.Position();
                const std::string_view name = m_tok.SkipTemplate();
                if (m_options.readMeshes) {
                    m_doc.templates.push_back(
                        {std::string(name), m_tok.ObjectText(start, m_tok.Position())});
                }
                break;
            }
            case XFileToken::Name:
                ParseTopLevel(m_tok.ReadName("a template or a data object"));
                break;
            default:
                m_tok.Fail("a template or a data object");
            }
        }
    } catch (...) {
        // A mesh still being read aside stands before whatever failed here: a failure of
        // its own is the one to report.
        TakeAside();
        throw;
    }
}

template <typename Tokenizer>
std::string_view XFileParser<Tokenizer>::OpenObject(std::string_view keyword) {
    std::string_view name;
    m_tok.ReadObjectName(&name);
    m_tok.SkipOptionalGuid();
    m_tok.ExpectOpenBrace(Phrase("'{' to open ", keyword));
    m_tok.SkipOptionalGuid();
    return name;
}

template <typename Tokenizer>
void XFileParser<Tokenizer>::SkipObject(std::string_view keyword) {
    OpenObject(keyword);
    m_tok.SkipObjectBody();
}

template <typename Tokenizer>
bool XFileParser<Tokenizer>::SkipAndKeep(std::string_view keyword, XFileDocument::Carried* kept) {
    // The keyword was the last thing read: its start is where the object's text starts.
    const std::size_t start = m_tok.LastValuePosition();
    SkipObject(keyword);
    if (!m_options.readMeshes || Classify(keyword) != Keyword::Unknown) {
        return false;
    }
    kept->templateName = keyword;
    kept->text = m_tok.ObjectText(start, m_tok.Position());
    return true;
}

template <typename Tokenizer>
template <typename OnReference, typename OnChild>
void XFileParser<Tokenizer>::ReadBody(std::string_view closing, std::string_view unexpected,
                                      OnReference onReference, OnChild onChild) {
    for (;;) {
        switch (m_tok.Peek()) {
        case XFileToken::CloseBrace:
            m_tok.ExpectCloseBrace(closing);
            return;
        case XFileToken::OpenBrace:
            onReference(m_tok.ReadReference());
            break;
        case XFileToken::Name:
            onChild(m_tok.ReadName("a data object"));
            break;
        default:
            m_tok.Fail(unexpected);
        }
    }
}

template <typename Tokenizer>
void XFileParser<Tokenizer>::CloseObject(std::string_view what) {
    ReadBody(
        what, what, [](std::string_view) {},
        [this](std::string_view keyword) { SkipObject(keyword); });
}

template <typename Tokenizer>
std::uint32_t XFileParser<Tokenizer>::ReadCount(std::string_view what, std::size_t valuesPerItem) {
    const std::uint32_t count = m_tok.ReadUInt(what);
    // count * valuesPerItem > left is count > left / valuesPerItem without a division, which
    // would cost more than the rest of a face's corner count.
    const std::size_t left = m_tok.MaxValuesLeft();
    valuesPerItem = std::max<std::size_t>(valuesPerItem, 1);
    if (std::uint64_t(count) * valuesPerItem > left) {
        m_tok.FailAt(
            m_tok.LastValuePosition(),
            Text({"expected ", what, " the rest of the file can hold (at most ",
                  std::to_string(left / valuesPerItem), "), found ", std::to_string(count)}));
    }
    return count;
}

template <typename Tokenizer>
void XFileParser<Tokenizer>::ReadVectors(std::string_view countWhat, std::string_view what,
                                         std::vector<Vector>* vectors) {
    vectors->resize(ReadCount(countWhat, 3));
    for (Vector& v : *vectors) {
        v.x = m_tok.ReadFloat(what);
        v.y = m_tok.ReadFloat(what);
        v.z = m_tok.ReadFloat(what);
    }
}

template <typename Tokenizer>
std::uint32_t XFileParser<Tokenizer>::ReadCountAtMost(std::string_view what,
                                                      std::size_t valuesPerItem, std::size_t most,
                                                      std::string_view items) {
    const std::uint32_t count = ReadCount(what, valuesPerItem);
    if (count > most) {
        m_tok.FailAt(m_tok.LastValuePosition(),
                     Text({"expected at most ", std::to_string(most), " ", items, ", found ",
                           std::to_string(count)}));
    }
    return count;
}

template <typename Tokenizer>
std::uint32_t XFileParser<Tokenizer>::ReadIndex(std::string_view what, std::uint32_t limit,
                                                std::string_view list, bool mayPrecedeReference) {
    const std::uint32_t index = m_tok.ReadUInt(what, mayPrecedeReference);
    if (index >= limit) {
        m_tok.FailAt(m_tok.LastValuePosition(),
                     Text({"expected ", what, " below ", std::to_string(limit), " (the number of ",
                           list, "), found ", std::to_string(index)}));
    }
    return index;
}

template <typename Tokenizer>
void XFileParser<Tokenizer>::ParseTopLevel(std::string_view keyword) {
    switch (Classify(keyword)) {
    case Keyword::Frame: {
        const std::uint32_t frame = ParseFrame(OpenObject(keyword), 1);
        m_doc.topLevel.push_back({true, frame});
        break;
    }
    case Keyword::Mesh: {
        const std::int64_t mesh = ReadMeshObject(keyword);
        if (mesh >= 0) {
            m_doc.topLevel.push_back({false, std::uint32_t(mesh)});
        }
        break;
    }
    case Keyword::Material:
        // A mesh read aside may define materials, which come before this one.
        TakeAside();
        ParseMaterial(OpenObject(keyword));
        break;
    case Keyword::AnimationSet:
        ParseAnimationSet(OpenObject(keyword), 1);
        break;
    case Keyword::AnimTicksPerSecond:
        ReadTicksOrSkip(keyword);
        break;
    default: {
        // The writer makes its own Header.
        XFileDocument::Carried kept;
        if (EqualsIgnoringCase(keyword, "Header")) {
            SkipObject(keyword);
        } else if (SkipAndKeep(keyword, &kept)) {
            m_doc.carried.push_back(std::move(kept));
        }
        break;
    }
    }
}

template <typename Tokenizer>
void XFileParser<Tokenizer>::ReadTicksOrSkip(std::string_view keyword) {
    if (Classify(keyword) != Keyword::AnimTicksPerSecond) {
        SkipObject(keyword);
        return;
    }
    OpenObject(keyword);
    const std::uint32_t ticks = m_tok.ReadUInt("the ticks per second");
    if (!m_doc.hasTicksPerSecond) {
        m_doc.hasTicksPerSecond = true;
        m_doc.ticksPerSecond = ticks;
    }
    CloseObject("'}' to close AnimTicksPerSecond");
}

template <typename Tokenizer>
std::uint32_t XFileParser<Tokenizer>::ParseFrame(std::string_view name, int depth) {
    if (depth > kMaxFrameDepth) {
        m_tok.FailAt(m_tok.Position(),
                     Text({"expected frames nested at most ", std::to_string(kMaxFrameDepth),
                           " deep, found deeper nesting"}));
    }
    // Frames nest, so the vector may grow while this one is read: use the index.
    const auto index = std::uint32_t(m_doc.frames.size());
    m_doc.frames.emplace_back();
    m_doc.frames[index].name = name;
    ReadBody(
        "'}' to close the Frame", "a data object, a reference or '}' in the Frame",
        [&](std::string_view reference) {
            if (!m_options.readMeshes) {
                return;
            }
            auto& meshes = m_doc.frames[index].meshes;
            m_meshReferences.push_back({std::string(reference), m_tok.LastValuePosition(), index,
                                        std::uint32_t(meshes.size())});
            meshes.push_back(0);
        },
        [&](std::string_view keyword) {
            switch (Classify(keyword)) {
            case Keyword::FrameTransformMatrix:
                OpenObject(keyword);
                ParseMatrix(&m_doc.frames[index].transform);
                break;
            case Keyword::Mesh: {
                const std::int64_t mesh = ReadMeshObject(keyword);
                if (mesh >= 0) {
                    m_doc.frames[index].meshes.push_back(std::uint32_t(mesh));
                }
                break;
            }
            case Keyword::Frame: {
                const std::uint32_t child = ParseFrame(OpenObject(keyword), depth + 1);
                m_doc.frames[index].children.push_back(child);
                break;
            }
            default: {
                XFileDocument::Carried kept;
                if (SkipAndKeep(keyword, &kept)) {
                    m_doc.frames[index].carried.push_back(std::move(kept));
                }
                break;
            }
            }
        });
    return index;
}

template <typename Tokenizer>
void XFileParser<Tokenizer>::ParseMatrix(Matrix4* matrix) {
    ReadMatrixValues(matrix);
    CloseObject("'}' after the 16 matrix elements");
}

template <typename Tokenizer>
void XFileParser<Tokenizer>::ReadMatrixValues(Matrix4* matrix) {
    for (auto& row : matrix->m) {
        for (float& value : row) {
            value = m_tok.ReadFloat("a matrix element");
        }
    }
}

template <typename Tokenizer>
std::int64_t XFileParser<Tokenizer>::ReadMeshObject(std::string_view keyword) {
    if (!m_options.readMeshes) {
        SkipObject(keyword);
        return -1;
    }
    const std::string_view name = OpenObject(keyword);
    if constexpr (std::is_same_v<Tokenizer, XFileTextTokenizer>) {
        if (m_options.asideMeshBytes > 0) {
            return ReadMeshAside(name);
        }
    }
    return ParseMesh(name);
}

template <typename Tokenizer>
std::uint32_t XFileParser<Tokenizer>::ReadMeshAside(std::string_view name) {
    const std::size_t start = m_tok.Position();
    if (m_aside) {
        MeshApart mine = ReadMeshApart(m_tok, name, m_options);
        const auto index = std::uint32_t(m_doc.meshes.size());
        m_doc.meshes.emplace_back();
        TakeAside();
        m_tok.MoveTo(mine.end);
        TakeApart(std::move(mine), index);
        return index;
    }
    // A mesh of too few vertices to fill asideMeshBytes, even at 64 bytes of text a vertex,
    // is read here at once. A larger one is stepped over to find where the file goes on;
    // one that cannot be stepped over, or turns out small, is then read here as usual.
    std::uint32_t vertices = 0;
    try {
        vertices = Tokenizer(m_tok).ReadUInt("the vertex count");
    } catch (const XFileError&) {
    }
    if (std::uint64_t(vertices) * 64 < m_options.asideMeshBytes) {
        return ParseMesh(name);
    }
    try {
        m_tok.SkipObjectBody();
    } catch (const XFileError&) {
        m_tok.MoveTo(start);
        return ParseMesh(name);
    }
    const std::size_t end = m_tok.Position();
    if (end - start < m_options.asideMeshBytes) {
        m_tok.MoveTo(start);
        return ParseMesh(name);
    }
    const auto index = std::uint32_t(m_doc.meshes.size());
    Tokenizer there = m_tok;
    there.MoveTo(start);
    auto read = std::make_shared<std::packaged_task<MeshApart()>>(
        [there, name, options = m_options] { return ReadMeshApart(there, name, options); });
    try {
        if (!m_second) {
            m_second = std::make_unique<SecondThread>();
        }
        m_aside = AsideMesh{index, end, read->get_future()};
        m_second->Post([read] { (*read)(); });
    } catch (const std::system_error&) {
        m_aside.reset();
        // No second thread to be had.
        m_tok.MoveTo(start);
        return ParseMesh(name);
    }
    m_doc.meshes.emplace_back();
    return index;
}

template <typename Tokenizer>
typename XFileParser<Tokenizer>::MeshApart
XFileParser<Tokenizer>::ReadMeshApart(Tokenizer tokenizer, std::string_view name,
                                      XFileReadOptions options) {
    MeshApart apart;
    options.asideMeshBytes = 0;
    XFileParser parser(tokenizer, &apart.document, options);
    parser.ParseMesh(name);
    apart.materialReferences = std::move(parser.m_materialReferences);
    apart.boneNames = std::move(parser.m_boneNames);
    apart.end = tokenizer.Position();
    return apart;
}

template <typename Tokenizer>
void XFileParser<Tokenizer>::TakeAside() {
    if (!m_aside) {
        return;
    }
    AsideMesh aside = std::move(*m_aside);
    m_aside.reset();
    MeshApart apart = aside.read.get();
    if (apart.end != aside.end) {
        throw ReadAgainInOrder{};
    }
    TakeApart(std::move(apart), aside.index);
}

template <typename Tokenizer>
void XFileParser<Tokenizer>::TakeApart(MeshApart&& apart, std::uint32_t index) {
    XFileDocument::Mesh& mesh = apart.document.meshes.front();
    // A reference's slot is filled by name once the file is read; every other slot holds
    // one of the materials the mesh defines, which go after the document's.
    const auto first = std::uint32_t(m_doc.materials.size());
    std::vector<bool> byName(mesh.materials.size(), false);
    for (PendingReference& reference : apart.materialReferences) {
        byName[reference.slot] = true;
        reference.owner = index;
        m_materialReferences.push_back(std::move(reference));
    }
    for (std::size_t slot = 0; slot < mesh.materials.size(); ++slot) {
        if (!byName[slot]) {
            mesh.materials[slot] += first;
        }
    }
    for (PendingReference& bone : apart.boneNames) {
        bone.owner = index;
        m_boneNames.push_back(std::move(bone));
    }
    std::move(apart.document.materials.begin(), apart.document.materials.end(),
              std::back_inserter(m_doc.materials));
    m_doc.meshes[index] = std::move(mesh);
}

template <typename Tokenizer>
std::uint32_t XFileParser<Tokenizer>::ParseMesh(std::string_view name) {
    // Nothing inside a Mesh makes another Mesh, so this reference stays valid.
    const auto index = std::uint32_t(m_doc.meshes.size());
    XFileDocument::Mesh& mesh = m_doc.meshes.emplace_back();
    mesh.name = name;

    ReadVectors("the vertex count", "a vertex coordinate", &mesh.positions);
    const auto vertexCount = std::uint32_t(mesh.positions.size());
    const std::uint32_t faceCount = ReadCount("the face count", 1);
    mesh.faceSizes.resize(faceCount);
    mesh.faceVertices.reserve(std::min(std::size_t(faceCount) * 3, m_tok.MaxValuesLeft()));
    for (std::uint32_t& corners : mesh.faceSizes) {
        corners = ReadCount("the corner count of a face", 1);
        for (std::uint32_t c = 0; c < corners; ++c) {
            mesh.faceVertices.push_back(ReadIndex("a vertex index", vertexCount, "vertices"));
        }
    }

    using Part = void (XFileParser::*)(XFileDocument::Mesh&);
    static constexpr struct {
        Keyword keyword;
        Part parse;
    } kParts[] = {
        {Keyword::MeshNormals, &XFileParser::ParseMeshNormals},
        {Keyword::MeshTextureCoords, &XFileParser::ParseTextureCoords},
        {Keyword::MeshVertexColors, &XFileParser::ParseVertexColors},
        {Keyword::MeshFaceWraps, &XFileParser::ParseFaceWraps},
        {Keyword::MeshMaterialList, &XFileParser::ParseMaterialList},
        {Keyword::XSkinMeshHeader, &XFileParser::ParseSkinMeshHeader},
        {Keyword::SkinWeights, &XFileParser::ParseSkinWeights},
    };
    m_skinHeaderBones = -1;
    m_skinWeightsRead = 0;
    ReadBody(
        "'}' to close the Mesh", "a data object or '}' in the Mesh", [](std::string_view) {},
        [&](std::string_view keyword) {
            const Keyword k = Classify(keyword);
            const auto part = std::find_if(std::begin(kParts), std::end(kParts),
                                           [k](const auto& p) { return p.keyword == k; });
            if (part == std::end(kParts)) {
                XFileDocument::Carried kept;
                if (SkipAndKeep(keyword, &kept)) {
                    mesh.carried.push_back(std::move(kept));
                }
                return;
            }
            OpenObject(keyword);
            (this->*part->parse)(mesh);
        });
    if (m_skinHeaderBones < 0 && !mesh.skin.bones.empty()) {
        CountSkinWeights(mesh);
    } else if (m_skinHeaderBones >= 0 && std::uint32_t(m_skinHeaderBones) != m_skinWeightsRead) {
        Warn(mesh, m_tok.MessageAt(m_skinHeaderPosition,
                                   Text({"expected ", std::to_string(m_skinHeaderBones),
                                         " SkinWeights (the XSkinMeshHeader's bone count), found ",
                                         std::to_string(m_skinWeightsRead)})));
    }
    return index;
}

template <typename Tokenizer>
void XFileParser<Tokenizer>::ParseMeshNormals(XFileDocument::Mesh& mesh) {
    ReadVectors("the normal count", "a normal coordinate", &mesh.normals);
    const auto normalCount = std::uint32_t(mesh.normals.size());
    const std::uint32_t faceCount = ReadCountAtMost(
        "the face normal count", 1, mesh.faceSizes.size(), "face normals (one per face)");
    mesh.faceNormals.clear();
    mesh.faceNormals.reserve(std::min(mesh.faceVertices.size(), m_tok.MaxValuesLeft()));
    for (std::uint32_t f = 0; f < faceCount; ++f) {
        const std::uint32_t corners = m_tok.ReadUInt("the corner count of a face normal");
        if (corners != mesh.faceSizes[f]) {
            m_tok.FailAt(
                m_tok.LastValuePosition(),
                Text({"expected ", std::to_string(mesh.faceSizes[f]), " normal indices for face ",
                      std::to_string(f), " (its corner count), found ", std::to_string(corners)}));
        }
        for (std::uint32_t c = 0; c < corners; ++c) {
            mesh.faceNormals.push_back(ReadIndex("a normal index", normalCount, "normals"));
        }
    }
    mesh.faceNormalCount = faceCount;
    CloseObject("'}' to close MeshNormals");
}

template <typename Tokenizer>
void XFileParser<Tokenizer>::ParseTextureCoords(XFileDocument::Mesh& mesh) {
    const std::uint32_t count =
        ReadCountAtMost("the texture coordinate count", 2, mesh.positions.size(),
                        "texture coordinates (one per vertex)");
    mesh.texCoords.resize(std::size_t(count) * 2);
    for (float& value : mesh.texCoords) {
        value = m_tok.ReadFloat("a texture coordinate");
    }
    CloseObject("'}' to close MeshTextureCoords");
}

template <typename Tokenizer>
void XFileParser<Tokenizer>::ParseVertexColors(XFileDocument::Mesh& mesh) {
    const std::uint32_t count = ReadCount("the vertex colour count", 5);
    mesh.vertexColors.resize(count);
    const auto vertexCount = std::uint32_t(mesh.positions.size());
    for (auto& color : mesh.vertexColors) {
        color.vertex = ReadIndex("a vertex index", vertexCount, "vertices");
        for (float& channel : color.rgba) {
            channel = m_tok.ReadFloat("a colour component");
        }
    }
    CloseObject("'}' to close MeshVertexColors");
}

template <typename Tokenizer>
void XFileParser<Tokenizer>::ParseFaceWraps(XFileDocument::Mesh& mesh) {
    const std::uint32_t count = ReadCountAtMost("the face wrap count", 2, mesh.faceSizes.size(),
                                                "face wraps (one per face)");
    mesh.faceWraps.resize(count);
    for (std::uint8_t& wrap : mesh.faceWraps) {
        const bool u = m_tok.ReadUInt("a wrap flag") != 0;
        const bool v = m_tok.ReadUInt("a wrap flag") != 0;
        wrap = std::uint8_t((u ? 1 : 0) | (v ? 2 : 0));
    }
    CloseObject("'}' to close MeshFaceWraps");
}

template <typename Tokenizer>
void XFileParser<Tokenizer>::ParseMaterialList(XFileDocument::Mesh& mesh) {
    const auto meshIndex = std::uint32_t(&mesh - m_doc.meshes.data());
    // A second list replaces the first, references included.
    std::erase_if(m_materialReferences,
                  [meshIndex](const PendingReference& r) { return r.owner == meshIndex; });
    mesh.materials.clear();
    mesh.faceMaterials.clear();

    const std::uint32_t materialCount = m_tok.ReadUInt("the material count");
    const std::size_t countPosition = m_tok.LastValuePosition();
    const std::uint32_t indexCount = ReadCount("the face index count", 1);
    const std::size_t faceCount = mesh.faceSizes.size();
    mesh.faceMaterials.reserve(std::min<std::size_t>(indexCount, faceCount));
    std::uint32_t highest = 0;
    for (std::uint32_t i = 0; i < indexCount; ++i) {
        const std::uint32_t material =
            ReadIndex("a material index", materialCount, "materials", i + 1 == indexCount);
        highest = std::max(highest, material);
        // Indices past the face count belong to no face.
        if (i < faceCount) {
            mesh.faceMaterials.push_back(material);
        }
    }
    // Fewer indices than faces: the last one holds for the remaining faces.
    if (!mesh.faceMaterials.empty()) {
        mesh.faceMaterials.resize(faceCount, mesh.faceMaterials.back());
    }

    ReadBody(
        "'}' to close MeshMaterialList", "a Material, a reference or '}' in MeshMaterialList",
        [&](std::string_view reference) {
            m_materialReferences.push_back({std::string(reference), m_tok.LastValuePosition(),
                                            meshIndex, std::uint32_t(mesh.materials.size())});
            mesh.materials.push_back(0);
        },
        [&](std::string_view keyword) {
            if (Classify(keyword) == Keyword::Material) {
                const std::uint32_t material = ParseMaterial(OpenObject(keyword));
                mesh.materials.push_back(material);
            } else {
                SkipObject(keyword);
            }
        });
    if (indexCount > 0 && highest >= mesh.materials.size()) {
        m_tok.FailAt(countPosition, Text({"expected ", std::to_string(materialCount),
                                          " materials in MeshMaterialList, found ",
                                          std::to_string(mesh.materials.size())}));
    }
    mesh.hasMaterialList = true;
}

template <typename Tokenizer>
void XFileParser<Tokenizer>::Warn(XFileDocument::Mesh& mesh, std::string_view line) {
    if (!mesh.warnings.empty()) {
        mesh.warnings += '\n';
    }
    mesh.warnings += line;
}

template <typename Tokenizer>
template <typename Read>
void XFileParser<Tokenizer>::ReadOrWarn(XFileDocument::Mesh& mesh, std::string_view consequence,
                                        Read read) {
    try {
        read();
    } catch (const XFileError& error) {
        Warn(mesh, Text({error.message, "; ", consequence}));
        m_tok.SkipObjectBody();
    }
}

template <typename Tokenizer>
void XFileParser<Tokenizer>::ParseSkinMeshHeader(XFileDocument::Mesh& mesh) {
    ReadOrWarn(mesh, "the XSkinMeshHeader is left out", [&] {
        const std::size_t position = m_tok.Position();
        std::uint32_t counts[3];
        for (std::uint32_t& count : counts) {
            count = m_tok.ReadUInt("a count of the XSkinMeshHeader");
            if (count > 0xFFFF) {
                m_tok.FailAt(m_tok.LastValuePosition(),
                             Text({"expected a count of the XSkinMeshHeader below 65536, found ",
                                   std::to_string(count)}));
            }
        }
        CloseObject("'}' to close XSkinMeshHeader");
        mesh.skin.maxWeightsPerVertex = std::uint16_t(counts[0]);
        mesh.skin.maxWeightsPerFace = std::uint16_t(counts[1]);
        m_skinHeaderBones = counts[2];
        m_skinHeaderPosition = position;
    });
}

template <typename Tokenizer>
void XFileParser<Tokenizer>::ParseSkinWeights(XFileDocument::Mesh& mesh) {
    ++m_skinWeightsRead;
    SkinBone bone;
    std::size_t namePosition = 0;
    bool read = false;
    ReadOrWarn(mesh, "these SkinWeights are left out", [&] {
        bone.frameName = m_tok.ReadString("the name of the bone's frame");
        namePosition = m_tok.LastValuePosition();
        const std::uint32_t count = ReadCount("the skin weight count", 2);
        bone.vertices.resize(count);
        for (std::uint32_t& vertex : bone.vertices) {
            vertex = m_tok.ReadUInt("a vertex index");
        }
        bone.weights.resize(count);
        for (float& weight : bone.weights) {
            weight = m_tok.ReadFloat("a skin weight");
        }
        ReadMatrixValues(&bone.offset);
        CloseObject("'}' to close SkinWeights");
        read = true;
    });
    if (!read) {
        return;
    }
    // A weight whose vertex the mesh lacks goes; the bone keeps the others.
    const std::size_t vertexCount = mesh.positions.size();
    std::size_t kept = 0;
    std::size_t dropped = 0;
    std::uint32_t firstDropped = 0;
    for (std::size_t i = 0; i < bone.vertices.size(); ++i) {
        if (bone.vertices[i] < vertexCount) {
            bone.vertices[kept] = bone.vertices[i];
            bone.weights[kept] = bone.weights[i];
            ++kept;
        } else if (dropped++ == 0) {
            firstDropped = bone.vertices[i];
        }
    }
    if (dropped > 0) {
        bone.vertices.resize(kept);
        bone.weights.resize(kept);
        Warn(mesh,
             m_tok.MessageAt(namePosition,
                             Text({"expected vertex indices below ", std::to_string(vertexCount),
                                   " (the number of vertices) in the SkinWeights of bone ",
                                   QuoteForMessage(bone.frameName), ", found ",
                                   std::to_string(firstDropped), "; ", std::to_string(dropped),
                                   dropped == 1 ? " weight is" : " weights are", " left out"})));
    }
    m_boneNames.push_back({bone.frameName, namePosition, std::uint32_t(&mesh - m_doc.meshes.data()),
                           std::uint32_t(mesh.skin.bones.size())});
    mesh.skin.bones.push_back(std::move(bone));
}

template <typename Tokenizer>
void XFileParser<Tokenizer>::CountSkinWeights(XFileDocument::Mesh& mesh) {
    // Only for files without the header, so plain lists will do.
    std::vector<std::vector<std::uint32_t>> bonesOf(mesh.positions.size());
    for (std::uint32_t b = 0; b < mesh.skin.bones.size(); ++b) {
        for (const std::uint32_t v : mesh.skin.bones[b].vertices) {
            if (bonesOf[v].empty() || bonesOf[v].back() != b) {
                bonesOf[v].push_back(b);
            }
        }
    }
    std::size_t perVertex = 0;
    for (const auto& bones : bonesOf) {
        perVertex = std::max(perVertex, bones.size());
    }
    std::size_t perFace = 0;
    std::vector<std::uint32_t> faceBones;
    auto corner = mesh.faceVertices.begin();
    for (const std::uint32_t corners : mesh.faceSizes) {
        faceBones.clear();
        for (std::uint32_t c = 0; c < corners; ++c, ++corner) {
            faceBones.insert(faceBones.end(), bonesOf[*corner].begin(), bonesOf[*corner].end());
        }
        std::sort(faceBones.begin(), faceBones.end());
        perFace = std::max(perFace, std::size_t(std::unique(faceBones.begin(), faceBones.end()) -
                                                faceBones.begin()));
    }
    mesh.skin.maxWeightsPerVertex = std::uint16_t(std::min<std::size_t>(perVertex, 0xFFFF));
    mesh.skin.maxWeightsPerFace = std::uint16_t(std::min<std::size_t>(perFace, 0xFFFF));
}

template <typename Tokenizer>
void XFileParser<Tokenizer>::CheckBoneNames() {
    std::unordered_set<std::string_view> frameNames;
    for (const auto& frame : m_doc.frames) {
        frameNames.insert(frame.name);
    }
    std::vector<const PendingReference*> missing;
    for (const PendingReference& bone : m_boneNames) {
        if (!frameNames.contains(bone.name)) {
            XFileDocument::Mesh& mesh = m_doc.meshes[bone.owner];
            Warn(mesh, m_tok.MessageAt(
                           bone.position,
                           Text({"expected the name of a frame in this file for a bone, found ",
                                 QuoteForMessage(bone.name), "; its ",
                                 std::to_string(mesh.skin.bones[bone.slot].vertices.size()),
                                 " weights are left out"})));
            missing.push_back(&bone);
        }
    }
    // Last first, so the slots of the others stay where they were.
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        auto& bones = m_doc.meshes[(*it)->owner].skin.bones;
        bones.erase(bones.begin() + (*it)->slot);
    }
}

template <typename Tokenizer>
std::uint32_t XFileParser<Tokenizer>::ParseMaterial(std::string_view name) {
    XFileDocument::Material material;
    material.name = name;
    for (float& c : material.faceColor) {
        c = m_tok.ReadFloat("a face colour component");
    }
    material.power = m_tok.ReadFloat("the specular power");
    for (float& c : material.specular) {
        c = m_tok.ReadFloat("a specular colour component");
    }
    for (float& c : material.emissive) {
        c = m_tok.ReadFloat("an emissive colour component");
    }
    ReadBody(
        "'}' to close the Material", "a data object or '}' in the Material",
        [](std::string_view) {},
        [&](std::string_view keyword) {
            if (Classify(keyword) == Keyword::TextureFilename) {
                OpenObject(keyword);
                const std::string_view file = m_tok.ReadString("the texture file name");
                CloseObject("'}' to close TextureFilename");
                // A face shows one texture: the first one named is the material's.
                if (!material.hasTexture) {
                    material.hasTexture = true;
                    material.textureFileName = file;
                }
            } else {
                SkipObject(keyword);
            }
        });
    m_doc.materials.push_back(std::move(material));
    return std::uint32_t(m_doc.materials.size() - 1);
}

template <typename Tokenizer>
void XFileParser<Tokenizer>::ParseAnimationSet(std::string_view name, int depth) {
    XFileDocument::AnimationSet set;
    set.name = name;
    ReadBody(
        "'}' to close the AnimationSet", "an Animation or '}' in the AnimationSet",
        [](std::string_view) {},
        [&](std::string_view keyword) {
            switch (Classify(keyword)) {
            case Keyword::Animation: {
                XFileDocument::Animation animation;
                animation.name = OpenObject(keyword);
                ParseAnimation(animation, depth + 1);
                set.animations.push_back(std::move(animation));
                break;
            }
            default:
                ReadTicksOrSkip(keyword);
                break;
            }
        });
    m_doc.animationSets.push_back(std::move(set));
}

template <typename Tokenizer>
void XFileParser<Tokenizer>::ParseAnimation(XFileDocument::Animation& animation, int depth) {
    ReadBody(
        "'}' to close the Animation", "a data object, a reference or '}' in the Animation",
        [&](std::string_view frame) {
            if (frame.empty()) {
                m_tok.FailAt(m_tok.LastValuePosition(),
                             "expected a frame name in the Animation's reference, found none");
            }
            // An animation drives one frame: the first one it names.
            if (!animation.hasFrameReference && animation.inlineFrame < 0) {
                animation.frameName = frame;
                animation.hasFrameReference = true;
            }
        },
        [&](std::string_view keyword) {
            switch (Classify(keyword)) {
            case Keyword::Frame: {
                const std::uint32_t frame = ParseFrame(OpenObject(keyword), depth + 1);
                if (!animation.hasFrameReference && animation.inlineFrame < 0) {
                    animation.inlineFrame = frame;
                }
                break;
            }
            case Keyword::AnimationKey:
                OpenObject(keyword);
                ParseAnimationKey(animation);
                break;
            case Keyword::AnimationOptions:
                OpenObject(keyword);
                ParseAnimationOptions(animation);
                break;
            default:
                SkipObject(keyword);
                break;
            }
        });
}

template <typename Tokenizer>
void XFileParser<Tokenizer>::ParseAnimationKey(XFileDocument::Animation& animation) {
    const std::uint32_t type = m_tok.ReadUInt("the key type");
    std::uint32_t valueCount = 0;
    const char* kind = "";
    switch (type) {
    case 0:
        valueCount = 4;
        kind = "rotation";
        break;
    case 1:
        valueCount = 3;
        kind = "scale";
        break;
    case 2:
        valueCount = 3;
        kind = "position";
        break;
    case 4:
        valueCount = 16;
        kind = "matrix";
        break;
    default:
        m_tok.FailAt(m_tok.LastValuePosition(),
                     Text({"expected key type 0 (rotation), 1 (scale), 2 (position) or 4 "
                           "(matrix), found ",
                           std::to_string(type)}));
    }
    const std::uint32_t keyCount = ReadCount("the key count", 2 + std::size_t(valueCount));
    animation.keys.reserve(animation.keys.size() + std::size_t(keyCount) * (type == 4 ? 3 : 1));
    float v[16];
    for (std::uint32_t k = 0; k < keyCount; ++k) {
        const auto time = float(m_tok.ReadUInt("a key time"));
        const std::uint32_t count = m_tok.ReadUInt("the value count of a key");
        if (count != valueCount) {
            m_tok.FailAt(m_tok.LastValuePosition(),
                         Text({"expected ", std::to_string(valueCount), " values in a ", kind,
                               " key, found ", std::to_string(count)}));
        }
        for (std::uint32_t i = 0; i < valueCount; ++i) {
            v[i] = m_tok.ReadFloat("a key value");
        }
        AnimationKey key;
        key.dvTime = time;
        switch (type) {
        case 0:
            key.dwKeyType = D3DRMANIMATION_ROTATEKEY;
            key.dqRotateKey = Quaternion{v[0], {v[1], v[2], v[3]}};
            animation.keys.push_back(key);
            break;
        case 1:
            key.dwKeyType = D3DRMANIMATION_SCALEKEY;
            key.dvScaleKey = {v[0], v[1], v[2]};
            animation.keys.push_back(key);
            break;
        case 2:
            key.dwKeyType = D3DRMANIMATION_POSITIONKEY;
            key.dvPositionKey = {v[0], v[1], v[2]};
            animation.keys.push_back(key);
            break;
        default: {
            Matrix4 m;
            std::copy_n(v, 16, &m.m[0][0]);
            const Decomposed d = DecomposeMatrix(m);
            key.dwKeyType = D3DRMANIMATION_ROTATEKEY;
            key.dqRotateKey = d.rotation;
            animation.keys.push_back(key);
            key.dwKeyType = D3DRMANIMATION_SCALEKEY;
            key.dvScaleKey = d.scale;
            animation.keys.push_back(key);
            key.dwKeyType = D3DRMANIMATION_POSITIONKEY;
            key.dvPositionKey = d.translation;
            animation.keys.push_back(key);
            break;
        }
        }
    }
    CloseObject("'}' to close the AnimationKey");
}

template <typename Tokenizer>
void XFileParser<Tokenizer>::ParseAnimationOptions(XFileDocument::Animation& animation) {
    const std::uint32_t openClosed = m_tok.ReadUInt("the open/closed flag");
    if (openClosed > 1) {
        m_tok.FailAt(m_tok.LastValuePosition(),
                     Text({"expected 0 (closed) or 1 (open), found ", std::to_string(openClosed)}));
    }
    const std::uint32_t quality = m_tok.ReadUInt("the position quality");
    if (quality > 1) {
        m_tok.FailAt(m_tok.LastValuePosition(),
                     Text({"expected position quality 0 (spline) or 1 (linear), found ",
                           std::to_string(quality)}));
    }
    // The file format: 0 closed (the default), 1 open.
    animation.options = (openClosed ? D3DRMANIMATION_OPEN : D3DRMANIMATION_CLOSED) |
                        (quality ? D3DRMANIMATION_LINEARPOSITION : D3DRMANIMATION_SPLINEPOSITION) |
                        D3DRMANIMATION_SCALEANDROTATION | D3DRMANIMATION_POSITION;
    CloseObject("'}' to close AnimationOptions");
}

template <typename Tokenizer>
template <typename Object, typename Owner>
void XFileParser<Tokenizer>::ResolveByName(const std::vector<Object>& objects,
                                           std::string_view kind,
                                           const std::vector<PendingReference>& references,
                                           std::vector<Owner>& owners,
                                           std::vector<std::uint32_t> Owner::*list) {
    // The first object of a name is the one its references mean.
    std::unordered_map<std::string_view, std::uint32_t> byName;
    for (std::uint32_t i = 0; i < objects.size(); ++i) {
        if (!objects[i].name.empty()) {
            byName.try_emplace(objects[i].name, i);
        }
    }
    for (const PendingReference& r : references) {
        const auto it = byName.find(r.name);
        if (it == byName.end()) {
            m_tok.FailAt(r.position,
                         r.name.empty()
                             ? Text({"expected a ", kind, " name in the reference, found none"})
                             : Text({"expected the name of a ", kind, " in this file, found ",
                                     QuoteForMessage(r.name)}));
        }
        (owners[r.owner].*list)[r.slot] = it->second;
    }
}

template <typename Tokenizer>
void XFileParser<Tokenizer>::ResolveReferences() {
    ResolveByName(m_doc.meshes, "Mesh", m_meshReferences, m_doc.frames,
                  &XFileDocument::Frame::meshes);
    ResolveByName(m_doc.materials, "Material", m_materialReferences, m_doc.meshes,
                  &XFileDocument::Mesh::materials);
    CheckBoneNames();

    m_doc.meshUsedByFrame.assign(m_doc.meshes.size(), false);
    for (const auto& frame : m_doc.frames) {
        for (const std::uint32_t mesh : frame.meshes) {
            m_doc.meshUsedByFrame[mesh] = true;
        }
    }
}

template class XFileParser<XFileTextTokenizer>;
template class XFileParser<XFileBinaryTokenizer>;

} // namespace rm
