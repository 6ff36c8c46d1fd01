#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/rm/Animation.h"
#include "platform/rm/AnimationSet.h"
#include "platform/rm/CarriedObject.h"
#include "platform/rm/Frame.h"
#include "platform/rm/Implementation/XFileDocument.h"
#include "platform/rm/Material.h"
#include "platform/rm/MeshBuilder.h"
#include "platform/rm/Ref.h"
#include "platform/rm/Texture.h"

namespace rm {

/// Makes scene objects from a parsed .x file. The document is already checked, so nothing
/// here fails on account of the file; the only problems left are texture images that
/// cannot be found or read, which are collected as warnings with those the reader left in
/// the meshes it makes (skin weights left out).
///
/// Sharing follows the file: one mesh builder per Mesh (a Mesh shown by several frames is
/// the same builder), one Material per Material, one Texture per distinct texture file
/// name. Nothing made here is attached to anything the caller already holds.
///
/// A mesh's arrays are moved from the document into the first mesh builder made of it, not
/// copied (document.hasMeshData turns false); a later builder of the same mesh copies that
/// first one. Frames, materials and animations are only read.
class XFileSceneBuilder {
public:
    struct Options {
        /// Read texture images with stb_image; off, textures get their names only.
        bool loadTextureImages = true;
        /// Where texture images named by a relative path are looked for; empty: the
        /// current directory.
        std::string textureDirectory;
    };

    /// `document` is borrowed for the builder's lifetime; `fileName` prefixes warnings.
    XFileSceneBuilder(XFileDocument& document, std::string_view fileName, Options options);

    /// True when the file has at least one top-level Frame.
    bool HasTopLevelFrame() const;
    /// The top-level frames (names, matrices exactly as read, meshes, children) and an
    /// unnamed frame around each top-level Mesh that no frame shows, in file order.
    std::vector<Ref<Frame>> BuildTopLevelFrames();

    /// The Mesh a bare-mesh load takes: the first top-level one, else the first one of
    /// the file; -1 when the file has none.
    std::int64_t FirstMesh() const;
    /// Replaces the content of `builder` with Mesh `mesh` of the document (the builder
    /// holds on to `builder` as that mesh's).
    void FillMeshBuilder(std::uint32_t mesh, MeshBuilder* builder);

    /// The animations of animation set `set`, each driving its frame. The file's frames
    /// (names and matrices, without meshes) are made as children of `root`; an animation
    /// naming a frame the file lacks gets a new frame of that name under `root`. Each call
    /// makes new frames, so the sets of one file can be built one after the other.
    std::vector<Ref<Animation>> BuildAnimations(std::uint32_t set, Frame* root);

    /// The file's top-level data objects of templates the reader does not interpret, with
    /// their template declarations.
    std::vector<CarriedObject> TopLevelCarriedObjects() { return Carry(m_doc.carried); }

    /// Texture and skin weight problems, one per line, each starting with the file name;
    /// empty when none.
    const std::string& Warnings() const { return m_warnings; }

private:
    Ref<Frame> BuildFrame(std::uint32_t index, bool withMeshes);
    Ref<MeshBuilder> BuilderFor(std::uint32_t mesh);
    Material* MaterialFor(std::uint32_t material);
    Texture* TextureFor(const std::string& fileName);
    std::string TexturePath(const std::string& fileName) const;
    void RememberNames(Frame* frame);
    /// The document's kept objects as the scene keeps them, each with the declarations
    /// of its template and of the non-standard templates that one uses.
    std::vector<CarriedObject> Carry(const std::vector<XFileDocument::Carried>& objects);
    /// Those declarations for one template (computed once per template).
    const std::vector<std::string>& DeclarationsFor(const std::string& templateName);
    /// Appends lines to Warnings().
    void AddWarning(std::string_view lines);

    XFileDocument& m_doc;
    std::string m_fileName;
    Options m_options;
    std::vector<Ref<MeshBuilder>> m_builders; // by mesh index: the one holding its data
    std::vector<Ref<Material>> m_materials;   // by material index
    std::vector<Ref<Frame>> m_frames;         // by frame index, for animations
    std::unordered_map<std::string, Ref<Texture>> m_textures;
    std::unordered_map<std::string, Frame*> m_framesByName; // borrowed from the tree
    std::string m_warnings;
    std::unordered_map<std::string, std::vector<std::string>> m_declarations;
};

} // namespace rm
