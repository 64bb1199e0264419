// The string and code page built-ins: byte view, character positions, searching, Shift-JIS
// codes, width and case forms, trimming, counts and failures.
#include "evaluator/builtins_string.h"
#include "evaluator/cp932.h"
#include "evaluator/failure.h"
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

TEST(StringArguments, ArriveUpperCasedAndOnlyNamedSlotsAreEvaluated) {
    checkRows({
        {R"(MID$("abc",1,1))", "String: A"},
        {R"(LCASE$("ABC"))", "String: abc"},
        {R"(UCASE("abc"))", "String: ABC"},
        {R"(LEN(12.5))", "Long: 4"},
        {R"(LEN(0.5))", "Long: 3"},
        {R"(LEN("AB",1/0))", "Long: 2"},
        {R"(KMID$("ABC",2))", "String: BC"},
        {R"(INSTR(1,"ABC","B",1/0))", "Long: 2"},
        {R"(LEFT$("AB"))", "String: ", 2},
        {R"(LEN(1/0))", "Long: 0", 2},
        {R"(SPACE$(1/0))", "String: ", 2},
    });
}

TEST(StringByteView, ByteFunctionsCutTheLittleEndianStorage) {
    checkBytes({
        {R"(LEFT$("ABCD",4))", "41 00 42 00"},
        {R"(LEFT$("ABCD",3))", "41 00 42"},
        {R"(LEFT$("ABCD",0))", ""},
        {R"(LEFT$("AB",99))", "41 00 42 00"},
        {R"(RIGHT$("ABCD",2))", "44 00"},
        {R"(RIGHT$("ABCD",3))", "00 44 00"},
        {R"(RIGHT$("AB",99))", "41 00 42 00"},
        {R"(MID$("ABCD",2))", "00 42 00 43 00 44 00"},
        {R"(MID$("ABCDE",3))", "42 00 43 00 44 00 45 00"},
        {R"(MID$("ABC",6))", "00"},
        {R"(MID$("ABC",7))", ""},
        {R"(LEFT$("あ",1))", "42"},
        {R"(RIGHT$("あ",1))", "30"},
        {R"(CHR$(65))", "41"},
        {R"(CHR$(65.5))", "42"},
        {R"(CHR$("&HFF"))", "FF"},
        {R"(LEFT$(12345,3))", "31 00 32"},
    });
}

TEST(StringByteView, ConcatenationPairsALoneByteWithTheNextText) {
    checkBytes({
        {R"(CHR$(65)+CHR$(0))", "41 00"},
        {R"(LEFT$("ABCD",3)+"Z")", "41 00 42 5A 00"},
        {R"(CHR$(65)+"")", "41"},
        {R"(""+CHR$(65))", "41"},
        {R"(CHR$(&H42)+CHR$(&H30))", "42 30"},
        {R"(LEFT$(LEFT$("ABCD",3)+CHR$(0),4))", "41 00 42 00"},
        {R"(MID$("ABC",2)+CHR$(0))", "00 42 00 43 00 00"},
    });
    checkRows({
        {R"(CHR$(65)+CHR$(0))", "String: A"},
        {R"(CHR$(&H42)+CHR$(&H30))", "String: あ"},
        {R"(LEFT$("ABCD",3)+CHR$(0)+"C")", "String: ABC"},
    });
}

TEST(StringByteView, LoneByteIsNoCharacter) {
    checkRows({
        {R"(LEN(LEFT$("ABCD",3)))", "Long: 1"},
        {R"(LEN(CHR$(65)))", "Long: 0"},
        {R"(KLEN(MID$("ABCD",2)))", "Long: 3"},
        {R"(KMID$(LEFT$("ABC",5),1))", "String: AB"},
        {R"(INSTR(LEFT$("ABC",5),"C"))", "Long: 0"},
        {R"(TRIM(CHR$(32)))", "String: "},
    });
    // Character mapping keeps the lone byte behind the mapped characters.
    checkBytes({
        {R"(LCASE$(LEFT$("AB",3)))", "61 00 42"},
        {R"(RTRIM$(LEFT$("A  ",5)))", "41 00 20"},
        {R"(AKCNV$(LEFT$("A",1)))", "41"},
    });
}

TEST(StringByteView, AscReadsTheFirstByteAndChrMakesOne) {
    checkRows({
        {R"(ASC("a"))", "Byte: 65"},
        {R"(ASC("あ"))", "Byte: 66"},
        {R"(ASC(65))", "Byte: 54"},
        {R"(ASC(CHR$(200)))", "Byte: 200"},
        {R"(ASC(MID$("AB",2)))", "Byte: 0"},
        {R"(ASC("ABC",1/0))", "Byte: 65"},
    });
}

TEST(StringCharacters, PositionsCountCodeUnits) {
    checkRows({
        {R"(LEN("あいう"))", "Long: 3"},
        {R"(KLEN("あいう"))", "Long: 3"},
        {R"(LEN(""))", "Long: 0"},
        {R"(KMID$("あいうえ",2,2))", "String: いう"},
        {R"(KMID$("あいう",2))", "String: いう"},
        {R"(KMID$("あいう",3,99))", "String: う"},
        {R"(KMID$("あいう",1,0))", "String: "},
        {R"(KMID$("あいう",4))", "String: "},
        {R"(KMID$("あいう",4,-1))", "Empty: ", 2},
        {R"(MID$("ABCDE",2,3))", "String: BCD"},
        {R"(MID$("ABCDE",5,1))", "String: E"},
        {R"(MID$("ABCDE",2.5,1.5))", "String: BC"},
        {R"(MID$("ABC",4,1))", "String: "},
        {R"(KMID$(12345,2,3))", "String: 234"},
    });
}

// INSTR and KINSTR are the same function; every row is checked under both names.
TEST(StringSearch, FollowsTheSearchRule) {
    const std::vector<Row> rows = {
        {R"(("ABCABC","C"))", "Long: 3"},
        {R"((4,"ABCABC","C"))", "Long: 6"},
        {R"((3,"ABCABC","C"))", "Long: 3"},
        {R"((2,"ABC",""))", "Long: 2"},
        {R"((3,"ABC",""))", "Long: 3"},
        {R"((4,"ABC",""))", "Long: 0"},
        {R"((5,"ABC",""))", "Long: 0"},
        {R"(("","A"))", "Long: 0"},
        {R"(("",""))", "Long: 0"},
        {R"(("ABC","D"))", "Long: 0"},
        {R"(("ABC","ABCD"))", "Long: 0"},
        {R"(("ABC","BC"))", "Long: 2"},
        {R"((3,"ABC","BC"))", "Long: 0"},
        {R"(("あいう","う"))", "Long: 3"},
        {R"((LCASE$("ABC"),"A"))", "Long: 0"},
        {R"((12345,34))", "Long: 3"},
        {R"((1.5,"ABAB","A"))", "Long: 3"},
        {R"(("A",))", "Long: 1", 2},
        {R"((1,"A",))", "Long: 1", 2},
        {R"((0,"A","A"))", "Empty: ", 2},
        {R"((-1,"",""))", "Empty: ", 2},
        {R"(("X","A","A"))", "Empty: ", 2},
    };
    for (const char* name : {"INSTR", "KINSTR"}) {
        for (const auto& row : rows) {
            std::string expression = std::string(name) + row.expression;
            Bench bench;
            EXPECT_EQ(bench.show(expression), row.expected) << expression;
            EXPECT_EQ(bench.code(), row.code) << expression;
        }
    }
}

TEST(StringCodes, JisWritesShiftJisCodesInHexadecimal) {
    checkRows({
        {R"(JIS$("A"))", "String: 41"},
        {R"(JIS$("あ"))", "String: 82A0"},
        {R"(JIS$("ABC"))", "String: 41"},
        {R"(JIS$("　"))", "String: 8140"},
        {R"(JIS$("ｱ"))", "String: B1"},
        {R"(JIS$(CHR$(10)+CHR$(0)))", "String: A"},
        {R"(JIS$(CHR$(0)+CHR$(0)))", "String: 0"},
        {R"(JIS$(7))", "String: 37"},
        {R"(JIS$("漢"))", "String: 8ABF"},
        {R"(JIS$("＼"))", "String: 815F"},
        {R"(JIS$("～"))", "String: 8160"},
        {R"(JIS$("①"))", "String: 8740"},
        // No code in the code page: the code of "?".
        {R"(JIS$("€"))", "String: 3F"},
        {R"(JIS$("한"))", "String: 3F"},
    });
}

TEST(StringCodes, KnjReadsItsArgumentAsAHexadecimalCode) {
    checkRows({
        {R"(KNJ$("82A0"))", "String: あ"},
        {R"(KNJ$(8140))", "String: \u3000"},
        {R"(KNJ$(41))", "String: A"},
        {R"(KNJ$("B1"))", "String: ｱ"},
        {R"(KNJ$("8ABF"))", "String: 漢"},
        {R"(KNJ$("5C"))", "String: \\"},
        {R"(KNJ$("7E"))", "String: ~"},
        {R"(KNJ$("815F"))", "String: ＼"},
        {R"(KNJ$("FF"))", "String: \uF8F3"},
        {R"(KNJ$("0082A0"))", "String: あ"},
        {R"(KNJ$(JIS$("あ")))", "String: あ"},
    });
}

TEST(StringCodes, CodesThatNameNoCharacterGiveTheReplacementCharacter) {
    checkRows({
        // a lead byte alone
        {R"(KNJ$("81"))", "String: \uFFFD"},
        {R"(KNJ$("E0"))", "String: \uFFFD"},
        // a bad trail byte, a first byte that leads nothing, an unassigned pair
        {R"(KNJ$("8120"))", "String: \uFFFD"},
        {R"(KNJ$("4142"))", "String: \uFFFD"},
        {R"(KNJ$("0141"))", "String: \uFFFD"},
        {R"(KNJ$("85A0"))", "String: \uFFFD"},
        {R"(KNJ$("FFFF"))", "String: \uFFFD"},
        {R"(STRING$(2,&H81))", "String: \uFFFD\uFFFD"},
    });
}

TEST(StringCodes, GlibcsMissingSingleBytesMapBothWays) {
    struct Extra {
        std::uint16_t code;
        char16_t unit;
    };
    for (const Extra& e : {Extra{0x80, u'\u0080'}, Extra{0xA0, u'\uF8F0'}, Extra{0xFD, u'\uF8F1'},
                           Extra{0xFE, u'\uF8F2'}, Extra{0xFF, u'\uF8F3'}}) {
        EXPECT_EQ(cp932::toUnit(e.code), e.unit) << e.code;
        EXPECT_EQ(cp932::toCode(e.unit), e.code) << e.code;
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

TEST(StringCodes, StringRepeatsOneCharacter) {
    checkRows({
        {R"(STRING$(3,"xy"))", "String: XXX"},
        {R"(STRING$(3,65))", "String: AAA"},
        {R"(STRING$(2,321))", "String: AA"},
        {R"(STRING$(2,"&H41"))", "String: &&"},
        {R"(STRING$(2,177))", "String: ｱｱ"},
        {R"(STRING$(2,"あい"))", "String: ああ"},
        {R"(STRING$(0,"A"))", "String: "},
        {R"(STRING$(2.5,"A"))", "String: AA"},
        // a negative code also keeps its low byte
        {R"(STRING$(2,-191))", "String: AA"},
        {R"(STRING$(1,-1))", "String: \uF8F3"},
        {R"(STRING$(1,&H8140))", "String: @"},
    });
}

// ---------------------------------------------------------------------------------------------

// The full-width forms of U+FF61 to U+FF9F, in code order.
constexpr std::u16string_view kFullWidthKana =
    u"。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノ"
    u"ハヒフヘホマミムメモヤユヨラリルレロワン゛゜";

TEST(StringWidth, AsciiAndSpaceSwitchForms) {
    for (char16_t c = 0x21; c <= 0x7E; ++c) {
        std::u16string half(1, c);
        std::u16string full(1, static_cast<char16_t>(c + 0xFEE0));
        EXPECT_EQ(toFullWidth(half), full) << int(c);
        EXPECT_EQ(toHalfWidth(full), half) << int(c);
    }
    EXPECT_EQ(toFullWidth(u" "), u"\u3000");
    EXPECT_EQ(toHalfWidth(u"\u3000"), u" ");
}

TEST(StringWidth, HalfWidthKatakanaAndPunctuationSwitchForms) {
    ASSERT_EQ(kFullWidthKana.size(), 0xFF9Fu - 0xFF61u + 1);
    for (char16_t c = 0xFF61; c <= 0xFF9F; ++c) {
        std::u16string half(1, c);
        std::u16string full(1, kFullWidthKana[c - 0xFF61]);
        EXPECT_EQ(toFullWidth(half), full) << std::hex << int(c);
        EXPECT_EQ(toHalfWidth(full), half) << std::hex << int(c);
    }
}

TEST(StringWidth, VoicedKatakanaSplitIntoTwoHalfWidthCharacters) {
    struct Pair {
        std::u16string_view full;
        std::u16string_view half;
    };
    const Pair pairs[] = {
        {u"ガギグゲゴ", u"ｶﾞｷﾞｸﾞｹﾞｺﾞ"}, {u"ザジズゼゾ", u"ｻﾞｼﾞｽﾞｾﾞｿﾞ"},
        {u"ダヂヅデド", u"ﾀﾞﾁﾞﾂﾞﾃﾞﾄﾞ"}, {u"バビブベボ", u"ﾊﾞﾋﾞﾌﾞﾍﾞﾎﾞ"},
        {u"パピプペポ", u"ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ"}, {u"ヴヷヺ", u"ｳﾞﾜﾞｦﾞ"},
    };
    for (const auto& p : pairs) {
        EXPECT_EQ(toHalfWidth(p.full), p.half);
        // The full-width form joins a letter and its mark again.
        EXPECT_EQ(toFullWidth(p.half), p.full);
    }
    // A mark that joins nothing becomes the spacing full-width mark, not a combining one.
    EXPECT_EQ(toFullWidth(u"ｱﾞﾟ"), u"ア゛゜");
    EXPECT_EQ(toFullWidth(u"ﾞ"), u"゛");
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

TEST(StringWidth, AkcnvAndKacnvApplyTheForms) {
    checkRows({
        {R"(AKCNV$("AB1 ｱ"))", "String: ＡＢ１　ア"},
        {R"(KACNV$("ＡＢ１　ア"))", "String: AB1 ｱ"},
        {R"(KACNV$("ガ"))", "String: ｶﾞ"},
        {R"(AKCNV$("ｶﾞ"))", "String: ガ"},
        {R"(AKCNV$("あ漢"))", "String: あ漢"},
        {R"(KACNV$("あ漢"))", "String: あ漢"},
        {R"(AKCNV$(-1.5))", "String: －１．５"},
        {R"(KLEN(KACNV$("パ")))", "Long: 2"},
    });
}

TEST(StringCase, OneToOneMappingIncludingFullWidthLatin) {
    checkRows({
        {R"(LCASE$("ABC"))", "String: abc"},
        {R"(LCASE$("Ａ"))", "String: ａ"},
        {R"(LCASE$("ａ"))", "String: ａ"},
        {R"(UCASE(LCASE$("ÀBÇ")))", "String: ÀBÇ"},
        {R"(LCASE$("1+あ漢ｱ"))", "String: 1+あ漢ｱ"},
        {R"(UCASE(CHR$(97)+CHR$(0)))", "String: A"},
    });
    EXPECT_EQ(toUpper(u"aｚ\u00FF\u03B1"), u"AＺ\u0178\u0391");
    EXPECT_EQ(toLower(u"AＺ\u0178\u0391"), u"aｚ\u00FF\u03B1");
    // One-to-one: a letter whose upper case is two letters stays as it is.
    EXPECT_EQ(toUpper(u"\u00DF"), u"\u00DF");
}

TEST(StringTrim, OnlySpaceAndIdeographicSpaceAreTrimmed) {
    checkRows({
        {R"(TRIM("  A  "))", "String: A"},
        {R"(TRIM("　A　"))", "String: A"},
        {R"(TRIM(" 　A B　 "))", "String: A B"},
        {R"(LTRIM$("  A "))", "String: A "},
        {R"(RTRIM$(" A  "))", "String:  A"},
        {R"(LTRIM$("   "))", "String: "},
        {R"(RTRIM$("　"))", "String: "},
        {R"(TRIM(""))", "String: "},
        {R"(TRIM(TAB(1)+"A"))", "String: \tA"},
        {R"(LEN(TRIM(" A"+TAB(1))))", "Long: 2"},
        {R"(TRIM(12))", "String: 12"},
    });
}

TEST(StringCounts, SpacesAndTabs) {
    checkRows({
        {R"(SPACE$(3))", "String:    "},
        {R"(SPC(3))", "String:    "},
        {R"(SPACE$(2.5))", "String:   "},
        {R"(SPACE$(0))", "String: "},
        {R"(SPACE$("2"))", "String:   "},
        {R"(TAB(2))", "String: \t\t"},
    });
}

TEST(StringCounts, TextsPastTheLimitFailBeforeAllocating) {
    const std::int64_t mostUnits = static_cast<std::int64_t>(kMaxStringBytes / 2);
    Bench bench;
    EXPECT_EQ(bench.show("LEN(SPACE$(" + std::to_string(mostUnits) + "))"),
              "Long: " + std::to_string(mostUnits));
    EXPECT_EQ(bench.code(), 0);
    const std::string over = std::to_string(mostUnits + 1);
    checkRows({
        {("SPACE$(" + over + ")").c_str(), "Empty: ", 2},
        {("TAB(" + over + ")").c_str(), "Empty: ", 2},
        {("STRING$(" + over + ",\"A\")").c_str(), "Empty: ", 2},
        {"SPACE$(2147483647)", "Empty: ", 2},
        {"STRING$(2147483647,65)", "Empty: ", 2},
    });
}

TEST(StringFailures, GiveEmptyWithCode2) {
    const char* expressions[] = {
        R"(KMID$("あいう",0))",
        R"(KMID$("あいう",1,-1))",
        R"(KMID$("ABC","X"))",
        R"(MID$("ABC",2,-1))",
        R"(MID$("ABC",0))",
        R"(MID$("ABC",0,1))",
        R"(LEFT$("AB",-1))",
        R"(RIGHT$("AB",-1))",
        R"(LEFT$("AB",2147483648))",
        R"(ASC(""))",
        R"(ASC(1/0))",
        R"(CHR$(256))",
        R"(CHR$(-1))",
        R"(CHR$("A"))",
        R"(CHR$(""))",
        R"(JIS$(""))",
        R"(JIS$(CHR$(65)))",
        R"(KNJ$("XYZ"))",
        R"(KNJ$(""))",
        R"(KNJ$("10000"))",
        R"(KNJ$("-1"))",
        R"(STRING$(2,""))",
        R"(STRING$(-1,"A"))",
        R"(STRING$(2,CHR$(65)))",
        R"(STRING$(1,2147483648))",
        R"(SPACE$(-1))",
        R"(SPC(-1))",
        R"(TAB(-1))",
        R"(SPACE$("A"))",
    };
    for (const char* expression : expressions) {
        Bench bench;
        EXPECT_EQ(bench.show(expression), "Empty: ") << expression;
        EXPECT_EQ(bench.code(), 2) << expression;
    }
}

}  // namespace
}  // namespace pelmora::testing
