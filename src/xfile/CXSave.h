#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/NonCopyable.h"
#include "platform/rm/CarriedObject.h"
#include "platform/rm/Types.h"
#include "xfile/SafeFileWriter.h"

namespace rm {
class Animation;
class AnimationSet;
class Context;
class Frame;
class MeshBuilder;
} // namespace rm

/// The text .x writer: turns one frame hierarchy with its meshes and its animation sets into
/// a "xof 0303txt 0032" file. Numbers are written with "%d" and "%f" (six decimals, the
/// 32-bit value widened to double, independent of the process locale); names and texture
/// file names are written as the bytes they are, unquoted and unescaped; every line ends
/// in CR LF on every platform.
///
/// The target file is replaced only when the whole file reached the disk: the writer
/// fills a temporary file beside it and renames it over the target in `CloseFile`. A save
/// that cannot complete leaves the previous file byte for byte as it was.
///
/// Short-lived: construct, call `Save` once, destroy. The write operations return 0 when
/// the object they were given is null (nothing is written) and 1 otherwise, including
/// when there was nothing to write. Single-threaded.
class CXSave : private platform::NonCopyable {
public:
    /// Bits of the save flags.
    enum : std::uint32_t {
        kWriteNormals = 1u << 0,
        kWriteTextureCoords = 1u << 1,
        kWriteMaterials = 1u << 2,
        /// Faces are grouped by texture as well, and materials name their texture file.
        kWriteTextureNames = 1u << 3,
        kWriteTemplates = 1u << 4,
        kWriteFaceWraps = 1u << 5,
        /// What the document saves with: normals, texture coordinates, materials, textures.
        kDocumentFlags = kWriteNormals | kWriteTextureCoords | kWriteMaterials | kWriteTextureNames,
    };

    /// `d3drm` is borrowed and never released; it makes the temporary mesh builders for
    /// mesh visuals. `Save`, `WriteAnimationSet` and `WriteAnimation` refuse to work
    /// without it.
    explicit CXSave(rm::Context* d3drm);
    ~CXSave();

    /// Writes `fileName`: the header, the frames (with `childrenOnly` non-zero the
    /// children of `rootFrame` as the top-level frames, else `rootFrame` itself; a null
    /// root writes no frame), then `animationSet`. Unnamed frames are written under
    /// generated names "CXSave_Frame_<n>" (n from 0, depth first), and every frame name
    /// starting with "CXSave_Frame" below and including `rootFrame` is emptied again
    /// before returning. Returns 1 when the file is complete on disk; 0 when `d3drm` or
    /// `animationSet` is null or the file could not be created, written or closed, in
    /// which case the previous file is untouched and `LastError()` says why.
    int Save(const char* fileName, std::uint32_t saveFlags, rm::AnimationSet* animationSet,
             rm::Frame* rootFrame, int childrenOnly);
    /// As above with every set of `animationSets`, each as its own AnimationSet block in
    /// the order given. What the sets carry beyond the keys is written only when present,
    /// so sets without it give the bytes the one-set Save gives: the tick rate of the first
    /// set that has one (AnimTicksPerSecond after the Header, its template with the others
    /// when templates are written) and options that differ from the default
    /// (AnimationOptions). 0, writing nothing, when the list is empty or holds a null set.
    int Save(const char* fileName, std::uint32_t saveFlags,
             std::span<rm::AnimationSet* const> animationSets, rm::Frame* rootFrame,
             int childrenOnly);

    /// Starts writing `fileName` (into a temporary file beside it) and resets the
    /// generated-name counter. 0 when the file cannot be created.
    int OpenFile(const char* fileName);
    /// Finishes the file and puts it in place of the target. 1 when everything written
    /// since `OpenFile` is on disk under the target's name; 0 otherwise (the target is
    /// untouched). Also 0 when no file is open.
    int CloseFile();

    /// One level deeper: the indent becomes one more space.
    void Indent();
    /// One level shallower, never below 0.
    void Unindent();
    int IndentLevel() const { return m_indentLevel; }

    void SetSaveFlags(std::uint32_t flags) { m_saveFlags = flags; }
    std::uint32_t GetSaveFlags() const { return m_saveFlags; }

    /// The magic line, the templates when `kWriteTemplates` is set, and the Header object.
    /// When `Save` found skin weights in the tree, XSkinMeshHeader's and SkinWeights'
    /// templates follow the others; with a tick rate set, the templates end with
    /// AnimTicksPerSecond's.
    int WriteHeader();
    /// Ticks per second the file declares; 0 (the start value) declares none.
    void SetTicksPerSecond(std::uint32_t ticks) { m_ticksPerSecond = ticks; }
    /// The AnimTicksPerSecond object; nothing without a tick rate.
    int WriteTicksPerSecond();
    /// One Mesh block with the parts the save flags ask for, then its kept data objects.
    int WriteMesh(rm::MeshBuilder* builder);
    int WriteVertices(rm::MeshBuilder* builder);
    int WriteFaces(rm::MeshBuilder* builder);
    int WriteMaterialList(rm::MeshBuilder* builder);
    /// MeshNormals with the face normals (`WriteFaceNormals`); nothing without normals.
    int WriteNormals(rm::MeshBuilder* builder);
    int WriteFaceNormals(rm::MeshBuilder* builder);
    int WriteFaceWraps(rm::MeshBuilder* builder);
    int WriteTextureCoords(rm::MeshBuilder* builder);
    /// MeshVertexColors with one colour per vertex; nothing for a mesh without vertex
    /// colours. Written whatever the save flags, as the mesh's last part.
    int WriteVertexColors(rm::MeshBuilder* builder);
    /// XSkinMeshHeader (the bone count as the mesh has bones now) and one SkinWeights per
    /// bone; nothing for a mesh without skin weights. Written whatever the save flags,
    /// after the vertex colours.
    int WriteSkinWeights(rm::MeshBuilder* builder);

    /// Data objects the reader kept without interpreting them (rm::CarriedObject), each
    /// after an empty line at the present indent, as the file held them. Their template
    /// declarations are written with the others by WriteHeader, once each, when `Save`
    /// found such objects in what it writes; a file without them is written as before.
    int WriteCarriedObjects(const std::vector<rm::CarriedObject>& objects);

    /// One Frame block: transform, kept data objects, meshes, then the children,
    /// recursively. With `autoName` an unnamed frame is given the next generated name first.
    int WriteFrame(rm::Frame* frame, int autoName);
    int WriteFrameTransformMatrix(rm::Frame* frame);
    /// One AnimationSet block; nothing at all for a set without animations.
    int WriteAnimationSet(rm::AnimationSet* animationSet);
    /// One Animation block with its options (only when a load would not give them without
    /// the block) and its keys. 0 when the animation drives no frame (a warning comment is
    /// written instead of the block) or an unnamed one (the block is empty).
    int WriteAnimation(rm::Animation* animation);
    /// Empties every name starting with "CXSave_Frame" in the tree below and including
    /// `frame`.
    int ClearAutoFrameNames(rm::Frame* frame);

    /// Why the last `OpenFile` or `CloseFile` failed (file name and system reason).
    const std::string& LastError() const { return m_file.Error(); }
    /// Test seam: replaces the function that writes the file's bytes (see SafeFileWriter).
    void SetWriteFunction(SafeFileWriter::WriteFunction write);

private:
    void Put(std::string_view text) { m_file.Write(text); }
    /// Writes the empty line and "<indent><keyword>[ <name>] {", then indents.
    void OpenBlock(std::string_view keyword, std::string_view name);
    /// Writes "<indent><keyword> {" without the empty line, then indents.
    void OpenInlineBlock(std::string_view keyword);
    void CloseBlock();
    void WriteOptions(std::uint32_t options);
    void WriteKeysOfType(std::uint32_t keyType, std::uint32_t count);
    /// "<indent><count>;" on a line of its own.
    void WriteCountLine(std::uint32_t count);
    /// The count line, then the first `count` vectors of m_vectors one per line.
    void WriteVectorList(std::uint32_t count);
    /// The vertices of `builder`, or its normals in a MeshNormals block with the face normals
    /// (WriteVertices and WriteNormals).
    int WriteVectorsOf(rm::MeshBuilder* builder, bool normals);
    /// `"<text>";` on a line of its own.
    void WriteStringLine(std::string_view text);
    /// `count` lines, each the indent, what appendItem(i) adds to m_line, and `between`
    /// (the last one `last`).
    template <typename AppendItem>
    void WriteLines(std::uint32_t count, std::string_view between, std::string_view last,
                    AppendItem appendItem) {
        for (std::uint32_t i = 0; i < count; ++i) {
            m_line.assign(m_indent);
            appendItem(i);
            m_line += i + 1 < count ? between : last;
            Put(m_line);
        }
    }
    /// The block `keyword` with the count line and WriteLines' lines; nothing when count is 0.
    template <typename AppendItem>
    void WriteListBlock(std::string_view keyword, std::uint32_t count, std::string_view between,
                        std::string_view last, AppendItem appendItem) {
        if (count == 0) {
            return;
        }
        OpenBlock(keyword, {});
        WriteCountLine(count);
        WriteLines(count, between, last, appendItem);
        CloseBlock();
    }
    /// Four lines of four values, as FrameTransformMatrix and SkinWeights hold them.
    void WriteMatrix(const rm::Matrix4& m);

    rm::Context* m_d3drm; // borrowed
    SafeFileWriter m_file;
    std::uint32_t m_saveFlags = 0;
    std::uint32_t m_ticksPerSecond = 0;
    bool m_hasSkin = false; // some mesh of the tree being saved has skin weights
    // The declarations the kept data objects of the tree being saved need, once each.
    std::vector<std::string> m_carriedDeclarations;
    std::string m_line;
    std::string m_indent;
    int m_indentLevel = 0;
    int m_frameNameCounter = 0;
    // Per-block buffers, reused from block to block.
    std::vector<rm::Vector> m_vectors;
    std::vector<std::uint32_t> m_faceData;
    std::vector<rm::AnimationKey> m_keys;
};
