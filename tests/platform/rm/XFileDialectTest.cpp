// One scene written in every way real files write it: separator dialects, comments, line
// ends, keyword case, header versions, binary with 32- and 64-bit floats, compressed text
// and binary. Every form must load into exactly the same scene.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <zlib.h>

#include "platform/rm/AnimationSet.h"
#include "platform/rm/Frame.h"
#include "platform/rm/XFileLoader.h"
#include "support/XFileTestSupport.h"

using namespace rm;
using namespace testing_xfile;

namespace {

// Written as the program's own writer writes: ";," between list elements, ";;" after the
// last, one value group per line.
const char* const kScene = R"(xof 0303txt 0032

Material Red {
 1.000000;0.000000;0.000000;1.000000;;
 8.000000;
 0.500000;0.500000;0.500000;;
 0.000000;0.100000;0.000000;;
 TextureFilename {
  "brick.png";
 }
}

Frame Body {
 FrameTransformMatrix {
  1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.500000,-2.000000,3.250000,1.000000;;
 }

 Mesh Box {
  4;
  0.000000;0.000000;0.000000;,
  1.000000;0.000000;0.000000;,
  1.000000;1.000000;0.000000;,
  0.000000;1.000000;-0.125000;;
  2;
  4;0,1,2,3;,
  3;0,2,1;;

  MeshNormals {
   2;
   0.000000;0.000000;-1.000000;,
   0.000000;0.000000;1.000000;;
   2;
   4;0,0,0,0;,
   3;1,1,1;;
  }

  MeshTextureCoords {
   4;
   0.000000;0.000000;,
   1.000000;0.000000;,
   1.000000;1.000000;,
   0.000000;1.000000;;
  }

  MeshVertexColors {
   2;
   0;1.000000;0.000000;0.000000;1.000000;;,
   3;0.000000;0.000000;1.000000;0.500000;;;
  }

  MeshFaceWraps {
   2;
   1;;0;;,
   0;;1;;;
  }

  MeshMaterialList {
   2;
   2;
   1,
   0;;
   { Red }
   Material Green {
    0.000000;1.000000;0.000000;1.000000;;
    2.000000;
    0.000000;0.000000;0.000000;;
    0.000000;0.000000;0.000000;;
   }
  }
 }

 Frame Arm {
  FrameTransformMatrix {
   0.000000,1.000000,0.000000,0.000000,-1.000000,0.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,1.500000,0.000000,1.000000;;
  }
  { Box }
 }
}

AnimTicksPerSecond {
 30;
}

AnimationSet Wave {
 Animation ArmAnim {
  { Arm }
  AnimationOptions {
   0;
   1;
  }
  AnimationKey {
   0;
   2;
   0;4;1.000000,0.000000,0.000000,0.000000;;,
   10;4;0.707107,0.000000,0.707107,0.000000;;;
  }
  AnimationKey {
   2;
   2;
   0;3;0.000000,1.500000,0.000000;;,
   10;3;0.000000,2.000000,0.000000;;;
  }
 }
 Animation BodyAnim {
  { Body }
  AnimationKey {
   1;
   1;
   5;3;2.000000,2.000000,2.000000;;;
  }
 }
}
)";

std::string ReplaceAll(std::string s, const std::string& from, const std::string& to) {
    for (std::size_t at = s.find(from); at != std::string::npos; at = s.find(from, at)) {
        s.replace(at, from.size(), to);
        at += to.size();
    }
    return s;
}

/// Frame dump and animation dump of a file ("" parts when a load fails).
std::string DumpAll(const std::string& path) {
    std::string out = DumpFrameLoad(path);
    if (out.empty()) {
        return "frame load failed: " + GetLastLoadMessage();
    }
    auto parent = MakeRef<Frame>();
    auto set = MakeRef<AnimationSet>();
    if (Failed(set->Load(path.c_str(), parent.Get()))) {
        return "animation load failed: " + GetLastLoadMessage();
    }
    return out + SceneDump().AnimationSet(*set);
}

std::string DumpText(const std::string& name, const std::string& text) {
    return DumpAll(WriteScratch(name, text));
}

} // namespace

TEST(XFileDialectTest, TheCanonicalSceneLoadsCompletely) {
    const std::string dump = DumpText("canonical.x", kScene);
    // Spot checks that the dump really carries the data the other tests compare.
    EXPECT_NE(dump.find("frame 'Body' matrix 1 0 0 0 0 1 0 0 0 0 1 0 0.5 -2 3.25 1"),
              std::string::npos)
        << dump;
    EXPECT_NE(dump.find("f 0/0 1/0 2/0 3/0 colour ff00ff00 wrap 10 material #0 'Green'"),
              std::string::npos)
        << dump;
    EXPECT_NE(dump.find("texture #0 'brick.png'"), std::string::npos) << dump;
    EXPECT_NE(dump.find("v 0 1 -0.125 uv 0 1 colour 800000ff"), std::string::npos) << dump;
    EXPECT_NE(dump.find("animation 'ArmAnim' frame 'Arm' options 54"), std::string::npos) << dump;
    EXPECT_NE(dump.find("set 'Wave' ticks 30"), std::string::npos) << dump;
}

TEST(XFileDialectTest, SeparatorDialectsGiveTheSameScene) {
    const std::string expected = DumpText("canonical.x", kScene);
    const struct {
        const char* name;
        std::function<std::string(std::string)> change;
    } dialects[] = {
        {"doubled separators",
         [](std::string s) { return ReplaceAll(ReplaceAll(s, ";", ";;"), ",", ",,"); }},
        {"commas left out", [](std::string s) { return ReplaceAll(s, ",", " "); }},
        {"no separators at all",
         [](std::string s) { return ReplaceAll(ReplaceAll(s, ",", " "), ";", " "); }},
        {"commas for semicolons", [](std::string s) { return ReplaceAll(s, ";", ","); }},
        {"last separators left out", [](std::string s) { return ReplaceAll(s, ";;\n", "\n"); }},
        {"windows line ends", [](std::string s) { return ReplaceAll(s, "\n", "\r\n"); }},
        {"tabs and one line",
         [](std::string s) {
             return s.substr(0, 17) + ReplaceAll(ReplaceAll(s.substr(17), "\n", " "), " ", "\t");
         }},
        {"comments",
         [](std::string s) {
             s = ReplaceAll(s, "{\n", "{ // opens\n# a comment line\n");
             return ReplaceAll(s, ";;\n", ";; # ends {\n// } not a brace\n");
         }},
        {"keyword case",
         [](std::string s) {
             s = ReplaceAll(s, "TextureFilename", "TextureFileName");
             return ReplaceAll(s, "MeshNormals", "meshnormals");
         }},
        {"version 0302", [](std::string s) { return ReplaceAll(s, "xof 0303", "xof 0302"); }},
        {"templates and unknown objects",
         [](std::string s) {
             const std::string extra =
                 "template Mesh {\n <3D82AB44-62DA-11cf-AB39-0020AF71E433>\n DWORD nVertices;\n"
                 " array Vector vertices[nVertices];\n [...]\n}\n"
                 "Header { 1; 0; 1; }\nKeyValuePair { \"a } b\"; \"{\"; }\n";
             s.insert(17, extra);
             return ReplaceAll(s, "  MeshNormals {",
                               "  VertexDuplicationIndices { 4; 4; 0,1,2,3; }\n"
                               "  DeclData { 1; 2;0;3;0;; 1; 5; }\n  MeshNormals {");
         }},
    };
    for (const auto& d : dialects) {
        EXPECT_EQ(DumpText("dialect.x", d.change(kScene)), expected) << d.name;
    }
}

TEST(XFileDialectTest, CompressedTextInSmallBlocksGivesTheSameScene) {
    const std::string expected = DumpText("canonical.x", kScene);
    const std::string body = std::string(kScene).substr(16);
    const std::string file = CompressMszip("xof 0303tzip0032", body, 300);
    EXPECT_EQ(DumpText("compressed.x", file), expected);

    // The blocks must lean on the carried dictionary, or this test would not show that it
    // is carried: the second block alone does not inflate.
    // The blocks' sizes are little-endian 16-bit fields at odd offsets: read them bytewise.
    auto word = [&file](std::size_t at) {
        return std::size_t(std::uint8_t(file[at])) | std::size_t(std::uint8_t(file[at + 1])) << 8;
    };
    const std::size_t second = 20 + 4 + word(22);
    z_stream zs{};
    inflateInit2(&zs, -MAX_WBITS);
    std::string out(300, '\0');
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(file.data() + second + 6));
    zs.avail_in = uInt(word(second + 2) - 2);
    zs.next_out = reinterpret_cast<Bytef*>(out.data());
    zs.avail_out = uInt(out.size());
    EXPECT_EQ(inflate(&zs, Z_FINISH), Z_DATA_ERROR);
    inflateEnd(&zs);

    XFileFormat format{};
    ASSERT_EQ(GetXFileFormat(WriteScratch("compressed.x", file).c_str(), &format), D3DRM_OK);
    EXPECT_EQ(format, XFileFormat::CompressedText);
}

namespace {

// The same scene as kScene without the parts binary writers spell differently, written
// token by token: values in integer and float lists that run across members, as real
// binary files have them.
std::string BinaryScene(bool doubles, const char* header) {
    BinaryWriter w(doubles);
    w.Name("Frame").Name("Body").Open();
    w.Name("FrameTransformMatrix").Open();
    w.Floats({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0.5, -2, 3.25, 1}).Close();
    w.Name("Mesh").Name("Box").Open();
    w.Integers({4}).Floats({0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, -0.125});
    w.Integers({2, 4, 0, 1, 2, 3, 3, 0, 2, 1});
    w.Name("MeshNormals").Open();
    w.Integers({2}).Floats({0, 0, -1, 0, 0, 1}).Integers({2, 4, 0, 0, 0, 0, 3, 1, 1, 1});
    w.Close();
    w.Name("MeshMaterialList").Open().Integers({1, 1, 0});
    w.Name("Material").Name("Green").Open();
    w.Floats({0, 1, 0, 1, 2, 0, 0, 0, 0, 0, 0});
    w.Name("TextureFilename").Open().String("brick.png").Close();
    w.Close().Close();
    w.Close(); // Mesh
    w.Close(); // Frame
    w.Name("AnimationSet").Name("Wave").Open();
    w.Name("Animation").Name("BodyAnim").Open();
    w.Open().Name("Body").Close();
    w.Name("AnimationOptions").Open().Integers({1, 0}).Close();
    w.Name("AnimationKey").Open().Integers({0, 2, 0, 4}).Floats({1, 0, 0, 0});
    w.Integers({10, 4}).Floats({0.5, 0.5, 0.5, 0.5}).Close();
    w.Close().Close();
    std::string bytes = w.Bytes();
    bytes.replace(0, 16, header);
    return bytes;
}

const char* const kBinarySceneAsText = R"(xof 0303txt 0032
Frame Body {
 FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 0.5,-2,3.25,1;; }
 Mesh Box {
  4; 0;0;0;, 1;0;0;, 1;1;0;, 0;1;-0.125;;
  2; 4;0,1,2,3;, 3;0,2,1;;
  MeshNormals { 2; 0;0;-1;, 0;0;1;; 2; 4;0,0,0,0;, 3;1,1,1;; }
  MeshMaterialList {
   1; 1; 0;;
   Material Green { 0;1;0;1;; 2; 0;0;0;; 0;0;0;; TextureFilename { "brick.png"; } }
  }
 }
}
AnimationSet Wave {
 Animation BodyAnim {
  { Body }
  AnimationOptions { 1; 0; }
  AnimationKey { 0; 2; 0;4;1,0,0,0;;, 10;4;0.5,0.5,0.5,0.5;;; }
 }
}
)";

} // namespace

TEST(XFileDialectTest, BinaryAndCompressedBinaryGiveTheSceneOfTheirText) {
    const std::string expected = DumpText("binary_as_text.x", kBinarySceneAsText);
    ASSERT_EQ(expected.find("failed"), std::string::npos) << expected;
    const std::string floats32 = BinaryScene(false, "xof 0303bin 0032");
    const std::string floats64 = BinaryScene(true, "xof 0302bin 0064");
    EXPECT_EQ(DumpText("binary32.x", floats32), expected);
    EXPECT_EQ(DumpText("binary64.x", floats64), expected);
    EXPECT_EQ(DumpText("bzip.x", CompressMszip("xof 0303bzip0032", floats32.substr(16), 100)),
              expected);
    EXPECT_EQ(DumpText("bzip64.x", CompressMszip("xof 0303bzip0064", floats64.substr(16), 100)),
              expected);
}

TEST(XFileDialectTest, NamesInShiftJisKeepTheDelimiterBytesInsideTheirCharacters) {
    const struct {
        std::string bytes;
        std::size_t length;
    } rows[] = {
        {"Arm {", 3},
        {"Arm}", 3},
        {"left arm", 4},
        {"\x83\x7D}", 2},          // "マ" then the reference's brace
        {"\x81\x5B\x96\x7B {", 4}, // "ー本"
        {"\xE3\x83\x9E}", 3},      // "マ" in UTF-8: the brace ends it
        {"\xE3\x81\x82}", 3},      // "あ" in UTF-8 ends in a Shift-JIS lead byte
        {"\x83\x7D", 2},
        {"\x83\x7D{", 2},         // "マ" then its object's brace
        {"\x83\x7B {", 2},        // "ボ" then a blank and the brace
        {"Body\xE9{\n Frame", 5}, // Latin-1 "é" before its object's brace
        {"\xE9{ 1;", 1},          // "é" before the brace of an object with values
    };
    for (const auto& row : rows) {
        EXPECT_EQ(rm::XFileNameLength(row.bytes), row.length) << row.bytes;
    }
}
