// The string and code page built-ins: byte view, character positions, searching, Shift-JIS
// codes, width and case forms, trimming, counts and failures.
#include <pelmora/failure.h>
#include "evaluator/builtins_string.h"
#include "evaluator/cp932.h"
#include "fake_host.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pelmora::testing {
namespace {

// The byte view of a String result as spaced hexadecimal pairs ("41 00 42").
std::string bytesOf(const Value& v) {
    if (!v.isString()) return "not a String: " + describe(v);
    constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char b : v.asString().byteView()) {
        if (!out.empty()) out.push_back(' ');
        out.push_back(kHex[b >> 4]);
        out.push_back(kHex[b & 0xF]);
    }
    return out;
}

struct ByteRow {
    const char* expression;
    const char* bytes;
};

void checkBytes(const std::vector<ByteRow>& rows) {
    for (const auto& row : rows) {
        Bench bench;
        EXPECT_EQ(bytesOf(bench.eval(row.expression)), row.bytes) << row.expression;
        EXPECT_EQ(bench.code(), 0) << row.expression;
    }
}

// Runs one built-in on slot texts given as they are, bypassing the upper-casing of a call.
Value callDirect(Builtin function, Evaluator& evaluator, std::u16string slot0) {
    Call call{evaluator, u""};
    call.slots[0] = std::move(slot0);
    return function(call);
}

// A quoted literal for any text: quotes doubled.
std::u16string literal(std::u16string_view text) {
    std::u16string out = u"\"";
    for (char16_t c : text) {
        out.push_back(c);
        if (c == u'"') out.push_back(c);
    }
    return out + u"\"";
}

// ---------------------------------------------------------------------------------------------

// Arguments arrive upper-cased and only named slots are evaluated; the byte functions cut the
// little-endian storage; a lone byte is no character and pairs with the next text.
TEST(StringByteView, ByteFunctionsLoneBytesAndConcatenation) {
    checkRows({
        {R"(MID$("abc",1,1))", "String: A"},
        {R"(LCASE$("ABC"))", "String: abc"},
        {R"(LEN("AB",1/0))", "Long: 2"},
        {R"(LEFT$("AB"))", "String: ", 2},
        {R"(ASC("あ"))", "Byte: 66"},
        {R"(ASC(MID$("AB",2)))", "Byte: 0"},
        {R"(CHR$(&H42)+CHR$(&H30))", "String: あ"},
        {R"(LEFT$("ABCD",3)+CHR$(0)+"C")", "String: ABC"},
        {R"(LEN(CHR$(65)))", "Long: 0"},
        {R"(KLEN(MID$("ABCD",2)))", "Long: 3"},
        {R"(INSTR(LEFT$("ABC",5),"C"))", "Long: 0"},
    });
    checkBytes({
        {R"(LEFT$("ABCD",3))", "41 00 42"},
        {R"(RIGHT$("ABCD",3))", "00 44 00"},
        {R"(MID$("ABCD",2))", "00 42 00 43 00 44 00"},
        {R"(MID$("ABC",6))", "00"},
        {R"(MID$("ABC",7))", ""},
        {R"(LEFT$("ABCD",3)+"Z")", "41 00 42 5A 00"},
        {R"(CHR$(65)+"")", "41"},
        // Character mapping keeps the lone byte behind the mapped characters.
        {R"(LCASE$(LEFT$("AB",3)))", "61 00 42"},
        {R"(RTRIM$(LEFT$("A  ",5)))", "41 00 20"},
    });
}

TEST(StringFunctions, PositionsCodesFormsTrimmingAndFailures) {
    checkRows({
        // Positions count code units.
        {R"(KMID$("あいうえ",2,2))", "String: いう"},
        {R"(KMID$("あいう",4))", "String: "},
        {R"(KMID$("あいう",4,-1))", "Empty: ", 2},
        {R"(MID$("ABCDE",2.5,1.5))", "String: BC"},
        // Shift-JIS codes as hexadecimal text.
        {R"(JIS$("ABC"))", "String: 41"},
        {R"(JIS$(CHR$(10)+CHR$(0)))", "String: A"},
        {R"(KNJ$("0082A0"))", "String: あ"},
        {R"(KNJ$("FF"))", "String: \uF8F3"},
        // Codes that name no character give the replacement character.
        {R"(KNJ$("81"))", "String: \uFFFD"},
        // STRING$ repeats one character.
        {R"(STRING$(3,"xy"))", "String: XXX"},
        {R"(STRING$(2,"&H41"))", "String: &&"},
        {R"(STRING$(2,-191))", "String: AA"},
        // AKCNV$ and KACNV$ apply the width forms.
        {R"(AKCNV$("AB1 ｶﾞ"))", "String: ＡＢ１　ガ"},
        {R"(KACNV$("ＡＢ１　ガ"))", "String: AB1 ｶﾞ"},
        // Only space and ideographic space are trimmed.
        {R"(TRIM(" 　A B　 "))", "String: A B"},
        {R"(LTRIM$("  A "))", "String: A "},
        {R"(RTRIM$(" A  "))", "String:  A"},
        {R"(TRIM(TAB(1)+"A"))", "String: \tA"},
        // Failures.
        {R"(KMID$("あいう",0))", "Empty: ", 2},
        {R"(MID$("ABC",2,-1))", "Empty: ", 2},
        {R"(LEFT$("AB",-1))", "Empty: ", 2},
        {R"(ASC(""))", "Empty: ", 2},
        {R"(CHR$(256))", "Empty: ", 2},
        {R"(JIS$(CHR$(65)))", "Empty: ", 2},
        {R"(KNJ$("XYZ"))", "Empty: ", 2},
        {R"(KNJ$("10000"))", "Empty: ", 2},
        {R"(STRING$(2,""))", "Empty: ", 2},
        {R"(SPACE$(-1))", "Empty: ", 2},
    });
}

// INSTR and KINSTR follow the same rule; every row is checked under both names.
TEST(StringSearch, FollowsTheSearchRule) {
    // clang-format off
    const std::vector<Row> rows = {
        {R"((4,"ABCABC","C"))", "Long: 6"},
        {R"((3,"ABC",""))", "Long: 3"},
        {R"((4,"ABC",""))", "Long: 0"},
        {R"(("",""))", "Long: 0"},
        {R"((LCASE$("ABC"),"A"))", "Long: 0"},
        {R"(("A",))", "Long: 1", 2},
        {R"((0,"A","A"))", "Empty: ", 2},
    };
    // clang-format on
    for (const char* name : {"INSTR", "KINSTR"}) {
        for (const auto& row : rows) {
            std::string expression = std::string(name) + row.expression;
            Bench bench;
            EXPECT_EQ(bench.show(expression), row.expected) << expression;
            EXPECT_EQ(bench.code(), row.code) << expression;
        }
    }
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

// ---------------------------------------------------------------------------------------------

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

TEST(StringWidth, VoicedKatakanaSplitIntoTwoHalfWidthCharacters) {
    const std::u16string_view full = u"ガギグゲゴザジズゼゾダヂヅデドバビブベボパピプペポヴヷヺ";
    const std::u16string_view half = u"ｶﾞｷﾞｸﾞｹﾞｺﾞｻﾞｼﾞｽﾞｾﾞｿﾞﾀﾞﾁﾞﾂﾞﾃﾞﾄﾞﾊﾞﾋﾞﾌﾞﾍﾞﾎﾞﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟｳﾞﾜﾞｦﾞ";
    EXPECT_EQ(toHalfWidth(full), half);
    // The full-width form joins a letter and its mark again.
    EXPECT_EQ(toFullWidth(half), full);
    // A mark that joins nothing becomes the spacing full-width mark, not a combining one.
    EXPECT_EQ(toFullWidth(u"ｱﾞﾟ"), u"ア゛゜");
    // A combining mark that was already there is left alone.
    EXPECT_EQ(toFullWidth(u"\u3099A"), u"\u3099Ａ");
}

TEST(StringWidth, CharactersWithoutAJapaneseCounterpartStay) {
    // Hiragana, kanji, katakana without a half-width form, and the other half-width and
    // full-width forms of Unicode (cent, yen, hangul, white parentheses, arrows).
    const std::u16string_view keep =
        u"あいうがぱ漢字ヮヰヱヵヶ"
        u"\u00A2\u00A3\u00A5\u00A6\u00AC\u00AF\uFFE0\uFFE1\uFFE2\uFFE3\uFFE4\uFFE5\uFFE6"
        u"\u3131\u314F\uFFA1\uFFC2\u2985\u2986\uFF5F\uFF60\u2190\uFFE9\uFFED\u2502\uFFE8"
        u"\u3099\u309A";
    for (char16_t c : keep) {
        std::u16string one(1, c);
        EXPECT_EQ(toFullWidth(one), one) << std::hex << int(c);
        EXPECT_EQ(toHalfWidth(one), one) << std::hex << int(c);
    }
}

TEST(StringCase, OneToOneMappingIncludingFullWidthLatin) {
    EXPECT_EQ(toUpper(u"aｚ\u00FF\u03B1"), u"AＺ\u0178\u0391");
    EXPECT_EQ(toLower(u"AＺ\u0178\u0391"), u"aｚ\u00FF\u03B1");
    // One-to-one: a letter whose upper case is two letters stays as it is.
    EXPECT_EQ(toUpper(u"\u00DF"), u"\u00DF");
}

TEST(StringCounts, SpacesAndTabsUpToTheLimitAndNoFurther) {
    const std::int64_t mostUnits = static_cast<std::int64_t>(kMaxStringBytes / 2);
    const std::string over = std::to_string(mostUnits + 1);
    checkRows({
        {R"(TAB(2))", "String: \t\t"},
        {("LEN(SPACE$(" + std::to_string(mostUnits) + "))").c_str(),
         ("Long: " + std::to_string(mostUnits)).c_str()},
        {("STRING$(" + over + ",\"A\")").c_str(), "Empty: ", 2},
        {"SPACE$(2147483647)", "Empty: ", 2},
    });
}

}  // namespace
}  // namespace pelmora::testing
