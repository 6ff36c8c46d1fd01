#pragma once

// What the .x reader keeps of a file before any scene object is made: plain data, every
// index already checked against the counts it refers to, every reference resolved. Building
// scene objects from it cannot fail, so a load either attaches everything or nothing.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/rm/MeshSkin.h"
#include "platform/rm/Types.h"
#include "platform/rm/XFileFormat.h"

namespace rm {

/// The parsed content of one .x file.
struct XFileDocument {
    struct Material {
        std::string name;
        float faceColor[4] = {1, 1, 1, 1}; ///< red, green, blue, alpha in 0..1
        float power = 0;
        float specular[3] = {0, 0, 0};
        float emissive[3] = {0, 0, 0};
        bool hasTexture = false;
        /// The TextureFilename string's bytes exactly as in the file.
        std::string textureFileName;
    };

    /// A data object the reader does not interpret, kept with its text (see CarriedObject).
    struct Carried {
        std::string templateName;
        std::string text;
    };

    /// A template declaration of the file, as text.
    struct Template {
        std::string name;
        std::string text;
    };

    struct VertexColor {
        std::uint32_t vertex = 0;
        float rgba[4] = {1, 1, 1, 1};
    };

    struct Mesh {
        std::string name;
        std::vector<Vector> positions;
        /// Corner count of each face; the corners of face f follow those of faces 0..f-1
        /// in faceVertices (and in faceNormals for the faces that have normals).
        std::vector<std::uint32_t> faceSizes;
        std::vector<std::uint32_t> faceVertices;
        std::vector<Vector> normals;
        /// Faces 0..faceNormalCount-1 carry normal indices (MeshNormals' face list may be
        /// shorter than the face list; later faces have none).
        std::uint32_t faceNormalCount = 0;
        std::vector<std::uint32_t> faceNormals;
        /// u, v per vertex for the first texCoords.size() / 2 vertices.
        std::vector<float> texCoords;
        std::vector<VertexColor> vertexColors;
        /// Bit 0 wrap u, bit 1 wrap v, for the first faceWraps.size() faces.
        std::vector<std::uint8_t> faceWraps;
        bool hasMaterialList = false;
        /// Indices into `materials` below, one per face (empty without a material list).
        std::vector<std::uint32_t> faceMaterials;
        /// Indices into XFileDocument::materials, in the list's order.
        std::vector<std::uint32_t> materials;
        /// XSkinMeshHeader and SkinWeights, indices checked; empty for a rigid mesh.
        MeshSkin skin;
        /// The mesh's data objects of other templates, in file order.
        std::vector<Carried> carried;
        /// What was left out of the skin and why, one line each ("<file>:<place>: ..."),
        /// or empty. Reported by the loads that build this mesh.
        std::string warnings;
    };

    struct Frame {
        std::string name;
        Matrix4 transform;
        /// Indices into meshes, inline meshes and references in file order.
        std::vector<std::uint32_t> meshes;
        /// Indices into frames.
        std::vector<std::uint32_t> children;
        /// The frame's data objects of other templates, in file order.
        std::vector<Carried> carried;
    };

    struct Animation {
        std::string name;
        /// The frame named by a {reference}; used when inlineFrame is absent.
        std::string frameName;
        bool hasFrameReference = false;
        /// Index into frames of a Frame written inside the animation, or -1.
        std::int64_t inlineFrame = -1;
        /// D3DRMANIMATION_* bits (kDefaultAnimationOptions when the file names none).
        std::uint32_t options = kDefaultAnimationOptions;
        /// Keys in file order, types 1 rotation, 2 scale, 3 position; matrix keys are
        /// already split into the three.
        std::vector<AnimationKey> keys;
    };

    struct AnimationSet {
        std::string name;
        std::vector<Animation> animations;
    };

    /// Top-level Frame or Mesh, in file order.
    struct TopLevelItem {
        bool isFrame = true;
        std::uint32_t index = 0; ///< into frames or meshes
    };

    XFileFormat format = XFileFormat::Text;
    std::vector<Material> materials;
    std::vector<Mesh> meshes;
    std::vector<Frame> frames;
    std::vector<TopLevelItem> topLevel;
    /// Indices of the meshes some frame shows (inline or by reference).
    std::vector<bool> meshUsedByFrame;
    std::vector<AnimationSet> animationSets;
    /// Top-level data objects of other templates (not Header), in file order, and the
    /// file's template declarations. Kept by the full read only (readMeshes).
    std::vector<Carried> carried;
    std::vector<Template> templates;
    bool hasTicksPerSecond = false;
    std::uint32_t ticksPerSecond = 0;
    /// The meshes' data is here: they were read (not stepped over) and have not been moved
    /// into mesh builders since (XFileSceneBuilder takes it rather than copying it).
    bool hasMeshData = true;
};

} // namespace rm
