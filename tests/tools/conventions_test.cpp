// The command line of the three programs: --help, --version, answers to arguments with both forms
// of an option's value, usage errors that name what is wrong, and pelmora-eval's JSON lines.
// Under bad input pelmora-eval --jsonl answers every input line with one valid UTF-8 JSON line
// and pelmora-solve warns of a target that is no number.
#include "tests/common/table.h"
#include "tests/tools/json_check.h"
#include "tests/tools/process.h"
#include "tools/exit_status.h"

#include <pelmora/version.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#ifndef PELMORA_SOLVE_PATH
#define PELMORA_SOLVE_PATH ""
#endif

namespace pelmora::testing {
namespace {

// The rows of cases/NAME.tsv with each program's path first; none for a program that is not
// built.
std::vector<Row> rows(const std::string& name) {
    std::vector<Row> result;
    for (Row row : table(name)) {
        row[0] = row[0] == "eval" ? PELMORA_EVAL_PATH : row[0] == "solve" ? PELMORA_SOLVE_PATH : "";
        if (!row[0].empty()) result.push_back(row);
    }
    EXPECT_FALSE(result.empty()) << name;
    return result;
}

// Without a display of any kind: the game must answer these before it looks for one.
TEST(Conventions, HelpShowsUsageOptionsExamplesAndExitStatusesAndVersionTheVersion) {
    const std::pair<std::string, std::string> programs[] = {
        {PELMORA_EVAL_PATH, "pelmora-eval"},
#ifdef PELMORA_GAME_PATH
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
                EXPECT_EQ(r.out, name + " " PELMORA_VERSION_TEXT "\n");
                continue;
            }
            for (std::string_view part : {"--version", "Examples:"})
                EXPECT_NE(r.out.find(part), std::string::npos) << name << ": " << part;
            EXPECT_TRUE(r.out.ends_with(tools::kExitStatuses)) << name;
            EXPECT_EQ(r.out.find("Usage: " + name + " "), 0u) << name;
        }
    }
}

// pelmora-eval prints kind, text and the code, and JSON lines; pelmora-solve the answers as the
// window shows them; both take an option's value after it or after "=".
TEST(Conventions, ArgumentsAndInputLinesGiveTheirAnswers) {
    for (auto row : rows("answers")) {  // program, status, standard input, output, arguments
        const std::string what = row.size() > 4 ? row[4] : row[0], input = row[2], out = row[3];
        const int status = std::stoi(row[1]);
        row.erase(row.begin() + 1, row.begin() + 4);
        ProcessResult r = runProcess(row, input);
        EXPECT_EQ(r.status, status) << what << ": " << r.err;
        EXPECT_EQ(r.out, out) << what << " " << input;
    }
}

// Exit status 2, nothing on standard output, and one line on standard error naming the culprit.
TEST(Conventions, EveryUsageErrorIsOneLineAndStatusTwoNamingWhatIsWrong) {
    for (auto row : rows("usage_errors")) {  // program, what the error names, arguments
        const std::string names = row[1];
        row.erase(row.begin() + 1);
        ProcessResult r = runProcess(row);
        EXPECT_TRUE(r.exited && r.status == 2 && r.out.empty()) << names << ": " << r.status;
        EXPECT_EQ(lines(r.err).size(), 1u) << names << ": " << r.err;
        EXPECT_TRUE(r.err.ends_with('\n') && r.err.find(names) != std::string::npos) << r.err;
    }
}

// pelmora-eval --jsonl on the input: every output line one JSON object, each given back.
std::vector<std::map<std::string, std::string>> answers(const std::string& input) {
    ProcessResult r = runProcess({PELMORA_EVAL_PATH, "--jsonl"}, input);
    EXPECT_TRUE(r.exited && r.status == 0 && r.err.empty()) << r.status << r.err;
    EXPECT_TRUE(r.out.empty() || r.out.back() == '\n');
    std::vector<std::map<std::string, std::string>> result;
    for (const auto& line : lines(r.out)) {
        auto members = jsonObject(line);
        EXPECT_TRUE(members) << "not one JSON object: " << line.substr(0, 200);
        result.push_back(members.value_or(std::map<std::string, std::string>{}));
    }
    return result;
}

std::string countingLines(int n) {
    std::string input;
    for (int i = 0; i < n; ++i) input += std::to_string(i) + "+1\n";
    return input;
}

TEST(EvalToolBadInput, EveryLineGetsOneAnswerWhateverItsBytesAndLength) {
    // \377, a sequence cut short (E3 81), a surrogate coded in UTF-8 (ED A0 80), an overlong
    // slash (C0 AF), a NUL; then bad bytes outside a string; a last line without a line end.
    using namespace std::string_literals;
    auto a = answers("\"\377a\343\201b\355\240\200c\300\257d\0e\"\n\377\376\n1+\200\n\"a\r\""s);
    ASSERT_EQ(a.size(), 4u);
    EXPECT_EQ(a[0]["text"], "\uFFFDa\uFFFD\uFFFDb\uFFFD\uFFFD\uFFFDc\uFFFD\uFFFDd\\u0000e");
    EXPECT_EQ(a[0]["bytes"], "fdff6100fdfffdff6200fdfffdfffdff6300fdfffdff640000006500");
    EXPECT_EQ(a[1]["kind"] + a[2]["kind"], "EmptyEmpty");
    EXPECT_EQ(a[3]["text"], "a\\r");  // a CR belongs to the line end only before an LF
    EXPECT_TRUE(answers("").empty());

    std::string big(10 << 20, 'x');
    a = answers("\"" + big + "\"\n" + big + "\n1+1\n");
    ASSERT_EQ(a.size(), 3u);
    EXPECT_EQ(a[0]["text"], big);
    EXPECT_EQ(a[0]["bytes"].size(), big.size() * 4);
    EXPECT_EQ(a[2]["text"], "2");

    a = answers(countingLines(100'000));
    ASSERT_EQ(a.size(), 100'000u);
    for (int i : {0, 4'999, 99'999}) EXPECT_EQ(a[i]["text"], std::to_string(i + 1));
}

TEST(EvalToolBadInput, AReaderThatStopsEarlyEndsItQuietlyAndAFullDiskIsReported) {
    // pelmora-eval's own status, not head's; a death by SIGPIPE would read as 141.
    ProcessResult r =
        runProcess({"/bin/bash", "-c",
                    std::string(PELMORA_EVAL_PATH) + " --jsonl | head -1; exit ${PIPESTATUS[0]}"},
                   countingLines(100'000));
    EXPECT_TRUE(r.status == 0 && r.err.empty()) << r.status << r.err;
    ASSERT_EQ(lines(r.out).size(), 1u);
    EXPECT_TRUE(jsonObject(lines(r.out)[0])) << r.out;

    for (const auto& command : {std::vector<std::string>{PELMORA_EVAL_PATH, "--jsonl"},
                                std::vector<std::string>{PELMORA_SOLVE_PATH, "3192"}}) {
        if (command[0].empty()) continue;
        r = runProcess(command, "1\n", "/dev/full");
        EXPECT_TRUE(r.status == tools::kWriteError && lines(r.err).size() == 1)
            << command[0] << ": " << r.status << r.err;
    }
}

TEST(Conventions, TheReadmeShowsTheExitStatusesAsTheProgramsDo) {
    EXPECT_NE(readFile(PELMORA_SOURCE_DIR "/README.md").find(tools::kExitStatuses),
              std::string::npos);
}

TEST(SolveToolBadInput, ATargetWithoutANumberIsWarnedAboutAndReadsAsZero) {
    if (std::string_view(PELMORA_SOLVE_PATH).empty()) GTEST_SKIP() << "built without the game";
    // The first eight are warned of.
    const std::string targets[] = {"abc",   "",  "  ",   "-",    "&H",  "&HZ", "..5",
                                   "1E400", "0", " 1 0", "-.5x", "&HA", "&o7"};
    for (std::size_t i = 0; i < std::size(targets); ++i) {
        ProcessResult r = runProcess({PELMORA_SOLVE_PATH, "--target=" + targets[i], "1111"});
        EXPECT_EQ(lines(r.err).size(), i < 8 ? 1u : 0u) << "'" << targets[i] << "': " << r.err;
    }
    // The warning changes nothing: the target reads as 0, as the game reads it.
    ProcessResult r = runProcess({PELMORA_SOLVE_PATH, "--target", "abc", "1111"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "1 ＋ 1 － 1 － 1\n");
}

}  // namespace
}  // namespace pelmora::testing
