// Meshes read on a second thread must give the document that reading every mesh in turn
// gives, or the same refusal: the same meshes at the same indices, their materials in
// file order, references and bone names resolved, and the first failure in the file
// reported. The reads here hand every mesh, however small, to the second thread.

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/rm/Implementation/XFileReader.h"

using namespace rm;

namespace {

template <typename Values>
void Put(std::ostringstream& out, const char* label, const Values& values) {
    out << ' ' << label << '[';
    for (const auto& v : values) {
        out << v << ',';
    }
    out << ']';
}

/// Everything a mesh read apart could get wrong, as text.
std::string Outline(const std::string& bytes, std::size_t asideMeshBytes) {
    XFileDocument doc;
    std::string message;
    XFileReadOptions options;
    options.asideMeshBytes = asideMeshBytes;
    if (Failed(ReadXFileFromMemory(bytes, "in.x", &doc, &message, options))) {
        return "refused: " + message;
    }
    std::ostringstream out;
    for (const auto& m : doc.materials) {
        out << "material '" << m.name << "' " << m.faceColor[0] << ' ' << m.power << " '"
            << m.textureFileName << "'\n";
    }
    for (const auto& mesh : doc.meshes) {
        out << "mesh '" << mesh.name << "'";
        for (const auto& p : mesh.positions) {
            out << ' ' << p.x << '/' << p.y << '/' << p.z;
        }
        Put(out, "faces", mesh.faceSizes);
        Put(out, "corners", mesh.faceVertices);
        out << " normals " << mesh.normals.size() << '/' << mesh.faceNormalCount;
        Put(out, "faceNormals", mesh.faceNormals);
        Put(out, "uv", mesh.texCoords);
        Put(out, "faceMaterials", mesh.faceMaterials);
        Put(out, "materials", mesh.materials);
        for (const auto& bone : mesh.skin.bones) {
            out << " bone '" << bone.frameName << "'";
            Put(out, "v", bone.vertices);
            Put(out, "w", bone.weights);
        }
        for (const auto& c : mesh.carried) {
            out << " carried " << c.templateName << ':' << c.text;
        }
        out << " warnings '" << mesh.warnings << "'\n";
    }
    for (const auto& frame : doc.frames) {
        out << "frame '" << frame.name << "'";
        Put(out, "meshes", frame.meshes);
        Put(out, "children", frame.children);
        out << '\n';
    }
    for (const auto& item : doc.topLevel) {
        out << "top " << item.isFrame << ' ' << item.index << '\n';
    }
    for (const auto& set : doc.animationSets) {
        out << "set '" << set.name << "' " << set.animations.size() << '\n';
    }
    return out.str();
}

void ExpectSameDocument(const std::string& bytes, const std::string& label) {
    EXPECT_EQ(Outline(bytes, 1), Outline(bytes, 0)) << label;
}

std::string Mesh(const std::string& name, const std::string& after = "") {
    return "Mesh " + name +
           " {\n 4;\n 0;0;0;, 1;0;0;, 1;1;0;, 0;1;0;;\n 2;\n 3;0,1,2;, 3;0,2,3;;\n"
           " MeshNormals { 1; 0;0;-1;; 2; 3;0,0,0;, 3;0,0,0;; }\n"
           " MeshTextureCoords { 4; 0;0;, 1;0;, 1;1;, 0;1;; }\n" +
           after + "}\n";
}

const std::string kMaterial = "Material Red { 1;0;0;1;; 5; 1;1;1;; 0;0;0;; }\n";
const std::string kInlineMaterials =
    " MeshMaterialList { 3; 2; 0, 2;; Material { 0;1;0;1;; 1; 0;0;0;; 0;0;0;; "
    "TextureFilename { \"a}b.png\"; } } {Red} Material Blue { 0;0;1;1;; 2; 0;0;0;; 0;0;0;; } }\n";
const std::string kSkin = " XSkinMeshHeader { 2; 2; 2; }\n"
                          " SkinWeights { \"Arm\"; 2; 0, 1; 0.5, 1.0; "
                          "1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1;; }\n"
                          " SkinWeights { \"Nobody\"; 1; 9; 1.0; "
                          "1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1;; }\n";

std::string Header() {
    return "xof 0303txt 0032\n";
}

} // namespace

TEST(XFileMeshesAsideTest, EveryShapeOfFileReadsAsInTurn) {
    const std::vector<std::pair<std::string, std::string>> files = {
        {"meshes in frames, materials defined and named",
         Header() + kMaterial + "Frame Root {\n Frame Arm {\n" + Mesh("A", kInlineMaterials) +
             Mesh("B", kInlineMaterials + kSkin) + " }\n" + Mesh("C", kSkin) + Mesh("D") + "}\n" +
             kMaterial + Mesh("E", kInlineMaterials) +
             "AnimationSet S { Animation { {Arm} AnimationKey { 2; 1; 0;3;1,2,3;;; } } }\n"},
        {"top-level meshes with a frame referring to them",
         Header() + Mesh("A") + Mesh("B", kInlineMaterials) + kMaterial + Mesh("C") +
             "Frame F { {A} {C} {B} }\n"},
        {"a second material list replaces the first",
         Header() + kMaterial + Mesh("A", kInlineMaterials + kInlineMaterials) + Mesh("B")},
        {"the mesh read aside fails, then the one read here",
         Header() + Mesh("A", " 7;\n") + Mesh("B", " 8;\n")},
        {"the mesh read here fails, the one aside does not",
         Header() + Mesh("A") + Mesh("B", " MeshNormals { 1; x }\n")},
        {"a later object fails after a mesh aside that fails",
         Header() + Mesh("A", " MeshNormals { 99; }\n") + "Frame { 1 }\n"},
        {"a later object fails after a mesh aside that reads",
         Header() + Mesh("A") + "Frame { 1 }\n"},
        {"a material named nowhere", Header() + Mesh("A", kInlineMaterials) + Mesh("B")},
        {"a mesh without its closing brace", Header() + Mesh("A") + "Mesh B { 1; 0;0;0;;"},
        {"a name with a brace for its second byte",
         Header() + "Frame A { Mesh M { 0,0;\x88} } }\n" + Mesh("B")},
    };
    for (const auto& [label, bytes] : files) {
        ExpectSameDocument(bytes, label);
    }
    // The cases above are read, not merely refused alike.
    EXPECT_EQ(Outline(files[0].second, 1).rfind("refused", 0), std::string::npos);
    EXPECT_EQ(Outline(files[1].second, 1).rfind("refused", 0), std::string::npos);
}

TEST(XFileMeshesAsideTest, DamagedFilesAreRefusedOrReadAsInTurn) {
    // Bytes of a file with every kind of mesh content replaced at random: whatever either
    // read makes of the damage, both must make the same of it.
    const std::string base = Header() + kMaterial + "Frame Root {\n" +
                             Mesh("A", kInlineMaterials + kSkin) + Mesh("B", kInlineMaterials) +
                             Mesh("C") + "}\nFrame Arm { }\n" + Mesh("D", kSkin);
    const std::string alphabet = "{}\";,#/ 0123456789.-e\x83\n";
    std::mt19937 random(20261209);
    for (int round = 0; round < 3000; ++round) {
        std::string bytes = base;
        const int changes = 1 + int(random() % 3);
        for (int c = 0; c < changes; ++c) {
            const std::size_t at = 17 + random() % (bytes.size() - 17);
            bytes[at] = alphabet[random() % alphabet.size()];
        }
        ExpectSameDocument(bytes, "round " + std::to_string(round));
        if (HasFailure()) {
            return;
        }
    }
}

TEST(XFileMeshesAsideTest, EveryTestFileReadsAsInTurn) {
    const std::filesystem::path dir = std::filesystem::path(PAVRIX_TESTDATA_DIR) / "x";
    if (!std::filesystem::is_directory(dir)) {
        GTEST_SKIP() << "no test data at " << dir;
    }
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>()};
        if (bytes.rfind("xof ", 0) == 0) {
            ExpectSameDocument(bytes, entry.path().filename().string());
        }
    }
}
