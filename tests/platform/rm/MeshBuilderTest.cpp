#include "platform/rm/MeshBuilder.h"

#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "platform/rm/Context.h"
#include "platform/rm/Material.h"
#include "platform/rm/Mesh.h"
#include "platform/rm/Texture.h"
#include "support/RmMatchers.h"

using namespace rm;
using testing_rm::VectorNear;

namespace {

class MeshBuilderTest : public ::testing::Test {
protected:
    MeshBuilderTest() {
        Direct3DRMCreate(&rm);
        rm->CreateMeshBuilder(&builder);
    }

    // A unit square split into two triangles sharing an edge, one normal per corner
    // group: the shared corners use the same normal.
    void AddSquare() {
        const Vector v[] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
        const Vector n[] = {{0, 0, -1}};
        const std::uint32_t faces[] = {3, 0, 0, 1, 0, 2, 0, 3, 0, 0, 2, 0, 3, 0, 0};
        ASSERT_EQ(builder->AddFaces(4, v, 1, n, faces), D3DRM_OK);
    }

    Ref<Context> rm;
    Ref<MeshBuilder> builder;
};

} // namespace

TEST_F(MeshBuilderTest, AddFacesAndGetGeometryTwoCalls) {
    AddSquare();
    EXPECT_EQ(builder->GetVertexCount(), 4u);
    EXPECT_EQ(builder->GetNormalCount(), 1u);
    EXPECT_EQ(builder->GetFaceCount(), 2u);

    std::uint32_t vertexCount = 0, normalCount = 0, dataSize = 0;
    ASSERT_EQ(
        builder->GetGeometry(&vertexCount, nullptr, &normalCount, nullptr, &dataSize, nullptr),
        D3DRM_OK);
    EXPECT_EQ(vertexCount, 4u);
    EXPECT_EQ(normalCount, 1u);
    EXPECT_EQ(dataSize, 2u * (1 + 3 * 2) + 1);
    std::vector<std::uint32_t> data(dataSize);
    ASSERT_EQ(builder->GetGeometry(nullptr, nullptr, nullptr, nullptr, &dataSize, data.data()),
              D3DRM_OK);
    EXPECT_EQ(data, (std::vector<std::uint32_t>{3, 0, 0, 1, 0, 2, 0, 3, 0, 0, 2, 0, 3, 0, 0}));
}

TEST_F(MeshBuilderTest, AddFacesRejectsBadIndicesAndChangesNothing) {
    const Vector v[] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}};
    const std::uint32_t faces[] = {3, 0, 1, 3, 0};
    EXPECT_EQ(builder->AddFaces(3, v, 0, nullptr, faces), D3DRMERR_BADVALUE);
    EXPECT_EQ(builder->GetVertexCount(), 0u);
    EXPECT_EQ(builder->GetFaceCount(), 0u);
}

TEST_F(MeshBuilderTest, FaceHandlesReadAndWriteTheBuilder) {
    AddSquare();
    Ref<Material> shiny;
    rm->CreateMaterial(20, &shiny);
    Ref<Face> face;
    ASSERT_EQ(builder->GetFace(1, &face), D3DRM_OK);
    EXPECT_EQ(face->GetVertexCount(), 3u);
    EXPECT_EQ(face->GetVertexIndex(2), 3u);
    face->SetColor(0xFF112233);
    face->SetMaterial(shiny.Get());
    face->SetTextureTopology(1, 0);
    EXPECT_EQ(builder->FaceColor(1), 0xFF112233u);
    EXPECT_EQ(builder->FaceMaterial(1), shiny.Get());
    EXPECT_EQ(builder->FaceColor(0), 0xFFFFFFFFu) << "other faces untouched";
    int u = 0, v = 0;
    face->GetTextureTopology(&u, &v);
    EXPECT_EQ(u, 1);
    EXPECT_EQ(v, 0);
    Vector normal;
    face->GetNormal(&normal);
    EXPECT_THAT(normal, VectorNear(Vector{0, 0, 1}, 1e-6f));
    EXPECT_NE(builder->GetFace(2, &face), D3DRM_OK);
}

// Asking for a face or corner the builder does not have is a programmer error: it stops
// the program and names the function, the last face and corner still answer.
TEST_F(MeshBuilderTest, PerFaceAccessBeyondTheFacesStopsNamingTheFunction) {
    AddSquare();
    EXPECT_EQ(builder->FaceCornerCount(1), 3u);
    EXPECT_EQ(builder->FaceVertexIndex(1, 2), 3u);
    EXPECT_EQ(builder->FaceNormalIndex(1, 2), 0u);
    bool wrapU = true, wrapV = true;
    builder->GetFaceWrap(1, &wrapU, &wrapV);
    EXPECT_FALSE(wrapU || wrapV);
    EXPECT_DEATH(builder->FaceColor(2), "MeshBuilder::FaceColor: no such face");
    EXPECT_DEATH(builder->FaceMaterial(2), "MeshBuilder::FaceMaterial: no such face");
    EXPECT_DEATH(builder->FaceTexture(2), "MeshBuilder::FaceTexture: no such face");
    EXPECT_DEATH(builder->SetFaceColor(2, 0), "MeshBuilder::SetFaceColor: no such face");
    EXPECT_DEATH(builder->SetFaceWrap(7, true, true), "MeshBuilder::SetFaceWrap: no such face");
    EXPECT_DEATH(builder->FaceCornerCount(2), "MeshBuilder::FaceCornerCount: no such face");
    EXPECT_DEATH(builder->FaceVertexIndex(1, 3), "MeshBuilder::FaceVertexIndex: no such corner");
    EXPECT_DEATH(builder->FaceNormalIndex(0, 3), "MeshBuilder::FaceNormalIndex: no such corner");
}

TEST_F(MeshBuilderTest, CreateMeshGroupsFacesByLookAndSplitsCorners) {
    AddSquare();
    builder->AddNormal(0, 0, 1);
    const std::uint32_t v[] = {0, 1, 2};
    const std::uint32_t n[] = {1, 1, 1}; // same positions, another normal
    builder->AddFace(3, v, n);
    builder->SetFaceColor(2, 0xFFFF0000);
    builder->SetQuality(D3DRMRENDER_WIREFRAME);
    builder->Enable(D3DRMMESHBUILDER_RENDERENABLE);

    Ref<Mesh> mesh;
    ASSERT_EQ(builder->CreateMesh(&mesh), D3DRM_OK);
    ASSERT_EQ(mesh->GetGroupCount(), 2u);
    std::uint32_t vertices = 0, faces = 0, perFace = 0, size = 0;
    mesh->GetGroup(0, &vertices, &faces, &perFace, &size, nullptr);
    EXPECT_EQ(vertices, 4u) << "shared corners are shared vertices";
    EXPECT_EQ(faces, 2u);
    EXPECT_EQ(perFace, 3u);
    mesh->GetGroup(1, &vertices, &faces, nullptr, nullptr, nullptr);
    EXPECT_EQ(vertices, 3u);
    EXPECT_EQ(mesh->GetGroupColor(1), 0xFFFF0000u);
    EXPECT_EQ(mesh->GetGroupQuality(0), D3DRMRENDER_WIREFRAME);
    EXPECT_FALSE(mesh->IsPickable()) << "the builder's enable flags carry over";

    MeshVertex mv;
    ASSERT_EQ(mesh->GetVertices(1, 0, 1, &mv), D3DRM_OK);
    EXPECT_THAT(mv.normal, VectorNear(Vector{0, 0, 1}, 0));
    EXPECT_EQ(mesh->GetVertices(1, 2, 2, &mv), D3DRMERR_BADVALUE) << "past the group's end";
    EXPECT_EQ(mesh->GetVertices(5, 0, 1, &mv), D3DRMERR_BADVALUE) << "no such group";
}

TEST_F(MeshBuilderTest, AddMeshBringsTheGeometryBack) {
    AddSquare();
    builder->SetColor(0xFF00FF00);
    builder->SetTextureCoordinates(2, 0.5f, 0.25f);
    Ref<Mesh> mesh;
    builder->CreateMesh(&mesh);

    Ref<MeshBuilder> copy;
    rm->CreateMeshBuilder(&copy);
    ASSERT_EQ(copy->AddMesh(mesh.Get()), D3DRM_OK);
    EXPECT_EQ(copy->GetFaceCount(), 2u);
    EXPECT_EQ(copy->GetVertexCount(), 4u);
    EXPECT_EQ(copy->FaceColor(1), 0xFF00FF00u);
    // Same corners, same positions, same texture coordinates.
    for (std::uint32_t f = 0; f < 2; ++f) {
        for (std::uint32_t c = 0; c < 3; ++c) {
            Vector a, b;
            std::uint32_t one = 1;
            builder->GetVertices(builder->FaceVertexIndex(f, c), &one, &a);
            copy->GetVertices(copy->FaceVertexIndex(f, c), &one, &b);
            EXPECT_THAT(b, VectorNear(a, 0));
            float ua, va, ub, vb;
            builder->GetTextureCoordinates(builder->FaceVertexIndex(f, c), &ua, &va);
            copy->GetTextureCoordinates(copy->FaceVertexIndex(f, c), &ub, &vb);
            EXPECT_EQ(ua, ub);
            EXPECT_EQ(va, vb);
        }
    }
}

TEST_F(MeshBuilderTest, ScaleAndBox) {
    AddSquare();
    builder->Scale(2, 3, 1);
    Box box;
    ASSERT_EQ(builder->GetBox(&box), D3DRM_OK);
    EXPECT_THAT(box.max, VectorNear(Vector{2, 3, 0}, 0));
    Ref<Mesh> mesh;
    builder->CreateMesh(&mesh);
    mesh->Scale(0.5f, 1, 1);
    mesh->GetBox(&box);
    EXPECT_THAT(box.max, VectorNear(Vector{1, 3, 0}, 0));

    Ref<MeshBuilder> empty;
    rm->CreateMeshBuilder(&empty);
    EXPECT_NE(empty->GetBox(&box), D3DRM_OK);
}

TEST_F(MeshBuilderTest, GenerationGrowsWithEveryChange) {
    AddSquare();
    Ref<Mesh> mesh;
    builder->CreateMesh(&mesh);
    const auto before = mesh->Generation();
    MeshVertex mv;
    mesh->GetVertices(0, 0, 1, &mv);
    EXPECT_EQ(mesh->Generation(), before) << "reading changes nothing";
    mv.position.x += 1;
    mesh->SetVertices(0, 0, 1, &mv);
    EXPECT_GT(mesh->Generation(), before);
}

TEST_F(MeshBuilderTest, AddMeshBuilderAppendsWithMovedIndices) {
    AddSquare();
    Ref<MeshBuilder> other;
    rm->CreateMeshBuilder(&other);
    const Vector v[] = {{5, 0, 0}, {6, 0, 0}, {6, 1, 0}};
    const Vector n[] = {{0, 1, 0}};
    const std::uint32_t faces[] = {3, 0, 0, 1, 0, 2, 0, 0};
    other->AddFaces(3, v, 1, n, faces);
    other->SetColor(0xFF0000FF);
    other->SetTextureCoordinates(1, 0.5f, 0.75f);

    ASSERT_EQ(builder->AddMeshBuilder(other.Get()), D3DRM_OK);
    EXPECT_EQ(builder->GetVertexCount(), 7u);
    EXPECT_EQ(builder->GetNormalCount(), 2u);
    ASSERT_EQ(builder->GetFaceCount(), 3u);
    EXPECT_EQ(builder->FaceVertexIndex(2, 0), 4u);
    EXPECT_EQ(builder->FaceNormalIndex(2, 2), 1u);
    EXPECT_EQ(builder->FaceColor(2), 0xFF0000FFu);
    EXPECT_EQ(builder->FaceColor(0), 0xFFFFFFFFu);
    float u = 0, tv = 0;
    builder->GetTextureCoordinates(5, &u, &tv);
    EXPECT_EQ(u, 0.5f);
    EXPECT_EQ(tv, 0.75f);
    EXPECT_NE(builder->AddMeshBuilder(builder.Get()), D3DRM_OK);
}

// Faces share looks: an edit of one face's colour, material, texture or wrap changes that
// face alone, a whole-builder edit every face, and faces whose looks became equal again are
// drawn as one group.
TEST_F(MeshBuilderTest, FaceLooksChangeOneFaceOrAllAndRegroup) {
    AddSquare();
    const std::uint32_t v[] = {0, 1, 2};
    builder->AddFace(3, v, nullptr);
    Ref<Material> shiny;
    rm->CreateMaterial(20, &shiny);
    Ref<Texture> skin;
    rm->CreateTexture(&skin);
    struct Step {
        const char* what;
        std::function<void()> edit;
        D3DCOLOR colors[3];
        bool material[3]; ///< the face has `shiny`
        bool texture[3];  ///< the face has `skin`
        bool wrapU[3];
        std::uint32_t groups;
    };
    const Step steps[] = {
        {"face 1 red",
         [&] { builder->SetFaceColor(1, 0xFFFF0000); },
         {0xFFFFFFFF, 0xFFFF0000, 0xFFFFFFFF},
         {},
         {},
         {},
         2},
        {"face 2 shiny",
         [&] { builder->SetFaceMaterial(2, shiny.Get()); },
         {0xFFFFFFFF, 0xFFFF0000, 0xFFFFFFFF},
         {false, false, true},
         {},
         {},
         3},
        {"face 0 wraps",
         [&] { builder->SetFaceWrap(0, true, false); },
         {0xFFFFFFFF, 0xFFFF0000, 0xFFFFFFFF},
         {false, false, true},
         {},
         {true, false, false},
         3},
        {"face 1 white again",
         [&] { builder->SetFaceColor(1, 0xFFFFFFFF); },
         {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF},
         {false, false, true},
         {},
         {true, false, false},
         3},
        {"face 0 plain again",
         [&] { builder->SetFaceWrap(0, false, false); },
         {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF},
         {false, false, true},
         {},
         {},
         2},
        {"every face blue",
         [&] { builder->SetColor(0xFF0000FF); },
         {0xFF0000FF, 0xFF0000FF, 0xFF0000FF},
         {false, false, true},
         {},
         {},
         2},
        {"every face skinned",
         [&] { builder->SetTexture(skin.Get()); },
         {0xFF0000FF, 0xFF0000FF, 0xFF0000FF},
         {false, false, true},
         {true, true, true},
         {},
         2},
        {"every face shiny",
         [&] { builder->SetMaterial(shiny.Get()); },
         {0xFF0000FF, 0xFF0000FF, 0xFF0000FF},
         {true, true, true},
         {true, true, true},
         {},
         1},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.edit();
        for (std::uint32_t f = 0; f < 3; ++f) {
            EXPECT_EQ(builder->FaceColor(f), step.colors[f]) << "face " << f;
            EXPECT_EQ(builder->FaceMaterial(f), step.material[f] ? shiny.Get() : nullptr);
            EXPECT_EQ(builder->FaceTexture(f), step.texture[f] ? skin.Get() : nullptr);
            bool u = false, wv = false;
            builder->GetFaceWrap(f, &u, &wv);
            EXPECT_EQ(u, step.wrapU[f]) << "face " << f;
            EXPECT_FALSE(wv);
        }
        Ref<Mesh> mesh;
        ASSERT_EQ(builder->CreateMesh(&mesh), D3DRM_OK);
        EXPECT_EQ(mesh->GetGroupCount(), step.groups);
    }
}

// A material or texture no face shows any more is let go at once: the drawing caches free a
// texture when they hold its last reference.
TEST_F(MeshBuilderTest, ALookNoFaceHasHoldsNothing) {
    AddSquare();
    Ref<Texture> skin;
    rm->CreateTexture(&skin);
    Ref<Material> shiny;
    rm->CreateMaterial(20, &shiny);
    const std::uint32_t alone = skin->RefCount();
    const std::uint32_t materialAlone = shiny->RefCount();
    builder->SetFaceTexture(0, skin.Get());
    builder->SetFaceMaterial(0, shiny.Get());
    EXPECT_GT(skin->RefCount(), alone);
    builder->SetFaceTexture(0, nullptr);
    EXPECT_EQ(skin->RefCount(), alone);
    builder->SetFaceColor(0, 0xFF00FF00); // the old look (shiny, white) goes, a new one comes
    builder->SetFaceMaterial(0, nullptr);
    EXPECT_EQ(shiny->RefCount(), materialAlone);
    builder->SetTexture(skin.Get());
    builder->Empty();
    EXPECT_EQ(skin->RefCount(), alone);
}

// More distinct looks than are searched for an equal one: every face keeps its own colour,
// and recoloured alike the faces are one group again.
TEST_F(MeshBuilderTest, ManyFaceColoursStayApartAndMergeAgain) {
    const Vector v[] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}};
    builder->AddFaces(3, v, 0, nullptr, nullptr);
    constexpr std::uint32_t kFaces = 1000;
    const std::uint32_t corners[] = {0, 1, 2};
    for (std::uint32_t f = 0; f < kFaces; ++f) {
        builder->AddFace(3, corners, nullptr);
        builder->SetFaceColor(f, 0xFF000000 | f);
    }
    for (std::uint32_t f = 0; f < kFaces; ++f) {
        ASSERT_EQ(builder->FaceColor(f), 0xFF000000 | f) << "face " << f;
    }
    Ref<Mesh> mesh;
    ASSERT_EQ(builder->CreateMesh(&mesh), D3DRM_OK);
    EXPECT_EQ(mesh->GetGroupCount(), kFaces);
    for (std::uint32_t f = 0; f < kFaces; ++f) {
        builder->SetFaceColor(f, 0xFF123456);
    }
    ASSERT_EQ(builder->CreateMesh(&mesh), D3DRM_OK);
    EXPECT_EQ(mesh->GetGroupCount(), 1u);
    EXPECT_EQ(mesh->GetGroupColor(0), 0xFF123456u);
}
