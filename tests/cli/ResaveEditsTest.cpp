// `pavrix --resave IN OUT [EDIT...]`: the batch edits as a user converting files sees
// them, through the saved file opened again.

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CliResult.h"
#include "cli/Cli.h"
#include "support/BatchTestFiles.h"
#include "support/XFileTestSupport.h"

namespace {

class ResaveEditsTest : public CliRunTest {
protected:
    ResaveEditsTest() {
        in = folder.File("in.x");
        out = folder.File("out.x");
        std::ofstream(in, std::ios::binary) << batch_test::CharacterText();
        before = batch_test::CaptureFile(in);
    }

    int RunEdits(std::vector<std::string> edits) {
        std::vector<std::string> args = {"--resave", in, out};
        args.insert(args.end(), edits.begin(), edits.end());
        return Run(args);
    }

    testing_xfile::TempFolder folder;
    std::string in, out;
    batch_test::Snapshot before;
};

TEST_F(ResaveEditsTest, ModelScaleWithKeysDoublesEveryVertexAndEveryPositionKey) {
    for (const bool withKeys : {true, false}) {
        ASSERT_EQ(RunEdits({withKeys ? "--model-scale-with-keys" : "--model-scale", "2,2,2"}),
                  cli::kExitOk)
            << stderrText;
        EXPECT_NE(stderrText.find("pavrix: Change Model Scale: スケールの変更完了。"),
                  std::string::npos);
        const batch_test::Snapshot after = batch_test::CaptureFile(out);
        ASSERT_EQ(after.parts.size(), 2u);
        for (std::size_t p = 0; p < 2; ++p) {
            ASSERT_EQ(after.parts[p].vertices.size(), before.parts[p].vertices.size());
            for (std::size_t v = 0; v < before.parts[p].vertices.size(); ++v) {
                EXPECT_FLOAT_EQ(after.parts[p].vertices[v].y, 2 * before.parts[p].vertices[v].y);
            }
            EXPECT_FLOAT_EQ(after.parts[p].offset.y, 2 * before.parts[p].offset.y);
        }
        const float factor = withKeys ? 2.0f : 1.0f;
        ASSERT_EQ(after.parts[1].positionKeys.size(), 2u);
        for (int k = 0; k < 2; ++k) {
            EXPECT_FLOAT_EQ(after.parts[1].positionKeys[k].x,
                            factor * batch_test::kArmPositions[k].x);
            EXPECT_FLOAT_EQ(after.parts[1].positionKeys[k].y,
                            factor * batch_test::kArmPositions[k].y);
            EXPECT_FLOAT_EQ(after.parts[1].positionKeys[k].z,
                            factor * batch_test::kArmPositions[k].z);
        }
    }
}

TEST_F(ResaveEditsTest, KeyTimeEditsRunInTheOrderGiven) {
    const struct {
        std::vector<std::string> edits;
        std::vector<float> armKeyTimes;
        std::size_t positionKeys;
    } rows[] = {
        {{"--double-length"}, {10, 10, 30, 30}, 2},
        {{"--first-key-zero"}, {0, 0, 10, 10}, 2},
        {{"--first-key-zero", "--double-length"}, {0, 0, 20, 20}, 2},
        {{"--double-length", "--first-key-zero"}, {0, 0, 20, 20}, 2},
        {{"--delete-position-keys"}, {5, 15}, 0},
        {{"--position-key-scale", "1,0,1", "--reset-orientation"}, {5, 5, 15, 15}, 2},
    };
    for (const auto& row : rows) {
        ASSERT_EQ(RunEdits(row.edits), cli::kExitOk) << stderrText;
        const batch_test::Snapshot after = batch_test::CaptureFile(out);
        ASSERT_EQ(after.parts.size(), 2u);
        EXPECT_EQ(after.parts[1].keyTimes, row.armKeyTimes) << row.edits[0];
        EXPECT_EQ(after.parts[1].positionKeys.size(), row.positionKeys) << row.edits[0];
    }
    // The factor 0 became 0.01, as in the dialog.
    EXPECT_FLOAT_EQ(batch_test::CaptureFile(out).parts[1].positionKeys[1].y,
                    0.01f * batch_test::kArmPositions[1].y);
}

TEST_F(ResaveEditsTest, ABadFactorIsRefusedBeforeAnythingIsReadOrWritten) {
    for (const std::vector<std::string>& edits :
         {std::vector<std::string>{"--model-scale", "2,x,1"},
          {"--position-key-scale", "2,2"},
          {"--model-scale-with-keys", "1,2,3,4"},
          {"--model-scale"},
          {"--model-scale", "nan,1,1"},
          {"--model-scale", "1e99,1,1"}}) {
        EXPECT_EQ(RunEdits(edits), cli::kExitUsage) << edits[0];
        EXPECT_NE(stderrText.find("pavrix: --resave " + edits[0]), std::string::npos) << stderrText;
        EXPECT_FALSE(std::filesystem::exists(out));
    }
}

} // namespace
