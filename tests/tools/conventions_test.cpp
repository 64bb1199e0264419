// The command-line conventions of the three programs: --help, --version, both forms of an
// option's value, and usage errors that name what is wrong.
#include "tests/tools/process.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace pelmora::testing {
namespace {

struct Program {
    std::string path;
    std::string name;
};

std::vector<Program> programs() {
    std::vector<Program> result{{PELMORA_EVAL_PATH, "pelmora-eval"}};
#ifdef PELMORA_SOLVE_PATH
    result.push_back({PELMORA_SOLVE_PATH, "pelmora-solve"});
#endif
#ifdef PELMORA_GAME_PATH
    result.push_back({PELMORA_GAME_PATH, "pelmora"});
#endif
    return result;
}

// No display of any kind: the game must answer these before it looks for one.
class NoDisplay : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
            if (const char* v = std::getenv(name)) saved_.emplace_back(name, v);
            unsetenv(name);
        }
    }
    void TearDown() override {
        for (const auto& [name, value] : saved_) setenv(name.c_str(), value.c_str(), 1);
    }
    std::vector<std::pair<std::string, std::string>> saved_;
};

TEST_F(NoDisplay, HelpShowsUsageOptionsExamplesAndExitStatusesAndVersionTheVersion) {
    for (const auto& program : programs()) {
        ProcessResult version = runProcess({program.path, "--version"});
        EXPECT_EQ(version.status, 0) << program.name;
        EXPECT_EQ(version.out, program.name + " " PELMORA_VERSION "\n");
        EXPECT_EQ(version.err, "") << program.name;
        for (const char* option : {"--help", "-h"}) {
            ProcessResult r = runProcess({program.path, option});
            EXPECT_TRUE(r.exited) << program.name;
            EXPECT_EQ(r.status, 0) << program.name << " " << option;
            EXPECT_EQ(r.err, "") << program.name;
            for (const char* part : {"Usage: ", "--version", "Examples:", "Exit status:"})
                EXPECT_NE(r.out.find(part), std::string::npos) << program.name << ": " << part;
            EXPECT_EQ(r.out.find("Usage: " + program.name + " "), 0u) << program.name;
        }
    }
}

TEST(EvalToolOptions, ValuesFollowTheOptionOrAnEqualsSign) {
    EXPECT_EQ(runProcess({PELMORA_EVAL_PATH, "--now", "2026-12-05T09:05:07", "DATE$"}).out,
              "String: 26/12/05\n");
    EXPECT_EQ(runProcess({PELMORA_EVAL_PATH, "--now=2026-12-05T09:05:07", "DATE$"}).out,
              "String: 26/12/05\n");
    EXPECT_EQ(runProcess({PELMORA_EVAL_PATH, "--command-line=a b", "COMMAND$"}).out,
              "String: a b\n");
}

TEST(EvalToolOptions, ArgumentsThatAreNoOptionAreExpressions) {
    // After "--" even -h is an expression (the variable H, negated).
    ProcessResult r = runProcess({PELMORA_EVAL_PATH, "-5+1", "-SIN(0)", "--", "--1", "-h"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Double: -4\nDouble: 0\nDouble: 1\nDouble: 0\n");
}

TEST(EvalToolOptions, UsageErrorsNameWhatIsWrong) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> rows = {
        {{"--bogus"}, "--bogus"},
        {{"--now"}, "--now"},
        {{"--now", "2026-13-01T00:00:00", "1"}, "2026-13-01T00:00:00"},
        {{"--seed", "x", "1"}, "'x'"},
        {{"--seed=-1", "1"}, "'-1'"},
        {{"--jsonl", "1+1"}, "--jsonl"},
        {{"--jsonl=maybe"}, "--jsonl"},
    };
    for (const auto& [arguments, names] : rows) {
        std::vector<std::string> all{PELMORA_EVAL_PATH};
        all.insert(all.end(), arguments.begin(), arguments.end());
        ProcessResult r = runProcess(all);
        EXPECT_EQ(r.status, 2) << names;
        EXPECT_EQ(r.out, "") << names;
        EXPECT_EQ(lines(r.err).size(), 1u) << r.err;
        EXPECT_NE(r.err.find(names), std::string::npos) << r.err;
    }
}

#ifdef PELMORA_SOLVE_PATH
TEST(SolveTool, PrintsAnswersAsTheWindowShowsThemForAnyTargetInEitherForm) {
    const struct {
        std::vector<std::string> arguments;
        int status;
        const char* out;
    } rows[] = {
        {{"3192"}, 0, "3 ＋ 1 × 9 － 2\n"},
        {{"3192", "--all"}, 0, "3 ＋ 1 × 9 － 2\n3 ÷ 1 ＋ 9 － 2\n3 × 1 ＋ 9 － 2\n"},
        {{"--target", "24", "4611"}, 0, "4 × 6 ＋ 1 － 1\n"},
        {{"--target=24", "4611"}, 0, "4 × 6 ＋ 1 － 1\n"},
        {{"4611", "--target=２４"}, 0, "4 × 6 ＋ 1 － 1\n"},
        {{"1111"}, 1, ""},
        {{"3192", "--target", "0.123", "--all"}, 1, ""},
        {{"--census"}, 0, "3133 of 6561\n"},
        {{"--census", "--target=24"}, 0, "1785 of 6561\n"},
        {{"--census", "--target", "0.123"}, 0, "0 of 6561\n"},
    };
    for (const auto& row : rows) {
        std::vector<std::string> arguments{PELMORA_SOLVE_PATH};
        arguments.insert(arguments.end(), row.arguments.begin(), row.arguments.end());
        ProcessResult r = runProcess(arguments);
        EXPECT_EQ(r.status, row.status) << arguments[1];
        EXPECT_EQ(r.out, row.out) << arguments[1];
    }
}
#endif

}  // namespace
}  // namespace pelmora::testing
