#include "xfile/CXSave.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/rm/Context.h"
#include "platform/rm/Math.h"
#include "support/XFileTestSupport.h"

using testing_xfile::Join;
using testing_xfile::KeyLines;
using testing_xfile::Line;
using testing_xfile::OnDisk;
using testing_xfile::ReadFile;
using testing_xfile::TempFolder;
using testing_xfile::TriangleLines;
using testing_xfile::WhiteTriangleLines;
using testing_xfile::WithCrLf;

namespace {

const float kHalfRoot2 = std::sqrt(0.5f);

class CXSaveTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(rm::Succeeded(rm::Direct3DRMCreate(&m_d3drm))); }

    rm::Ref<rm::MeshBuilder> NewBuilder() {
        rm::Ref<rm::MeshBuilder> builder;
        m_d3drm->CreateMeshBuilder(&builder);
        return builder;
    }
    rm::Ref<rm::Frame> NewFrame(rm::Frame* parent, const char* name = nullptr) {
        rm::Ref<rm::Frame> frame;
        m_d3drm->CreateFrame(parent, &frame);
        frame->SetName(name);
        return frame;
    }
    rm::Ref<rm::Animation> NewAnimation(const char* name, rm::Frame* frame) {
        rm::Ref<rm::Animation> animation;
        m_d3drm->CreateAnimation(&animation);
        animation->SetName(name);
        animation->SetFrame(frame);
        return animation;
    }
    /// A set named `name` holding `animations`, in this order.
    rm::Ref<rm::AnimationSet> NewSet(const char* name,
                                     std::initializer_list<rm::Animation*> animations = {}) {
        rm::Ref<rm::AnimationSet> set;
        m_d3drm->CreateAnimationSet(&set);
        set->SetName(name);
        for (rm::Animation* animation : animations) {
            set->AddAnimation(animation);
        }
        return set;
    }

    /// Runs `write` on an open writer at indent `level` with `flags`; returns the bytes.
    std::string WriteAtLevel(int level, std::uint32_t flags,
                             const std::function<void(CXSave&)>& write) {
        CXSave writer(m_d3drm.Get());
        const std::string path = m_folder.File("part.x");
        EXPECT_EQ(writer.OpenFile(path.c_str()), 1);
        writer.SetSaveFlags(flags);
        for (int i = 0; i < level; ++i) {
            writer.Indent();
        }
        write(writer);
        for (int i = 0; i < level; ++i) {
            writer.Unindent();
        }
        EXPECT_EQ(writer.CloseFile(), 1);
        return ReadFile(path);
    }

    std::string SaveToFile(rm::AnimationSet* set, rm::Frame* root, CXSave::TopFrames topFrames,
                           std::uint32_t flags = CXSave::kDocumentFlags) {
        CXSave writer(m_d3drm.Get());
        const std::string path = m_folder.File("scene.x");
        EXPECT_EQ(writer.Save(path.c_str(), flags, set, root, topFrames), 1) << writer.LastError();
        return ReadFile(path);
    }

    rm::Ref<rm::Context> m_d3drm;
    TempFolder m_folder;
};

/// The lines of `text` that open a frame, as written (leading spaces kept, no CR LF).
std::vector<std::string> FrameLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string line = text.substr(start, end - start);
        const std::size_t first = line.find_first_not_of(' ');
        if (first != std::string::npos && line.compare(first, 6, "Frame ") == 0) {
            lines.push_back(line);
        }
        start = end + 2;
    }
    return lines;
}

// The header of every file written without templates.
const std::vector<Line> kHeader = {
    {0, "xof 0303txt 0032"}, {0, ""}, {0, "Header {"}, {1, "1;"}, {1, "0;"}, {1, "1;"}, {0, "}"},
};

/// The lines that open animation set `set` and its animation `animation`, with the frame
/// reference to `part` when `part` is not null; kSetEnd closes both.
std::vector<Line> SetStart(const std::string& set, const std::string& animation, const char* part) {
    std::vector<Line> lines = {
        {0, ""}, {0, "AnimationSet " + set + " {"}, {0, ""}, {1, "Animation " + animation + " {"}};
    if (part != nullptr) {
        lines.push_back({2, "{" + std::string(part) + "}"});
    }
    return lines;
}
const std::vector<Line> kSetEnd = {{1, "}"}, {0, "}"}};

std::vector<Line> IdentityMatrix(int level) {
    return {
        {level, "FrameTransformMatrix {"},
        {level + 1, "1.000000,0.000000,0.000000,0.000000,"},
        {level + 1, "0.000000,1.000000,0.000000,0.000000,"},
        {level + 1, "0.000000,0.000000,1.000000,0.000000,"},
        {level + 1, "0.000000,0.000000,0.000000,1.000000;;"},
        {level, "}"},
    };
}

/// A top-level frame `name` with the identity matrix and nothing else.
std::vector<Line> BareFrame(const std::string& name) {
    return Join({{{0, ""}, {0, "Frame " + name + " {"}}, IdentityMatrix(1), {{0, "}"}}});
}

} // namespace

TEST_F(CXSaveTest, WritesTheDocumentedTriangleAtLevelOneByteForByte) {
    auto mesh = NewBuilder();
    mesh->AddVertex(0, 0, 0);
    mesh->AddVertex(1, 0, 0);
    mesh->AddVertex(0, 1, 0);
    mesh->AddNormal(0, 0, -1);
    const std::uint32_t corners[] = {0, 1, 2};
    const std::uint32_t normals[] = {0, 0, 0};
    mesh->AddFace(3, corners, normals);
    mesh->SetTextureCoordinates(1, 1, 0);
    mesh->SetTextureCoordinates(2, 0, 1);

    const std::string text =
        WriteAtLevel(1, 0x07, [&](CXSave& writer) { EXPECT_EQ(writer.WriteMesh(mesh.Get()), 1); });

    EXPECT_EQ(text, OnDisk(Join({{{0, ""}, {1, "Mesh {"}},
                                 WhiteTriangleLines(),
                                 {
                                     {0, ""},
                                     {2, "MeshNormals {"},
                                     {3, "1;"},
                                     {3, "0.000000;0.000000;-1.000000;;"},
                                     {3, "1;"},
                                     {3, "3;0,0,0;;"},
                                     {2, "}"},
                                     {0, ""},
                                     {2, "MeshTextureCoords {"},
                                     {3, "3;"},
                                     {3, "0.000000;0.000000;"},
                                     {3, "1.000000;0.000000;"},
                                     {3, "0.000000;1.000000;;"},
                                     {2, "}"},
                                     {1, "}"},
                                 }})));
}

TEST_F(CXSaveTest, WritesTheDocumentedPartAndWalkFileByteForByte) {
    auto root = NewFrame(nullptr);
    auto part1 = NewFrame(root.Get(), "part1");
    auto anim1 = NewAnimation("anim1", part1.Get());
    anim1->AddRotateKey(0, {1, {0, 0, 0}});
    anim1->AddRotateKey(10, {kHalfRoot2, {0, kHalfRoot2, 0}});
    auto walk = NewSet("walk", {anim1.Get()});

    const std::string text = SaveToFile(walk.Get(), root.Get(), CXSave::TopFrames::ChildrenOfRoot);

    EXPECT_EQ(text, OnDisk(Join({kHeader, BareFrame("part1"), SetStart("walk", "anim1", "part1"),
                                 KeyLines(0, {"0; 4; 1.000000, 0.000000, 0.000000, 0.000000;;,",
                                              "10; 4; 0.707107, 0.000000, 0.707107, 0.000000;;;"}),
                                 kSetEnd})));
    EXPECT_TRUE(root->Name().empty());
}

TEST_F(CXSaveTest, EmptyMeshIsItsOpeningLineFollowedByItsClosingLine) {
    auto empty = NewBuilder();
    auto named = NewBuilder();
    named->SetName("hull");
    const std::string text = WriteAtLevel(2, 0x3F, [&](CXSave& writer) {
        writer.WriteMesh(empty.Get());
        writer.WriteMesh(named.Get());
        EXPECT_EQ(writer.WriteMesh(nullptr), 0);
    });
    EXPECT_EQ(text,
              OnDisk({{0, ""}, {2, "Mesh {"}, {2, "}"}, {0, ""}, {2, "Mesh hull {"}, {2, "}"}}));
}

TEST_F(CXSaveTest, LastVertexNormalFaceAndTextureCoordinateEndTheirLists) {
    auto mesh = NewBuilder();
    mesh->SetName("quadtri");
    mesh->AddVertex(0, 0, 0);
    mesh->AddVertex(1, 0, 0);
    mesh->AddVertex(1, 1, 0);
    mesh->AddVertex(0, 1, 0);
    mesh->AddNormal(0, 0, -1);
    mesh->AddNormal(0, 1, 0);
    const std::uint32_t quad[] = {0, 1, 2, 3};
    const std::uint32_t quadNormals[] = {0, 0, 1, 1};
    const std::uint32_t tri[] = {0, 2, 3};
    const std::uint32_t triNormals[] = {1, 1, 0};
    mesh->AddFace(4, quad, quadNormals);
    mesh->AddFace(3, tri, triNormals);
    for (std::uint32_t i = 0; i < 4; ++i) {
        mesh->SetTextureCoordinates(i, 0.25f * float(i), 1 - 0.25f * float(i));
    }
    mesh->SetFaceWrap(0, true, false);
    mesh->SetFaceWrap(1, false, true);

    // Normals, face wraps and texture coordinates; no materials.
    const std::string text =
        WriteAtLevel(0, 0x23, [&](CXSave& writer) { writer.WriteMesh(mesh.Get()); });

    EXPECT_EQ(text, OnDisk({
                        {0, ""},
                        {0, "Mesh quadtri {"},
                        {1, "4;"},
                        {1, "0.000000;0.000000;0.000000;,"},
                        {1, "1.000000;0.000000;0.000000;,"},
                        {1, "1.000000;1.000000;0.000000;,"},
                        {1, "0.000000;1.000000;0.000000;;"},
                        {1, "2;"},
                        {1, "4;0,1,2,3;,"},
                        {1, "3;0,2,3;;"},
                        {0, ""},
                        {1, "MeshNormals {"},
                        {2, "2;"},
                        {2, "0.000000;0.000000;-1.000000;,"},
                        {2, "0.000000;1.000000;0.000000;;"},
                        {2, "2;"},
                        {2, "4;0,0,1,1;,"},
                        {2, "3;1,1,0;;"},
                        {1, "}"},
                        {0, ""},
                        {1, "MeshFaceWraps {"},
                        {2, "2;"},
                        {2, "1;;0;;,"},
                        {2, "0;;1;;;"},
                        {1, "}"},
                        {0, ""},
                        {1, "MeshTextureCoords {"},
                        {2, "4;"},
                        {2, "0.000000;1.000000;"},
                        {2, "0.250000;0.750000;"},
                        {2, "0.500000;0.500000;"},
                        {2, "0.750000;0.250000;;"},
                        {1, "}"},
                        {0, "}"},
                    }));
}

TEST_F(CXSaveTest, AFaceWithoutCornersIsWrittenSoTheCountStaysTrue) {
    auto mesh = NewBuilder();
    mesh->SetName("holed");
    mesh->AddVertex(0, 0, 0);
    mesh->AddVertex(1, 0, 0);
    mesh->AddVertex(0, 1, 0);
    const std::uint32_t tri[] = {0, 1, 2};
    mesh->AddNormal(0, 0, 1);
    const std::uint32_t up[] = {0, 0, 0};
    mesh->AddFace(3, tri, up);
    mesh->AddFace(0, tri, up);
    mesh->AddFace(3, tri, up);
    mesh->AddFace(0, tri, up);
    const std::string text =
        WriteAtLevel(0, 0x01, [&](CXSave& writer) { writer.WriteMesh(mesh.Get()); });
    // The face list, and MeshNormals' face list after its one normal.
    const std::string faces =
        OnDisk({{1, "4;"}, {1, "3;0,1,2;,"}, {1, "0;;,"}, {1, "3;0,1,2;,"}, {1, "0;;;"}});
    EXPECT_NE(text.find(faces), std::string::npos) << text;
    const std::string normalFaces =
        OnDisk({{2, "4;"}, {2, "3;0,0,0;,"}, {2, "0;;,"}, {2, "3;0,0,0;,"}, {2, "0;;;"}});
    EXPECT_NE(text.find(normalFaces), std::string::npos) << text;
}

TEST_F(CXSaveTest, RealsArePrintfFixedOfTheWidenedFloat) {
    struct Case {
        float value;
        const char* text;
    };
    const Case cases[] = {
        {1.0f, "1.000000"},
        {-0.5f, "-0.500000"},
        {-1e-9f, "-0.000000"},
        {-0.0f, "-0.000000"},
        // 1/128 lies exactly halfway between two six-decimal values: printf rounds to even.
        {1.0f / 128, "0.007812"},
        // The float nearest 0.1 is slightly above it; widening keeps that.
        {0.1f, "0.100000"},
        {123456.789f, "123456.789062"},
        {16777216.0f, "16777216.000000"},
        {1e20f, "100000002004087734272.000000"},
    };
    auto mesh = NewBuilder();
    for (const Case& c : cases) {
        mesh->AddVertex(c.value, 0, 0);
    }
    const std::string text =
        WriteAtLevel(0, 0, [&](CXSave& writer) { writer.WriteVertices(mesh.Get()); });
    std::vector<Line> expected = {{0, "9;"}};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        expected.push_back(
            {0, std::string(cases[i].text) + ";0.000000;0.000000;" + (i + 1 < 9 ? "," : ";")});
    }
    EXPECT_EQ(text, OnDisk(expected));
}

TEST_F(CXSaveTest, FacesAreGroupedIntoMaterialsByMaterialObjectColourAndTexture) {
    // Three triangles over the same corners; each case gives them their looks.
    auto shiny = rm::MakeRef<rm::Material>(5.0f);
    shiny->SetSpecular(0.5f, 0.25f, 0);
    shiny->SetEmissive(0, 0, 1);
    auto twin = rm::MakeRef<rm::Material>(5.0f);
    twin->SetSpecular(0.5f, 0.25f, 0);
    twin->SetEmissive(0, 0, 1);
    auto brick = rm::MakeRef<rm::Texture>();
    brick->SetName("brick.bmp");
    auto wood = rm::MakeRef<rm::Texture>();
    wood->SetName("wood.bmp");
    auto unnamed = rm::MakeRef<rm::Texture>();
    const rm::D3DCOLOR blue = 0xFF336699;    // 0.2, 0.4, 0.6, opaque
    const rm::D3DCOLOR halfRed = 0x80FF0000; // alpha 128/255
    const std::string blueText = "0.200000;0.400000;0.600000;1.000000;;";
    const std::string halfRedText = "1.000000;0.000000;0.000000;0.501961;;";
    const std::vector<Line> shinyLines = {
        {3, "5.000000;"}, {3, "0.500000;0.250000;0.000000;;"}, {3, "0.000000;0.000000;1.000000;;"}};
    const std::vector<Line> noMaterialLines = {
        {3, "0.000000;"}, {0, "0.000000;0.000000;0.000000;;"}, {0, "0.000000;0.000000;0.000000;;"}};
    auto material = [](const std::string& colour, const std::vector<Line>& parameters,
                       const char* texture = nullptr) {
        std::vector<Line> lines = Join({{{0, ""}, {2, "Material {"}, {3, colour}}, parameters});
        if (texture) {
            lines.insert(
                lines.end(),
                {{3, "TextureFilename {"}, {4, "\"" + std::string(texture) + "\";"}, {3, "}"}});
        }
        lines.push_back({2, "}"});
        return lines;
    };
    auto list = [](std::vector<Line> counts, std::initializer_list<std::vector<Line>> blocks) {
        std::vector<Line> lines = Join({{{0, ""}, {1, "MeshMaterialList {"}}, counts});
        for (const auto& block : blocks) {
            lines.insert(lines.end(), block.begin(), block.end());
        }
        lines.push_back({1, "}"});
        return lines;
    };
    struct Case {
        const char* what;
        std::uint32_t flags;
        std::function<void(rm::MeshBuilder&)> look;
        std::vector<Line> expected;
    };
    const std::vector<Case> cases = {
        {"one material and colour on every face", 0x04,
         [&](rm::MeshBuilder& m) {
             m.SetMaterial(shiny.Get());
             m.SetColor(blue);
         },
         list({{2, "1;"}, {2, "1;"}, {2, "0;;"}}, {material(blueText, shinyLines)})},
        {"same material, two colours", 0x04,
         [&](rm::MeshBuilder& m) {
             m.SetMaterial(shiny.Get());
             m.SetColor(blue);
             m.SetFaceColor(1, halfRed);
         },
         list({{2, "2;"}, {2, "3;"}, {2, "0,"}, {2, "1,"}, {2, "0;;"}},
              {material(blueText, shinyLines), material(halfRedText, shinyLines)})},
        {"equal parameters in two material objects", 0x04,
         [&](rm::MeshBuilder& m) {
             m.SetMaterial(shiny.Get());
             m.SetFaceMaterial(2, twin.Get());
             m.SetColor(blue);
         },
         list({{2, "2;"}, {2, "3;"}, {2, "0,"}, {2, "0,"}, {2, "1;;"}},
              {material(blueText, shinyLines), material(blueText, shinyLines)})},
        {"textures ignored without flag 0x08", 0x04,
         [&](rm::MeshBuilder& m) {
             m.SetTexture(brick.Get());
             m.SetFaceTexture(1, wood.Get());
         },
         list({{2, "1;"}, {2, "1;"}, {2, "0;;"}},
              {material("1.000000;1.000000;1.000000;1.000000;;", noMaterialLines)})},
        {"textures split materials with flag 0x08", 0x0C,
         [&](rm::MeshBuilder& m) {
             m.SetTexture(brick.Get());
             m.SetFaceTexture(1, wood.Get());
         },
         list({{2, "2;"}, {2, "3;"}, {2, "0,"}, {2, "1,"}, {2, "0;;"}},
              {material("1.000000;1.000000;1.000000;1.000000;;", noMaterialLines, "brick.bmp"),
               material("1.000000;1.000000;1.000000;1.000000;;", noMaterialLines, "wood.bmp")})},
        {"a texture without a name has no file name block", 0x0C,
         [&](rm::MeshBuilder& m) { m.SetTexture(unnamed.Get()); },
         list({{2, "1;"}, {2, "1;"}, {2, "0;;"}},
              {material("1.000000;1.000000;1.000000;1.000000;;", noMaterialLines)})},
        {"faces with and without material", 0x04,
         [&](rm::MeshBuilder& m) {
             m.SetFaceMaterial(2, shiny.Get());
             m.SetColor(blue);
         },
         list({{2, "2;"}, {2, "3;"}, {2, "0,"}, {2, "0,"}, {2, "1;;"}},
              {material(blueText, noMaterialLines), material(blueText, shinyLines)})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto mesh = NewBuilder();
        mesh->AddVertex(0, 0, 0);
        mesh->AddVertex(1, 0, 0);
        mesh->AddVertex(0, 1, 0);
        const std::uint32_t corners[] = {0, 1, 2};
        for (int f = 0; f < 3; ++f) {
            mesh->AddFace(3, corners, nullptr);
        }
        c.look(*mesh);
        const std::string text = WriteAtLevel(1, c.flags, [&](CXSave& writer) {
            EXPECT_EQ(writer.WriteMaterialList(mesh.Get()), 1);
        });
        EXPECT_EQ(text, OnDisk(c.expected));
    }
}

TEST_F(CXSaveTest, MeshPartsWriteNothingForAMeshWithoutThatData) {
    auto bare = NewBuilder();
    bare->AddVertex(0, 0, 0);
    const std::string text = WriteAtLevel(1, 0x3F, [&](CXSave& writer) {
        EXPECT_EQ(writer.WriteFaces(bare.Get()), 1);
        EXPECT_EQ(writer.WriteMaterialList(bare.Get()), 1);
        EXPECT_EQ(writer.WriteNormals(bare.Get()), 1);
        EXPECT_EQ(writer.WriteFaceNormals(bare.Get()), 1);
        EXPECT_EQ(writer.WriteFaceWraps(bare.Get()), 1);
        EXPECT_EQ(writer.WriteSkinWeights(bare.Get()), 1);
        for (auto part : {&CXSave::WriteVertices, &CXSave::WriteFaces, &CXSave::WriteMaterialList,
                          &CXSave::WriteNormals, &CXSave::WriteFaceNormals, &CXSave::WriteFaceWraps,
                          &CXSave::WriteTextureCoords, &CXSave::WriteSkinWeights}) {
            EXPECT_EQ((writer.*part)(nullptr), 0);
        }
    });
    EXPECT_EQ(text, "");
}

TEST_F(CXSaveTest, KeysAreWrittenPerTypeWithTruncatedTimes) {
    struct Case {
        const char* what;
        std::function<void(rm::Animation&)> keys;
        std::vector<Line> keyLines;
    };
    const std::vector<Case> cases = {
        {"0.4 and 0.9 truncate to one key at 0, 2.9 to 2",
         [](rm::Animation& a) {
             a.AddRotateKey(0.4f, {1, {0, 0, 0}});
             a.AddRotateKey(0.9f, {0, {1, 0, 0}});
             a.AddRotateKey(2.9f, {kHalfRoot2, {0, 0, kHalfRoot2}});
         },
         KeyLines(0, {"0; 4; 1.000000, 0.000000, 0.000000, 0.000000;;,",
                      "2; 4; 0.707107, 0.000000, 0.000000, 0.707107;;;"})},
        {"rotation, scale, position blocks in that order",
         [](rm::Animation& a) {
             a.AddPositionKey(1, 1, 2, 3);
             a.AddScaleKey(2, 2, 2, 2);
             a.AddRotateKey(3, {1, {0, 0, 0}});
             a.AddPositionKey(4, -1, -2, -3);
         },
         Join({KeyLines(0, {"3; 4; 1.000000, 0.000000, 0.000000, 0.000000;;;"}),
               KeyLines(1, {"2; 3; 2.000000, 2.000000, 2.000000;;;"}),
               KeyLines(2, {"1; 3; 1.000000, 2.000000, 3.000000;;,",
                            "4; 3; -1.000000, -2.000000, -3.000000;;;"})})},
        {"position keys only",
         [](rm::Animation& a) {
             a.AddPositionKey(0, 0, 0, 0);
             a.AddPositionKey(30, 0, 5, 0);
         },
         KeyLines(2, {"0; 3; 0.000000, 0.000000, 0.000000;;,",
                      "30; 3; 0.000000, 5.000000, 0.000000;;;"})},
        {"keys before time 0 are not written",
         [](rm::Animation& a) {
             a.AddScaleKey(-5, 9, 9, 9);
             a.AddScaleKey(0, 1, 1, 1);
         },
         KeyLines(1, {"0; 3; 1.000000, 1.000000, 1.000000;;;"})},
        {"equal whole times of different types are all kept",
         [](rm::Animation& a) {
             a.AddScaleKey(7.5f, 1, 1, 1);
             a.AddPositionKey(7.25f, 1, 1, 1);
         },
         Join({KeyLines(1, {"7; 3; 1.000000, 1.000000, 1.000000;;;"}),
               KeyLines(2, {"7; 3; 1.000000, 1.000000, 1.000000;;;"})})},
        {"no keys", [](rm::Animation&) {}, {}},
    };
    auto arm = NewFrame(nullptr, "arm");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto animation = NewAnimation("swing", arm.Get());
        c.keys(*animation);
        const std::string text = WriteAtLevel(
            1, 0, [&](CXSave& writer) { EXPECT_EQ(writer.WriteAnimation(animation.Get()), 1); });
        EXPECT_EQ(text, OnDisk(Join({{{0, ""}, {1, "Animation swing {"}, {2, "{arm}"}},
                                     c.keyLines,
                                     {{1, "}"}}})));
    }
}

TEST_F(CXSaveTest, AnimationWithoutFrameBecomesAWarningCommentInCodePage932) {
    auto lost = NewAnimation("lost", nullptr);
    lost->AddRotateKey(0, {1, {0, 0, 0}});
    int result = -1;
    const std::string text =
        WriteAtLevel(1, 0, [&](CXSave& writer) { result = writer.WriteAnimation(lost.Get()); });
    EXPECT_EQ(result, 0);
    // "// 警告：Animationにフレームが関連付けられていません。" encoded as code page 932.
    const std::string comment = "// \x8c\x78\x8d\x90\x81\x46"
                                "Animation"
                                "\x82\xc9\x83\x74\x83\x8c\x81\x5b\x83\x80\x82\xaa\x8a\xd6\x98\x41"
                                "\x95\x74\x82\xaf\x82\xe7\x82\xea\x82\xc4\x82\xa2\x82\xdc\x82\xb9"
                                "\x82\xf1\x81\x42";
    EXPECT_EQ(text, " " + comment + "\r\n");
}

TEST_F(CXSaveTest, AnimationOfAnUnnamedFrameIsAnEmptyBlock) {
    auto nameless = NewFrame(nullptr);
    auto animation = NewAnimation("idle", nameless.Get());
    animation->AddPositionKey(0, 1, 1, 1);
    int result = -1;
    const std::string text = WriteAtLevel(
        1, 0, [&](CXSave& writer) { result = writer.WriteAnimation(animation.Get()); });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(text, OnDisk({{0, ""}, {1, "Animation idle {"}, {1, "}"}}));
}

TEST_F(CXSaveTest, SetWithoutAnimationsWritesNoAnimationSetBlock) {
    auto root = NewFrame(nullptr);
    NewFrame(root.Get(), "body");
    auto empty = NewSet("rest");
    const std::string text = SaveToFile(empty.Get(), root.Get(), CXSave::TopFrames::ChildrenOfRoot);
    EXPECT_EQ(text, OnDisk(Join({kHeader, BareFrame("body")})));
}

TEST_F(CXSaveTest, UnnamedFramesGetNumberedNamesDepthFirstOnlyForTheSave) {
    // root { upper { hand } lower }, none named; the animation drives the hand.
    auto root = NewFrame(nullptr);
    auto upper = NewFrame(root.Get());
    auto hand = NewFrame(upper.Get());
    auto lower = NewFrame(root.Get());
    auto wave = NewAnimation("wave", hand.Get());
    wave->AddRotateKey(0, {1, {0, 0, 0}});
    auto set = NewSet("greet", {wave.Get()});

    const std::string first = SaveToFile(set.Get(), root.Get(), CXSave::TopFrames::Root);

    EXPECT_EQ(FrameLines(first), (std::vector<std::string>{
                                     "Frame CXSave_Frame_0 {",
                                     " Frame CXSave_Frame_1 {",
                                     "  Frame CXSave_Frame_2 {",
                                     " Frame CXSave_Frame_3 {",
                                 }));
    EXPECT_NE(first.find("  {CXSave_Frame_2}\r\n"), std::string::npos);
    for (const rm::Frame* frame : {root.Get(), upper.Get(), hand.Get(), lower.Get()}) {
        EXPECT_TRUE(frame->Name().empty()) << frame->Name();
    }
    // The counter starts again with every save.
    EXPECT_EQ(SaveToFile(set.Get(), root.Get(), CXSave::TopFrames::Root), first);
}

TEST_F(CXSaveTest, LoadedNameThatLooksGeneratedIsWrittenThenEmptied) {
    auto root = NewFrame(nullptr);
    auto kept = NewFrame(root.Get(), "CXSave_Frame_5");
    auto unnamed = NewFrame(kept.Get());
    auto other = NewFrame(root.Get(), "CXSave_Framework");
    auto set = NewSet("s", {NewAnimation("a", kept.Get()).Get()});

    const std::string text = SaveToFile(set.Get(), root.Get(), CXSave::TopFrames::ChildrenOfRoot);

    EXPECT_EQ(FrameLines(text), (std::vector<std::string>{
                                    "Frame CXSave_Frame_5 {",
                                    " Frame CXSave_Frame_0 {",
                                    "Frame CXSave_Framework {",
                                }));
    EXPECT_NE(text.find(" {CXSave_Frame_5}\r\n"), std::string::npos);
    EXPECT_TRUE(kept->Name().empty());
    EXPECT_TRUE(unnamed->Name().empty());
    EXPECT_TRUE(other->Name().empty());
}

TEST_F(CXSaveTest, ChildrenOnlyLeavesAnAnimatedUnnamedRootOutAndUnnamed) {
    auto root = NewFrame(nullptr);
    root->AddTranslation(rm::D3DRMCOMBINE_REPLACE, 5, 0, 0);
    NewFrame(root.Get(), "leg");
    auto drift = NewAnimation("drift", root.Get());
    drift->AddPositionKey(0, 0, 0, 0);
    auto set = NewSet("move", {drift.Get()});

    const std::string text = SaveToFile(set.Get(), root.Get(), CXSave::TopFrames::ChildrenOfRoot);

    EXPECT_EQ(text, OnDisk(Join(
                        {kHeader, BareFrame("leg"), SetStart("move", "drift", nullptr), kSetEnd})));
    EXPECT_TRUE(root->Name().empty());
}

TEST_F(CXSaveTest, AnimationsWithProblemsDoNotStopTheOthers) {
    auto root = NewFrame(nullptr);
    auto head = NewFrame(root.Get(), "head");
    auto set = NewSet("", {NewAnimation("", nullptr).Get()});
    auto nod = NewAnimation("", head.Get());
    nod->AddRotateKey(0, {1, {0, 0, 0}});
    set->AddAnimation(nod.Get());

    const std::string text = SaveToFile(set.Get(), root.Get(), CXSave::TopFrames::ChildrenOfRoot);

    const std::string tail = WithCrLf("\nAnimationSet {\n"
                                      " // \x8c\x78\x8d\x90\x81\x46"
                                      "Animation"
                                      "\x82\xc9\x83\x74\x83\x8c\x81\x5b\x83\x80\x82\xaa\x8a\xd6"
                                      "\x98\x41\x95\x74\x82\xaf\x82\xe7\x82\xea\x82\xc4\x82\xa2"
                                      "\x82\xdc\x82\xb9\x82\xf1\x81\x42\n"
                                      "\n"
                                      " Animation {\n"
                                      "  {head}\n"
                                      "  AnimationKey {\n"
                                      "   0;\n"
                                      "   1;\n"
                                      "   0; 4; 1.000000, 0.000000, 0.000000, 0.000000;;;\n"
                                      "  }\n"
                                      " }\n"
                                      "}\n");
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
}

TEST_F(CXSaveTest, FrameWritesItsMatrixThenMeshesThenChildren) {
    auto root = NewFrame(nullptr);
    auto body = NewFrame(root.Get(), "body");
    body->AddScale(rm::D3DRMCOMBINE_REPLACE, 2, 2, 2);
    body->AddTranslation(rm::D3DRMCOMBINE_AFTER, 1, -2, 3.5f);
    // A drawing mesh goes through a temporary builder; lights are not written.
    auto source = NewBuilder();
    source->AddVertex(0, 0, 0);
    source->AddVertex(1, 0, 0);
    source->AddVertex(0, 1, 0);
    source->AddNormal(0, 0, -1);
    const std::uint32_t corners[] = {0, 1, 2};
    const std::uint32_t normals[] = {0, 0, 0};
    source->AddFace(3, corners, normals);
    rm::Ref<rm::Mesh> drawn;
    ASSERT_TRUE(rm::Succeeded(source->CreateMesh(&drawn)));
    drawn->SetName("ignored");
    body->AddVisual(drawn.Get());
    rm::Ref<rm::Light> lamp;
    m_d3drm->CreateLightRGB(rm::D3DRMLIGHT_POINT, 1, 1, 1, &lamp);
    body->AddLight(lamp.Get());
    NewFrame(body.Get(), "arm");

    const std::string text =
        SaveToFile(NewSet("none").Get(), root.Get(), CXSave::TopFrames::ChildrenOfRoot, 0x01);

    EXPECT_EQ(text, OnDisk(Join({kHeader,
                                 {{0, ""},
                                  {0, "Frame body {"},
                                  {1, "FrameTransformMatrix {"},
                                  {2, "2.000000,0.000000,0.000000,0.000000,"},
                                  {2, "0.000000,2.000000,0.000000,0.000000,"},
                                  {2, "0.000000,0.000000,2.000000,0.000000,"},
                                  {2, "1.000000,-2.000000,3.500000,1.000000;;"},
                                  {1, "}"},
                                  {0, ""},
                                  {1, "Mesh {"}},
                                 TriangleLines(),
                                 {{0, ""},
                                  {2, "MeshNormals {"},
                                  {3, "3;"},
                                  {3, "0.000000;0.000000;-1.000000;,"},
                                  {3, "0.000000;0.000000;-1.000000;,"},
                                  {3, "0.000000;0.000000;-1.000000;;"},
                                  {3, "1;"},
                                  {3, "3;0,1,2;;"},
                                  {2, "}"},
                                  {1, "}"},
                                  {0, ""},
                                  {1, "Frame arm {"}},
                                 IdentityMatrix(2),
                                 {{1, "}"}, {0, "}"}}})));
}

TEST_F(CXSaveTest, NamesAreWrittenAsTheirBytes) {
    // Shift_JIS "パーツ" followed by a space and a digit; the writer neither converts,
    // quotes nor escapes.
    const std::string sjisName = "\x83\x70\x81\x5b\x83\x63 1";
    auto root = NewFrame(nullptr);
    auto part = NewFrame(root.Get(), sjisName.c_str());
    auto twin = NewFrame(root.Get(), sjisName.c_str());
    auto set = NewSet("\x95\xe0\x82\xad", {NewAnimation("\x93\xae\x82\xab", part.Get()).Get()});

    const std::string text = SaveToFile(set.Get(), root.Get(), CXSave::TopFrames::ChildrenOfRoot);

    EXPECT_EQ(FrameLines(text),
              (std::vector<std::string>{"Frame " + sjisName + " {", "Frame " + sjisName + " {"}));
    EXPECT_NE(text.find("\r\nAnimationSet \x95\xe0\x82\xad {\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\n Animation \x93\xae\x82\xab {\r\n  {" + sjisName + "}\r\n"),
              std::string::npos);
}

TEST_F(CXSaveTest, TemplatesStandBetweenTheMagicLineAndTheHeader) {
    const std::string text =
        WriteAtLevel(0, CXSave::kWriteTemplates, [&](CXSave& writer) { writer.WriteHeader(); });
    const std::string expected = WithCrLf(R"(xof 0303txt 0032

template Header {
 <3D82AB43-62DA-11cf-AB39-0020AF71E433>
 WORD major;
 WORD minor;
 DWORD flags;
}

template Vector {
 <3D82AB5E-62DA-11cf-AB39-0020AF71E433>
 FLOAT x;
 FLOAT y;
 FLOAT z;
}

template Coords2d {
 <F6F23F44-7686-11cf-8F52-0040333594A3>
 FLOAT u;
 FLOAT v;
}

template Matrix4x4 {
 <F6F23F45-7686-11cf-8F52-0040333594A3>
 array FLOAT matrix[16];
}

template ColorRGBA {
 <35FF44E0-6C7C-11cf-8F52-0040333594A3>
 FLOAT red;
 FLOAT green;
 FLOAT blue;
 FLOAT alpha;
}

template ColorRGB {
 <D3E16E81-7835-11cf-8F52-0040333594A3>
 FLOAT red;
 FLOAT green;
 FLOAT blue;
}

template IndexedColor {
 <1630B820-7842-11cf-8F52-0040333594A3>
 DWORD index;
 ColorRGBA indexColor;
}

template Boolean {
 <4885AE61-78E8-11cf-8F52-0040333594A3>
 WORD truefalse;
}

template Boolean2d {
 <4885AE63-78E8-11cf-8F52-0040333594A3>
 Boolean u;
 Boolean v;
}

template MaterialWrap {
 <4885AE60-78E8-11cf-8F52-0040333594A3>
 Boolean u;
 Boolean v;
}

template TextureFilename {
 <A42790E1-7810-11cf-8F52-0040333594A3>
 STRING filename;
}

template Material {
 <3D82AB4D-62DA-11cf-AB39-0020AF71E433>
 ColorRGBA faceColor;
 FLOAT power;
 ColorRGB specularColor;
 ColorRGB emissiveColor;
 [...]
}

template MeshFace {
 <3D82AB5F-62DA-11cf-AB39-0020AF71E433>
 DWORD nFaceVertexIndices;
 array DWORD faceVertexIndices[nFaceVertexIndices];
}

template MeshFaceWraps {
 <4885AE62-78E8-11cf-8F52-0040333594A3>
 DWORD nFaceWrapValues;
 Boolean2d faceWrapValues;
}

template MeshTextureCoords {
 <F6F23F40-7686-11cf-8F52-0040333594A3>
 DWORD nTextureCoords;
 array Coords2d textureCoords[nTextureCoords];
}

template MeshMaterialList {
 <F6F23F42-7686-11cf-8F52-0040333594A3>
 DWORD nMaterials;
 DWORD nFaceIndexes;
 array DWORD faceIndexes[nFaceIndexes];
 [Material]
}

template MeshNormals {
 <F6F23F43-7686-11cf-8F52-0040333594A3>
 DWORD nNormals;
 array Vector normals[nNormals];
 DWORD nFaceNormals;
 array MeshFace faceNormals[nFaceNormals];
}

template MeshVertexColors {
 <1630B821-7842-11cf-8F52-0040333594A3>
 DWORD nVertexColors;
 array IndexedColor vertexColors[nVertexColors];
}

template Mesh {
 <3D82AB44-62DA-11cf-AB39-0020AF71E433>
 DWORD nVertices;
 array Vector vertices[nVertices];
 DWORD nFaces;
 array MeshFace faces[nFaces];
 [...]
}

template FrameTransformMatrix {
 <F6F23F41-7686-11cf-8F52-0040333594A3>
 Matrix4x4 frameMatrix;
}

template Frame {
 <3D82AB46-62DA-11cf-AB39-0020AF71E433>
 [...]
}

template FloatKeys {
 <10DD46A9-775B-11cf-8F52-0040333594A3>
 DWORD nValues;
 array FLOAT values[nValues];
}

template TimedFloatKeys {
 <F406B180-7B3B-11cf-8F52-0040333594A3>
 DWORD time;
 FloatKeys tfkeys;
}

template AnimationKey {
 <10DD46A8-775B-11cf-8F52-0040333594A3>
 DWORD keyType;
 DWORD nKeys;
 array TimedFloatKeys keys[nKeys];
}

template AnimationOptions {
 <E2BF56C0-840F-11cf-8F52-0040333594A3>
 DWORD openclosed;
 DWORD positionquality;
}

template Animation {
 <3D82AB4F-62DA-11cf-AB39-0020AF71E433>
 [...]
}

template AnimationSet {
 <3D82AB50-62DA-11cf-AB39-0020AF71E433>
 [Animation]
}

Header {
 1;
 0;
 1;
}
)");
    EXPECT_EQ(text, expected);
}

TEST_F(CXSaveTest, HeaderInnerLinesKeepOneSpaceAtAnyLevel) {
    const std::string text = WriteAtLevel(2, 0, [&](CXSave& writer) { writer.WriteHeader(); });
    EXPECT_EQ(text, "  xof 0303txt 0032\r\n\r\n  Header {\r\n 1;\r\n 0;\r\n 1;\r\n}\r\n");
}

TEST_F(CXSaveTest, EveryLineEndsInCarriageReturnLineFeedOnDisk) {
    auto root = NewFrame(nullptr);
    auto part = NewFrame(root.Get(), "part");
    auto mesh = NewBuilder();
    mesh->AddVertex(0, 0, 0);
    mesh->AddVertex(1, 0, 0);
    mesh->AddVertex(0, 1, 0);
    const std::uint32_t corners[] = {0, 1, 2};
    mesh->AddFace(3, corners, nullptr);
    part->AddVisual(mesh.Get());
    auto set = NewSet("s");
    auto animation = NewAnimation("a", part.Get());
    animation->AddScaleKey(1, 1, 1, 1);
    set->AddAnimation(animation.Get());

    const std::string text =
        SaveToFile(set.Get(), root.Get(), CXSave::TopFrames::ChildrenOfRoot, 0x3F);

    ASSERT_EQ(text.rfind("xof 0303txt 0032\r\n\r\n", 0), 0u);
    std::size_t lineFeeds = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            ++lineFeeds;
            ASSERT_GT(i, 0u);
            EXPECT_EQ(text[i - 1], '\r') << "bare line feed at byte " << i;
        } else if (text[i] == '\r') {
            ASSERT_LT(i + 1, text.size());
            EXPECT_EQ(text[i + 1], '\n') << "bare carriage return at byte " << i;
        }
    }
    EXPECT_GT(lineFeeds, 60u);
}

TEST_F(CXSaveTest, IndentNeverGoesBelowZero) {
    CXSave writer(m_d3drm.Get());
    writer.Unindent();
    EXPECT_EQ(writer.IndentLevel(), 0);
    writer.Indent();
    writer.Indent();
    writer.Unindent();
    EXPECT_EQ(writer.IndentLevel(), 1);
}

TEST_F(CXSaveTest, NullFrameOrSetIsRefusedWithoutOutput) {
    const std::string text = WriteAtLevel(0, 0x3F, [&](CXSave& writer) {
        EXPECT_EQ(writer.WriteFrame(nullptr, CXSave::FrameNaming::GenerateMissing), 0);
        EXPECT_EQ(writer.WriteFrameTransformMatrix(nullptr), 0);
        EXPECT_EQ(writer.WriteAnimationSet(nullptr), 0);
        EXPECT_EQ(writer.WriteAnimation(nullptr), 0);
        EXPECT_EQ(writer.ClearAutoFrameNames(nullptr), 0);
    });
    EXPECT_EQ(text, "");
}

TEST_F(CXSaveTest, WithoutRetainedModeObjectAnimationsAreRefused) {
    auto part = NewFrame(nullptr, "p");
    auto set = NewSet("s", {NewAnimation("a", part.Get()).Get()});
    CXSave writer(nullptr);
    const std::string path = m_folder.File("x.x");
    ASSERT_EQ(writer.OpenFile(path.c_str()), 1);
    EXPECT_EQ(writer.WriteAnimationSet(set.Get()), 0);
    EXPECT_EQ(writer.WriteAnimation(set->Animations()[0].Get()), 0);
    ASSERT_EQ(writer.CloseFile(), 1);
    EXPECT_EQ(ReadFile(path), "");
}

TEST_F(CXSaveTest, WithoutRootFrameTheFileHoldsHeaderAndAnimationSet) {
    auto elsewhere = NewFrame(nullptr, "tail");
    auto set = NewSet("wag");
    auto animation = NewAnimation("a", elsewhere.Get());
    set->AddAnimation(animation.Get());
    for (CXSave::TopFrames topFrames :
         {CXSave::TopFrames::Root, CXSave::TopFrames::ChildrenOfRoot}) {
        SCOPED_TRACE(static_cast<int>(topFrames));
        EXPECT_EQ(SaveToFile(set.Get(), nullptr, topFrames),
                  OnDisk(Join({kHeader, SetStart("wag", "a", "tail"), kSetEnd})));
    }
}

namespace {

/// A scene whose file is larger than the writer's buffer, so failures can strike both
/// while writing and when the last bytes go out.
struct BigScene {
    rm::Ref<rm::Frame> root;
    rm::Ref<rm::Frame> unnamed;
    rm::Ref<rm::AnimationSet> set;
};

BigScene MakeBigScene(rm::Context& d3drm) {
    BigScene scene;
    d3drm.CreateFrame(nullptr, &scene.root);
    d3drm.CreateFrame(scene.root.Get(), &scene.unnamed);
    rm::Ref<rm::MeshBuilder> mesh;
    d3drm.CreateMeshBuilder(&mesh);
    for (int i = 0; i < 3000; ++i) {
        mesh->AddVertex(float(i), float(-i), 0.5f);
    }
    scene.unnamed->AddVisual(mesh.Get());
    d3drm.CreateAnimationSet(&scene.set);
    rm::Ref<rm::Animation> animation;
    d3drm.CreateAnimation(&animation);
    animation->SetFrame(scene.unnamed.Get());
    animation->AddPositionKey(0, 1, 2, 3);
    scene.set->AddAnimation(animation.Get());
    return scene;
}

} // namespace

TEST_F(CXSaveTest, DiskFullReturnsZeroAndKeepsThePreviousFile) {
    const BigScene scene = MakeBigScene(*m_d3drm);
    const std::string path = m_folder.File("scene.x");
    const std::string previous = "xof 0303txt 0032\r\n\r\nthe user's earlier work\r\n";
    // 0: nothing fits; 100: the first buffer fails; 70000: a later buffer fails.
    for (std::size_t room : {std::size_t(0), std::size_t(100), std::size_t(70000)}) {
        SCOPED_TRACE(room);
        testing_xfile::WriteFile(path, previous);
        std::size_t left = room;
        CXSave writer(m_d3drm.Get());
        writer.SetWriteFunction([&left](int fd, const void* data, std::size_t size) -> ssize_t {
            if (left == 0) {
                errno = ENOSPC;
                return -1;
            }
            const ssize_t n = ::write(fd, data, std::min(size, left));
            if (n > 0) {
                left -= std::size_t(n);
            }
            return n;
        });

        EXPECT_EQ(writer.Save(path.c_str(), 0x0F, scene.set.Get(), scene.root.Get(),
                              CXSave::TopFrames::ChildrenOfRoot),
                  0);

        EXPECT_EQ(ReadFile(path), previous);
        EXPECT_EQ(m_folder.Entries(), std::vector<std::string>{"scene.x"});
        EXPECT_NE(writer.LastError().find(path), std::string::npos) << writer.LastError();
        EXPECT_NE(writer.LastError().find(std::strerror(ENOSPC)), std::string::npos);
        // Generated names are taken back even when the file failed.
        EXPECT_TRUE(scene.unnamed->Name().empty());
    }
}

TEST_F(CXSaveTest, DiskFullOnANewFileLeavesNoFileBehind) {
    const BigScene scene = MakeBigScene(*m_d3drm);
    const std::string path = m_folder.File("new.x");
    CXSave writer(m_d3drm.Get());
    writer.SetWriteFunction([](int, const void*, std::size_t) -> ssize_t {
        errno = EIO;
        return -1;
    });
    EXPECT_EQ(writer.Save(path.c_str(), 0x0F, scene.set.Get(), scene.root.Get(),
                          CXSave::TopFrames::ChildrenOfRoot),
              0);
    EXPECT_TRUE(m_folder.Entries().empty());
}

TEST_F(CXSaveTest, SuccessfulSaveReplacesALongerPreviousFileCompletely) {
    const BigScene scene = MakeBigScene(*m_d3drm);
    const std::string fresh = m_folder.File("fresh.x");
    const std::string path = m_folder.File("scene.x");
    testing_xfile::WriteFile(path, std::string(500000, '#'));
    CXSave first(m_d3drm.Get());
    ASSERT_EQ(first.Save(fresh.c_str(), 0x0F, scene.set.Get(), scene.root.Get(),
                         CXSave::TopFrames::ChildrenOfRoot),
              1);
    CXSave second(m_d3drm.Get());
    ASSERT_EQ(second.Save(path.c_str(), 0x0F, scene.set.Get(), scene.root.Get(),
                          CXSave::TopFrames::ChildrenOfRoot),
              1);
    EXPECT_TRUE(second.LastError().empty());
    EXPECT_EQ(ReadFile(path), ReadFile(fresh));
    EXPECT_EQ(m_folder.Entries(), (std::vector<std::string>{"fresh.x", "scene.x"}));
}

TEST_F(CXSaveTest, SaveIsRefusedWithoutCreatingAFile) {
    auto root = NewFrame(nullptr, "r");
    auto set = NewSet("s");
    const std::string path = m_folder.File("scene.x");
    struct Case {
        const char* what;
        rm::Context* d3drm;
        rm::AnimationSet* set;
        std::string path;
    };
    const Case cases[] = {
        {"no retained-mode object", nullptr, set.Get(), path},
        {"no animation set", m_d3drm.Get(), nullptr, path},
        {"folder missing", m_d3drm.Get(), set.Get(), m_folder.File("missing/scene.x")},
        {"target is a folder", m_d3drm.Get(), set.Get(), m_folder.Path().string()},
        {"empty file name", m_d3drm.Get(), set.Get(), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CXSave writer(c.d3drm);
        EXPECT_EQ(writer.Save(c.path.c_str(), 0x0F, c.set, root.Get(), CXSave::TopFrames::Root), 0);
        EXPECT_TRUE(m_folder.Entries().empty());
        EXPECT_EQ(root->Name(), "r");
    }
}

TEST_F(CXSaveTest, UnwritableFolderReturnsZeroAndKeepsThePreviousFile) {
    auto root = NewFrame(nullptr);
    NewFrame(root.Get(), "part");
    auto set = NewSet("s");
    const std::string path = testing_xfile::LockedFile(m_folder.Path(), "locked", "scene.x");

    const int result = testing_xfile::RunUnprivileged([&] {
        CXSave writer(m_d3drm.Get());
        return writer.Save(path.c_str(), 0x0F, set.Get(), root.Get(),
                           CXSave::TopFrames::ChildrenOfRoot);
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(ReadFile(path), "previous\r\n");
    EXPECT_EQ(testing_xfile::FileNames(m_folder.Path() / "locked"),
              std::vector<std::string>{"scene.x"});
}

namespace {

// ---------------------------------------------------------------------------------------
// What a file carries beyond the writer's own examples, written only when present.

TEST_F(CXSaveTest, TickRateOptionsVertexColoursAndFurtherSetsAreWrittenOnlyWhenPresent) {
    auto root = NewFrame(nullptr);
    auto part = NewFrame(root.Get(), "part1");
    auto builder = NewBuilder();
    builder->AddVertex(0, 0, 0);
    builder->AddVertex(1, 0, 0);
    builder->SetVertexColor(1, 0x80FF0000);
    part->AddVisual(builder.Get());
    auto walk = NewSet("walk");
    auto run = NewSet("run");
    for (rm::AnimationSet* set : {walk.Get(), run.Get()}) {
        auto animation = NewAnimation("anim1", part.Get());
        animation->AddPositionKey(0, 1, 2, 3);
        set->AddAnimation(animation.Get());
    }
    run->Animations()[0]->SetOptions(rm::D3DRMANIMATION_OPEN | rm::D3DRMANIMATION_SPLINEPOSITION |
                                     rm::D3DRMANIMATION_SCALEANDROTATION |
                                     rm::D3DRMANIMATION_POSITION);
    run->SetTicksPerSecond(4800);

    const std::string path = m_folder.File("scene.x");
    CXSave writer(m_d3drm.Get());
    rm::AnimationSet* const sets[] = {walk.Get(), run.Get()};
    ASSERT_EQ(writer.Save(path.c_str(), CXSave::kDocumentFlags, sets, root.Get(),
                          CXSave::TopFrames::ChildrenOfRoot),
              1);
    std::vector<Line> expected = kHeader;
    const std::vector<Line> rest = {
        {0, ""}, {0, "AnimTicksPerSecond {"}, {1, "4800;"}, {0, "}"}, {0, ""}, {0, "Frame part1 {"},
    };
    expected.insert(expected.end(), rest.begin(), rest.end());
    const std::vector<Line> matrix = IdentityMatrix(1);
    expected.insert(expected.end(), matrix.begin(), matrix.end());
    const std::vector<Line> key = KeyLines(2, {"0; 3; 1.000000, 2.000000, 3.000000;;;"});
    const std::vector<Line> mesh = Join({
        {{0, ""},
         {1, "Mesh {"},
         {2, "2;"},
         {2, "0.000000;0.000000;0.000000;,"},
         {2, "1.000000;0.000000;0.000000;;"},
         {0, ""},
         {2, "MeshTextureCoords {"},
         {3, "2;"},
         {3, "0.000000;0.000000;"},
         {3, "0.000000;0.000000;;"},
         {2, "}"},
         {0, ""},
         {2, "MeshVertexColors {"},
         {3, "2;"},
         {3, "0;1.000000;1.000000;1.000000;1.000000;;,"},
         {3, "1;1.000000;0.000000;0.000000;0.501961;;;"},
         {2, "}"},
         {1, "}"},
         {0, "}"}},
        SetStart("walk", "anim1", "part1"),
        key,
        kSetEnd,
        SetStart("run", "anim1", "part1"),
        {{2, "AnimationOptions {"}, {3, "1;"}, {3, "0;"}, {2, "}"}},
        key,
        kSetEnd,
    });
    expected.insert(expected.end(), mesh.begin(), mesh.end());
    EXPECT_EQ(ReadFile(path), OnDisk(expected));

    // With templates, AnimTicksPerSecond's joins them, last; without a tick rate it does
    // not, and no set declares one.
    const std::string withTemplates =
        SaveToFile(run.Get(), root.Get(), CXSave::TopFrames::ChildrenOfRoot,
                   CXSave::kDocumentFlags | CXSave::kWriteTemplates);
    EXPECT_NE(withTemplates.find(
                  "template AnimationSet {\r\n <3D82AB50-62DA-11cf-AB39-0020AF71E433>\r\n"
                  " [Animation]\r\n}\r\n\r\ntemplate AnimTicksPerSecond {\r\n"
                  " <9E415A43-7BA6-4a73-8743-B73D47E88476>\r\n DWORD AnimTicksPerSecond;\r\n}"
                  "\r\n\r\nHeader {"),
              std::string::npos);
    const std::string withoutRate =
        SaveToFile(walk.Get(), root.Get(), CXSave::TopFrames::ChildrenOfRoot,
                   CXSave::kDocumentFlags | CXSave::kWriteTemplates);
    EXPECT_EQ(withoutRate.find("AnimTicksPerSecond"), std::string::npos);
    EXPECT_EQ(withoutRate.find("\r\n  AnimationOptions {"), std::string::npos);

    // A list with a missing set writes nothing at all.
    rm::AnimationSet* const withNull[] = {walk.Get(), nullptr};
    const std::string refused = m_folder.File("refused.x");
    EXPECT_EQ(writer.Save(refused.c_str(), CXSave::kDocumentFlags, withNull, root.Get(),
                          CXSave::TopFrames::ChildrenOfRoot),
              0);
    EXPECT_FALSE(std::filesystem::exists(refused));
}

// Skin weights follow the vertex colours as the header and one block per bone; their
// templates join the others, before AnimTicksPerSecond's, only when some mesh has them.
TEST_F(CXSaveTest, SkinWeightsAndTheirTemplatesAreWrittenOnlyWhenPresent) {
    auto builder = NewBuilder();
    for (float x : {0.0f, 1.0f}) {
        builder->AddVertex(x, 0, 0);
    }
    auto root = NewFrame(nullptr);
    NewFrame(root.Get(), "part1")->AddVisual(builder.Get());
    auto set = NewSet("walk");
    set->SetTicksPerSecond(30);
    const std::string rigid = SaveToFile(set.Get(), root.Get(), CXSave::TopFrames::ChildrenOfRoot,
                                         CXSave::kDocumentFlags | CXSave::kWriteTemplates);
    EXPECT_EQ(rigid.find("Skin"), std::string::npos);

    rm::SkinBone bone{"part1", {1, 0}, {0.75f, 0.5f}, rm::MatrixTranslation({1, -2, 3})};
    builder->SetSkin({2, 1, {bone}});
    const std::string text = WriteAtLevel(
        1, 0, [&](CXSave& writer) { EXPECT_EQ(writer.WriteSkinWeights(builder.Get()), 1); });
    EXPECT_EQ(text, OnDisk({{0, ""},
                            {1, "XSkinMeshHeader {"},
                            {2, "2;"},
                            {2, "1;"},
                            {2, "1;"},
                            {1, "}"},
                            {0, ""},
                            {1, "SkinWeights {"},
                            {2, "\"part1\";"},
                            {2, "2;"},
                            {2, "1,"},
                            {2, "0;"},
                            {2, "0.750000,"},
                            {2, "0.500000;"},
                            {2, "1.000000,0.000000,0.000000,0.000000,"},
                            {2, "0.000000,1.000000,0.000000,0.000000,"},
                            {2, "0.000000,0.000000,1.000000,0.000000,"},
                            {2, "1.000000,-2.000000,3.000000,1.000000;;"},
                            {1, "}"}}));
    const std::string skinned = SaveToFile(set.Get(), root.Get(), CXSave::TopFrames::ChildrenOfRoot,
                                           CXSave::kDocumentFlags | CXSave::kWriteTemplates);
    EXPECT_NE(skinned.find(OnDisk({{2, "}"}, {0, ""}, {2, "XSkinMeshHeader {"}})),
              std::string::npos)
        << "after the texture coordinates";
    EXPECT_NE(skinned.find("[Animation]\r\n}\r\n\r\ntemplate XSkinMeshHeader {\r\n"
                           " <3CF169CE-FF7C-44ab-93C0-F78F62D172E2>\r\n"
                           " WORD nMaxSkinWeightsPerVertex;\r\n WORD nMaxSkinWeightsPerFace;\r\n"
                           " WORD nBones;\r\n}\r\n\r\ntemplate SkinWeights {\r\n"
                           " <6F0D123B-BAD2-4167-A0D0-80224F25FABB>\r\n"
                           " STRING transformNodeName;\r\n DWORD nWeights;\r\n"
                           " array DWORD vertexIndices[nWeights];\r\n"
                           " array FLOAT weights[nWeights];\r\n Matrix4x4 matrixOffset;\r\n}"
                           "\r\n\r\ntemplate AnimTicksPerSecond {"),
              std::string::npos);
}

} // namespace
