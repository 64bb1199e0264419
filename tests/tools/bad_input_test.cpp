// The tools under bad input, as processes: pelmora-eval --jsonl answers every input line with
// one valid UTF-8 JSON line, and pelmora-solve turns every malformed argument away with status
// 2 and one line.
#include "tests/tools/json_check.h"
#include "tests/tools/process.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pelmora::testing {
namespace {

ProcessResult jsonl(const std::string& input) {
    return runProcess({PELMORA_EVAL_PATH, "--jsonl"}, input);
}

// Every output line is one JSON object; returns their string members.
std::vector<std::map<std::string, std::string>> answers(const ProcessResult& r) {
    std::vector<std::map<std::string, std::string>> result;
    if (!r.out.empty()) {
        EXPECT_EQ(r.out.back(), '\n');
    }
    for (const auto& line : lines(r.out)) {
        auto members = JsonCheck::object(line);
        EXPECT_TRUE(members) << "not one JSON object: " << line.substr(0, 200);
        result.push_back(members.value_or(std::map<std::string, std::string>{}));
    }
    return result;
}

TEST(EvalToolBadInput, EachBadByteReadsAsOneReplacementCharacter) {
    // \xFF, a sequence cut short (E3 81), a surrogate coded in UTF-8 (ED A0 80), an overlong
    // slash (C0 AF), a NUL; then bad bytes outside a string.
    using namespace std::string_literals;
    ProcessResult r = jsonl(
        "\"\xFF"
        "a\xE3\x81"
        "b\xED\xA0\x80"
        "c\xC0\xAF"
        "d\x00"
        "e\"\n"s
        "\xFF\xFE\n"
        "1+\x80\n");
    ASSERT_TRUE(r.exited);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    auto a = answers(r);
    ASSERT_EQ(a.size(), 3u);
    EXPECT_EQ(a[0]["kind"], "String");
    EXPECT_EQ(a[0]["text"], std::string("\uFFFDa\uFFFD\uFFFDb\uFFFD\uFFFD\uFFFDc\uFFFD\uFFFDd") +
                                std::string(1, '\0') + "e");
    EXPECT_EQ(a[0]["bytes"], "fdff6100fdfffdff6200fdfffdfffdff6300fdfffdff640000006500");
    EXPECT_EQ(a[1]["kind"], "Empty");
    EXPECT_EQ(a[2]["kind"], "Empty");
}

TEST(EvalToolBadInput, ATenMebibyteLineIsOneAnswer) {
    std::string big(10 << 20, 'x');
    ProcessResult r = jsonl("\"" + big + "\"\n" + big + "\n1+1\n");
    ASSERT_TRUE(r.exited);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    auto a = answers(r);
    ASSERT_EQ(a.size(), 3u);
    EXPECT_EQ(a[0]["kind"], "String");
    EXPECT_EQ(a[0]["text"], big);
    EXPECT_EQ(a[0]["bytes"].size(), big.size() * 4);
    EXPECT_EQ(a[2]["text"], "2");
}

TEST(EvalToolBadInput, ALastLineWithoutLineEndIsAnsweredAndEmptyInputNot) {
    ProcessResult r = jsonl("1+1\n2+2");
    EXPECT_EQ(r.status, 0);
    auto a = answers(r);
    ASSERT_EQ(a.size(), 2u);
    EXPECT_EQ(a[1]["text"], "4");
    // A CR belongs to the line end only before an LF.
    r = jsonl("\"a\r\"");
    ASSERT_EQ(answers(r).size(), 1u);
    EXPECT_EQ(answers(r)[0]["text"], "a\r");
    // Empty input answers nothing.
    r = jsonl("");
    ASSERT_TRUE(r.exited);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
}

std::string countingLines(int n) {
    std::string input;
    for (int i = 0; i < n; ++i) input += std::to_string(i) + "+1\n";
    return input;
}

TEST(EvalToolBadInput, AHundredThousandLinesGetAHundredThousandAnswers) {
    ProcessResult r = jsonl(countingLines(100'000));
    ASSERT_TRUE(r.exited);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    auto a = answers(r);
    ASSERT_EQ(a.size(), 100'000u);
    for (int i : {0, 1, 4'999, 99'999}) EXPECT_EQ(a[i]["text"], std::to_string(i + 1));
}

TEST(EvalToolBadInput, AReaderThatStopsEarlyEndsItQuietly) {
    // pelmora-eval's own status, not head's; a death by SIGPIPE would read as 141.
    ProcessResult r =
        runProcess({"/bin/bash", "-c",
                    std::string(PELMORA_EVAL_PATH) + " --jsonl | head -1; exit ${PIPESTATUS[0]}"},
                   countingLines(100'000));
    ASSERT_TRUE(r.exited);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    ASSERT_EQ(lines(r.out).size(), 1u);
    EXPECT_TRUE(JsonCheck::object(lines(r.out)[0])) << r.out;
}

TEST(EvalToolBadInput, AnOutputThatCannotBeWrittenIsReported) {
    ProcessResult r = runProcess({PELMORA_EVAL_PATH, "--jsonl"}, "1\n", "/dev/full");
    ASSERT_TRUE(r.exited);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(lines(r.err).size(), 1u);
}

struct BadArguments {
    std::vector<std::string> arguments;
    std::string names;  // what the message must name
};

TEST(SolveToolBadInput, EveryMalformedArgumentIsOneLineAndStatusTwo) {
    const BadArguments rows[] = {
        {{}, "DIGITS"},
        {{"3102"}, "3102"},
        {{"319"}, "319"},
        {{"31925"}, "31925"},
        {{"3a92"}, "3a92"},
        {{""}, "''"},
        {{"３１９２"}, "３１９２"},
        {{"-3192"}, "-3192"},
        {{"31\n92"}, "31 92"},
        {{"3192", "4444"}, "4444"},
        {{"3192", "--sort"}, "--sort"},
        {{"3192", "-x"}, "-x"},
        {{"3192", "--target"}, "--target"},
        {{"3192", "--all=maybe"}, "--all"},
        {{"--census", "3192"}, "--census"},
        {{"--census", "--all"}, "--all"},
        {{"--", "--census"}, "--census"},
        {{"--=3", "3192"}, "--=3"},
    };
    for (const auto& row : rows) {
        std::vector<std::string> arguments{PELMORA_SOLVE_PATH};
        arguments.insert(arguments.end(), row.arguments.begin(), row.arguments.end());
        ProcessResult r = runProcess(arguments);
        std::string shown = row.arguments.empty() ? "(none)" : row.arguments[0];
        for (std::size_t i = 1; i < row.arguments.size(); ++i) shown += " " + row.arguments[i];
        EXPECT_TRUE(r.exited) << shown;
        EXPECT_EQ(r.status, 2) << shown;
        EXPECT_EQ(r.out, "") << shown;
        EXPECT_EQ(lines(r.err).size(), 1u) << shown << ": " << r.err;
        EXPECT_EQ(r.err.back(), '\n') << shown;
        EXPECT_NE(r.err.find(row.names), std::string::npos) << shown << ": " << r.err;
    }
}

TEST(SolveToolBadInput, ATargetWithoutANumberIsWarnedAboutAndReadsAsZero) {
    struct Row {
        std::string target;
        bool warned;
    };
    const Row rows[] = {{"abc", true},   {"", true},      {"  ", true},   {"-", true},
                        {"&H", true},    {"&HZ", true},   {"..5", true},  {"0", false},
                        {" 1 0", false}, {"-.5x", false}, {"&HA", false}, {"&o7", false},
                        {"1E400", true}};
    for (const auto& row : rows) {
        ProcessResult r = runProcess({PELMORA_SOLVE_PATH, "--target=" + row.target, "1111"});
        EXPECT_EQ(!r.err.empty(), row.warned) << "'" << row.target << "': " << r.err;
        EXPECT_EQ(lines(r.err).size(), row.warned ? 1u : 0u) << row.target;
    }
    // The warning changes nothing: the target reads as 0, as the game reads it.
    ProcessResult r = runProcess({PELMORA_SOLVE_PATH, "--target", "abc", "1111"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "1 ＋ 1 － 1 － 1\n");
    EXPECT_EQ(runProcess({PELMORA_SOLVE_PATH, "--target=0", "1111"}).out, r.out);
}

}  // namespace
}  // namespace pelmora::testing
