#include "gltf/GltfExporter.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonObject>

#include "gltf/RestTransform.h"
#include "platform/framework/DecodeName.h"
#include "platform/rm/AnimationSet.h"
#include "platform/rm/Frame.h"
#include "platform/rm/Material.h"
#include "platform/rm/Math.h"
#include "platform/rm/Mesh.h"
#include "platform/rm/MeshBuilder.h"
#include "platform/rm/Texture.h"
#include "scene/CPartRecord.h"
#include "scene/WeldList.h"

namespace gltf {

namespace {

constexpr std::uint32_t kNoNormal = UINT32_MAX;
/// Weights whose sum differs from 1 by more than this are counted in the skin warning.
constexpr float kWeightSumTolerance = 1e-3f;

/// The name a frame had in its file (its working name carries an "@<id>" suffix).
std::string FileNameOf(const rm::Frame& frame) {
    if (const CPartRecord* record = CPartRecord::Of(&frame)) {
        return record->fileName.value_or(std::string());
    }
    return frame.Name();
}

QString TextOf(const std::string& bytes) {
    return framework::DecodeName(bytes);
}

QJsonArray Array(const float* values, std::size_t count) {
    QJsonArray array;
    for (std::size_t i = 0; i < count; ++i) {
        array.append(double(values[i]));
    }
    return array;
}

float Clamp01(float value) {
    return std::isfinite(value) ? std::clamp(value, 0.0f, 1.0f) : 0.0f;
}

bool IsPng(const QByteArray& bytes) {
    return bytes.startsWith("\x89PNG\r\n\x1a\n");
}

bool IsJpeg(const QByteArray& bytes) {
    return bytes.startsWith("\xff\xd8\xff");
}

QString BareName(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    return TextOf(slash == std::string::npos ? path : path.substr(slash + 1));
}

} // namespace

/// The vertices of one glTF mesh (every primitive shares them) and its triangles by
/// material.
struct GltfExporter::MeshData {
    std::vector<float> positions, normals, texCoords, colors, weights;
    std::vector<std::uint16_t> joints;
    bool hasTexCoords = false;
    bool hasColors = false;
    std::vector<std::pair<int, std::vector<std::uint32_t>>> primitives; // material, indices

    std::uint32_t VertexCount() const { return std::uint32_t(positions.size() / 3); }
    std::vector<std::uint32_t>& IndicesFor(int material) {
        for (auto& [m, indices] : primitives) {
            if (m == material) {
                return indices;
            }
        }
        primitives.emplace_back(material, std::vector<std::uint32_t>());
        return primitives.back().second;
    }
};

/// The joints and weights of one skinned mesh builder, by builder vertex.
struct GltfExporter::SkinData {
    std::vector<int> jointNodes;
    std::vector<rm::Matrix4> inverseBind;
    /// Four joints and four normalised weights per builder vertex.
    std::vector<std::uint16_t> joints;
    std::vector<float> weights;
};

GltfExporter::GltfExporter(ExportOptions options) : m_options(options) {}

void GltfExporter::AddModel(const rm::Frame& root, const scene::WeldList* welds) {
    // Where the welded skin moved a vertex, its rest place is its anchor's, seen from the
    // vertex's own frame at rest.
    if (welds) {
        bool haveAnchor = false;
        rm::Vector anchor;
        for (const auto& record : welds->Records()) {
            const rm::Matrix4 world = RestWorldTransformOf(*record.frame);
            rm::Matrix4 inverse;
            rm::MatrixInvert(world, &inverse);
            for (const auto& meshRecord : record.meshes) {
                for (const auto& entry : meshRecord.vertexEntries) {
                    if (entry.group < 0) {
                        haveAnchor = false;
                        continue;
                    }
                    std::uint32_t index = std::uint32_t(entry.vertex);
                    for (int g = 0; g < entry.group; ++g) {
                        index += std::uint32_t(meshRecord.mesh->GroupVertices(g).size());
                    }
                    rm::MeshVertex vertex;
                    meshRecord.mesh->GetVertices(entry.group, std::uint32_t(entry.vertex), 1,
                                                 &vertex);
                    if (!haveAnchor) {
                        anchor = rm::TransformPoint(vertex.position, world);
                        haveAnchor = true;
                        continue;
                    }
                    m_welded[meshRecord.mesh].emplace_back(index,
                                                           rm::TransformPoint(anchor, inverse));
                }
            }
        }
    }

    for (const auto& child : root.Children()) {
        m_sceneNodes.append(AddNode(*child));
    }
    // Meshes after the whole tree: skins name frames anywhere in it.
    for (std::size_t i = 0; i < m_frames.size(); ++i) {
        AddMeshes(*m_frames[i], int(i));
    }
    if (m_skinWarnings > 0) {
        m_warnings.push_back(std::to_string(m_skinWarnings) +
                             " skinned vertices had more than four weights or weights not "
                             "summing to one: the four largest were kept and normalised");
    }
}

int GltfExporter::AddNode(const rm::Frame& frame) {
    const int index = int(m_frames.size());
    m_frames.push_back(&frame);
    m_nodes.append(QJsonObject());
    m_nodeOfFrame.emplace(&frame, index);
    const std::string name = FileNameOf(frame);
    if (!name.empty()) {
        m_nodeOfName.try_emplace(name, index);
    }
    // Bones may also name a frame by its working base name, as drawing finds them.
    const std::size_t at = frame.Name().rfind('@');
    if (at != std::string::npos) {
        m_nodeOfName.try_emplace(frame.Name().substr(0, at), index);
    }

    QJsonObject node;
    if (!name.empty()) {
        node.insert("name", TextOf(name));
    }
    const Trs trs = TrsOf(RestTransformOf(frame));
    if (trs.translation != Vec3{0, 0, 0}) {
        node.insert("translation", Array(trs.translation.data(), 3));
    }
    if (trs.rotation != Quat{0, 0, 0, 1}) {
        node.insert("rotation", Array(trs.rotation.data(), 4));
    }
    if (trs.scale != Vec3{1, 1, 1}) {
        node.insert("scale", Array(trs.scale.data(), 3));
    }
    QJsonArray children;
    for (const auto& child : frame.Children()) {
        children.append(AddNode(*child));
    }
    if (!children.isEmpty()) {
        node.insert("children", children);
    }
    m_nodes[index] = node;
    return index;
}

void GltfExporter::AddMeshes(const rm::Frame& frame, int node) {
    MeshData rigid;
    std::vector<rm::Ref<rm::MeshBuilder>> copies;
    for (const auto& visual : frame.Visuals()) {
        if (const auto* builder = dynamic_cast<const rm::MeshBuilder*>(visual.Get())) {
            if (builder->HasSkin()) {
                AddSkinnedMesh(frame, *builder);
            } else {
                AppendBuilder(*builder, &rigid, nullptr);
            }
        } else if (const auto* mesh = dynamic_cast<const rm::Mesh*>(visual.Get())) {
            auto copy = rm::MakeRef<rm::MeshBuilder>();
            copy->AddMesh(mesh);
            if (const auto found = m_welded.find(mesh); found != m_welded.end()) {
                for (const auto& [index, p] : found->second) {
                    copy->SetVertex(index, p.x, p.y, p.z);
                }
            }
            AppendBuilder(*copy, &rigid, nullptr);
        }
    }
    if (rigid.primitives.empty()) {
        return;
    }
    QJsonObject object = m_nodes[node].toObject();
    object.insert("mesh", WriteMesh(rigid, TextOf(FileNameOf(frame))));
    m_nodes[node] = object;
}

void GltfExporter::AppendBuilder(const rm::MeshBuilder& builder, MeshData* mesh,
                                 const SkinData* skin) {
    const std::uint32_t vertexCount = builder.GetVertexCount();
    const std::uint32_t normalCount = builder.GetNormalCount();
    const std::uint32_t faceCount = builder.GetFaceCount();
    std::vector<rm::Vector> positions(vertexCount), normals(normalCount);
    std::uint32_t n = vertexCount;
    builder.GetVertices(0, &n, positions.data());
    n = normalCount;
    builder.GetNormals(0, &n, normals.data());

    // One glTF vertex per distinct (vertex, normal) corner; corners without a normal take
    // their face's and are not shared between faces.
    std::vector<std::uint32_t> firstOut(vertexCount, UINT32_MAX), firstNormal(vertexCount);
    std::unordered_map<std::uint64_t, std::uint32_t> more;
    auto vertexFor = [&](std::uint32_t v, std::uint32_t normalIndex, std::uint32_t face,
                         const rm::Vector& faceNormal) -> std::uint32_t {
        if (firstOut[v] != UINT32_MAX && firstNormal[v] == normalIndex &&
            normalIndex != kNoNormal) {
            return firstOut[v];
        }
        const std::uint64_t key = normalIndex != kNoNormal
                                      ? (std::uint64_t(v) << 32) | normalIndex
                                      : (std::uint64_t(1) << 63) | (std::uint64_t(face) << 32) | v;
        if (firstOut[v] != UINT32_MAX) {
            if (const auto found = more.find(key); found != more.end()) {
                return found->second;
            }
        }
        const std::uint32_t out = mesh->VertexCount();
        const Vec3 p = ToGltf(positions[v]);
        mesh->positions.insert(mesh->positions.end(), p.begin(), p.end());
        const Vec3 normal =
            ToGltfNormal(normalIndex != kNoNormal ? normals[normalIndex] : faceNormal);
        mesh->normals.insert(mesh->normals.end(), normal.begin(), normal.end());
        float u = 0, tv = 0;
        builder.GetTextureCoordinates(v, &u, &tv);
        mesh->texCoords.push_back(std::isfinite(u) ? u : 0.0f);
        mesh->texCoords.push_back(std::isfinite(tv) ? tv : 0.0f);
        mesh->hasTexCoords = mesh->hasTexCoords || u != 0 || tv != 0;
        const rm::D3DCOLOR color =
            builder.HasVertexColors() ? builder.GetVertexColor(v) : 0xFFFFFFFF;
        mesh->colors.insert(mesh->colors.end(),
                            {rm::ColorGetRed(color), rm::ColorGetGreen(color),
                             rm::ColorGetBlue(color), rm::ColorGetAlpha(color)});
        mesh->hasColors = mesh->hasColors || builder.HasVertexColors();
        if (skin) {
            mesh->joints.insert(mesh->joints.end(), skin->joints.begin() + std::ptrdiff_t(v) * 4,
                                skin->joints.begin() + std::ptrdiff_t(v) * 4 + 4);
            mesh->weights.insert(mesh->weights.end(), skin->weights.begin() + std::ptrdiff_t(v) * 4,
                                 skin->weights.begin() + std::ptrdiff_t(v) * 4 + 4);
        }
        if (firstOut[v] == UINT32_MAX) {
            firstOut[v] = out;
            firstNormal[v] = normalIndex;
        } else {
            more.emplace(key, out);
        }
        return out;
    };

    std::vector<std::uint32_t> corners;
    for (std::uint32_t f = 0; f < faceCount; ++f) {
        const std::uint32_t count = builder.FaceCornerCount(f);
        if (count < 3) {
            continue;
        }
        rm::Vector faceNormal{0, 1, 0};
        {
            const rm::Vector& a = positions[builder.FaceVertexIndex(f, 0)];
            const rm::Vector& b = positions[builder.FaceVertexIndex(f, 1)];
            const rm::Vector& c = positions[builder.FaceVertexIndex(f, 2)];
            faceNormal = rm::VectorCrossProduct(rm::VectorSubtract(b, a), rm::VectorSubtract(c, a));
        }
        corners.clear();
        for (std::uint32_t c = 0; c < count; ++c) {
            const std::uint32_t ni = builder.FaceNormalIndex(f, c);
            corners.push_back(vertexFor(builder.FaceVertexIndex(f, c),
                                        ni < normalCount ? ni : kNoNormal, f, faceNormal));
        }
        std::vector<std::uint32_t>& indices = mesh->IndicesFor(
            MaterialFor(builder.FaceColor(f), builder.FaceMaterial(f), builder.FaceTexture(f)));
        // A fan, each triangle turned over: the z mirror reverses the winding.
        for (std::uint32_t c = 1; c + 1 < count; ++c) {
            indices.insert(indices.end(), {corners[0], corners[c + 1], corners[c]});
        }
    }
}

int GltfExporter::WriteMesh(const MeshData& mesh, const QString& name) {
    const std::size_t count = mesh.VertexCount();
    QJsonObject attributes{
        {"POSITION",
         m_container.AddFloats(mesh.positions.data(), count, 3, GltfContainer::kArrayBuffer, true)},
        {"NORMAL",
         m_container.AddFloats(mesh.normals.data(), count, 3, GltfContainer::kArrayBuffer, false)},
    };
    if (mesh.hasTexCoords) {
        attributes.insert("TEXCOORD_0", m_container.AddFloats(mesh.texCoords.data(), count, 2,
                                                              GltfContainer::kArrayBuffer, false));
    }
    if (mesh.hasColors) {
        attributes.insert("COLOR_0", m_container.AddFloats(mesh.colors.data(), count, 4,
                                                           GltfContainer::kArrayBuffer, false));
    }
    if (!mesh.joints.empty()) {
        attributes.insert("JOINTS_0", m_container.AddJoints(mesh.joints.data(), count));
        attributes.insert("WEIGHTS_0", m_container.AddFloats(mesh.weights.data(), count, 4,
                                                             GltfContainer::kArrayBuffer, false));
    }
    QJsonArray primitives;
    for (const auto& [material, indices] : mesh.primitives) {
        primitives.append(QJsonObject{
            {"attributes", attributes},
            {"indices", m_container.AddIndices(indices.data(), indices.size(), mesh.VertexCount())},
            {"material", material},
            {"mode", 4}});
    }
    QJsonObject object{{"primitives", primitives}};
    if (!name.isEmpty()) {
        object.insert("name", name);
    }
    m_meshes.append(object);
    return int(m_meshes.size() - 1);
}

void GltfExporter::AddSkinnedMesh(const rm::Frame& frame, const rm::MeshBuilder& builder) {
    const rm::MeshSkin& meshSkin = builder.GetSkin();
    const std::uint32_t vertexCount = builder.GetVertexCount();
    SkinData skin;
    // The influences of each vertex, bones merged by the node they follow.
    struct Influence {
        int joint;
        float weight;
    };
    std::vector<std::vector<Influence>> influences(vertexCount);
    auto jointOf = [&](int node, const rm::Matrix4& inverseBind) {
        const auto found = std::find(skin.jointNodes.begin(), skin.jointNodes.end(), node);
        if (found != skin.jointNodes.end()) {
            return int(found - skin.jointNodes.begin());
        }
        skin.jointNodes.push_back(node);
        skin.inverseBind.push_back(inverseBind);
        return int(skin.jointNodes.size() - 1);
    };
    for (const rm::SkinBone& bone : meshSkin.bones) {
        const int node = NodeOfBone(bone.frameName);
        if (node < 0) {
            m_warnings.push_back("bone '" + TextOf(bone.frameName).toStdString() +
                                 "' names no frame: its weights are left out");
            continue;
        }
        const int joint = jointOf(node, bone.offset);
        for (std::size_t i = 0; i < bone.vertices.size() && i < bone.weights.size(); ++i) {
            const std::uint32_t v = bone.vertices[i];
            const float w = bone.weights[i];
            if (v >= vertexCount || !(w > 0) || !std::isfinite(w)) {
                continue;
            }
            auto& list = influences[v];
            const auto same = std::find_if(list.begin(), list.end(),
                                           [&](const Influence& x) { return x.joint == joint; });
            if (same != list.end()) {
                same->weight += w;
            } else {
                list.push_back({joint, w});
            }
        }
    }
    // A vertex without weight follows the frame that holds the mesh, as a rigid mesh does.
    const int holder = m_nodeOfFrame.at(&frame);
    skin.joints.assign(std::size_t(vertexCount) * 4, 0);
    skin.weights.assign(std::size_t(vertexCount) * 4, 0.0f);
    for (std::uint32_t v = 0; v < vertexCount; ++v) {
        auto& list = influences[v];
        std::sort(list.begin(), list.end(),
                  [](const Influence& a, const Influence& b) { return a.weight > b.weight; });
        float total = 0, kept = 0;
        for (std::size_t i = 0; i < list.size(); ++i) {
            total += list[i].weight;
            if (i < 4) {
                kept += list[i].weight;
            }
        }
        if (list.size() > 4 || (!list.empty() && std::fabs(total - 1.0f) > kWeightSumTolerance)) {
            ++m_skinWarnings;
        }
        if (list.empty() || !(kept > 0)) {
            list.assign(1, {jointOf(holder, rm::MatrixIdentity()), 1.0f});
            kept = 1;
        }
        const std::size_t used = std::min<std::size_t>(list.size(), 4);
        float sum = 0;
        for (std::size_t i = 0; i < used; ++i) {
            skin.joints[v * 4 + i] = std::uint16_t(list[i].joint);
            const float w = i + 1 < used ? list[i].weight / kept : 1.0f - sum;
            skin.weights[v * 4 + i] = w;
            sum += w;
        }
    }

    MeshData data;
    AppendBuilder(builder, &data, &skin);
    if (data.primitives.empty()) {
        return;
    }
    std::vector<float> matrices;
    matrices.reserve(skin.inverseBind.size() * 16);
    for (const rm::Matrix4& m : skin.inverseBind) {
        const auto g = MatrixToGltf(m);
        matrices.insert(matrices.end(), g.begin(), g.end());
    }
    QJsonArray joints;
    for (const int node : skin.jointNodes) {
        joints.append(node);
    }
    m_skins.append(QJsonObject{
        {"joints", joints},
        {"inverseBindMatrices",
         m_container.AddFloats(matrices.data(), skin.inverseBind.size(), 16, 0, false)}});
    const QString name = TextOf(FileNameOf(frame)) + QStringLiteral("_skin");
    const int mesh = WriteMesh(data, name);
    m_nodes.append(QJsonObject{{"name", name}, {"mesh", mesh}, {"skin", int(m_skins.size() - 1)}});
    m_sceneNodes.append(int(m_nodes.size() - 1));
}

int GltfExporter::NodeOfBone(const std::string& name) const {
    const auto found = m_nodeOfName.find(name);
    return found == m_nodeOfName.end() ? -1 : found->second;
}

int GltfExporter::MaterialFor(rm::D3DCOLOR color, const rm::Material* material,
                              const rm::Texture* texture) {
    for (const MaterialKey& key : m_materialKeys) {
        if (key.color == color && key.material == material && key.texture == texture) {
            return key.index;
        }
    }
    const float base[4] = {rm::ColorGetRed(color), rm::ColorGetGreen(color),
                           rm::ColorGetBlue(color), rm::ColorGetAlpha(color)};
    // Specular power p as a roughness: the Blinn-Phong lobe of exponent p matches a
    // microfacet lobe of alpha^2 = 2 / (p + 2), and glTF's roughness is sqrt(alpha).
    const float power = material ? std::max(material->GetPower(), 0.0f) : 0.0f;
    const float roughness = Clamp01(float(std::pow(2.0 / (double(power) + 2.0), 0.25)));
    QJsonObject pbr{{"baseColorFactor", Array(base, 4)},
                    {"metallicFactor", 0.0},
                    {"roughnessFactor", double(roughness)}};
    if (texture) {
        const int index = TextureFor(*texture);
        if (index >= 0) {
            pbr.insert("baseColorTexture", QJsonObject{{"index", index}});
        }
    }
    QJsonObject object{{"pbrMetallicRoughness", pbr}};
    if (material) {
        float e[3];
        material->GetEmissive(&e[0], &e[1], &e[2]);
        for (float& c : e) {
            c = Clamp01(c);
        }
        if (e[0] != 0 || e[1] != 0 || e[2] != 0) {
            object.insert("emissiveFactor", Array(e, 3));
        }
    }
    if (base[3] < 1.0f) {
        object.insert("alphaMode", "BLEND");
    }
    m_materials.append(object);
    m_materialKeys.push_back({color, material, texture, int(m_materials.size() - 1)});
    return m_materialKeys.back().index;
}

int GltfExporter::TextureFor(const rm::Texture& texture) {
    if (const auto found = m_textureIndex.find(&texture); found != m_textureIndex.end()) {
        return found->second;
    }
    // The file's own bytes when glTF takes its format; else the image as read, as PNG.
    QByteArray bytes;
    if (!texture.SourcePath().empty()) {
        QFile file(QString::fromStdString(texture.SourcePath()));
        if (file.open(QIODevice::ReadOnly)) {
            bytes = file.readAll();
        }
    }
    QString fileName =
        BareName(texture.SourcePath().empty() ? texture.Name() : texture.SourcePath());
    QString mime;
    if (IsPng(bytes)) {
        mime = QStringLiteral("image/png");
    } else if (IsJpeg(bytes)) {
        mime = QStringLiteral("image/jpeg");
    } else if (texture.HasImage()) {
        const QImage image(texture.Pixels().data(), texture.Width(), texture.Height(),
                           QImage::Format_RGBA8888);
        bytes.clear();
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        mime = QStringLiteral("image/png");
        fileName = QFileInfo(fileName).completeBaseName() + QStringLiteral(".png");
    } else {
        m_warnings.push_back("texture '" + TextOf(texture.Name()).toStdString() +
                             "' has no image: left out");
        m_textureIndex.emplace(&texture, -1);
        return -1;
    }
    if (fileName.isEmpty() || fileName.startsWith(QLatin1Char('.'))) {
        fileName = QStringLiteral("texture") + fileName;
    }
    const int image = m_container.AddImage(std::move(bytes), mime, fileName);
    m_textures.append(QJsonObject{{"source", image}, {"sampler", 0}});
    const int index = int(m_textures.size() - 1);
    m_textureIndex.emplace(&texture, index);
    return index;
}

void GltfExporter::AddAnimationSet(const rm::AnimationSet& set) {
    const QString name = TextOf(set.Name());
    const double ticksPerSecond =
        set.TicksPerSecond() > 0 ? double(set.TicksPerSecond()) : m_options.ticksPerSecond;
    // glTF times start at 0: a set with keys before 0 is moved as a whole.
    float first = 0;
    for (const auto& animation : set.Animations()) {
        if (!animation->Keys().empty()) {
            first = std::min(first, animation->Keys().front().dvTime);
        }
    }
    if (first < 0) {
        m_warnings.push_back("animation set '" + name.toStdString() + "' has keys before 0: " +
                             "its times start at " + std::to_string(first) + " in the export");
    }
    auto seconds = [&](float time) { return float(double(time - first) / ticksPerSecond); };

    QJsonArray channels, samplers;
    std::vector<bool> targeted(m_frames.size() * 3, false);
    std::vector<float> times, values;
    std::vector<const rm::AnimationKey*> keys;
    for (const auto& animation : set.Animations()) {
        const rm::Ref<rm::Frame> frame = animation->GetFrame();
        const auto found = frame ? m_nodeOfFrame.find(frame.Get()) : m_nodeOfFrame.end();
        if (found == m_nodeOfFrame.end()) {
            continue;
        }
        const int node = found->second;
        const std::uint32_t options = animation->GetOptions();
        const bool spline = (options & rm::D3DRMANIMATION_SPLINEPOSITION) != 0 &&
                            (options & rm::D3DRMANIMATION_LINEARPOSITION) == 0;
        struct Path {
            std::uint32_t type;
            const char* path;
            bool enabled;
        };
        const Path paths[] = {
            {rm::D3DRMANIMATION_ROTATEKEY, "rotation",
             (options & rm::D3DRMANIMATION_SCALEANDROTATION) != 0},
            {rm::D3DRMANIMATION_SCALEKEY, "scale",
             (options & rm::D3DRMANIMATION_SCALEANDROTATION) != 0},
            {rm::D3DRMANIMATION_POSITIONKEY, "translation",
             (options & rm::D3DRMANIMATION_POSITION) != 0},
        };
        for (std::size_t p = 0; p < 3; ++p) {
            const Path& path = paths[p];
            // Keys in time order; of several at one time the first counts, as in a save.
            keys.clear();
            for (const rm::AnimationKey& key : animation->Keys()) {
                if (key.dwKeyType == path.type &&
                    (keys.empty() || seconds(key.dvTime) > seconds(keys.back()->dvTime))) {
                    keys.push_back(&key);
                }
            }
            if (!path.enabled || keys.empty()) {
                continue;
            }
            if (targeted[std::size_t(node) * 3 + p]) {
                m_warnings.push_back("animation set '" + name.toStdString() +
                                     "' drives one frame twice: the second is left out");
                continue;
            }
            targeted[std::size_t(node) * 3 + p] = true;
            times.clear();
            values.clear();
            for (const rm::AnimationKey* key : keys) {
                times.push_back(seconds(key->dvTime));
                if (path.type == rm::D3DRMANIMATION_ROTATEKEY) {
                    Quat q = ToGltf(key->dqRotateKey);
                    // Neighbouring keys on the same side of the sphere: every reader then
                    // turns the short way, as the editor does.
                    if (!values.empty()) {
                        const float* last = &values[values.size() - 4];
                        if (last[0] * q[0] + last[1] * q[1] + last[2] * q[2] + last[3] * q[3] < 0) {
                            for (float& c : q) {
                                c = -c;
                            }
                        }
                    }
                    values.insert(values.end(), q.begin(), q.end());
                } else if (path.type == rm::D3DRMANIMATION_SCALEKEY) {
                    const rm::Vector& s = key->dvScaleKey;
                    values.insert(values.end(), {s.x, s.y, s.z});
                } else {
                    const Vec3 t = ToGltf(key->dvPositionKey);
                    values.insert(values.end(), t.begin(), t.end());
                }
            }
            for (float& v : values) {
                if (!std::isfinite(v)) {
                    v = 0;
                }
            }
            const bool cubic =
                spline && path.type == rm::D3DRMANIMATION_POSITIONKEY && keys.size() > 1;
            if (cubic) {
                // The editor's Catmull-Rom spline as Hermite tangents per second: at key k
                // (p[k+1] - p[k-1]) / 2 per key interval, the ends repeating their key.
                const std::size_t n = times.size();
                std::vector<float> spline3(n * 9, 0.0f);
                for (std::size_t k = 0; k < n; ++k) {
                    const float* prev = &values[(k > 0 ? k - 1 : k) * 3];
                    const float* next = &values[(k + 1 < n ? k + 1 : k) * 3];
                    for (int c = 0; c < 3; ++c) {
                        const float d = (next[c] - prev[c]) * 0.5f;
                        spline3[k * 9 + 3 + std::size_t(c)] = values[k * 3 + std::size_t(c)];
                        if (k > 0) {
                            spline3[k * 9 + std::size_t(c)] = d / (times[k] - times[k - 1]);
                        }
                        if (k + 1 < n) {
                            spline3[k * 9 + 6 + std::size_t(c)] = d / (times[k + 1] - times[k]);
                        }
                    }
                }
                values = std::move(spline3);
            }
            const int input = m_container.AddFloats(times.data(), times.size(), 1, 0, true);
            const int components = path.type == rm::D3DRMANIMATION_ROTATEKEY ? 4 : 3;
            const int output = m_container.AddFloats(
                values.data(), values.size() / std::size_t(components), components, 0, false);
            samplers.append(QJsonObject{{"input", input},
                                        {"output", output},
                                        {"interpolation", cubic ? "CUBICSPLINE" : "LINEAR"}});
            channels.append(
                QJsonObject{{"sampler", int(samplers.size() - 1)},
                            {"target", QJsonObject{{"node", node}, {"path", path.path}}}});
        }
    }
    const bool hasKeys = std::any_of(set.Animations().begin(), set.Animations().end(),
                                     [](const auto& a) { return !a->Keys().empty(); });
    if (channels.isEmpty() && hasKeys) {
        m_warnings.push_back("animation set '" + name.toStdString() +
                             "' has no keys for the model: left out");
    }
    if (channels.isEmpty()) {
        return;
    }
    QJsonObject animation{{"channels", channels}, {"samplers", samplers}};
    if (!name.isEmpty()) {
        animation.insert("name", name);
    }
    m_animations.append(animation);
}

bool GltfExporter::Write(const QString& path, std::string* error) const {
    QJsonObject document{
        {"asset", QJsonObject{{"version", "2.0"}, {"generator", "Pavrix"}}},
        {"scene", 0},
        {"scenes", QJsonArray{QJsonObject{{"nodes", m_sceneNodes}}}},
    };
    auto put = [&](const char* key, const QJsonArray& array) {
        if (!array.isEmpty()) {
            document.insert(key, array);
        }
    };
    put("nodes", m_nodes);
    put("meshes", m_meshes);
    put("materials", m_materials);
    put("textures", m_textures);
    put("skins", m_skins);
    put("animations", m_animations);
    if (!m_textures.isEmpty()) {
        document.insert(
            "samplers",
            QJsonArray{QJsonObject{
                {"magFilter", 9729}, {"minFilter", 9987}, {"wrapS", 10497}, {"wrapT", 10497}}});
    }
    return m_container.Write(path, document, error);
}

} // namespace gltf
