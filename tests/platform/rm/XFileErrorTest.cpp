// Bad input: one small fixture per family of error, each with its exact message, and
// generated binary and compressed content. Every failure must leave the frame, set or
// parent the load was called on as it was.

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/rm/AnimationSet.h"
#include "platform/rm/Frame.h"
#include "platform/rm/Implementation/XFileDocument.h"
#include "platform/rm/Implementation/XFileReader.h"
#include "platform/rm/MeshBuilder.h"
#include "platform/rm/XFileLoader.h"
#include "support/XFileTestSupport.h"

using namespace rm;
using namespace testing_xfile;

namespace {

enum class Load { Frame, Mesh, Animation };

struct ErrorCase {
    const char* fixture;
    Load load;
    HRESULT result;
    const char* message; ///< after "<path>"
};

HRESULT RunLoad(Load load, const std::string& path, Frame* parent) {
    switch (load) {
    case Load::Frame:
        return parent->Load(path.c_str());
    case Load::Mesh:
        return MakeRef<MeshBuilder>()->Load(path.c_str());
    case Load::Animation:
        return MakeRef<AnimationSet>()->Load(path.c_str(), parent);
    }
    return D3DRM_OK;
}

/// Parses content held in memory; returns the message ("" on success).
std::string MemoryError(const std::string& bytes) {
    XFileDocument document;
    std::string message;
    const HRESULT hr = ReadXFileFromMemory(bytes, "mem.x", &document, &message);
    return Failed(hr) ? message : "";
}

} // namespace

TEST(XFileErrorTest, EachErrorFamilyHasItsMessage) {
    const ErrorCase cases[] = {
        {"header_bad_magic.x", Load::Frame, D3DRMERR_BADFILE,
         ":1: expected 'xof ' at the start of the file, found 'xif '"},
        {"header_bad_version.x", Load::Frame, D3DRMERR_BADFILE,
         ":1: expected version 0302 or 0303, found '0201'"},
        {"header_bad_format.x", Load::Frame, D3DRMERR_BADFILE,
         ":1: expected the format 'txt ', 'bin ', 'tzip' or 'bzip', found 'zip '"},
        {"header_bad_float_size.x", Load::Frame, D3DRMERR_BADFILE,
         ":1: expected the float size 0032 or 0064, found '0016'"},
        {"header_short.x", Load::Mesh, D3DRMERR_BADFILE,
         ":1: expected the 16-byte header 'xof 0303txt 0032', found 'xof 0303'"},
        {"count_then_brace.x", Load::Mesh, D3DRMERR_BADFILE,
         ":3: expected ';' after the vertex count, found '{'"},
        {"vertex_index_out_of_range.x", Load::Mesh, D3DRMERR_BADFILE,
         ":8: expected a vertex index below 3 (the number of vertices), found 7"},
        {"normal_index_out_of_range.x", Load::Mesh, D3DRMERR_BADFILE,
         ":13: expected a normal index below 1 (the number of normals), found 1"},
        {"face_normal_corners.x", Load::Mesh, D3DRMERR_BADFILE,
         ":13: expected 3 normal indices for face 0 (its corner count), found 4"},
        {"material_index_out_of_range.x", Load::Mesh, D3DRMERR_BADFILE,
         ":12: expected a material index below 1 (the number of materials), found 1"},
        {"material_missing.x", Load::Mesh, D3DRMERR_BADFILE,
         ":12: expected 2 materials in MeshMaterialList, found 1"},
        {"material_reference_unknown.x", Load::Mesh, D3DRMERR_BADFILE,
         ":19: expected the name of a Material in this file, found 'Steel'"},
        {"mesh_reference_unknown.x", Load::Frame, D3DRMERR_BADFILE,
         ":11: expected the name of a Mesh in this file, found 'Box'"},
        {"truncated_vertices.x", Load::Mesh, D3DRMERR_BADFILE,
         ":5: expected a vertex coordinate, found end of file"},
        {"unclosed_frame.x", Load::Frame, D3DRMERR_BADFILE,
         ":6: expected a data object, a reference or '}' in the Frame, found end of file"},
        {"count_too_large.x", Load::Mesh, D3DRMERR_BADFILE,
         ":3: expected the vertex count the rest of the file can hold (at most 4), found "
         "99999999"},
        {"number_too_large.x", Load::Mesh, D3DRMERR_BADFILE,
         ":3: expected the vertex count below 4294967296, found '4294967296'"},
        {"value_glued.x", Load::Mesh, D3DRMERR_BADFILE,
         ":4: expected ';' after a vertex coordinate, found 'x'"},
        {"key_type_bad.x", Load::Animation, D3DRMERR_BADFILE,
         ":6: expected key type 0 (rotation), 1 (scale), 2 (position) or 4 (matrix), found 3"},
        {"key_value_count_bad.x", Load::Animation, D3DRMERR_BADFILE,
         ":8: expected 4 values in a rotation key, found 3"},
        {"animation_options_bad.x", Load::Animation, D3DRMERR_BADFILE,
         ":6: expected 0 (closed) or 1 (open), found 2"},
        {"string_unterminated.x", Load::Frame, D3DRMERR_BADFILE,
         ":8: expected the closing '\"' of the texture file name, found end of file"},
        {"stray_token.x", Load::Frame, D3DRMERR_BADFILE,
         ":4: expected a template or a data object, found '42'"},
        {"texcoords_too_many.x", Load::Mesh, D3DRMERR_BADFILE,
         ":10: expected at most 3 texture coordinates (one per vertex), found 4"},
        {"unclosed_skipped_object.x", Load::Frame, D3DRMERR_BADFILE,
         ":4: expected '}' to close the object opened here, found end of file"},
        {"only_mesh.x", Load::Frame, D3DRMERR_NOTFOUND,
         ": expected a Frame, found none in the file"},
        {"only_frames.x", Load::Mesh, D3DRMERR_NOTFOUND,
         ": expected a Mesh, found none in the file"},
        {"only_frames.x", Load::Animation, D3DRMERR_NOTFOUND,
         ": expected an AnimationSet, found none in the file"},
        {"no_such_file.x", Load::Frame, D3DRMERR_FILENOTFOUND,
         ": cannot open the file (No such file or directory)"},
        {"", Load::Frame, D3DRMERR_FILENOTFOUND, ": not a regular file"},
    };
    for (const ErrorCase& c : cases) {
        const std::string path = Fixture(c.fixture);
        SCOPED_TRACE(path);
        auto parent = MakeRef<Frame>();
        EXPECT_EQ(RunLoad(c.load, path, parent.Get()), c.result);
        EXPECT_EQ(GetLastLoadMessage(), path + c.message);
        EXPECT_TRUE(parent->Children().empty());
    }
}

// A bad file must not leave half a scene behind: the mesh builder load empties nothing
// it was not going to replace, the set gains no animations.
TEST(XFileErrorTest, AFailedLoadChangesNothing) {
    auto builder = MakeRef<MeshBuilder>();
    builder->AddVertex(1, 2, 3);
    builder->SetName("kept");
    EXPECT_EQ(builder->Load(Fixture("vertex_index_out_of_range.x").c_str()), D3DRMERR_BADFILE);
    EXPECT_EQ(builder->GetVertexCount(), 1u);
    EXPECT_EQ(builder->Name(), "kept");

    auto set = MakeRef<AnimationSet>();
    auto parent = MakeRef<Frame>();
    EXPECT_EQ(set->Load(Fixture("key_value_count_bad.x").c_str(), parent.Get()), D3DRMERR_BADFILE);
    EXPECT_TRUE(set->Animations().empty());
    EXPECT_TRUE(parent->Children().empty());
}

TEST(XFileErrorTest, BinaryErrorsNameTheByteOffset) {
    const struct {
        const char* what;
        std::string bytes;
        const char* message;
    } cases[] = {
        {"unknown token", BinaryWriter().Token(99).Bytes(),
         "mem.x:byte 16: expected a template or a data object, found unknown token 99"},
        {"list longer than the file",
         BinaryWriter().Name("Mesh").Open().Token(6).Raw(std::string("\xE8\x03\0\0", 4)).Bytes(),
         "mem.x:byte 28: expected 4006 bytes for this token's record, found end of file"},
        {"floats where a count belongs", BinaryWriter().Name("Mesh").Open().Floats({1}).Bytes(),
         "mem.x:byte 28: expected the vertex count, found a list of 1 floats"},
        {"count beyond the file",
         BinaryWriter().Name("Mesh").Open().Integers({4000000000u}).Close().Bytes(),
         "mem.x:byte 34: expected the vertex count the rest of the file can hold (at most 0), "
         "found 4000000000"},
        {"vertex index out of range",
         BinaryWriter()
             .Name("Mesh")
             .Open()
             .Integers({1})
             .Floats({0, 0, 0})
             .Integers({1, 3, 0, 0, 5})
             .Close()
             .Bytes(),
         "mem.x:byte 78: expected a vertex index below 1 (the number of vertices), found 5"},
        {"name cut short", BinaryWriter().Token(1).Raw(std::string("\x50\0\0\0ab", 6)).Bytes(),
         "mem.x:byte 16: expected 86 bytes for this token's record, found end of file"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MemoryError(c.bytes), c.message) << c.what;
    }
}

TEST(XFileErrorTest, CompressedErrorsNameTheBlock) {
    const std::string text = "Frame A {\n}\n";
    const std::string good = CompressMszip("xof 0303tzip0032", text, 64);
    ASSERT_EQ(MemoryError(good), "");

    std::string badSignature = good;
    badSignature[24] = 'X';
    std::string corrupt = good;
    corrupt[27] = char(0xFF);
    corrupt[28] = char(0xFF);
    std::string longer = good;
    longer[16] = char(longer[16] + 7); // declared size no longer matches
    const struct {
        const char* what;
        std::string bytes;
        const char* message;
    } cases[] = {
        {"no size", std::string("xof 0303tzip0032\x05", 17),
         "mem.x:byte 16: expected the 4-byte uncompressed size, found end of file"},
        {"bad signature", badSignature, "mem.x:byte 24: expected the signature 'CK' of block 1"},
        {"cut short", good.substr(0, good.size() - 3),
         "mem.x:byte 20: expected 16 bytes of block 1, found 13"},
        {"corrupt data", corrupt,
         "mem.x:byte 20: expected deflate data that inflates to 12 bytes in block 1, found "
         "corrupt data (invalid distance too far back)"},
        {"size mismatch", longer, "mem.x:byte 40: expected 19 uncompressed bytes, found 12"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MemoryError(c.bytes), c.message) << c.what;
    }
}

// A GUID holds hex digits and dashes only. Reading on to any later '>' would swallow the
// braces in between, and the file would be read differently from how an unknown object
// around it is skipped (found by fuzzing).
TEST(XFileErrorTest, AStrayAngleBracketIsNotAGuid) {
    EXPECT_EQ(MemoryError("xof 0303txt 0032\nFrame A {\n <12ab {\n} }\n Frame B { <1-2> }\n"),
              "mem.x:3: expected '>' to close the GUID, found '{'");
    EXPECT_EQ(MemoryError("xof 0303txt 0032\nFrame A { <3D82AB46-62DA-11cf-AB39-0020AF71E433> "
                          "{ <0A-0b> } Frame B { } }\n"),
              "mem.x:2: expected a Mesh name in the reference, found none");
}

TEST(XFileErrorTest, NestingDeeperThanTheLimitIsRefused) {
    std::string text = "xof 0303txt 0032\n";
    for (int i = 0; i < 129; ++i) {
        text += "Frame {";
    }
    text += std::string(129, '}');
    EXPECT_EQ(MemoryError(text),
              "mem.x:2: expected frames nested at most 128 deep, found deeper nesting");

    std::string fine = "xof 0303txt 0032\n";
    for (int i = 0; i < 128; ++i) {
        fine += "Frame {";
    }
    fine += std::string(128, '}');
    EXPECT_EQ(MemoryError(fine), "");
}

// Unknown objects are skipped by brace matching, however deep, without recursion.
TEST(XFileErrorTest, DeeplyNestedUnknownObjectsAreSkipped) {
    std::string text = "xof 0303txt 0032\n";
    for (int i = 0; i < 100000; ++i) {
        text += "Thing {";
    }
    text += std::string(100000, '}');
    text += "\nFrame A {}\n";
    XFileDocument document;
    std::string message;
    ASSERT_EQ(ReadXFileFromMemory(text, "mem.x", &document, &message), D3DRM_OK) << message;
    EXPECT_EQ(document.frames.size(), 1u);
}
