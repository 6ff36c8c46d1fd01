#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include <QJsonArray>
#include <QString>

#include "gltf/GltfContainer.h"
#include "gltf/GltfSpace.h"
#include "platform/rm/Types.h"

namespace rm {
class AnimationSet;
class Frame;
class Material;
class MeshBuilder;
class Texture;
} // namespace rm

namespace scene {
class WeldList;
} // namespace scene

namespace gltf {

/// What the export needs that the file may not say.
struct ExportOptions {
    /// Key-time units per second for animation sets whose file declares no
    /// AnimTicksPerSecond: the editor's play speed (30, its "1/30" entry, on the command
    /// line).
    double ticksPerSecond = 30;
    /// Only the current animation set instead of every set of the character.
    bool currentSetOnly = false;
};

/// Turns one model (a frame tree, its meshes, materials, textures and skins) and its
/// animation sets into a glTF 2.0 asset. Frames become nodes with their rest transforms
/// (see RestTransform.h) and their names as UTF-8 (decoded from code page 932 where the
/// bytes are not UTF-8); every set becomes one animation. Coordinates are converted as
/// GltfSpace.h says.
///
/// Skinned meshes hang from nodes of their own at the top of the scene, named after the
/// frame that holds them with "_skin" appended: glTF ignores a skinned mesh's node
/// transform, so it must not sit in the tree. Short-lived: add the model, the sets, write.
class GltfExporter {
public:
    explicit GltfExporter(ExportOptions options = {});

    /// The children of `root` become the scene's top-level nodes. `welds` (may be null)
    /// are the welds of the model's morphing skin: a welded vertex is written where its
    /// part holds it at rest, so the welded skin goes across as the rigid parts it is
    /// made of. Call once, before AddAnimationSet.
    void AddModel(const rm::Frame& root, const scene::WeldList* welds);
    /// One animation named after the set, with a channel per keyed component of each of
    /// its animations that drives a frame of the model. A set without such keys is left
    /// out (with a warning): glTF has no empty animation.
    void AddAnimationSet(const rm::AnimationSet& set);
    /// Writes the asset (see GltfContainer::Write).
    bool Write(const QString& path, std::string* error) const;

    /// What was changed or left out on the way, one line each.
    const std::vector<std::string>& Warnings() const { return m_warnings; }

private:
    struct MeshData;
    struct SkinData;
    int AddNode(const rm::Frame& frame);
    void AddMeshes(const rm::Frame& frame, int node);
    void AppendBuilder(const rm::MeshBuilder& builder, MeshData* mesh, const SkinData* skin);
    int WriteMesh(const MeshData& mesh, const QString& name);
    void AddSkinnedMesh(const rm::Frame& frame, const rm::MeshBuilder& builder);
    int MaterialFor(rm::D3DCOLOR color, const rm::Material* material, const rm::Texture* texture);
    int TextureFor(const rm::Texture& texture);
    /// The node of the frame a bone names (the first in depth-first order), or -1.
    int NodeOfBone(const std::string& name) const;

    ExportOptions m_options;
    GltfContainer m_container;
    QJsonArray m_nodes;
    QJsonArray m_sceneNodes;
    QJsonArray m_meshes;
    QJsonArray m_materials;
    QJsonArray m_textures;
    QJsonArray m_skins;
    QJsonArray m_animations;
    std::vector<const rm::Frame*> m_frames; // by node index
    std::unordered_map<const rm::Frame*, int> m_nodeOfFrame;
    std::unordered_map<std::string, int> m_nodeOfName;
    std::unordered_map<const rm::Texture*, int> m_textureIndex;
    struct MaterialKey {
        rm::D3DCOLOR color;
        const rm::Material* material;
        const rm::Texture* texture;
        int index;
    };
    std::vector<MaterialKey> m_materialKeys;
    /// Rest positions of welded vertices, by mesh: (vertex as numbered across its groups,
    /// position in the mesh's frame).
    std::unordered_map<const void*, std::vector<std::pair<std::uint32_t, rm::Vector>>> m_welded;
    std::uint32_t m_skinWarnings = 0;
    std::vector<std::string> m_warnings;
};

} // namespace gltf
