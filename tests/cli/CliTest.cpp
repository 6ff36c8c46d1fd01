#include "cli/Cli.h"

#include <sstream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "CliResult.h"

using ::testing::HasSubstr;

namespace {

using Result = CliResult;

Result RunCli(std::vector<std::string> args) {
    return CaptureCli(
        [&](std::ostream& out, std::ostream& err) { return cli::Run(args, out, err); });
}

} // namespace

TEST(CliTest, WithoutAnOptionItPrintsTheUsageAndFails) {
    const Result r = RunCli({});
    EXPECT_EQ(r.status, cli::kExitUsage);
    EXPECT_EQ(r.out, "");
    EXPECT_THAT(r.err, HasSubstr("pavrix --info FILE..."));
}

TEST(CliTest, AnUnknownOptionIsNamedAndFails) {
    const Result r = RunCli({"--frobnicate", "a.x"});
    EXPECT_EQ(r.status, cli::kExitUsage);
    EXPECT_THAT(r.err, HasSubstr("pavrix: unknown option '--frobnicate'"));
}

TEST(CliTest, VersionAndUnknownOptionsAreAnsweredAsGnuProgramsDo) {
    Result r = RunCli({"--version"});
    EXPECT_EQ(r.status, cli::kExitOk);
    EXPECT_EQ(r.out.rfind("pavrix ", 0), 0u) << r.out;
    EXPECT_EQ(r.err, "");
    r = RunCli({"walker.x", "--bogus"});
    EXPECT_EQ(r.status, cli::kExitUsage);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err,
              "pavrix: unknown option '--bogus'\nTry 'pavrix --help' for more information.\n");
    r = RunCli({"walker.x", "--render"});
    EXPECT_EQ(r.status, cli::kExitUsage);
    EXPECT_THAT(r.err, HasSubstr("pavrix: --render must come first"));
}

TEST(CliTest, TheEditorTakesFileNamesAndTheCommandLineEveryOption) {
    const struct {
        std::vector<std::string> args;
        bool commandLine;
    } cases[] = {
        {{}, false},
        {{"walker.x"}, false},
        {{"-"}, false},
        {{"--", "-odd.x"}, false},
        {{"--help"}, true},
        {{"walker.x", "-x"}, true},
        {{"--frobnicate"}, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cli::IsCommandLine(c.args), c.commandLine) << ::testing::PrintToString(c.args);
    }
}

TEST(CliTest, HelpGoesToStandardOutput) {
    const Result r = RunCli({"--help"});
    EXPECT_EQ(r.status, cli::kExitOk);
    EXPECT_THAT(r.out, HasSubstr("pavrix --info FILE..."));
    EXPECT_THAT(r.out, HasSubstr("Usage: pavrix [--lang ja|en] [FILE]"));
    EXPECT_THAT(r.out, HasSubstr("pavrix --version"));
    EXPECT_EQ(r.err, "");
}

TEST(CliTest, InfoNeedsAtLeastOneFile) {
    const Result r = RunCli({"--info"});
    EXPECT_EQ(r.status, cli::kExitUsage);
    EXPECT_THAT(r.err, HasSubstr("--info needs at least one file"));
}
