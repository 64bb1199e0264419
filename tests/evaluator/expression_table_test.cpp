// The expression tables in cases/*.tsv: one row an expression, its value as "Kind: plain text"
// (or "ended" when it ends the program) and the error code after it, separated by tabs; '#' starts
// a comment line. In the cells \t, \n, \r, \\ and \uXXXX stand for themselves. Each row runs in an
// evaluator of its own.
#include "fake_host.h"

#include <gtest/gtest.h>

#include <fstream>

namespace pelmora::testing {
namespace {

const char* const kUndeclared =
    "配列が宣言されていないのに10を越しました。\r\nまたは配列の次元が超えています。";

std::string unescape(std::string_view cell) {
    std::string out;
    for (std::size_t i = 0; i < cell.size(); ++i) {
        if (cell[i] != '\\' || i + 1 == cell.size()) {
            out += cell[i];
        } else if (cell[++i] == 'u') {
            auto unit =
                static_cast<char16_t>(std::stoi(std::string(cell.substr(i + 1, 4)), nullptr, 16));
            out += toUtf8(std::u16string(1, unit));
            i += 4;
        } else {
            const auto at = std::string_view("tnr").find(cell[i]);
            out += at == std::string_view::npos ? cell[i] : "\t\n\r"[at];
        }
    }
    return out;
}

class ExpressionTable : public ::testing::TestWithParam<std::string> {};

TEST_P(ExpressionTable, EveryRowGivesItsValueAndCode) {
    std::ifstream in(PELMORA_CASES_DIR "/" + GetParam() + ".tsv");
    ASSERT_TRUE(in) << GetParam();
    std::string line;
    int rows = 0;
    for (int number = 1; std::getline(in, line); ++number) {
        if (line.empty() || line[0] == '#') continue;
        auto tab1 = line.find('\t'), tab2 = line.rfind('\t');
        ASSERT_NE(tab1, tab2) << GetParam() << ":" << number << ": needs three cells";
        Row row{unescape(line.substr(0, tab1)), unescape(line.substr(tab1 + 1, tab2 - tab1 - 1)),
                std::stoi(line.substr(tab2 + 1))};
        Bench bench;
        std::string shown = "ended";
        try {
            Value value = bench.eval(row.expression);
            shown = describe(value);
            PlainTextBuffer buffer;  // the short way to the text gives the same
            EXPECT_EQ(toUtf8(std::u16string(plainTextInto(value, buffer))),
                      toUtf8(plainText(value)));
        } catch (const ProgramEnded& ended) {  // an undeclared array ends the program
            EXPECT_EQ(toUtf8(ended.message), kUndeclared);
        }
        const std::string where = GetParam() + ":" + std::to_string(number) + ": " + row.expression;
        EXPECT_EQ(shown, row.expected) << where;
        EXPECT_EQ(bench.code(), row.code) << where;
        ++rows;
    }
    EXPECT_GT(rows, 20) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Cases, ExpressionTable,
                         ::testing::Values("operators", "numeric", "strings", "system", "names"),
                         [](const auto& info) { return info.param; });

// The clock at other moments than the host's usual one: midnight, and the last hour of a day.
TEST(HostClock, DateAndTimeNamesFollowTheClock) {
    using namespace std::chrono;
    checkRows({{"DATE$", "String: 00/01/02"}, {"TIME$", "Date: 0:00:00"}},
              [](FakeHost& h) { h.clock = local_days{year{2000} / 1 / 2}; });
    checkRows({{"TIME$", "Date: 23:59:59"},
               {"HOUR(TIME$)", "Integer: 23"},
               {"MINUTE(TIME$)", "Integer: 59"},
               {"HOUR(\"23:00\")", "Integer: 23"}},
              [](FakeHost& h) { h.clock = local_days{year{2026} / 12 / 31} + seconds{86399}; });
}

}  // namespace
}  // namespace pelmora::testing
