// The full read and the read that steps over meshes (the one animation loads use) must
// agree on every file: either both refuse it, or both find the same frames and animations.
// The inputs here are the ones where a name's bytes could be taken as a brace by one path
// and as part of a character by the other.

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/rm/Implementation/XFileReader.h"

using namespace rm;

namespace {

/// What both reads must agree on: success, the frames (names and tree) and the animations.
std::string Outline(const std::string& bytes, bool readMeshes) {
    XFileDocument document;
    std::string message;
    XFileReadOptions options;
    options.readMeshes = readMeshes;
    if (Failed(ReadXFileFromMemory(bytes, "in.x", &document, &message, options))) {
        return "refused";
    }
    std::ostringstream out;
    for (const auto& frame : document.frames) {
        out << "frame '" << frame.name << "' children";
        for (const auto child : frame.children) {
            out << ' ' << child;
        }
        out << '\n';
    }
    for (const auto& set : document.animationSets) {
        out << "set '" << set.name << "'\n";
        for (const auto& animation : set.animations) {
            out << " animation '" << animation.name << "' of '" << animation.frameName << "' "
                << animation.inlineFrame << " keys " << animation.keys.size() << '\n';
        }
    }
    return out.str();
}

void ExpectReadsAgree(const std::string& bytes, const std::string& label) {
    EXPECT_EQ(Outline(bytes, true), Outline(bytes, false)) << label;
}

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A larger file of the same kind: a skinned mesh whose material reference and whose
// unknown child object carry names with a brace as their second byte, beside a frame tree
// and an animation set that both reads must find.
std::string LargerFile() {
    std::string text = "xof 0302txt 0032\n"
                       "Material \x83}\x83"
                       "e\x83\x8A\x83\x41\x83\x8B { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; }\n"
                       "Frame Root {\n FrameTransformMatrix { 1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1;; }\n"
                       " Frame \x83{\x81[\x83\x93 {\n"
                       "  Mesh Body {\n   ";
    const int vertices = 400;
    text += std::to_string(vertices) + ";\n";
    for (int i = 0; i < vertices; ++i) {
        text += "   " + std::to_string(i) + ".5;0.25;-1.0;" + (i + 1 < vertices ? ",\n" : ";\n");
    }
    text += "   " + std::to_string(vertices / 4) + ";\n";
    for (int f = 0; f < vertices / 4; ++f) {
        const int v = f * 4;
        text += "   4;" + std::to_string(v) + "," + std::to_string(v + 1) + "," +
                std::to_string(v + 2) + "," + std::to_string(v + 3) +
                (f + 1 < vertices / 4 ? ";,\n" : ";;\n");
    }
    text += "   MeshMaterialList { 1; 1; 0;; {\x83}\x83"
            "e\x83\x8A\x83\x41\x83\x8B} }\n"
            "   \x88}{}\n"
            "   VertexDuplicationIndices { 1; 1; 0; }\n"
            "  }\n"
            " }\n"
            "}\n"
            "AnimationSet Walk {\n"
            " Animation A { {\x83{\x81[\x83\x93} AnimationKey { 0; 2; 0;4;1,0,0,0;;, "
            "10;4;0,1,0,0;;; } }\n"
            "}\n";
    return text;
}

} // namespace

TEST(XFileReadPathsTest, BothReadsGiveTheSameAnswerWhereABraceMayEndACharacter) {
    const std::vector<std::pair<std::string, std::string>> inputs = {
        // The minimised fuzzer input: a lead byte, then a brace.
        {"minimised", std::string("xof 0302txt 0032Mesh{0,0;\x88}{}}")},
        {"larger", LargerFile()},
        {"reference in a skipped mesh",
         std::string("xof 0302txt 0032\nMaterial \x83} { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; }\n"
                     "Frame A { Mesh M { 0;; 0;; MeshMaterialList { 1; 0;; {\x83}} } } }\n"
                     "AnimationSet S { Animation { {A} AnimationKey { 2; 1; 0;3;1,2,3;;; } } }\n")},
        {"Latin-1 name before its brace inside a skipped mesh",
         std::string(
             "xof 0302txt 0032\nFrame A { Mesh M { 0;; 0;; Unknown Body\xE9{\n 1; } } }\n")},
    };
    for (const auto& [label, bytes] : inputs) {
        ExpectReadsAgree(bytes, label);
    }
    // Inside a frame, the pair is a child object without its brace: the full read refuses
    // the mesh where it stands (the read that steps over meshes does not look inside them).
    XFileDocument document;
    std::string message;
    EXPECT_EQ(ReadXFileFromMemory("xof 0302txt 0032Frame A { Mesh M { 0,0;\x88} } }", "in.x",
                                  &document, &message),
              D3DRMERR_BADFILE);
    EXPECT_EQ(message, "in.x:1: expected '{' to open \x88}, found '}'");
    // The larger file must be read, not merely refused by both.
    const std::string larger = Outline(LargerFile(), false);
    EXPECT_NE(larger, "refused");
    EXPECT_NE(larger.find("frame '\x83{\x81[\x83\x93'"), std::string::npos) << larger;
    EXPECT_NE(larger.find("of '\x83{\x81[\x83\x93'"), std::string::npos) << larger;
}

TEST(XFileReadPathsTest, BothReadsAgreeOnEveryTestFile) {
    const std::filesystem::path dir = std::filesystem::path(PAVRIX_TESTDATA_DIR) / "x";
    if (!std::filesystem::is_directory(dir)) {
        GTEST_SKIP() << "no test data at " << dir;
    }
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        const std::string bytes = ReadAll(entry.path());
        if (bytes.rfind("xof ", 0) == 0) {
            ExpectReadsAgree(bytes, entry.path().filename().string());
        }
    }
}

TEST(XFileReadPathsTest, NamesBeforeTheirBraceReadInLatin1AndInShiftJis) {
    const struct {
        const char* label;
        std::string text;
        std::vector<std::string> frames;
    } rows[] = {
        {"Latin-1 name touching its brace",
         "Frame Body\xE9{\n FrameTransformMatrix { 1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1;; }\n}\n",
         {"Body\xE9"}},
        {"Latin-1 names, nested",
         "Frame \xE0{ Frame M\xFC{\n Frame X {}\n } }\n",
         {"\xE0", "M\xFC", "X"}},
        {"Shift-JIS name whose last byte is a brace, touching its own",
         "Frame \x83}{ Frame \x83{ { } }\n",
         {"\x83}", "\x83{"}},
        {"Shift-JIS name with a brace inside",
         "Frame \x83{\x81[\x83\x93{}\n",
         {"\x83{\x81[\x83\x93"}},
    };
    for (const auto& row : rows) {
        XFileDocument document;
        std::string message;
        ASSERT_EQ(ReadXFileFromMemory(std::string("xof 0302txt 0032\n") + row.text, "n.x",
                                      &document, &message),
                  D3DRM_OK)
            << row.label << ": " << message;
        std::vector<std::string> names;
        for (const auto& frame : document.frames) {
            names.push_back(frame.name);
        }
        EXPECT_EQ(names, row.frames) << row.label;
        ExpectReadsAgree(std::string("xof 0302txt 0032\n") + row.text, row.label);
    }
}
