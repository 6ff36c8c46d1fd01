#pragma once

#include <cstddef>
#include <cstdint>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rm/Implementation/SecondThread.h"
#include "platform/rm/Implementation/XFileDocument.h"
#include "platform/rm/Implementation/XFileReadOptions.h"

namespace rm {

/// Turns the tokens of a .x file into an XFileDocument. Knows the objects the scene needs
/// (Frame, FrameTransformMatrix, Mesh and its MeshNormals, MeshTextureCoords,
/// MeshVertexColors, MeshFaceWraps, MeshMaterialList, XSkinMeshHeader, SkinWeights,
/// Material, TextureFilename, AnimationSet, Animation, AnimationKey, AnimationOptions,
/// AnimTicksPerSecond; keywords compared without regard to case) and steps over templates
/// and every other object. The full read (readMeshes) keeps the text of the template
/// declarations and of the objects of unknown templates at the top level and in frames and
/// meshes, so they can be written back.
///
/// Skin weights are the one exception to failing: a SkinWeights or XSkinMeshHeader that
/// cannot be read, a weight whose vertex index is out of range and a bone that names no
/// frame of the file are left out with a warning in the mesh's `warnings`, and the rest of
/// the file is read as usual.
///
/// Every count is checked against what the rest of the content can hold before anything
/// is allocated for it, every vertex, normal and material index against its list, frames
/// nest at most kMaxFrameDepth deep, and {references} are resolved by name once the whole
/// file is read. Failures throw XFileError (see XFileReader for the entry point).
///
/// Tokenizer is XFileTextTokenizer or XFileBinaryTokenizer.
template <typename Tokenizer>
class XFileParser {
public:
    static constexpr int kMaxFrameDepth = 128;

    /// `tokenizer` and `document` are borrowed for the parser's lifetime.
    XFileParser(Tokenizer& tokenizer, XFileDocument* document, XFileReadOptions options = {})
        : m_tok(tokenizer), m_doc(*document), m_options(options) {}

    /// Reads the whole content into the document.
    void Parse();

private:
    enum class Keyword {
        Unknown,
        Frame,
        FrameTransformMatrix,
        Mesh,
        MeshNormals,
        MeshTextureCoords,
        MeshVertexColors,
        MeshFaceWraps,
        MeshMaterialList,
        XSkinMeshHeader,
        SkinWeights,
        Material,
        TextureFilename,
        AnimationSet,
        Animation,
        AnimationKey,
        AnimationOptions,
        AnimTicksPerSecond,
    };
    /// A {name} found before the object it names may have been read.
    struct PendingReference {
        std::string name;
        std::size_t position = 0;
        std::uint32_t owner = 0; ///< frame or mesh index
        std::uint32_t slot = 0;  ///< index in the owner's list
    };

    /// What reading one mesh apart from the document gives: the mesh (meshes[0]) with the
    /// materials it defines, its pending references, and where its '}' ended.
    struct MeshApart {
        XFileDocument document;
        std::vector<PendingReference> materialReferences;
        std::vector<PendingReference> boneNames;
        std::size_t end = 0;
    };
    /// A mesh being read on the second thread: its place in the document, and where
    /// stepping over it ended.
    struct AsideMesh {
        std::uint32_t index = 0;
        std::size_t end = 0;
        std::future<MeshApart> read;
    };
    /// A mesh read aside ended elsewhere than stepping over it did: the file is read
    /// again with every mesh in turn.
    struct ReadAgainInOrder {};

    static Keyword Classify(std::string_view word);
    /// The top-level objects through the end of the content.
    void ParseObjects();
    /// After a keyword: the optional name and the '{'. Returns the name (may be empty).
    std::string_view OpenObject(std::string_view keyword);
    /// Steps over the rest of an object whose keyword was just read.
    void SkipObject(std::string_view keyword);
    /// The same, keeping the object's text in *kept when the full read steps over an object
    /// of a template it does not know; returns whether it kept it.
    bool SkipAndKeep(std::string_view keyword, XFileDocument::Carried* kept);
    /// Reads to the object's '}', stepping over any child objects and references.
    void CloseObject(std::string_view what);
    /// Reads the rest of an object's body through its '}' (`closing` names that brace in
    /// errors): each `{reference}` is read and handed to onReference, each child object's
    /// keyword to onChild, which opens and reads the child or skips it. Anything else
    /// fails as "expected `unexpected`".
    template <typename OnReference, typename OnChild>
    void ReadBody(std::string_view closing, std::string_view unexpected, OnReference onReference,
                  OnChild onChild);

    void ParseTopLevel(std::string_view keyword);
    std::uint32_t ParseFrame(std::string_view name, int depth);
    void ParseMatrix(Matrix4* matrix);
    void ReadMatrixValues(Matrix4* matrix);
    std::uint32_t ParseMesh(std::string_view name);
    void ParseMeshNormals(XFileDocument::Mesh& mesh);
    void ParseTextureCoords(XFileDocument::Mesh& mesh);
    void ParseVertexColors(XFileDocument::Mesh& mesh);
    void ParseFaceWraps(XFileDocument::Mesh& mesh);
    void ParseMaterialList(XFileDocument::Mesh& mesh);
    void ParseSkinMeshHeader(XFileDocument::Mesh& mesh);
    void ParseSkinWeights(XFileDocument::Mesh& mesh);
    /// Runs `read` on an object just opened; when it fails on the file's content, the
    /// failure becomes a warning of `mesh` ("; <consequence>" after it) and the rest of the
    /// object is stepped over.
    template <typename Read>
    void ReadOrWarn(XFileDocument::Mesh& mesh, std::string_view consequence, Read read);
    /// The header's counts when the file has none: the most bones of one vertex and of
    /// one face.
    static void CountSkinWeights(XFileDocument::Mesh& mesh);
    /// Leaves out the bones that name no frame of the file, with a warning each.
    void CheckBoneNames();
    static void Warn(XFileDocument::Mesh& mesh, std::string_view line);
    std::uint32_t ParseMaterial(std::string_view name);
    void ParseAnimationSet(std::string_view name, int depth);
    void ParseAnimation(XFileDocument::Animation& animation, int depth);
    void ParseAnimationKey(XFileDocument::Animation& animation);
    void ParseAnimationOptions(XFileDocument::Animation& animation);
    /// An AnimTicksPerSecond is read wherever it stands (the first one counts); any other
    /// object whose keyword was just read is stepped over.
    void ReadTicksOrSkip(std::string_view keyword);
    void ResolveReferences();
    /// Points each reference's slot (owners[owner].*list)[slot] at the object of `objects`
    /// it names; fails at the first name no object has. `kind` names the objects.
    template <typename Object, typename Owner>
    void ResolveByName(const std::vector<Object>& objects, std::string_view kind,
                       const std::vector<PendingReference>& references, std::vector<Owner>& owners,
                       std::vector<std::uint32_t> Owner::*list);

    /// A count whose items need at least valuesPerItem values each, checked against the
    /// content left.
    [[gnu::always_inline]] inline std::uint32_t ReadCount(std::string_view what,
                                                          std::size_t valuesPerItem);
    /// A count, then that many vectors of three values.
    [[gnu::always_inline]] inline void
    ReadVectors(std::string_view countWhat, std::string_view what, std::vector<Vector>* vectors);
    /// A count as ReadCount that may not exceed `most` (`items` names what is counted).
    std::uint32_t ReadCountAtMost(std::string_view what, std::size_t valuesPerItem,
                                  std::size_t most, std::string_view items);
    /// An index that must be below limit; `list` names what it indexes in the message.
    [[gnu::always_inline]] inline std::uint32_t ReadIndex(std::string_view what,
                                                          std::uint32_t limit,
                                                          std::string_view list,
                                                          bool mayPrecedeReference = false);

    /// A Mesh whose keyword was just read: parsed, or skipped when meshes are not read.
    /// Returns the mesh index, or -1 when skipped.
    std::int64_t ReadMeshObject(std::string_view keyword);
    /// A Mesh whose '{' was just read, with a second thread: a large one is stepped over
    /// and read there while the file goes on here; while one is being read there, the next
    /// is read here apart and both are taken in the file's order. Returns the mesh index.
    std::uint32_t ReadMeshAside(std::string_view name);
    /// Reads the Mesh `name` whose content starts where `tokenizer` stands, into a
    /// document of its own.
    static MeshApart ReadMeshApart(Tokenizer tokenizer, std::string_view name,
                                   XFileReadOptions options);
    /// Waits for the mesh being read aside, if any, and takes it into the document; its
    /// failure is thrown here, being earlier in the file than anything read since.
    void TakeAside();
    /// Puts a mesh read apart at `index`, its materials after the document's and its
    /// references with the document's.
    void TakeApart(MeshApart&& apart, std::uint32_t index);

    Tokenizer& m_tok;
    XFileDocument& m_doc;
    XFileReadOptions m_options;
    std::vector<PendingReference> m_meshReferences;     // owner: frame
    std::vector<PendingReference> m_materialReferences; // owner: mesh
    std::vector<PendingReference> m_boneNames;          // owner: mesh, slot: bone
    // The mesh being read: its XSkinMeshHeader's bone count (-1 without one), where that
    // stands, and how many SkinWeights it holds.
    std::int64_t m_skinHeaderBones = -1;
    std::size_t m_skinHeaderPosition = 0;
    std::uint32_t m_skinWeightsRead = 0;
    // The thread meshes are read aside on, started with the first such mesh; declared
    // before m_aside so that it outlives any read still under way.
    std::unique_ptr<SecondThread> m_second;
    std::optional<AsideMesh> m_aside;
};

} // namespace rm
