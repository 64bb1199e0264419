// docs/language.md against the program: every example gives what the reference says, and the
// built-in tables name what --list-functions lists, with the same slots and result kinds.
#include "tests/tools/process.h"

#include <gtest/gtest.h>

#include <optional>
#include <regex>
#include <string>
#include <vector>

namespace pelmora::testing {
namespace {

const auto trimmedRight = [](std::string s) { return s.erase(s.find_last_not_of(' ') + 1); };

// "| a | b |" as {"a", "b"}.
std::vector<std::string> cells(const std::string& row) {
    std::vector<std::string> out;
    std::size_t start = 2;
    for (auto bar = row.find(" | ", start); bar != std::string::npos; bar = row.find(" | ", start))
        out.push_back(row.substr(start, bar - start)), start = bar + 3;
    if (row.size() >= start + 2) out.push_back(row.substr(start, row.size() - start - 2));
    return out;
}

// What stands between the backticks of a `code` cell; nothing for any other cell.
std::optional<std::string> code(const std::string& cell) {
    if (cell.size() < 2 || cell.front() != '`' || cell.back() != '`') return std::nullopt;
    return cell.substr(1, cell.size() - 2);
}

const std::vector<std::string> kReference = lines(readFile(PELMORA_SOURCE_DIR "/docs/language.md"));

TEST(LanguageReference, EveryExampleGivesItsStatedResult) {
    std::vector<std::string> arguments{PELMORA_EVAL_PATH, "--now=2026-12-05T09:05:07", "--seed=1",
                                       "--command-line=-n 3", "--"};
    const std::size_t first = arguments.size();
    std::vector<std::string> expected;
    for (const auto& line : kReference) {
        auto row = line.starts_with("| ") ? cells(line) : std::vector<std::string>{};
        if (row.size() < 2 || !code(row[row.size() - 2]) || !code(row.back())) continue;
        arguments.push_back(*code(row[row.size() - 2]));
        expected.push_back(trimmedRight(*code(row.back())));
    }
    ASSERT_GT(expected.size(), 100u);
    auto result = runProcess(arguments);
    ASSERT_EQ(result.status, 0) << result.err;
    auto shown = lines(result.out);
    ASSERT_EQ(shown.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(trimmedRight(shown[i]), expected[i]) << arguments[first + i];
}

TEST(LanguageReference, BuiltinTablesMatchTheListedTable) {
    auto listed = runProcess({PELMORA_EVAL_PATH, "--list-functions"});
    ASSERT_EQ(listed.status, 0);
    // "heading: NAME | slots | result", one per entry, from both sides.
    std::vector<std::string> fromList, fromReference;
    std::string heading;
    const std::regex columns("  ([^ ]+) +(.+?)  +(.+)");
    for (const auto& line : lines(listed.out)) {
        std::smatch m;
        if (!std::regex_match(line, m, columns))
            heading = line;
        else
            fromList.push_back(heading + ": " + m.str(1) + " | " + m.str(2) + " | " + m.str(3));
    }
    ASSERT_FALSE(fromList.empty());
    heading.clear();
    const std::string marker = "<!-- built-in table: ";
    for (const auto& line : kReference) {
        if (line.starts_with(marker)) {
            heading = line.substr(marker.size(), line.size() - marker.size() - 4);
        } else if (!line.starts_with("|")) {
            heading.clear();
        } else if (!heading.empty() && line.starts_with("| `")) {
            auto row = cells(line);
            ASSERT_EQ(row.size(), 6u) << line;
            EXPECT_TRUE(code(row[4]) && code(row[5])) << "no example: " << line;
            fromReference.push_back(heading + ": " + code(row[0]).value_or(row[0]) + " | " +
                                    row[1] + " | " + row[2]);
        }
    }
    EXPECT_EQ(fromReference, fromList) << "run scripts/language-table.sh";
}

}  // namespace
}  // namespace pelmora::testing
