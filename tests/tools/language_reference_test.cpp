// docs/language.md against the program: every example gives what the reference says, and the
// built-in tables name what --list-functions lists, with the same slots and result kinds.
#include "process.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

namespace pelmora::testing {
namespace {

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::string trimmedRight(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

// "| a | b |" as {"a", "b"}.
std::vector<std::string> cells(const std::string& row) {
    std::vector<std::string> out;
    std::size_t start = 2;
    for (auto bar = row.find(" | ", start); bar != std::string::npos;
         bar = row.find(" | ", start)) {
        out.push_back(row.substr(start, bar - start));
        start = bar + 3;
    }
    if (row.size() >= start + 2) out.push_back(row.substr(start, row.size() - start - 2));
    return out;
}

bool isCode(const std::string& cell) {
    return cell.size() >= 2 && cell.front() == '`' && cell.back() == '`';
}

const std::vector<std::string>& reference() {
    static auto lines = linesOf(readFile(PELMORA_SOURCE_DIR "/docs/language.md"));
    return lines;
}

TEST(LanguageReference, EveryExampleGivesItsStatedResult) {
    std::vector<std::string> expressions, expected;
    for (const auto& line : reference()) {
        if (!line.starts_with("| ")) continue;
        auto row = cells(line);
        if (row.size() < 2 || !isCode(row[row.size() - 2]) || !isCode(row.back())) continue;
        expressions.push_back(row[row.size() - 2].substr(1, row[row.size() - 2].size() - 2));
        expected.push_back(trimmedRight(row.back().substr(1, row.back().size() - 2)));
    }
    ASSERT_GT(expressions.size(), 100u);
    std::vector<std::string> arguments{PELMORA_EVAL_PATH,
                                       "--now",
                                       "2026-12-05T09:05:07",
                                       "--seed",
                                       "1",
                                       "--command-line",
                                       "-n 3",
                                       "--"};
    arguments.insert(arguments.end(), expressions.begin(), expressions.end());
    auto result = runProcess(arguments);
    ASSERT_EQ(result.status, 0) << result.err;
    auto shown = linesOf(result.out);
    ASSERT_EQ(shown.size(), expressions.size());
    for (std::size_t i = 0; i < expressions.size(); ++i)
        EXPECT_EQ(trimmedRight(shown[i]), expected[i]) << expressions[i];
}

TEST(LanguageReference, BuiltinTablesMatchTheListedTable) {
    auto listed = runProcess({PELMORA_EVAL_PATH, "--list-functions"});
    ASSERT_EQ(listed.status, 0);
    // "heading: NAME | slots | result", one per entry, from both sides.
    std::vector<std::string> fromList, fromReference;
    std::string heading;
    const std::regex columns("  ([^ ]+) +(.+?)  +(.+)");
    for (const auto& line : linesOf(listed.out)) {
        std::smatch m;
        if (!std::regex_match(line, m, columns)) {
            heading = line;
            continue;
        }
        fromList.push_back(heading + ": " + m.str(1) + " | " + m.str(2) + " | " + m.str(3));
    }
    EXPECT_EQ(fromList.size(), 93u + 7u);  // the calls' entries and the bare names
    heading.clear();
    const std::string marker = "<!-- built-in table: ";
    for (const auto& line : reference()) {
        if (line.starts_with(marker)) {
            heading = line.substr(marker.size(), line.size() - marker.size() - 4);
        } else if (!line.starts_with("|")) {
            heading.clear();
        } else if (!heading.empty() && line.starts_with("| `")) {
            auto row = cells(line);
            ASSERT_EQ(row.size(), 6u) << line;
            EXPECT_TRUE(isCode(row[4]) && isCode(row[5])) << "no example: " << line;
            fromReference.push_back(heading + ": " + row[0].substr(1, row[0].size() - 2) + " | " +
                                    row[1] + " | " + row[2]);
        }
    }
    EXPECT_EQ(fromReference, fromList) << "run scripts/language-table.sh";
}

}  // namespace
}  // namespace pelmora::testing
