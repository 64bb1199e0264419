// The expression tables in cases/*.tsv: one row an expression, its value as "Kind: plain text"
// (or "ended" when it ends the program, or a String's bytes as "Bytes: 41 00") and the error code
// after it. Each row runs in an evaluator of its own.
#include "fake_host.h"

namespace pelmora::testing {
namespace {

// The byte view of a String as spaced hexadecimal pairs.
std::string bytesOf(const Value& v) {
    if (!v.isString()) return "not a String: " + describe(v);
    std::string out = "Bytes:";
    for (unsigned char b : v.asString().byteView())
        out += {' ', "0123456789ABCDEF"[b >> 4], "0123456789ABCDEF"[b & 0xF]};
    return out;
}

class ExpressionTable : public ::testing::TestWithParam<std::string> {};

TEST_P(ExpressionTable, EveryRowGivesItsValueAndCode) {
    const auto rows = table(GetParam());
    EXPECT_GT(rows.size(), 10u) << GetParam();
    for (const auto& row : rows) {
        const std::string where = GetParam() + ": " + row[0].substr(0, 100);
        ASSERT_EQ(row.size(), 3u) << where << ": needs three cells";
        const std::string& expected = row[1];
        Bench bench;
        std::string shown = "ended";
        try {
            Value value = bench.eval(row[0]);
            shown = expected.starts_with("Bytes:") ? bytesOf(value) : describe(value);
            PlainTextBuffer buffer;  // the short way to the text gives the same
            EXPECT_EQ(std::u16string(plainTextInto(value, buffer)), plainText(value));
        } catch (const ProgramEnded& ended) {  // an undeclared array ends the program
            EXPECT_EQ(toUtf8(ended.message),
                      "配列が宣言されていないのに10を越しました。\r\n"
                      "または配列の次元が超えています。");
        }
        EXPECT_EQ(shown, expected) << where;
        EXPECT_EQ(bench.code(), std::stoi(row[2])) << where;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ExpressionTable,
                         ::testing::Values("operators", "numeric", "strings", "system", "names",
                                           "limits"),
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
