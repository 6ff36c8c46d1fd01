#include "cli/InfoCommand.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "CliResult.h"
#include "cli/Cli.h"
#include "support/XFileTestSupport.h"

using ::testing::HasSubstr;

namespace {

using Result = CliResult;
using testing_xfile::TestData;
using testing_xfile::WriteScratch;

Result Info(const std::vector<std::string>& files) {
    return CaptureCli(
        [&](std::ostream& out, std::ostream& err) { return cli::RunInfo(files, out, err); });
}

class InfoCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::is_directory(std::string(PAVRIX_TESTDATA_DIR) + "/x")) {
            GTEST_SKIP() << "no test data folder at " << PAVRIX_TESTDATA_DIR;
        }
    }
};

const char* const kCubeFrames =
    R"("frames":[{"name":"Root","parent":null,"visuals":0,"vertices":0,"faces":0,"normals":0},)"
    R"({"name":"Cube","parent":"Root","visuals":1,"vertices":24,"faces":12,"normals":24,)"
    R"("skins":[{"mesh":"Cube","bones":1,"weights":24}]}],)"
    R"("animationSets":[]})";

} // namespace

TEST_F(InfoCommandTest, TheCubesAreReportedInTheirThreeFormats) {
    const std::string text = TestData("test_cube_text.x");
    const std::string binary = TestData("test_cube_binary.x");
    const std::string compressed = TestData("test_cube_compressed.x");
    const Result r = Info({text, binary, compressed});
    EXPECT_EQ(r.status, cli::kExitOk);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, R"({"file":")" + text + R"(","format":"text",)" + kCubeFrames + "\n" +
                         R"({"file":")" + binary + R"(","format":"binary",)" + kCubeFrames + "\n" +
                         R"({"file":")" + compressed + R"(","format":"compressed",)" + kCubeFrames +
                         "\n");
}

TEST_F(InfoCommandTest, AFailingFileIsReportedOnStandardErrorAndTheOthersStillAre) {
    const std::string empty = TestData("empty.x");
    const std::string missing = ::testing::TempDir() + "no_such_file.x";
    const Result r = Info({empty, TestData("test.x"), missing});
    EXPECT_EQ(r.status, cli::kExitFailed);
    EXPECT_EQ(r.err, empty + ":1: expected the header 'xof 0303txt 0032', found an empty file\n" +
                         missing + ": cannot open the file (No such file or directory)\n");
    EXPECT_EQ(r.out, R"({"file":")" + TestData("test.x") +
                         R"(","format":"text","frames":[{"name":"pCube1","parent":null,)"
                         R"("visuals":1,"vertices":24,"faces":12,"normals":24}],)"
                         R"("animationSets":[]})"
                         "\n");
}

// Textures are looked up beside the file, and the working directory is the same after.
TEST_F(InfoCommandTest, TexturesBesideTheFileAreFoundAndTheDirectoryIsRestored) {
    const auto before = std::filesystem::current_path();
    const Result found = Info({TestData("kwxport_test_cubewithvcolors.x")});
    EXPECT_EQ(found.status, cli::kExitOk);
    EXPECT_EQ(found.err, "");
    EXPECT_EQ(std::filesystem::current_path(), before);

    // Warnings name the file as the user gave it.
    const Result missing = Info({TestData("test.x")});
    EXPECT_EQ(missing.err, "");
    const std::string copy =
        WriteScratch("textured.x", "xof 0303txt 0032\nFrame F { Mesh { 3; 0;0;0;, 1;0;0;, "
                                   "0;1;0;; 1; 3;0,1,2;; MeshMaterialList { 1; 1; 0;; Material "
                                   "{ 1;1;1;1;; 0; 0;0;0;; 0;0;0;; TextureFilename { "
                                   "\"gone.png\"; } } } } }\n");
    const Result warned = Info({copy});
    EXPECT_EQ(warned.status, cli::kExitOk);
    EXPECT_EQ(warned.err, copy + ": texture image 'gone.png' not found\n");
}

TEST_F(InfoCommandTest, TheCharacterListsItsFramesDepthFirstAndItsAnimations) {
    const Result r = Info({TestData("BCN_Epileptic.X")});
    ASSERT_EQ(r.status, cli::kExitOk) << r.err;
    // A frame whose meshes have skin weights lists their bones and weights.
    EXPECT_THAT(r.out, HasSubstr(R"("frames":[{"name":"Torso","parent":null,"visuals":1,)"
                                 R"("vertices":1170,"faces":1966,"normals":1170,)"
                                 R"("skins":[{"mesh":"mesh_Torso","bones":24,"weights":1902}]},)"
                                 R"({"name":"B_Root_Pelvis_L","parent":null,)"));
    EXPECT_THAT(r.out, HasSubstr(R"("skins":[{"mesh":"mesh_Head","bones":20,"weights":1761}])"));
    EXPECT_THAT(r.out, HasSubstr(R"("skins":[{"mesh":"mesh_Legs","bones":10,"weights":890}])"));
    EXPECT_THAT(r.out, HasSubstr(R"({"name":"B_Knee_Left","parent":"B_Hip_Left",)"));
    EXPECT_THAT(r.out,
                HasSubstr(R"("animationSets":[{"name":"Epileptisch","animations":[)"
                          R"({"name":"Anim-Epileptisch-Torso","frame":"Torso","rotationKeys":1,)"
                          R"("scaleKeys":1,"positionKeys":1,"first":0,"last":0,"options":57},)"
                          R"({"name":"Anim-Epileptisch-B_Root_Pelvis_L","frame":"B_Root_Pelvis_L",)"
                          R"("rotationKeys":1,"scaleKeys":1,"positionKeys":100,"first":0,)"
                          R"("last":15840,"options":57})"));
    std::size_t frames = 0;
    const std::string framesPart = r.out.substr(0, r.out.find("animationSets"));
    for (std::size_t at = framesPart.find("\"parent\""); at != std::string::npos;
         at = framesPart.find("\"parent\"", at + 1)) {
        ++frames;
    }
    EXPECT_EQ(frames, 57u);
    EXPECT_EQ(r.out.back(), '\n');
    EXPECT_EQ(r.out.find('\n'), r.out.size() - 1); // one line per file
}

TEST(InfoCommandWrittenFilesTest, BareMeshesAndAnimationFilesAreReportedToo) {
    const std::string mesh = WriteScratch(
        "bare.x", "xof 0303txt 0032\nMesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }\n");
    const std::string animation =
        WriteScratch("walk.x", "xof 0303txt 0032\nAnimationSet Walk { Animation { { Arm }\n"
                               "AnimationKey { 2; 2; 5;3;0,0,0;;, 25;3;1,1,1;;; } } }\n");
    const Result r = Info({mesh, animation});
    EXPECT_EQ(r.status, cli::kExitOk) << r.err;
    EXPECT_EQ(r.out, R"({"file":")" + mesh +
                         R"(","format":"text","frames":[{"name":null,"parent":null,"visuals":1,)"
                         R"("vertices":3,"faces":1,"normals":0}],"animationSets":[]})"
                         "\n"
                         R"({"file":")" +
                         animation +
                         R"(","format":"text","frames":[],"animationSets":[{"name":"Walk",)"
                         R"("animations":[{"name":null,"frame":"Arm","rotationKeys":0,)"
                         R"("scaleKeys":0,"positionKeys":2,"first":5,"last":25,"options":54}]}]})"
                         "\n");
}

TEST(InfoCommandWrittenFilesTest, NamesOfAnyBytesComeOutAsValidJson) {
    const std::string path =
        WriteScratch("names.x", "xof 0303txt 0032\nFrame \x83\x5C\x8D\x9C { Frame back\\slash { } "
                                "Frame \xC3\xA4rm { } }\n");
    const Result r = Info({path});
    EXPECT_EQ(r.status, cli::kExitOk) << r.err;
    // Bytes that are not UTF-8 are code page 932 text ("ソ骨", its second byte 0x5C no
    // backslash there); the exact bytes come along in hexadecimal.
    EXPECT_THAT(r.out, HasSubstr(R"({"name":"ソ骨","nameBytes":"835c8d9c","parent":null,)"));
    EXPECT_THAT(r.out, HasSubstr(R"({"name":"back\\slash","parent":"ソ骨",)"
                                 R"("parentBytes":"835c8d9c",)"));
    EXPECT_THAT(r.out, HasSubstr("{\"name\":\"\xC3\xA4rm\",\"parent\""));
}

TEST(InfoCommandWrittenFilesTest, AByteNoCodePageMapsShowsAsReplacementAndKeepsItsBytes) {
    // A Latin-1 name touching its brace, and one ending in a lone lead byte.
    const std::string path =
        WriteScratch("latin.x", "xof 0303txt 0032\nFrame Body\xE9{\n Frame Arm\xFF {\n }\n}\n");
    const Result r = Info({path});
    EXPECT_EQ(r.status, cli::kExitOk) << r.err;
    EXPECT_THAT(r.out, HasSubstr(R"({"name":"Body�","nameBytes":"426f6479e9",)"));
    EXPECT_THAT(r.out, HasSubstr(R"({"name":"Arm�","nameBytes":"41726dff",)"));
}
