// Data objects the editor does not interpret travel through an open and a save: kept in
// order where the file had them (top level, frame, mesh), written back with the template
// declarations they need, read back the same; dropped with their names when the skin lays
// the meshes' vertices out anew.

#include <filesystem>
#include <string>
#include <vector>

#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <gtest/gtest.h>

#include "cli/Cli.h"
#include "platform/rm/MeshBuilder.h"
#include "xfile/DocumentSceneFixture.h"

using testing_xfile::Count;
using testing_xfile::ReadFile;
using testing_xfile::WriteFile;

namespace {

// A user engine's templates (one using the other), a declared exporter template, and a
// standard template the file uses without declaring it.
const char* const kFile = R"(xof 0303txt 0032
template EngineColor {
 <11111111-2222-3333-4444-555555555555>
 FLOAT r;
 FLOAT g;
}

template EngineTag {
 <66666666-7777-8888-9999-AAAAAAAAAAAA>
 STRING tag;
 EngineColor color;
}

template ObjectMatrixComment {
 <95a48e28-7ef4-4419-a16a-ba9dbdf0d2bc>
 Matrix4x4 objectMatrix;
}

EngineTag fileTag {
 "whole file";
 0.5;0.25;;
}

Frame Body {
 FrameTransformMatrix {
  1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1;;
 }
 ObjectMatrixComment object {
  1,0,0,0,0,1,0,0,0,0,1,0,0,2,0,1;;
 }
 EngineTag {
  "body";
  1;0;;
 }
 Mesh Box {
  3;
  0;0;0;, 1;0;0;, 0;1;0;;
  1;
  3;0,1,2;;
  VertexDuplicationIndices {
   3;
   3;
   0,
   1,
   2;
  }
 }
}

AnimationSet Walk {
 Animation {
  {Body}
  AnimationKey { 2; 2; 0;3;0,0,0;;, 10;3;0,1,0;;; }
 }
}
)";

class CarriedDataTest : public DocumentSceneFixture {
protected:
    std::string Resave(const std::string& in, const std::string& out) {
        const std::vector<std::string> args = {"--resave", in, out};
        std::ostringstream stdout, stderr;
        EXPECT_EQ(cli::Run(args, stdout, stderr), cli::kExitOk) << stderr.str();
        return ReadFile(out);
    }
};

} // namespace

TEST_F(CarriedDataTest, UnknownObjectsComeBackInOrderWithTheirDeclarations) {
    const std::string in = folder.File("in.x");
    WriteFile(in, kFile);
    const std::string saved = Resave(in, folder.File("saved.x"));

    // Each declaration once, before the Header; the objects where the file had them.
    for (const char* name :
         {"EngineColor", "EngineTag", "ObjectMatrixComment", "VertexDuplicationIndices"}) {
        EXPECT_EQ(Count(saved, std::string("template ") + name + " {"), 1u) << name;
    }
    const std::size_t header = saved.find("Header {");
    EXPECT_LT(saved.find("template EngineColor"), saved.find("template EngineTag"));
    EXPECT_LT(saved.find("template VertexDuplicationIndices"), header);
    const std::size_t fileTag = saved.find("EngineTag fileTag {");
    const std::size_t body = saved.find("Frame Body {");
    const std::size_t comment = saved.find("ObjectMatrixComment object {");
    const std::size_t bodyTag = saved.find("EngineTag {\r\n  \"body\";");
    const std::size_t mesh = saved.find("Mesh Box {");
    const std::size_t duplicates = saved.find("VertexDuplicationIndices {\r\n   3;");
    ASSERT_NE(duplicates, std::string::npos) << saved;
    EXPECT_TRUE(header < fileTag && fileTag < body && body < comment && comment < bodyTag &&
                bodyTag < mesh && mesh < duplicates)
        << saved;
    EXPECT_NE(saved.find("  1,0,0,0,0,1,0,0,0,0,1,0,0,2,0,1;;\r\n"), std::string::npos) << saved;

    // Read again and saved again: the same bytes.
    EXPECT_EQ(Resave(folder.File("saved.x"), folder.File("again.x")), saved);
}

TEST_F(CarriedDataTest, ABinaryFilesUnknownObjectIsWrittenAsText) {
    // Header, then: EngineNote { "hi"; 3 integers; 2 floats } as tokens.
    std::string bin = "xof 0302bin 0032";
    const auto token = [&](std::uint16_t t) { bin.append(reinterpret_cast<const char*>(&t), 2); };
    const auto dword = [&](std::uint32_t v) { bin.append(reinterpret_cast<const char*>(&v), 4); };
    const auto name = [&](const std::string& text) {
        token(1);
        dword(std::uint32_t(text.size()));
        bin += text;
    };
    name("Frame");
    name("Root");
    token(10);
    name("EngineNote");
    token(10);
    token(2);
    dword(2);
    bin += "hi";
    token(20);
    token(6);
    dword(3);
    for (std::uint32_t v : {7u, 8u, 9u}) {
        dword(v);
    }
    token(7);
    dword(2);
    for (float f : {0.5f, -2.0f}) {
        bin.append(reinterpret_cast<const char*>(&f), 4);
    }
    token(11);
    token(11);
    const std::string in = folder.File("in.x");
    WriteFile(in, bin);
    const std::string saved = Resave(in, folder.File("saved.x"));
    EXPECT_NE(saved.find(" EngineNote {\r\n  \"hi\";\r\n  7,8,9;0.500000,-2.000000;\r\n }"),
              std::string::npos)
        << saved;
    EXPECT_EQ(Resave(folder.File("saved.x"), folder.File("again.x")), saved);
}

TEST_F(CarriedDataTest, SkinOnDropsTheMeshsDataWithItsNameAndKeepsTheFramesData) {
    const std::string in = folder.File("in.x");
    WriteFile(in, kFile);
    MustOpen(in);
    std::vector<std::string> dropped;
    ASSERT_TRUE(doc.currentModel->EnableSkin(&dropped));
    EXPECT_EQ(dropped, std::vector<std::string>{"VertexDuplicationIndices (mesh Box)"});
    const std::string out = folder.File("skinned.x");
    ASSERT_EQ(Save(out), 1);
    const std::string saved = ReadFile(out);
    EXPECT_EQ(saved.find("VertexDuplicationIndices"), std::string::npos) << saved;
    EXPECT_NE(saved.find("ObjectMatrixComment object {"), std::string::npos);
    EXPECT_NE(saved.find("EngineTag fileTag {"), std::string::npos);
}

TEST_F(CarriedDataTest, TheSkinnedCharacterKeepsEveryObjectMatrixCommentAndAssimpSeesTheSame) {
    const std::string original = std::string(PAVRIX_TESTDATA_DIR) + "/x/BCN_Epileptic.X";
    if (!std::filesystem::exists(original)) {
        GTEST_SKIP() << "no " << original;
    }
    const std::string saved = Resave(original, folder.File("bcn.x"));
    // 57 objects and their template's declaration, as in the original.
    EXPECT_EQ(Count(ReadFile(original), "ObjectMatrixComment"), 58u);
    EXPECT_EQ(Count(saved, "ObjectMatrixComment"), 58u);
    EXPECT_EQ(Count(saved, "ObjectMatrixComment object {"), 57u);
    EXPECT_EQ(Count(saved, "template ObjectMatrixComment {"), 1u);
    EXPECT_EQ(Count(saved, "\r\nKeyValuePair {"), 4u);

    // Assimp reads both into the same nodes, meshes and animations.
    Assimp::Importer a;
    Assimp::Importer b;
    const aiScene* x = a.ReadFile(original, 0);
    const aiScene* y = b.ReadFile(folder.File("bcn.x"), 0);
    ASSERT_TRUE(x) << a.GetErrorString();
    ASSERT_TRUE(y) << b.GetErrorString();
    EXPECT_EQ(x->mNumMeshes, y->mNumMeshes);
    EXPECT_EQ(x->mNumAnimations, y->mNumAnimations);
    std::vector<const aiNode*> nx{x->mRootNode}, ny{y->mRootNode};
    while (!nx.empty() && !ny.empty()) {
        const aiNode* p = nx.back();
        const aiNode* q = ny.back();
        nx.pop_back();
        ny.pop_back();
        EXPECT_STREQ(p->mName.C_Str(), q->mName.C_Str());
        ASSERT_EQ(p->mNumChildren, q->mNumChildren) << p->mName.C_Str();
        EXPECT_EQ(p->mNumMeshes, q->mNumMeshes) << p->mName.C_Str();
        for (unsigned i = 0; i < p->mNumChildren; ++i) {
            nx.push_back(p->mChildren[i]);
            ny.push_back(q->mChildren[i]);
        }
    }
    for (unsigned m = 0; m < std::min(x->mNumMeshes, y->mNumMeshes); ++m) {
        EXPECT_EQ(x->mMeshes[m]->mNumVertices, y->mMeshes[m]->mNumVertices) << m;
        EXPECT_EQ(x->mMeshes[m]->mNumBones, y->mMeshes[m]->mNumBones) << m;
    }
}
