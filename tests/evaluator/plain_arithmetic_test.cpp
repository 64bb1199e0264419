// Plain arithmetic is computed directly, with the value and failure the general way gives, and
// anything else is left to the general way: rows of cases/plain.tsv.
#include "evaluator/plain_arithmetic.h"

#include <charconv>

#include "fake_host.h"

namespace pelmora::testing {
namespace {

// "value, reads N" or "fails: why, reads N" when computed directly; "general" when left alone.
std::string direct(const std::string& text, const std::string& mode) {
    const std::u16string t = fromUtf8(text);
    PlainArithmetic plain(t, mode != "", mode == "zero");
    const std::optional<double> v = plain.run();
    if (!v) return "general";
    char buffer[32];
    std::string shown(buffer, std::to_chars(buffer, buffer + sizeof buffer, *v).ptr);
    if (plain.failure()) shown = std::string("fails: ") + plain.failure();
    return shown + ", reads " + std::to_string(plain.nestedReads());
}

TEST(PlainArithmetic, ComputesPlainTextsDirectlyAndLeavesTheRestToTheGeneralWay) {
    for (const auto& row : table("plain")) {
        ASSERT_EQ(row.size(), 3u) << row[0];
        EXPECT_EQ(direct(row[0], row[1]), row[2]) << row[0] << " " << row[1];
    }
}

}  // namespace
}  // namespace pelmora::testing
