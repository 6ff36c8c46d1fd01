// pavrix --export: one file, a set of it, a folder tree on several processes, bad input.

#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>
#include <unistd.h>

#include "cli/CliResult.h"
#include "support/XFileTestSupport.h"

namespace {

namespace fs = std::filesystem;
using testing_xfile::Count;
using testing_xfile::ReadFile;

class ExportCommandTest : public CliRunTest {
protected:
    ExportCommandTest()
        : folder(fs::path(::testing::TempDir()) /
                 ("pavrix-export-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name())) {
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    ~ExportCommandTest() override { fs::remove_all(folder); }

    const fs::path folder;
    const std::string walker = std::string(PAVRIX_SAMPLES_DIR) + "/walker.x";
};

} // namespace

TEST_F(ExportCommandTest, WritesAGlbOrAGltfWithItsBinBeside) {
    ASSERT_EQ(Run({"--export", walker, (folder / "w.glb").string()}), cli::kExitOk) << stderrText;
    EXPECT_EQ(ReadFile(folder / "w.glb").substr(0, 4), "glTF");
    ASSERT_EQ(Run({"--export", walker, (folder / "w.gltf").string()}), cli::kExitOk) << stderrText;
    EXPECT_NE(ReadFile(folder / "w.gltf").find("\"uri\":\"w.bin\""), std::string::npos);
    EXPECT_TRUE(fs::exists(folder / "w.bin"));
}

TEST_F(ExportCommandTest, AnAnimationArgumentKeepsThatSetAlone) {
    ASSERT_EQ(Run({"--export", walker, (folder / "w.gltf").string(), "--animation", "Walk"}),
              cli::kExitOk)
        << stderrText;
    const std::string json = ReadFile(folder / "w.gltf");
    EXPECT_EQ(Count(json, "\"channels\""), 1u);
    EXPECT_NE(json.find("\"name\":\"Walk\""), std::string::npos);
    EXPECT_EQ(Run({"--export", walker, (folder / "x.glb").string(), "--animation", "Run"}),
              cli::kExitFailed);
    // Not a set of the file, so a file of sets, which is not there.
    EXPECT_NE(stderrText.find("cannot read the animation set of Run"), std::string::npos)
        << stderrText;
    EXPECT_FALSE(fs::exists(folder / "x.glb"));
}

TEST_F(ExportCommandTest, AFolderTreeIsExportedFileByFileAndOneBadFileStopsNothing) {
    const fs::path in = folder / "in";
    fs::create_directories(in / "deeper");
    fs::copy_file(walker, in / "a.x");
    fs::copy_file(walker, in / "deeper" / "b.X");
    std::ofstream(in / "deeper" / "broken.x") << "xof 0303txt 0032\nFrame {";
    std::ofstream(in / "notes.txt") << "not a model";

    const fs::path out = folder / "out";
    EXPECT_EQ(Run({"--export", in.string(), out.string(), "-j", "2"}), cli::kExitFailed);
    EXPECT_EQ(ReadFile(out / "a.glb").substr(0, 4), "glTF");
    EXPECT_EQ(ReadFile(out / "deeper" / "b.glb").substr(0, 4), "glTF");
    EXPECT_FALSE(fs::exists(out / "deeper" / "broken.glb"));
    EXPECT_FALSE(fs::exists(out / "notes.glb"));
    // A progress line per file, then the tally; the failure with its reason.
    EXPECT_NE(stdoutText.find("[3/3] "), std::string::npos) << stdoutText;
    EXPECT_NE(stdoutText.find("exported 2 of 3 files"), std::string::npos) << stdoutText;
    EXPECT_NE(stderrText.find("1 files could not be exported"), std::string::npos) << stderrText;
    EXPECT_NE(stderrText.find("broken.x"), std::string::npos) << stderrText;
    EXPECT_NE(stderrText.find("cannot open"), std::string::npos) << stderrText;

    // Without the bad file everything is written and the status says so.
    fs::remove(in / "deeper" / "broken.x");
    EXPECT_EQ(Run({"--export", in.string(), out.string(), "-j1"}), cli::kExitOk) << stderrText;
}

TEST_F(ExportCommandTest, AWrongCommandLineIsRefusedBeforeAnythingIsRead) {
    const std::string out = (folder / "o.glb").string();
    const std::vector<std::vector<std::string>> wrong = {
        {"--export", walker},
        {"--export", walker, out, "extra"},
        {"--export", walker, out, "--bogus"},
        {"--export", walker, out, "-j", "2"},
        {"--export", folder.string(), out, "-j", "0"},
        {"--export", folder.string(), out, "--animation", "Walk"},
        {"--export", walker, out, "--animation"},
    };
    for (const auto& args : wrong) {
        EXPECT_EQ(Run(args), cli::kExitUsage) << args.back();
        EXPECT_NE(stderrText.find("usage: pavrix --export"), std::string::npos) << stderrText;
    }
    EXPECT_FALSE(fs::exists(out));
}
