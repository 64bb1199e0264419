// The command line of the three programs: --help, --version, answers to arguments with both forms
// of an option's value, usage errors that name what is wrong, and pelmora-eval's JSON lines.
#include "tests/tools/process.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#ifndef PELMORA_SOLVE_PATH
#define PELMORA_SOLVE_PATH ""
#endif

namespace pelmora::testing {
namespace {

// The rows of cases/NAME.tsv, tab-separated, each with its program's path first; none for a
// program that is not built. Lines starting with # are comments.
std::vector<std::vector<std::string>> rows(const std::string& name) {
    std::vector<std::vector<std::string>> result;
    for (const auto& line :
         lines(readFile(PELMORA_SOURCE_DIR "/tests/tools/cases/" + name + ".tsv"))) {
        std::vector<std::string> row(1);
        for (std::size_t i = 0; i < line.size(); ++i) {
            if (line[i] == '\t') {
                row.emplace_back();
            } else if (line[i] != '\\') {
                row.back() += line[i];
            } else if (const char e = line[++i]; e != 'e') {  // \e: nothing
                row.back() += e == 'n' ? '\n' : e == 'r' ? '\r' : e == 't' ? '\t' : e;
            }
        }
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
                EXPECT_EQ(r.out, name + " " PELMORA_VERSION "\n");
                continue;
            }
            for (const char* part : {"--version", "Examples:", "Exit status:"})
                EXPECT_NE(r.out.find(part), std::string::npos) << name << ": " << part;
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

}  // namespace
}  // namespace pelmora::testing
