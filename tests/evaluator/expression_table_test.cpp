// The expression tables in cases/*.tsv: one row an expression, its value as "Kind: plain text"
// (or "ended" when it ends the program, or a String's bytes as "Bytes: 41 00"), the error code
// after it, and where a fourth cell is given, the host's clock. Each row runs in an evaluator of
// its own.
#include "fake_host.h"

#include <cstdio>

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
        ASSERT_TRUE(row.size() == 3 || row.size() == 4) << where << ": needs three or four cells";
        Bench bench;
        if (row.size() == 4) {  // the host's clock at another moment, "2000/01/02 00:00:00"
            int y, mo, d, h, mi, s;
            std::sscanf(row[3].c_str(), "%d/%d/%d %d:%d:%d", &y, &mo, &d, &h, &mi, &s);
            using namespace std::chrono;
            bench.host.clock = local_days{year{y} / mo / d} + hours{h} + minutes{mi} + seconds{s};
        }
        std::string shown = "ended";
        try {
            Value value = bench.eval(row[0]);
            shown = row[1].starts_with("Bytes:") ? bytesOf(value) : describe(value);
            PlainTextBuffer buffer;  // the short way to the text gives the same
            EXPECT_EQ(std::u16string(plainTextInto(value, buffer)), plainText(value));
        } catch (const ProgramEnded& ended) {  // an undeclared array ends the program
            EXPECT_EQ(toUtf8(ended.message),
                      "配列が宣言されていないのに10を越しました。\r\n"
                      "または配列の次元が超えています。");
        }
        EXPECT_EQ(shown, row[1]) << where;
        EXPECT_EQ(bench.code(), std::stoi(row[2])) << where;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ExpressionTable,
                         ::testing::Values("operators", "numeric", "strings", "system", "names",
                                           "limits"),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace pelmora::testing
