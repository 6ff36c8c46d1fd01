#include "xfile/CXSave.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>

#include "platform/rm/Context.h"
#include "platform/rm/Math.h"

namespace {

bool IsPositiveZero(float v) {
    return v == 0.0f && !std::signbit(v);
}

/// Power, specular and emissive all +0: the values of the stand-in written for faces
/// without a material.
bool IsZeroMaterial(const rm::Material& material) {
    float specular[3], emissive[3];
    material.GetSpecular(&specular[0], &specular[1], &specular[2]);
    material.GetEmissive(&emissive[0], &emissive[1], &emissive[2]);
    bool zero = IsPositiveZero(material.GetPower());
    for (int i = 0; i < 3; ++i) {
        zero = zero && IsPositiveZero(specular[i]) && IsPositiveZero(emissive[i]);
    }
    return zero;
}

// "// 警告：Animationにフレームが関連付けられていません。" in code page 932, the encoding
// readers of these files expect for comments.
constexpr unsigned char kNoFrameWarning[] = {
    0x2f, 0x2f, 0x20, 0x8c, 0x78, 0x8d, 0x90, 0x81, 0x46, 0x41, 0x6e, 0x69, 0x6d, 0x61,
    0x74, 0x69, 0x6f, 0x6e, 0x82, 0xc9, 0x83, 0x74, 0x83, 0x8c, 0x81, 0x5b, 0x83, 0x80,
    0x82, 0xaa, 0x8a, 0xd6, 0x98, 0x41, 0x95, 0x74, 0x82, 0xaf, 0x82, 0xe7, 0x82, 0xea,
    0x82, 0xc4, 0x82, 0xa2, 0x82, 0xdc, 0x82, 0xb9, 0x82, 0xf1, 0x81, 0x42};

constexpr const char* kTemplates[] = {
    "template Header {\n <3D82AB43-62DA-11cf-AB39-0020AF71E433>\n WORD major;\n WORD minor;\n"
    " DWORD flags;\n}\n\n",
    "template Vector {\n <3D82AB5E-62DA-11cf-AB39-0020AF71E433>\n FLOAT x;\n FLOAT y;\n"
    " FLOAT z;\n}\n\n",
    "template Coords2d {\n <F6F23F44-7686-11cf-8F52-0040333594A3>\n FLOAT u;\n FLOAT v;\n}\n\n",
    "template Matrix4x4 {\n <F6F23F45-7686-11cf-8F52-0040333594A3>\n array FLOAT matrix[16];\n"
    "}\n\n",
    "template ColorRGBA {\n <35FF44E0-6C7C-11cf-8F52-0040333594A3>\n FLOAT red;\n FLOAT green;\n"
    " FLOAT blue;\n FLOAT alpha;\n}\n\n",
    "template ColorRGB {\n <D3E16E81-7835-11cf-8F52-0040333594A3>\n FLOAT red;\n FLOAT green;\n"
    " FLOAT blue;\n}\n\n",
    "template IndexedColor {\n <1630B820-7842-11cf-8F52-0040333594A3>\n DWORD index;\n"
    " ColorRGBA indexColor;\n}\n\n",
    "template Boolean {\n <4885AE61-78E8-11cf-8F52-0040333594A3>\n WORD truefalse;\n}\n\n",
    "template Boolean2d {\n <4885AE63-78E8-11cf-8F52-0040333594A3>\n Boolean u;\n Boolean v;\n"
    "}\n\n",
    "template MaterialWrap {\n <4885AE60-78E8-11cf-8F52-0040333594A3>\n Boolean u;\n"
    " Boolean v;\n}\n\n",
    "template TextureFilename {\n <A42790E1-7810-11cf-8F52-0040333594A3>\n STRING filename;\n"
    "}\n\n",
    "template Material {\n <3D82AB4D-62DA-11cf-AB39-0020AF71E433>\n ColorRGBA faceColor;\n"
    " FLOAT power;\n ColorRGB specularColor;\n ColorRGB emissiveColor;\n [...]\n}\n\n",
    "template MeshFace {\n <3D82AB5F-62DA-11cf-AB39-0020AF71E433>\n DWORD nFaceVertexIndices;\n"
    " array DWORD faceVertexIndices[nFaceVertexIndices];\n}\n\n",
    "template MeshFaceWraps {\n <4885AE62-78E8-11cf-8F52-0040333594A3>\n DWORD nFaceWrapValues;\n"
    " Boolean2d faceWrapValues;\n}\n\n",
    "template MeshTextureCoords {\n <F6F23F40-7686-11cf-8F52-0040333594A3>\n"
    " DWORD nTextureCoords;\n array Coords2d textureCoords[nTextureCoords];\n}\n\n",
    "template MeshMaterialList {\n <F6F23F42-7686-11cf-8F52-0040333594A3>\n DWORD nMaterials;\n"
    " DWORD nFaceIndexes;\n array DWORD faceIndexes[nFaceIndexes];\n [Material]\n}\n\n",
    "template MeshNormals {\n <F6F23F43-7686-11cf-8F52-0040333594A3>\n DWORD nNormals;\n"
    " array Vector normals[nNormals];\n DWORD nFaceNormals;\n"
    " array MeshFace faceNormals[nFaceNormals];\n}\n\n",
    "template MeshVertexColors {\n <1630B821-7842-11cf-8F52-0040333594A3>\n"
    " DWORD nVertexColors;\n array IndexedColor vertexColors[nVertexColors];\n}\n\n",
    "template Mesh {\n <3D82AB44-62DA-11cf-AB39-0020AF71E433>\n DWORD nVertices;\n"
    " array Vector vertices[nVertices];\n DWORD nFaces;\n array MeshFace faces[nFaces];\n"
    " [...]\n}\n\n",
    "template FrameTransformMatrix {\n <F6F23F41-7686-11cf-8F52-0040333594A3>\n"
    " Matrix4x4 frameMatrix;\n}\n\n",
    "template Frame {\n <3D82AB46-62DA-11cf-AB39-0020AF71E433>\n [...]\n}\n\n",
    "template FloatKeys {\n <10DD46A9-775B-11cf-8F52-0040333594A3>\n DWORD nValues;\n"
    " array FLOAT values[nValues];\n}\n\n",
    "template TimedFloatKeys {\n <F406B180-7B3B-11cf-8F52-0040333594A3>\n DWORD time;\n"
    " FloatKeys tfkeys;\n}\n\n",
    "template AnimationKey {\n <10DD46A8-775B-11cf-8F52-0040333594A3>\n DWORD keyType;\n"
    " DWORD nKeys;\n array TimedFloatKeys keys[nKeys];\n}\n\n",
    "template AnimationOptions {\n <E2BF56C0-840F-11cf-8F52-0040333594A3>\n DWORD openclosed;\n"
    " DWORD positionquality;\n}\n\n",
    "template Animation {\n <3D82AB4F-62DA-11cf-AB39-0020AF71E433>\n [...]\n}\n\n",
    "template AnimationSet {\n <3D82AB50-62DA-11cf-AB39-0020AF71E433>\n [Animation]\n}\n\n",
};
static_assert(std::size(kTemplates) == 27);

/// Written after the others only when some mesh has skin weights.
constexpr char kSkinTemplates[] =
    "template XSkinMeshHeader {\n <3CF169CE-FF7C-44ab-93C0-F78F62D172E2>\n"
    " WORD nMaxSkinWeightsPerVertex;\n WORD nMaxSkinWeightsPerFace;\n WORD nBones;\n}\n\n"
    "template SkinWeights {\n <6F0D123B-BAD2-4167-A0D0-80224F25FABB>\n"
    " STRING transformNodeName;\n DWORD nWeights;\n array DWORD vertexIndices[nWeights];\n"
    " array FLOAT weights[nWeights];\n Matrix4x4 matrixOffset;\n}\n\n";

/// Written after the others only when the file declares a tick rate.
constexpr char kTicksPerSecondTemplate[] =
    "template AnimTicksPerSecond {\n <9E415A43-7BA6-4a73-8743-B73D47E88476>\n"
    " DWORD AnimTicksPerSecond;\n}\n\n";

constexpr char kAutoNamePrefix[] = "CXSave_Frame";

void AppendInt(std::string& out, long long value) {
    char text[24];
    const auto result = std::to_chars(text, text + sizeof text, value);
    out.append(text, result.ptr);
}

// printf's "%f" of the value widened to double, but never with the locale's decimal
// comma: the GUI runs with the user's locale and the file format wants a point.
void AppendReal(std::string& out, float value) {
    // FLT_MAX in fixed notation takes 39 digits, a sign, a point and 6 decimals.
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, static_cast<double>(value),
                                      std::chars_format::fixed, 6);
    out.append(text, result.ptr);
}

// Names are C strings to every reader of the format, so a name ends at its first zero byte.
std::string_view NameOf(const rm::Object& object) {
    return std::string_view(object.Name().c_str());
}

// The values with ';' between them.
void AppendReals(std::string& out, std::initializer_list<float> values) {
    bool first = true;
    for (float value : values) {
        if (!first) {
            out += ';';
        }
        first = false;
        AppendReal(out, value);
    }
}

char Separator(std::size_t index, std::size_t count) {
    return index + 1 < count ? ',' : ';';
}

bool HasSkinnedMesh(const rm::Frame* frame) {
    if (!frame) {
        return false;
    }
    for (const auto& visual : frame->GetVisuals()) {
        const auto* builder = dynamic_cast<const rm::MeshBuilder*>(visual.Get());
        if (builder && builder->HasSkin()) {
            return true;
        }
    }
    const auto& children = frame->GetChildren();
    return std::any_of(children.begin(), children.end(),
                       [](const auto& child) { return HasSkinnedMesh(child.Get()); });
}

// The declarations the kept data objects of `frame`'s tree need, added once each.
void CollectDeclarations(const std::vector<rm::CarriedObject>& objects,
                         std::vector<std::string>* declarations) {
    for (const rm::CarriedObject& object : objects) {
        for (const std::string& text : object.declarations) {
            if (std::find(declarations->begin(), declarations->end(), text) ==
                declarations->end()) {
                declarations->push_back(text);
            }
        }
    }
}

void CollectDeclarations(const rm::Frame* frame, std::vector<std::string>* declarations) {
    if (!frame) {
        return;
    }
    CollectDeclarations(frame->CarriedObjects(), declarations);
    for (const auto& visual : frame->Visuals()) {
        if (const auto* builder = dynamic_cast<const rm::MeshBuilder*>(visual.Get())) {
            CollectDeclarations(builder->CarriedObjects(), declarations);
        }
    }
    for (const auto& child : frame->Children()) {
        CollectDeclarations(child.Get(), declarations);
    }
}

// Truncation toward zero, as the file's whole-number key times want; times beyond the
// integer range (never produced by editing) are pinned to it instead of overflowing.
int KeyTime(float time) {
    if (time >= 2147483647.0f) {
        return INT_MAX;
    }
    return static_cast<int>(time);
}

} // namespace

CXSave::CXSave(rm::Context* d3drm) : m_d3drm(d3drm) {}

CXSave::~CXSave() = default;

void CXSave::SetWriteFunction(SafeFileWriter::WriteFunction write) {
    m_file.SetWriteFunction(std::move(write));
}

int CXSave::OpenFile(const char* fileName) {
    m_frameNameCounter = 0;
    return m_file.Open(fileName) ? 1 : 0;
}

int CXSave::CloseFile() {
    return m_file.Commit() ? 1 : 0;
}

void CXSave::Indent() {
    ++m_indentLevel;
    m_indent.assign(std::size_t(m_indentLevel), ' ');
}

void CXSave::Unindent() {
    if (m_indentLevel > 0) {
        --m_indentLevel;
    }
    m_indent.assign(std::size_t(m_indentLevel), ' ');
}

void CXSave::OpenBlock(std::string_view keyword, std::string_view name) {
    m_line.assign(1, '\n'); // not assign("\n"): GCC 12 at -O3 warns falsely (-Wrestrict)
    m_line += m_indent;
    m_line += keyword;
    if (!name.empty()) {
        m_line += ' ';
        m_line += name;
    }
    m_line += " {\n";
    Put(m_line);
    Indent();
}

void CXSave::OpenInlineBlock(std::string_view keyword) {
    m_line.assign(m_indent);
    m_line += keyword;
    m_line += " {\n";
    Put(m_line);
    Indent();
}

void CXSave::CloseBlock() {
    Unindent();
    m_line.assign(m_indent);
    m_line += "}\n";
    Put(m_line);
}

int CXSave::WriteHeader() {
    m_line.assign(m_indent);
    m_line += "xof 0303txt 0032\n\n";
    Put(m_line);
    if (m_saveFlags & kWriteTemplates) {
        for (const char* text : kTemplates) {
            Put(text);
        }
    }
    // The skin's templates are not among the ones every reader knows: a file with skin
    // weights declares them even where the standard ones are left out.
    if (m_hasSkin) {
        Put(kSkinTemplates);
    }
    if ((m_saveFlags & kWriteTemplates) && m_ticksPerSecond != 0) {
        Put(kTicksPerSecondTemplate);
    }
    // Templates of the kept data objects are declared whatever the flags: readers need
    // them for objects of templates they do not know.
    for (const std::string& text : m_carriedDeclarations) {
        Put(text);
        Put("\n");
    }
    m_line.assign(m_indent);
    // The inner lines carry their own single space whatever the level.
    m_line += "Header {\n 1;\n 0;\n 1;\n}\n";
    Put(m_line);
    return 1;
}

int CXSave::WriteMesh(rm::MeshBuilder* builder) {
    if (!builder) {
        return 0;
    }
    OpenBlock("Mesh", NameOf(*builder));
    WriteVertices(builder);
    WriteFaces(builder);
    if (m_saveFlags & kWriteMaterials) {
        WriteMaterialList(builder);
    }
    if (m_saveFlags & kWriteNormals) {
        WriteNormals(builder);
    }
    if (m_saveFlags & kWriteFaceWraps) {
        WriteFaceWraps(builder);
    }
    if (m_saveFlags & kWriteTextureCoords) {
        WriteTextureCoords(builder);
    }
    WriteVertexColors(builder);
    WriteSkinWeights(builder);
    WriteCarriedObjects(builder->CarriedObjects());
    CloseBlock();
    return 1;
}

int CXSave::WriteCarriedObjects(const std::vector<rm::CarriedObject>& objects) {
    for (const rm::CarriedObject& object : objects) {
        m_line.assign(1, '\n');
        std::string_view text = object.text;
        while (!text.empty()) {
            const std::size_t end = text.find('\n');
            const std::string_view line = text.substr(0, end);
            if (!line.empty()) {
                m_line += m_indent;
                m_line += line;
            }
            m_line += '\n';
            text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        }
        Put(m_line);
    }
    return 1;
}

int CXSave::WriteTicksPerSecond() {
    if (m_ticksPerSecond == 0) {
        return 1;
    }
    OpenBlock("AnimTicksPerSecond", {});
    WriteCountLine(m_ticksPerSecond);
    CloseBlock();
    return 1;
}

int CXSave::WriteVertexColors(rm::MeshBuilder* builder) {
    if (!builder) {
        return 0;
    }
    const std::uint32_t count = builder->HasVertexColors() ? builder->GetVertexCount() : 0;
    WriteListBlock("MeshVertexColors", count, ";;,\n", ";;;\n", [&](std::uint32_t i) {
        const rm::D3DCOLOR color = builder->GetVertexColor(i);
        AppendInt(m_line, i);
        m_line += ';';
        AppendReals(m_line, {rm::ColorGetRed(color), rm::ColorGetGreen(color),
                             rm::ColorGetBlue(color), rm::ColorGetAlpha(color)});
    });
    return 1;
}

int CXSave::WriteSkinWeights(rm::MeshBuilder* builder) {
    if (!builder) {
        return 0;
    }
    if (!builder->HasSkin()) {
        return 1;
    }
    const rm::MeshSkin& skin = builder->GetSkin();
    OpenBlock("XSkinMeshHeader", {});
    WriteCountLine(skin.maxWeightsPerVertex);
    WriteCountLine(skin.maxWeightsPerFace);
    WriteCountLine(std::uint32_t(skin.bones.size()));
    CloseBlock();
    for (const rm::SkinBone& bone : skin.bones) {
        OpenBlock("SkinWeights", {});
        WriteStringLine(bone.frameName.c_str());
        const auto count = std::uint32_t(bone.vertices.size());
        WriteCountLine(count);
        WriteLines(count, ",\n", ";\n",
                   [&](std::uint32_t i) { AppendInt(m_line, bone.vertices[i]); });
        WriteLines(count, ",\n", ";\n",
                   [&](std::uint32_t i) { AppendReal(m_line, bone.weights[i]); });
        WriteMatrix(bone.offset);
        CloseBlock();
    }
    return 1;
}

int CXSave::WriteVertices(rm::MeshBuilder* builder) {
    return WriteVectorsOf(builder, false);
}

int CXSave::WriteVectorsOf(rm::MeshBuilder* builder, bool normals) {
    if (!builder) {
        return 0;
    }
    std::uint32_t count = normals ? builder->GetNormalCount() : builder->GetVertexCount();
    if (count == 0) {
        return 1;
    }
    m_vectors.resize(count);
    if (normals) {
        OpenBlock("MeshNormals", {});
        builder->GetNormals(0, &count, m_vectors.data());
    } else {
        builder->GetVertices(0, &count, m_vectors.data());
    }
    WriteVectorList(count);
    if (normals) {
        WriteFaceNormals(builder);
        CloseBlock();
    }
    return 1;
}

void CXSave::WriteStringLine(std::string_view text) {
    m_line.assign(m_indent);
    m_line += '"';
    m_line += text;
    m_line += "\";\n";
    Put(m_line);
}

void CXSave::WriteCountLine(std::uint32_t count) {
    m_line.assign(m_indent);
    AppendInt(m_line, count);
    m_line += ";\n";
    Put(m_line);
}

void CXSave::WriteVectorList(std::uint32_t count) {
    WriteCountLine(count);
    WriteLines(count, ";,\n", ";;\n", [&](std::uint32_t i) {
        const rm::Vector& v = m_vectors[i];
        AppendReals(m_line, {v.x, v.y, v.z});
    });
}

int CXSave::WriteFaces(rm::MeshBuilder* builder) {
    if (!builder) {
        return 0;
    }
    const std::uint32_t count = builder->GetFaceCount();
    if (count == 0) {
        return 1;
    }
    WriteCountLine(count);
    rm::Ref<rm::Face> face;
    for (std::uint32_t i = 0; i < count; ++i) {
        builder->GetFace(i, &face);
        // A face without corners is written as one ("0;;"), so the count and the material
        // list's one index per face stay true and the file reads back as it was.
        const std::uint32_t corners = face->GetVertexCount();
        m_line.assign(m_indent);
        AppendInt(m_line, corners);
        m_line += ';';
        for (std::uint32_t j = 0; j < corners; ++j) {
            if (j > 0) {
                m_line += ',';
            }
            AppendInt(m_line, face->GetVertexIndex(j));
        }
        m_line += i + 1 < count ? ";,\n" : ";;\n";
        Put(m_line);
    }
    return 1;
}

int CXSave::WriteMaterialList(rm::MeshBuilder* builder) {
    if (!builder) {
        return 0;
    }
    const std::uint32_t faceCount = builder->GetFaceCount();
    if (faceCount == 0) {
        return 1;
    }
    OpenBlock("MeshMaterialList", {});

    // Faces share a Material block only when material, colour and (with texture names)
    // texture are all the same; objects count as the same only when they are one object.
    struct Entry {
        rm::Ref<rm::Material> material;
        rm::D3DCOLOR color;
        rm::Ref<rm::Texture> texture;
    };
    std::vector<Entry> entries;
    std::vector<std::uint32_t> faceEntry(faceCount);
    const bool byTexture = (m_saveFlags & kWriteTextureNames) != 0;
    rm::Ref<rm::Face> face;
    for (std::uint32_t i = 0; i < faceCount; ++i) {
        builder->GetFace(i, &face);
        Entry entry;
        face->GetMaterial(&entry.material);
        entry.color = face->GetColor();
        if (byTexture) {
            face->GetTexture(&entry.texture);
        }
        std::size_t e = 0;
        while (e < entries.size() &&
               !(entries[e].material == entry.material && entries[e].color == entry.color &&
                 entries[e].texture == entry.texture)) {
            ++e;
        }
        if (e == entries.size()) {
            entries.push_back(std::move(entry));
        }
        faceEntry[i] = std::uint32_t(e);
    }

    m_line.assign(m_indent);
    AppendInt(m_line, static_cast<long long>(entries.size()));
    m_line += ";\n";
    Put(m_line);
    const std::uint32_t indexCount = entries.size() == 1 ? 1 : faceCount;
    WriteCountLine(indexCount);
    WriteLines(indexCount, ",\n", ";;\n",
               [&](std::uint32_t i) { AppendInt(m_line, faceEntry[i]); });

    for (const Entry& entry : entries) {
        OpenBlock("Material", {});
        m_line.assign(m_indent);
        AppendReals(m_line, {rm::ColorGetRed(entry.color), rm::ColorGetGreen(entry.color),
                             rm::ColorGetBlue(entry.color), rm::ColorGetAlpha(entry.color)});
        m_line += ";;\n";
        Put(m_line);
        // A material whose parameters are all +0 is written as the stand-in, whose text
        // it equals but for indentation: a file saved from faces without material then
        // reads back and saves again to the same bytes.
        if (entry.material && !IsZeroMaterial(*entry.material)) {
            m_line.assign(m_indent);
            AppendReal(m_line, entry.material->GetPower());
            m_line += ";\n";
            for (auto get : {&rm::Material::GetSpecular, &rm::Material::GetEmissive}) {
                float r = 0, g = 0, b = 0;
                ((*entry.material).*get)(&r, &g, &b);
                m_line += m_indent;
                AppendReals(m_line, {r, g, b});
                m_line += ";;\n";
            }
        } else {
            // Only the first line of the stand-in material is indented; files written
            // so far look like this and are read back the same way.
            m_line.assign(m_indent);
            m_line += "0.000000;\n0.000000;0.000000;0.000000;;\n0.000000;0.000000;0.000000;;\n";
        }
        Put(m_line);
        if (entry.texture && !NameOf(*entry.texture).empty()) {
            OpenInlineBlock("TextureFilename");
            WriteStringLine(NameOf(*entry.texture));
            CloseBlock();
        }
        CloseBlock();
    }
    CloseBlock();
    return 1;
}

int CXSave::WriteNormals(rm::MeshBuilder* builder) {
    return WriteVectorsOf(builder, true);
}

int CXSave::WriteFaceNormals(rm::MeshBuilder* builder) {
    if (!builder) {
        return 0;
    }
    const std::uint32_t faceCount = builder->GetFaceCount();
    std::uint32_t vertexCount = 0;
    std::uint32_t normalCount = 0;
    std::uint32_t dataSize = 0;
    builder->GetGeometry(&vertexCount, nullptr, &normalCount, nullptr, &dataSize, nullptr);
    if (faceCount == 0 || normalCount == 0) {
        return 1;
    }
    WriteCountLine(faceCount);
    m_faceData.resize(dataSize);
    if (rm::Failed(builder->GetGeometry(nullptr, nullptr, nullptr, nullptr, &dataSize,
                                        m_faceData.data()))) {
        dataSize = 0;
    }
    // Face data: per face its corner count, then (vertex, normal) pairs. Every face has a
    // line, one without corners too ("0;;", as in the face list), so the count stays true.
    std::size_t w = 0;
    for (std::uint32_t written = 1; written <= faceCount && w < dataSize; ++written) {
        const std::uint32_t corners = m_faceData[w];
        m_line.assign(m_indent);
        AppendInt(m_line, corners);
        m_line += ';';
        for (std::uint32_t j = 0; j < corners && w + 2 < dataSize; ++j) {
            w += 2;
            AppendInt(m_line, m_faceData[w]);
            m_line += Separator(j, corners);
        }
        if (corners == 0) {
            m_line += ';';
        }
        m_line += written == faceCount ? ";\n" : ",\n";
        Put(m_line);
        ++w;
    }
    return 1;
}

int CXSave::WriteFaceWraps(rm::MeshBuilder* builder) {
    if (!builder) {
        return 0;
    }
    rm::Ref<rm::Face> face;
    WriteListBlock("MeshFaceWraps", builder->GetFaceCount(), ";;,\n", ";;;\n",
                   [&](std::uint32_t i) {
                       builder->GetFace(i, &face);
                       int wrapU = 0;
                       int wrapV = 0;
                       face->GetTextureTopology(&wrapU, &wrapV);
                       AppendInt(m_line, wrapU);
                       m_line += ";;";
                       AppendInt(m_line, wrapV);
                   });
    return 1;
}

int CXSave::WriteTextureCoords(rm::MeshBuilder* builder) {
    if (!builder) {
        return 0;
    }
    WriteListBlock("MeshTextureCoords", builder->GetVertexCount(), ";\n", ";;\n",
                   [&](std::uint32_t i) {
                       float u = 0;
                       float v = 0;
                       builder->GetTextureCoordinates(i, &u, &v);
                       AppendReals(m_line, {u, v});
                   });
    return 1;
}

int CXSave::Save(const char* fileName, std::uint32_t saveFlags, rm::AnimationSet* animationSet,
                 rm::Frame* rootFrame, TopFrames topFrames) {
    rm::AnimationSet* const sets[] = {animationSet};
    return Save(fileName, saveFlags, sets, rootFrame, topFrames);
}

int CXSave::Save(const char* fileName, std::uint32_t saveFlags,
                 std::span<rm::AnimationSet* const> animationSets, rm::Frame* rootFrame,
                 TopFrames topFrames) {
    if (!m_d3drm || animationSets.empty() ||
        std::find(animationSets.begin(), animationSets.end(), nullptr) != animationSets.end()) {
        return 0;
    }
    if (!OpenFile(fileName)) {
        return 0;
    }
    m_saveFlags = saveFlags;
    m_ticksPerSecond = 0;
    m_hasSkin = false;
    m_carriedDeclarations.clear();
    if (topFrames == TopFrames::ChildrenOfRoot) {
        if (rootFrame) {
            // The root stands for the file: what it keeps is written at the top level.
            CollectDeclarations(rootFrame->CarriedObjects(), &m_carriedDeclarations);
            for (const auto& child : rootFrame->GetChildren()) {
                m_hasSkin = m_hasSkin || HasSkinnedMesh(child.Get());
                CollectDeclarations(child.Get(), &m_carriedDeclarations);
            }
        }
    } else {
        m_hasSkin = HasSkinnedMesh(rootFrame);
        CollectDeclarations(rootFrame, &m_carriedDeclarations);
    }
    for (const rm::AnimationSet* set : animationSets) {
        if (set->TicksPerSecond() != 0) {
            m_ticksPerSecond = set->TicksPerSecond();
            break;
        }
    }
    WriteHeader();
    WriteTicksPerSecond();
    if (topFrames == TopFrames::ChildrenOfRoot) {
        if (rootFrame) {
            WriteCarriedObjects(rootFrame->CarriedObjects());
            for (const auto& child : rootFrame->GetChildren()) {
                WriteFrame(child.Get(), FrameNaming::GenerateMissing);
            }
        }
    } else {
        WriteFrame(rootFrame, FrameNaming::GenerateMissing);
    }
    for (rm::AnimationSet* set : animationSets) {
        WriteAnimationSet(set);
    }
    // Generated names exist only for the file; they go even when the file failed.
    ClearAutoFrameNames(rootFrame);
    return CloseFile();
}

int CXSave::WriteFrame(rm::Frame* frame, FrameNaming naming) {
    if (!frame) {
        return 0;
    }
    if (NameOf(*frame).empty() && naming == FrameNaming::GenerateMissing) {
        // The name makes the frame referable from its animation's "{name}" line.
        std::string generated = kAutoNamePrefix;
        generated += '_';
        AppendInt(generated, m_frameNameCounter++);
        frame->SetName(generated);
    }
    OpenBlock("Frame", NameOf(*frame));
    WriteFrameTransformMatrix(frame);
    WriteCarriedObjects(frame->CarriedObjects());

    for (const auto& visual : frame->GetVisuals()) {
        if (auto* builder = dynamic_cast<rm::MeshBuilder*>(visual.Get())) {
            WriteMesh(builder);
        } else if (auto* mesh = dynamic_cast<rm::Mesh*>(visual.Get())) {
            rm::Ref<rm::MeshBuilder> copy;
            if (m_d3drm) {
                m_d3drm->CreateMeshBuilder(&copy);
            } else {
                copy = rm::MakeRef<rm::MeshBuilder>();
            }
            copy->AddMesh(mesh);
            WriteMesh(copy.Get());
        }
    }
    for (const auto& child : frame->GetChildren()) {
        WriteFrame(child.Get(), naming);
    }
    CloseBlock();
    return 1;
}

int CXSave::WriteFrameTransformMatrix(rm::Frame* frame) {
    if (!frame) {
        return 0;
    }
    OpenInlineBlock("FrameTransformMatrix");
    // The model's own transform, whatever pose the time shown gives the frame.
    WriteMatrix(frame->GetRestTransform());
    CloseBlock();
    return 1;
}

void CXSave::WriteMatrix(const rm::Matrix4& m) {
    WriteLines(4, ",\n", ";;\n", [&](std::uint32_t row) {
        for (int col = 0; col < 4; ++col) {
            AppendReal(m_line, m.m[row][col]);
            if (col < 3) {
                m_line += ',';
            }
        }
    });
}

int CXSave::WriteAnimationSet(rm::AnimationSet* animationSet) {
    if (!m_d3drm || !animationSet) {
        return 0;
    }
    if (animationSet->Animations().empty()) {
        return 1;
    }
    OpenBlock("AnimationSet", NameOf(*animationSet));
    for (std::size_t i = 0; i < animationSet->Animations().size(); ++i) {
        WriteAnimation(animationSet->Animations()[i].Get());
    }
    CloseBlock();
    return 1;
}

int CXSave::WriteAnimation(rm::Animation* animation) {
    if (!m_d3drm || !animation) {
        return 0;
    }
    const rm::Ref<rm::Frame> frame = animation->GetFrame();
    if (!frame) {
        m_line.assign(m_indent);
        m_line.append(reinterpret_cast<const char*>(kNoFrameWarning), sizeof kNoFrameWarning);
        m_line += '\n';
        Put(m_line);
        return 0;
    }
    OpenBlock("Animation", NameOf(*animation));
    const std::string_view frameName = NameOf(*frame);
    if (frameName.empty()) {
        CloseBlock();
        return 0;
    }
    m_line.assign(m_indent);
    m_line += '{';
    m_line += frameName;
    m_line += "}\n";
    Put(m_line);
    WriteOptions(animation->GetOptions());

    std::uint32_t count = 0;
    animation->GetKeys(0, FLT_MAX, &count, nullptr);
    if (count > 0) {
        m_keys.resize(count);
        animation->GetKeys(0, FLT_MAX, &count, m_keys.data());
        WriteKeysOfType(rm::D3DRMANIMATION_ROTATEKEY, count);
        WriteKeysOfType(rm::D3DRMANIMATION_SCALEKEY, count);
        WriteKeysOfType(rm::D3DRMANIMATION_POSITIONKEY, count);
    }
    CloseBlock();
    return 1;
}

void CXSave::WriteOptions(std::uint32_t options) {
    // The file says only open or closed and linear or spline positions; a load without the
    // block gives closed and linear, so only an open or spline animation needs one.
    const bool open = (options & rm::D3DRMANIMATION_OPEN) != 0;
    const bool spline = (options & rm::D3DRMANIMATION_SPLINEPOSITION) != 0;
    if (!open && !spline) {
        return;
    }
    OpenInlineBlock("AnimationOptions");
    WriteCountLine(open ? 1 : 0);
    WriteCountLine(spline ? 0 : 1);
    CloseBlock();
}

void CXSave::WriteKeysOfType(std::uint32_t keyType, std::uint32_t count) {
    // The file holds whole-number times, so of several keys that truncate to one time
    // only the first is kept.
    std::uint32_t kept = 0;
    int lastTime = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        const rm::AnimationKey& key = m_keys[i];
        if (key.dwKeyType != keyType) {
            continue;
        }
        const int t = KeyTime(key.dvTime);
        if (kept == 0 || t != lastTime) {
            ++kept;
            lastTime = t;
        }
    }
    if (kept == 0) {
        return;
    }
    OpenInlineBlock("AnimationKey");
    m_line.assign(m_indent);
    AppendInt(m_line, static_cast<long long>(keyType) - 1);
    m_line += ";\n";
    m_line += m_indent;
    AppendInt(m_line, kept);
    m_line += ";\n";
    Put(m_line);

    std::uint32_t written = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        const rm::AnimationKey& key = m_keys[i];
        if (key.dwKeyType != keyType) {
            continue;
        }
        const int t = KeyTime(key.dvTime);
        if (written > 0 && t == lastTime) {
            continue;
        }
        lastTime = t;
        ++written;
        m_line.assign(m_indent);
        AppendInt(m_line, t);
        if (keyType == rm::D3DRMANIMATION_ROTATEKEY) {
            const rm::Quaternion& q = key.dqRotateKey;
            m_line += "; 4; ";
            AppendReal(m_line, q.s);
            m_line += ", ";
            AppendReal(m_line, q.v.x);
            m_line += ", ";
            AppendReal(m_line, q.v.y);
            m_line += ", ";
            AppendReal(m_line, q.v.z);
        } else {
            const rm::Vector& v = key.dvPositionKey;
            m_line += "; 3; ";
            AppendReal(m_line, v.x);
            m_line += ", ";
            AppendReal(m_line, v.y);
            m_line += ", ";
            AppendReal(m_line, v.z);
        }
        m_line += ";;";
        m_line += written < kept ? ',' : ';';
        m_line += '\n';
        Put(m_line);
    }
    CloseBlock();
}

int CXSave::ClearAutoFrameNames(rm::Frame* frame) {
    if (!frame) {
        return 0;
    }
    if (std::strncmp(frame->Name().c_str(), kAutoNamePrefix, sizeof kAutoNamePrefix - 1) == 0) {
        frame->SetName("");
    }
    for (const auto& child : frame->GetChildren()) {
        ClearAutoFrameNames(child.Get());
    }
    return 1;
}
