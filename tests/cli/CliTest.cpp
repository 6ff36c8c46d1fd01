#include "cli/Cli.h"

#include <sstream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::HasSubstr;

namespace {

struct Result {
    int status;
    std::string out;
    std::string err;
};

Result RunCli(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int status = cli::Run(args, out, err);
    return {status, out.str(), err.str()};
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

TEST(CliTest, HelpGoesToStandardOutput) {
    const Result r = RunCli({"--help"});
    EXPECT_EQ(r.status, cli::kExitOk);
    EXPECT_THAT(r.out, HasSubstr("pavrix --info FILE..."));
    EXPECT_EQ(r.err, "");
}

TEST(CliTest, InfoNeedsAtLeastOneFile) {
    const Result r = RunCli({"--info"});
    EXPECT_EQ(r.status, cli::kExitUsage);
    EXPECT_THAT(r.err, HasSubstr("--info needs at least one file"));
}
