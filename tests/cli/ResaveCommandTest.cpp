#include "cli/ResaveCommand.h"

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CliResult.h"
#include "cli/Cli.h"
#include "scene/DocumentFixtureFiles.h"
#include "scene/SceneContext.h"
#include "support/XFileTestSupport.h"

using testing_document::kStatueFile;
using testing_document::kWalkerFile;
using testing_document::kWaveFile;
using testing_document::WriteFixture;
using testing_xfile::ReadFile;

namespace {

class ResaveCommandTest : public CliRunTest {
protected:
    ResaveCommandTest() {
        walker = WriteFixture(folder.Path(), "walker.x", kWalkerFile);
        statue = WriteFixture(folder.Path(), "statue.x", kStatueFile);
        wave = WriteFixture(folder.Path(), "wave.x", kWaveFile);
        out = folder.File("out.x");
    }

    std::vector<std::string> ErrorLines() const {
        std::vector<std::string> lines;
        std::istringstream in(stderrText);
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        return lines;
    }

    testing_xfile::TempFolder folder;
    std::string walker, statue, wave, out;
};

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST_F(ResaveCommandTest, ResavesModelAndAnimationSetQuietly) {
    ASSERT_EQ(Run({"--resave", walker, out}), cli::kExitOk) << stderrText;

    EXPECT_EQ(stderrText, "");
    EXPECT_EQ(stdoutText, "");
    const std::string text = ReadFile(out);
    EXPECT_EQ(text.rfind("xof 0303txt 0032\r\n", 0), 0u);
    // The file's own names, not the working ones.
    EXPECT_TRUE(Contains(text, "\r\nFrame FRAME1_Body {\r\n"));
    EXPECT_TRUE(
        Contains(text, "\r\nAnimationSet Walk {\r\n\r\n Animation AnimArm {\r\n  {Arm}\r\n"));
    EXPECT_FALSE(Contains(text, "@"));
    // Nothing the command made stays published.
    EXPECT_EQ(g_d3drm, nullptr);
    EXPECT_EQ(g_modelLibrary, nullptr);
    EXPECT_EQ(g_animationLibrary, nullptr);
}

TEST_F(ResaveCommandTest, FileWithoutAnimationSetIsSavedWithTheNoticeOnStandardError) {
    ASSERT_EQ(Run({"--resave", statue, out}), cli::kExitOk) << stderrText;

    EXPECT_EQ(stderrText,
              "pavrix: " + statue + ": アニメーションがないので空のアニメーションを生成します。\n");
    const std::string text = ReadFile(out);
    EXPECT_TRUE(Contains(text, "Frame Body {"));
    EXPECT_FALSE(Contains(text, "AnimationSet"));
}

TEST_F(ResaveCommandTest, AnimationOptionChangesTheSetAsChangeAnimationDoes) {
    for (const auto& args :
         {std::vector<std::string>{"--resave", walker, out, "--animation", wave},
          std::vector<std::string>{"--resave", "--animation", wave, walker, out}}) {
        std::filesystem::remove(out);
        ASSERT_EQ(Run(args), cli::kExitOk) << stderrText;

        const std::string text = ReadFile(out);
        EXPECT_TRUE(Contains(text, "Frame FRAME1_Body {"));
        EXPECT_TRUE(Contains(text, "AnimationSet Wave {"));
        EXPECT_TRUE(Contains(text, "   20; 4; 0.000000, 1.000000, 0.000000, 0.000000;;;\r\n"));
        EXPECT_FALSE(Contains(text, "AnimationSet Walk"));
    }
}

TEST_F(ResaveCommandTest, AnimationFileWithoutSetGivesTheEmptySetWithItsNotice) {
    ASSERT_EQ(Run({"--resave", walker, out, "--animation", statue}), cli::kExitOk);
    EXPECT_EQ(stderrText,
              "pavrix: " + statue + ": アニメーションがないので空のアニメーションを生成します。\n");
    EXPECT_FALSE(Contains(ReadFile(out), "AnimationSet"));
}

TEST_F(ResaveCommandTest, FailuresExitWithOneAndKeepThePreviousOutput) {
    const std::string broken =
        WriteFixture(folder.Path(), "broken.x", "xof 0303txt 0032\nAnimationSet {");
    struct Case {
        const char* what;
        std::vector<std::string> args;
        std::vector<std::string> messages; // lines before the reason
        std::string reason;                // start of the last line
        std::string named;                 // a file the reason names
    };
    const Case cases[] = {
        {"missing input",
         {"--resave", folder.File("missing.x"), out},
         {"pavrix: " + folder.File("missing.x") + ": モデルのロードに失敗しました。"},
         "pavrix: cannot open " + folder.File("missing.x") + ": ",
         "missing.x"},
        {"missing animation file",
         {"--resave", walker, out, "--animation", folder.File("gone.x")},
         {},
         "pavrix: cannot read the animation set of " + folder.File("gone.x") + ": ",
         "gone.x"},
        {"broken animation file",
         {"--resave", walker, out, "--animation", broken},
         {},
         "pavrix: cannot read the animation set of " + broken + ": ",
         "broken.x:"},
        {"output folder missing",
         {"--resave", walker, folder.File("nowhere/out.x")},
         {},
         "pavrix: cannot save " + folder.File("nowhere/out.x") + ": ",
         "nowhere/out.x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testing_xfile::WriteFile(out, "previous\r\n");

        EXPECT_EQ(Run(c.args), cli::kExitFailed);

        std::vector<std::string> lines = ErrorLines();
        ASSERT_FALSE(lines.empty());
        const std::string reason = lines.back();
        lines.pop_back();
        EXPECT_EQ(lines, c.messages);
        EXPECT_EQ(reason.rfind(c.reason, 0), 0u) << reason;
        EXPECT_TRUE(Contains(reason.substr(c.reason.size()), c.named)) << reason;
        EXPECT_EQ(ReadFile(out), "previous\r\n");
        EXPECT_FALSE(std::filesystem::exists(folder.File("nowhere")));
    }
}

TEST_F(ResaveCommandTest, WrongArgumentsPrintTheUsage) {
    const std::vector<std::vector<std::string>> cases = {
        {"--resave"},
        {"--resave", walker},
        {"--resave", walker, out, "extra.x"},
        {"--resave", walker, out, "--animation"},
        {"--resave", walker, out, "--animation", wave, "--animation", wave},
        {"--resave", walker, out, "--frames"},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(args.size());
        EXPECT_EQ(Run(args), cli::kExitUsage);
        EXPECT_TRUE(Contains(stderrText, "usage: pavrix --resave IN OUT [--animation ANIM]"))
            << stderrText;
        EXPECT_FALSE(std::filesystem::exists(out));
    }
}

TEST_F(ResaveCommandTest, HelpListsTheCommand) {
    EXPECT_EQ(Run({"--help"}), cli::kExitOk);
    EXPECT_TRUE(Contains(stdoutText, "pavrix --resave IN OUT [--animation ANIM]"));
}

} // namespace
