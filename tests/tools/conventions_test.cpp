// The command-line conventions of the three programs: --help, --version, both forms of an
// option's value, and usage errors that name what is wrong.
#include "tests/tools/process.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pelmora::testing {
namespace {

// Without a display of any kind: the game must answer these before it looks for one.
TEST(Conventions, HelpShowsUsageOptionsExamplesAndExitStatusesAndVersionTheVersion) {
    const std::pair<std::string, std::string> programs[] = {
        {PELMORA_EVAL_PATH, "pelmora-eval"},
#ifdef PELMORA_SOLVE_PATH
        {PELMORA_SOLVE_PATH, "pelmora-solve"},
        {PELMORA_GAME_PATH, "pelmora"},
#endif
    };
    for (const auto& [path, name] : programs) {
        for (const char* option : {"--version", "--help", "-h"}) {
            ProcessResult r = runProcess({"/usr/bin/env", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY",
                                          "-u", "QT_QPA_PLATFORM", path, option});
            EXPECT_EQ(r.status, 0) << name << " " << option;
            EXPECT_EQ(r.err, "") << name << " " << option;
            if (option[2] == 'v') {
                EXPECT_EQ(r.out, name + " " PELMORA_VERSION "\n");
                continue;
            }
            for (const char* part : {"--version", "Examples:", "Exit status:"})
                EXPECT_NE(r.out.find(part), std::string::npos) << name << ": " << part;
            EXPECT_EQ(r.out.find("Usage: " + name + " "), 0u) << name;
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
