// Text underneath the string built-ins: the code page, width and case forms, and the text
// search (the functions themselves and the byte view are in cases/strings.tsv).
#include "evaluator/builtins_string.h"
#include "evaluator/cp932.h"
#include "evaluator/engine.h"
#include "fake_host.h"

#include <random>

namespace pelmora::testing {
namespace {

// Runs one built-in on slot texts given as they are, bypassing the upper-casing of a call.
Value callDirect(Builtin function, Evaluator& evaluator, std::u16string slot0) {
    Call call{Engine::of(evaluator), u""};
    call.slots[0] = std::move(slot0);
    return function(call);
}

// A quoted literal for any text: quotes doubled.
std::u16string literal(std::u16string_view text) {
    std::u16string out = u"\"";
    for (char16_t c : text) out.append(c == u'"' ? 2 : 1, c);
    return out + u"\"";
}

// Every code of the table: KNJ$ of the JIS$ of its character gives the character back.
TEST(StringCodes, EveryCharacterOfTheCodePageRoundTrips) {
    Bench bench;
    int defined = 0;
    for (std::uint32_t code = 0; code <= 0xFFFF; ++code) {
        char16_t unit = cp932::toUnit(static_cast<std::uint16_t>(code));
        if (unit == cp932::kNoCharacter) continue;
        ++defined;
        Value jis = callDirect(builtins::JIS_S, bench.evaluator, literal(std::u16string(1, unit)));
        ASSERT_TRUE(jis.isString()) << code;
        Value back = callDirect(builtins::KNJ_S, bench.evaluator, literal(jis.asString().units));
        ASSERT_TRUE(back.isString()) << code;
        ASSERT_EQ(back.asString().units, std::u16string(1, unit)) << "code " << code;
    }
    EXPECT_EQ(bench.code(), 0);
    // 256 single bytes less 60 lead bytes; 6879 double-byte characters of JIS X 0208, 83 of
    // the NEC row 13, 374 NEC-selected and 388 IBM extensions; 1880 user-defined ones.
    EXPECT_EQ(defined, 196 + 6879 + 83 + 374 + 388 + 1880);
}

// The full-width forms of U+FF61 to U+FF9F, in code order.
constexpr std::u16string_view kFullWidthKana =
    u"。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノ"
    u"ハヒフヘホマミムメモヤユヨラリルレロワン゛゜";

TEST(StringWidth, AsciiSpaceHalfWidthKatakanaAndPunctuationSwitchForms) {
    ASSERT_EQ(kFullWidthKana.size(), 0xFF9Fu - 0xFF61u + 1);
    for (char16_t c = 0x20; c <= 0xFF9F; c = c == 0x7E ? 0xFF61 : c + 1) {
        std::u16string half(1, c);
        std::u16string full(1, c == 0x20   ? u'\u3000'
                               : c <= 0x7E ? static_cast<char16_t>(c + 0xFEE0)
                                           : kFullWidthKana[c - 0xFF61]);
        EXPECT_EQ(toFullWidth(half), full) << std::hex << int(c);
        EXPECT_EQ(toHalfWidth(full), half) << std::hex << int(c);
    }
}

// Rows of cases/forms.tsv: width or case, both ways or one, a half-width or lower-case text and
// its full-width or upper-case form.
TEST(StringForms, WidthAndCaseSwitchOneToOneAndCharactersWithoutACounterpartStay) {
    const auto rows = table("forms");
    EXPECT_GT(rows.size(), 40u);
    for (const auto& row : rows) {
        ASSERT_EQ(row.size(), 3u) << row[0];
        const bool width = row[0].starts_with("width");
        const std::u16string low = fromUtf8(row[1]), high = fromUtf8(row[2]);
        const std::string up = toUtf8(width ? toFullWidth(low) : toUpper(low));
        const std::string down = toUtf8(width ? toHalfWidth(high) : toLower(high));
        // A row of one way leaves the other unchecked.
        EXPECT_EQ(row[0].ends_with("down") ? row[2] : up, row[2]) << row[1];
        EXPECT_EQ(row[0].ends_with("up") ? row[1] : down, row[1]) << row[2];
    }
}

TEST(StringSearch, FindsWhatTheLibrarySearchFinds) {
    std::mt19937 random(7);
    auto text = [&](std::size_t length) {
        std::u16string s;
        for (std::size_t i = 0; i < length; ++i) s += static_cast<char16_t>(u'a' + random() % 2);
        return s;
    };
    for (int round = 0; round < 2000; ++round) {
        std::u16string haystack = text(random() % 60), needle = text(random() % 12);
        std::size_t from = random() % 64;
        EXPECT_EQ(findText(haystack, needle, from), haystack.find(needle, from))
            << toUtf8(haystack) << " / " << toUtf8(needle) << " from " << from;
    }
}

}  // namespace
}  // namespace pelmora::testing
