#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "platform/Assert.h"
#include "platform/rm/CarriedObject.h"
#include "platform/rm/MeshSkin.h"
#include "platform/rm/Ref.h"
#include "platform/rm/Visual.h"

namespace rm {

class Face;
class Material;
class Mesh;
class Texture;

/// An editable polygon mesh: vertex positions, a separate normal list, per-vertex
/// texture coordinates (and optional colours), and polygon faces whose corners each name
/// a vertex and a normal. Each face carries its own colour, material, texture and
/// texture wrap flags. Faces keep their polygon size.
class MeshBuilder : public Visual {
public:
    MeshBuilder();
    ~MeshBuilder() override;
    const char* ClassName() const override { return "Builder"; }

    /// Loads the bare mesh of a .x file (or the first mesh found in it). Texture images as
    /// for Frame::Load.
    HRESULT Load(const char* fileName, const char* textureDirectory = nullptr);

    // Vertices.
    std::uint32_t GetVertexCount() const { return std::uint32_t(m_positions.size()); }
    /// Copies positions [start, start + *count) (clipped to the vertex count) and
    /// writes back how many were copied.
    HRESULT GetVertices(std::uint32_t start, std::uint32_t* count, Vector* out) const;
    /// Appends a vertex (texture coordinates 0, 0) and returns its index.
    std::uint32_t AddVertex(float x, float y, float z);
    HRESULT SetVertex(std::uint32_t index, float x, float y, float z);
    HRESULT GetTextureCoordinates(std::uint32_t index, float* u, float* v) const;
    HRESULT SetTextureCoordinates(std::uint32_t index, float u, float v);
    /// Per-vertex colours; a builder without them colours vertices by their faces, one with
    /// them tints each face's colour by its corners' colours (channel by channel).
    bool HasVertexColors() const { return !m_vertexColors.empty(); }
    D3DCOLOR GetVertexColor(std::uint32_t index) const;
    HRESULT SetVertexColor(std::uint32_t index, D3DCOLOR color);

    // Normals.
    std::uint32_t GetNormalCount() const { return std::uint32_t(m_normals.size()); }
    HRESULT GetNormals(std::uint32_t start, std::uint32_t* count, Vector* out) const;
    std::uint32_t AddNormal(float x, float y, float z);

    // Faces.
    std::uint32_t GetFaceCount() const { return std::uint32_t(m_faceStart.size()); }
    /// A handle on face `index` that reads and writes this builder's data.
    HRESULT GetFace(std::uint32_t index, Ref<Face>* face);
    /// Appends a polygon. normalIndices may be null (no normals) or hold `count` indices.
    /// Indices are not checked here; the loader checks them.
    std::uint32_t AddFace(std::uint32_t count, const std::uint32_t* vertexIndices,
                          const std::uint32_t* normalIndices);
    /// Platform-style bulk add: appends the vertices and normals, then the faces of
    /// faceData: per face a count n, then n vertex indices (no normals given) or n
    /// (vertex, normal) pairs, indices relative to the vertices/normals added here; a 0
    /// ends the list. Faces get white, no material.
    HRESULT AddFaces(std::uint32_t vertexCount, const Vector* vertices, std::uint32_t normalCount,
                     const Vector* normals, const std::uint32_t* faceData);
    /// Counts, and with non-null arrays the data: positions, normals and the face data
    /// (per face n and n (vertex, normal) pairs, then a terminating 0). *faceDataSize is
    /// in 32-bit words and includes the terminator.
    HRESULT GetGeometry(std::uint32_t* vertexCount, Vector* vertices, std::uint32_t* normalCount,
                        Vector* normals, std::uint32_t* faceDataSize,
                        std::uint32_t* faceData) const;

    // Per-face attributes, used by Face and by the loader. `face` must be below
    // GetFaceCount() and `corner` below FaceCornerCount(face); anything else is a
    // programmer error and stops the program (platform/Assert.h).
    std::uint32_t FaceCornerCount(std::uint32_t face) const;
    std::uint32_t FaceVertexIndex(std::uint32_t face, std::uint32_t corner) const;
    /// The normal index of a corner, or UINT32_MAX when the face has no normals.
    std::uint32_t FaceNormalIndex(std::uint32_t face, std::uint32_t corner) const;
    D3DCOLOR FaceColor(std::uint32_t face) const {
        return LookOf(face, "MeshBuilder::FaceColor: no such face").color;
    }
    void SetFaceColor(std::uint32_t face, D3DCOLOR color);
    Material* FaceMaterial(std::uint32_t face) const {
        return LookOf(face, "MeshBuilder::FaceMaterial: no such face").material.Get();
    }
    void SetFaceMaterial(std::uint32_t face, Material* material);
    Texture* FaceTexture(std::uint32_t face) const {
        return LookOf(face, "MeshBuilder::FaceTexture: no such face").texture.Get();
    }
    void SetFaceTexture(std::uint32_t face, Texture* texture);
    void GetFaceWrap(std::uint32_t face, bool* wrapU, bool* wrapV) const;
    void SetFaceWrap(std::uint32_t face, bool wrapU, bool wrapV);

    // Whole-builder attributes.
    /// Sets every face's colour.
    HRESULT SetColor(D3DCOLOR color);
    HRESULT SetColorRGB(float r, float g, float b);
    HRESULT SetMaterial(Material* material);
    HRESULT SetTexture(Texture* texture);
    HRESULT SetQuality(D3DRMRENDERQUALITY quality);
    /// The builder's own quality; 0 means "as the device says".
    D3DRMRENDERQUALITY GetQuality() const { return m_quality; }
    bool HasOwnQuality() const { return m_hasQuality; }
    /// D3DRMMESHBUILDER_RENDERENABLE | D3DRMMESHBUILDER_PICKENABLE by default.
    HRESULT Enable(std::uint32_t flags);
    std::uint32_t GetEnable() const { return m_enable; }
    bool IsPickable() const override { return (m_enable & D3DRMMESHBUILDER_PICKENABLE) != 0; }

    /// Multiplies every position by the factors.
    HRESULT Scale(float sx, float sy, float sz);
    HRESULT GetBox(Box* box) const override;

    /// Appends another builder's vertices, normals and faces (with their colours,
    /// materials, textures and wraps) and its skin's bones; its indices are moved past this
    /// builder's own.
    HRESULT AddMeshBuilder(const MeshBuilder* other);
    /// Appends a mesh's groups: each group vertex becomes a vertex with its own normal
    /// and texture coordinates; faces take the group's colour, material and texture.
    HRESULT AddMesh(const Mesh* mesh);
    /// A mesh with one group per distinct (colour, material, texture, wrap) in face
    /// order; vertices are split where a corner's normal or texture coordinates differ.
    /// A group vertex's colour is the face colour tinted by the vertex colour, if any.
    HRESULT CreateMesh(Ref<Mesh>* mesh) const { return CreateMesh(mesh, nullptr); }
    /// The same, listing in *sourceVertices (when not null) the builder vertex each mesh
    /// vertex was made from, group after group.
    HRESULT CreateMesh(Ref<Mesh>* mesh, std::vector<std::uint32_t>* sourceVertices) const;

    /// Drops everything (vertices, normals, faces).
    void Empty();
    /// Reserves room for the loader.
    void Reserve(std::uint32_t vertices, std::uint32_t faces, std::uint32_t corners);
    /// The loader's whole geometry, in this builder's own layout.
    struct Geometry {
        std::vector<Vector> positions;
        std::vector<float> texCoords; ///< u, v per vertex
        std::vector<Vector> normals;
        std::vector<std::uint32_t> faceStart;    ///< first corner of each face
        std::vector<std::uint32_t> cornerVertex; ///< vertex index per corner
        std::vector<std::uint32_t> cornerNormal; ///< normal index per corner, UINT32_MAX: none
    };
    /// Replaces everything with `geometry`, taken over without a copy: faces white, without
    /// material, texture or wrap; no vertex colours. Sizes and indices are not checked here
    /// (the loader checks them): texCoords must hold two per position, cornerNormal one per
    /// corner, faceStart ascend within cornerVertex.
    void TakeGeometry(Geometry&& geometry);
    /// What a face is drawn with. Faces share looks: a builder keeps each distinct look
    /// once or a few times, and one index per face.
    struct FaceLook {
        D3DCOLOR color = 0xFFFFFFFF;
        Ref<Material> material;
        Ref<Texture> texture;
        std::uint8_t wrap = 0; ///< bit 0 u, bit 1 v
        bool operator==(const FaceLook&) const = default;
    };
    /// Gives face f the look looks[faceLooks[f]], for every face at once (the loader's way):
    /// faceLooks holds one index per face, each below looks.size().
    void SetFaceLooks(std::vector<FaceLook> looks, std::vector<std::uint32_t> faceLooks);
    /// Marks the geometry changed (after direct edits through the loader).
    void MarkChanged() { Touch(); }

    /// Skin weights: a builder with them is drawn deformed by its bones' frames.
    bool HasSkin() const { return !m_skin.Empty(); }
    const MeshSkin& GetSkin() const { return m_skin; }
    /// Replaces the skin weights (an empty skin makes the builder rigid again).
    void SetSkin(MeshSkin skin) {
        m_skin = std::move(skin);
        Touch();
    }

    /// Data objects of templates this library does not interpret that the mesh held in
    /// its file (VertexDuplicationIndices, DeclData…), in file order. They describe the
    /// vertices as loaded: Empty drops them, AddMeshBuilder and AddMesh drop them when this
    /// builder had vertices already (an empty one takes the other builder's), and an edit
    /// that re-indexes the vertices must drop them too, never leave them stale.
    const std::vector<CarriedObject>& CarriedObjects() const { return m_carried; }
    void SetCarriedObjects(std::vector<CarriedObject> objects) { m_carried = std::move(objects); }

private:
    std::vector<Vector> m_positions;
    std::vector<float> m_texCoords; // u, v per vertex
    std::vector<D3DCOLOR> m_vertexColors;
    std::vector<Vector> m_normals;
    // Faces: corner range [m_faceStart[i], m_faceStart[i + 1]) (or the end for the last).
    std::vector<std::uint32_t> m_faceStart;
    std::vector<std::uint32_t> m_cornerVertex;
    std::vector<std::uint32_t> m_cornerNormal; // UINT32_MAX: none
    /// Face `face`'s look; `problem` is what the program stops with when there is no such face.
    const FaceLook& LookOf(std::uint32_t face, const char* problem) const {
        PAVRIX_ASSERT(face < m_faceLook.size(), problem);
        return m_looks[m_faceLook[face]];
    }
    /// The index of a look equal to `look`, made when there is none; counts one use of it.
    std::uint32_t UseLook(const FaceLook& look);
    /// Gives face `face` the look `look` (its old look loses a use).
    void SetLook(std::uint32_t face, const FaceLook& look);
    /// Drops one use of look `index`; the last use frees the look's material and texture.
    void DropLook(std::uint32_t index);
    /// Applies `change` to every look some face uses (a whole-builder edit).
    template <class Change>
    HRESULT ChangeUsedLooks(Change change) {
        for (std::size_t i = 0; i < m_looks.size(); ++i) {
            if (m_lookUses[i] > 0) {
                change(m_looks[i]);
            }
        }
        Touch();
        return D3DRM_OK;
    }

    // Face looks: face f is drawn with m_looks[m_faceLook[f]]. m_lookUses counts the faces
    // of each look; a look no face uses holds no references and is taken again first.
    std::vector<FaceLook> m_looks;
    std::vector<std::uint32_t> m_lookUses;
    std::vector<std::uint32_t> m_freeLooks;
    std::vector<std::uint32_t> m_faceLook;
    D3DRMRENDERQUALITY m_quality = 0;
    bool m_hasQuality = false;
    std::uint32_t m_enable = D3DRMMESHBUILDER_RENDERENABLE | D3DRMMESHBUILDER_PICKENABLE;
    MeshSkin m_skin;
    std::vector<CarriedObject> m_carried;
};

} // namespace rm
