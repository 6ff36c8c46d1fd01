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
#include "platform/rm/AnimationSet.h"
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

std::string ReadAll(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

TEST_F(ResaveEditsTest, ReverseSwapsTheFirstAndLastKeysAndTwiceGivesThePlainResave) {
    ASSERT_EQ(RunEdits({"--reverse"}), cli::kExitOk) << stderrText;
    EXPECT_NE(stderrText.find("Reverse Rotate, Position, Scale"), std::string::npos);
    const batch_test::Snapshot reversed = batch_test::CaptureFile(out);
    ASSERT_EQ(reversed.parts.size(), 2u);
    ASSERT_EQ(reversed.parts[1].positionKeys.size(), 2u);
    EXPECT_EQ(reversed.parts[1].positionKeyTimes, (std::vector<float>{5, 15}));
    EXPECT_FLOAT_EQ(reversed.parts[1].positionKeys[0].z, batch_test::kArmPositions[1].z);
    EXPECT_FLOAT_EQ(reversed.parts[1].positionKeys[1].z, batch_test::kArmPositions[0].z);

    ASSERT_EQ(Run({"--resave", in, folder.File("plain.x")}), cli::kExitOk);
    ASSERT_EQ(RunEdits({"--reverse", "--reverse"}), cli::kExitOk) << stderrText;
    EXPECT_EQ(ReadAll(out), ReadAll(folder.File("plain.x")));
}

/// The two boxes with rotation keys at 10 and 20 and, per set, the Arm's position keys at 5
/// and 15 (times that hold nothing else): (s, 1, 0) and (0, 2s, 0) in set s.
std::string PositionKeyedSets(int sets) {
    std::string text = "xof 0303txt 0032\r\n\r\n" + shell_test::CharacterFrames();
    for (int s = 1; s <= sets; ++s) {
        text += "\r\nAnimationSet Set" + std::to_string(s) + " {\r\n";
        text += shell_test::RotationKeys("Body", {10, 20}, false);
        std::string arm = shell_test::RotationKeys("Arm", {10, 20}, true);
        arm.insert(arm.rfind(" }\r\n"), "  AnimationKey {\r\n   2;\r\n   2;\r\n   5; 3; " +
                                            std::to_string(s) + ", 1, 0;;,\r\n   15; 3; 0, " +
                                            std::to_string(2 * s) + ", 0;;;\r\n  }\r\n");
        text += arm + "}\r\n";
    }
    return text;
}

TEST_F(ResaveEditsTest, AChainOfEditsWritesWhatTheEditsOneRunAtATimeWrite) {
    std::ofstream(in, std::ios::binary) << PositionKeyedSets(1);
    const std::string once = folder.File("once.x");
    ASSERT_EQ(Run({"--resave", in, once, "--delete-position-keys"}), cli::kExitOk) << stderrText;
    const std::string twice = folder.File("twice.x");
    ASSERT_EQ(Run({"--resave", once, twice, "--first-key-zero"}), cli::kExitOk) << stderrText;
    ASSERT_EQ(RunEdits({"--delete-position-keys", "--first-key-zero"}), cli::kExitOk) << stderrText;
    EXPECT_EQ(ReadAll(out), ReadAll(twice));
    // The time 5 held only position keys: the first key time is 10 once they are gone.
    const batch_test::Snapshot after = batch_test::CaptureFile(out);
    ASSERT_EQ(after.parts.size(), 2u);
    EXPECT_EQ(after.parts[1].keyTimes, (std::vector<float>{0, 10}));
}

TEST_F(ResaveEditsTest, ModelScaleWithKeysScalesThePositionKeysOfEverySet) {
    std::ofstream(in, std::ios::binary) << PositionKeyedSets(3);
    ASSERT_EQ(RunEdits({"--model-scale-with-keys", "2,3,1"}), cli::kExitOk) << stderrText;
    const batch_test::Snapshot model = batch_test::CaptureFile(out);
    ASSERT_EQ(model.parts.size(), 2u);
    EXPECT_FLOAT_EQ(model.parts[1].offset.y, 1.5f);
    std::vector<rm::AnimationSet::Loaded> sets;
    ASSERT_TRUE(rm::Succeeded(rm::AnimationSet::LoadAll(out.c_str(), &sets)));
    ASSERT_EQ(sets.size(), 3u);
    for (int s = 1; s <= 3; ++s) {
        std::vector<rm::Vector> positions;
        for (const auto& animation : sets[std::size_t(s - 1)].set->Animations()) {
            for (const rm::AnimationKey& key : animation->Keys()) {
                if (key.dwKeyType == rm::D3DRMANIMATION_POSITIONKEY) {
                    positions.push_back(key.dvPositionKey);
                }
            }
        }
        ASSERT_EQ(positions.size(), 2u) << s;
        EXPECT_FLOAT_EQ(positions[0].x, 2.0f * float(s)) << s;
        EXPECT_FLOAT_EQ(positions[0].y, 3.0f) << s;
        EXPECT_FLOAT_EQ(positions[1].y, 3.0f * 2.0f * float(s)) << s;
    }
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
