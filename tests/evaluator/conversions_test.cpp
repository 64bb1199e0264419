// Kinds and widening, the text forms, the number readers, rounding, and the calendar.
#include "evaluator/datetime.h"
#include "evaluator/failure.h"
#include "evaluator/operations.h"
#include "fake_host.h"

#include <gtest/gtest.h>

#include <cmath>

namespace pelmora::testing {
namespace {

struct TextRow {
    Value value;
    const char* text;
};

TEST(PlainText, NumbersRoundToTheirSignificantDigitsAlsoInTheCallersBuffer) {
    const TextRow rows[] = {
        {Value::number(1.0 / 3), "0.333333333333333"}, {Value::number(9.999999999999998), "10"},
        {Value::number(-0.25), "-0.25"},               {Value::number(1e20), "1E+20"},
        {Value::number(123456789012345), "123456789012345"}, {Value::number(1e15), "1E+15"},
        {Value::number(0.0001), "0.0001"},             {Value::number(0.00001), "1E-05"},
        {Value::number(-1.5e-300), "-1.5E-300"},       {Value::number(-0.0), "0"},
        {Value::single(0.1f), "0.1"},                  {Value::single(1.0f / 3), "0.3333333"},
        {Value::single(12345678.0f), "1.234568E+07"},  {Value::integer(-32768), "-32768"},
        {Value::longValue(-2147483647 - 1), "-2147483648"}, {Value::byte(255), "255"},
        {Value::boolean(true), "True"},                {Value::boolean(false), "False"},
        {Value(), ""},                                 {Value::object(0), "0"},
        {Value::string(u"text"), "text"},              {Value::date(45000.5), "2023/03/15 12:00:00"},
    };
    PlainTextBuffer buffer;
    for (const auto& row : rows) {
        EXPECT_EQ(toUtf8(plainText(row.value)), row.text);
        EXPECT_EQ(toUtf8(std::u16string(plainTextInto(row.value, buffer))), row.text);
    }
}

TEST(NumberText, SignPositionAndNoLeadingZero) {
    const TextRow rows[] = {
        {Value::number(1), " 1"},         {Value::number(-1.5), "-1.5"},
        {Value::number(0.5), " .5"},      {Value::number(-0.25), "-.25"},
        {Value::number(1e20), " 1E+20"},  {Value(), " 0"},
        {Value::boolean(true), "True"},   {Value::integer(-7), "-7"},
        {Value::string(u"12"), " 12"},    {Value::object(0), " 0"},
    };
    for (const auto& row : rows) EXPECT_EQ(toUtf8(numberText(row.value)), row.text);
    EXPECT_THROW(numberText(Value::string(u"AB")), EvalFailure);
    Bench bench;  // SStr traps what cannot become text: code 10 and ""
    EXPECT_EQ(bench.evaluator.SStr(Value::date(1e12)), u"");
    EXPECT_EQ(bench.code(), 10);
    EXPECT_EQ(bench.evaluator.SStr(Value::number(5)), u" 5");
}

struct NumberRow {
    const char16_t* text;
    double number;
};

TEST(NumberReading, StrictTextsReadWholeAndTheLeadingNumberReadsWhatFits) {
    const NumberRow strict[] = {
        {u"1,000", 1000}, {u"1.5E3", 1500},    {u".5", 0.5},        {u" 12 ", 12},
        {u"-3", -3},      {u"+3", 3},          {u"&H1F", 31},       {u"&HFFFF", -1},
        {u"&H8000", -32768}, {u"&H10000", 65536}, {u"&HFFFFFFFF", -1}, {u"&O17", 15},
        {u"&O777", 511},  {u"1E-400", 0},
    };
    for (const auto& row : strict) EXPECT_EQ(parseNumberText(row.text), row.number);
    for (const char16_t* bad :
         {u"1.2.3", u"12a", u"", u"   ", u"&H", u"&H100000000", u"1E400", u"1 2", u"E5", u"-",
          u"&HG", u"&O19", u"&O8", u"&h1f", u"&o17", u"1e3", u"\t5", u"5\t", u"\u30005"})
        EXPECT_THROW(parseNumberText(bad), EvalFailure) << toUtf8(bad);
    const NumberRow leading[] = {
        {u"1 2 3", 123}, {u"1E3", 1000}, {u"1D3", 1000},  {u"&HFF", 255},   {u"&HFFFF", -1},
        {u"&H10000", 65536}, {u"1,234", 1}, {u"12AB", 12}, {u"AB", 0},     {u"", 0},
        {u"-", 0},       {u"1.5.5", 1.5}, {u" 10 ", 10},  {u"1E", 1},       {u"\t-\n2", -2},
        {u"&O777", 511}, {u"&O19", 1},    {u"&H", 0},     {u" 1 2 . 5 E 1 x", 125},
    };
    for (const auto& row : leading) EXPECT_EQ(leadingNumber(row.text), row.number) << toUtf8(row.text);
    EXPECT_THROW(leadingNumber(u"1E999"), EvalFailure);
    // A text longer than the parse keeps on the stack reads the same.
    EXPECT_EQ(leadingNumber(u"1" + std::u16string(100, u'0')), 1e100);
}

TEST(Rounding, HalvesGoToTheEvenNeighbourInEveryWholeNumberConversion) {
    for (auto [x, rounded] : {std::pair{2.5, 2.0}, {3.5, 4.0}, {-2.5, -2.0}, {0.5, 0.0}, {2.6, 3.0}})
        EXPECT_EQ(roundHalfEven(x), rounded) << x;
    EXPECT_EQ(toByte(Value::number(65.5)), 66);
    EXPECT_EQ(toByte(Value::number(255)), 255);
    EXPECT_EQ(toLong(Value::string(u" 1.5E3 ")), 1500);
    EXPECT_EQ(toInteger(Value::boolean(true)), -1);
    EXPECT_THROW(toByte(Value::number(256)), EvalFailure);
    EXPECT_THROW(toByte(Value::number(-0.6)), EvalFailure);
    EXPECT_THROW(toInteger(Value::number(32767.5)), EvalFailure);
    EXPECT_THROW(toLong(Value::string(u"")), EvalFailure);
}

struct OpRow {
    int base;
    Value left;
    Value right;
    const char* expected;  // "" for a failure
};

TEST(Operators, KindsWidenOnlyAsFarAsTheResultNeeds) {
    Bench bench;
    const OpRow rows[] = {
        {kAdd, Value::byte(200), Value::byte(55), "Byte: 255"},
        {kAdd, Value::byte(200), Value::byte(56), "Integer: 256"},
        {kSubtract, Value::byte(0), Value::byte(1), "Integer: -1"},
        {kMultiply, Value::byte(15), Value::byte(17), "Byte: 255"},
        {kMultiply, Value::integer(300), Value::integer(300), "Long: 90000"},
        {kAdd, Value::longValue(2147483647), Value::longValue(1), "Double: 2147483648"},
        {kAdd, Value::single(1.5f), Value::longValue(1), "Double: 2.5"},
        {kAdd, Value::single(1.5f), Value::integer(1), "Single: 2.5"},
        {kMultiply, Value::single(0x1p127f), Value::single(4), "Double: 6.80564733841877E+38"},
        {kAdd, Value(), Value::boolean(true), "Integer: -1"},
        {kAdd, Value::date(1), Value::number(1), "Date: 1900/01/01"},
        {kSubtract, Value::date(3), Value::date(1), "Double: 2"},
        {kDivide, Value::integer(1), Value::integer(4), "Single: 0.25"},
        {kDivide, Value::longValue(1), Value::integer(4), "Double: 0.25"},
        {kIntegerDivide, Value::number(-7), Value::number(2), "Long: -3"},
        {kIntegerDivide, Value::number(2.5), Value::number(1), "Long: 2"},
        {kIntegerDivide, Value::number(3.5), Value::number(1), "Long: 4"},
        {kIntegerDivide, Value::byte(9), Value::byte(2), "Byte: 4"},
        {kIntegerDivide, Value::integer(-32768), Value::integer(-1), "Long: 32768"},
        {kRemainder, Value::number(7), Value::number(-3), "Long: 1"},
        {kRemainder, Value::number(5.5), Value::number(2), "Long: 0"},
        {kRemainder, Value::integer(7), Value::byte(3), "Integer: 1"},
        {kAnd, Value::byte(6), Value::byte(3), "Byte: 2"},
        {kOr, Value::boolean(true), Value::integer(2), "Integer: -1"},
        {kXor, Value::boolean(true), Value::boolean(true), "Boolean: False"},
        {kSubtract, Value::string(u"5"), Value::number(1), "Double: 4"},
        {kAdd, Value::string(u"1"), Value::number(2), "String: 1 2"},
        {kLess, Value::number(1), Value::string(u"a"), "Boolean: True"},
        {kLess, Value::string(u"B"), Value::string(u"a"), "Boolean: True"},
        {kLess, Value::string(u"ab"), Value::string(u"abc"), "Boolean: True"},
        {kEqual, Value(), Value::number(0), "Boolean: True"},
        {kEqual, Value(), Value::string(u""), "Boolean: True"},
        {kLess, Value(), Value::string(u"a"), "Boolean: True"},
        {kEqual, Value(), Value(), "Boolean: True"},
        {kGreater, Value::boolean(false), Value::boolean(true), "Boolean: True"},
        {kRemainder, Value::number(7), Value::number(0), ""},
        {kIntegerDivide, Value::number(3e9), Value::number(1), ""},
        {kPower, Value::number(-8), Value::number(1.0 / 3), ""},
        {kMultiply, Value::number(1e200), Value::number(1e200), ""},
        {kAnd, Value::number(1e10), Value::number(1), ""},
    };
    for (const auto& row : rows) {
        if (*row.expected)
            EXPECT_EQ(describe(applyOperator(row.base, row.left, row.right, bench.evaluator)),
                      row.expected);
        else
            EXPECT_THROW(applyOperator(row.base, row.left, row.right, bench.evaluator), EvalFailure);
    }
    const TextRow unary[] = {
        {negate(Value::integer(-32768)), "Long: 32768"}, {negate(Value::byte(5)), "Integer: -5"},
        {negate(Value()), "Integer: 0"},                 {negate(Value::boolean(true)), "Integer: 1"},
        {negate(Value::string(u"2")), "Double: -2"},     {logicalNot(Value::byte(0)), "Byte: 255"},
        {logicalNot(Value::integer(0)), "Integer: -1"},  {logicalNot(Value()), "Integer: -1"},
        {logicalNot(Value::number(1)), "Long: -2"},      {logicalNot(Value::boolean(false)), "Boolean: True"},
    };
    for (const auto& row : unary) EXPECT_EQ(describe(row.value), row.text);
}

struct DateRow {
    double days;
    const char* text;
};

// Date, time or both by what is present; negative day counts take the time from the absolute
// value; rounding to the second carries into the next day; only the years 100 to 9999.
TEST(Calendar, DatesBecomeTextAndTextBecomesDates) {
    const DateRow written[] = {
        {0, "0:00:00"},        {1, "1899/12/31"},          {45351, "2024/02/29"},
        {46361.378553240741, "2026/12/05 9:05:07"},         {-657434, "0100/01/01"},
        {2958465.5, "9999/12/31 12:00:00"},                  {-1.25, "1899/12/29 6:00:00"},
        {-0.5, "12:00:00"},    {0.6 / 86400, "0:00:01"},   {46361.9999999, "2026/12/06"},
        {-0.9999999, "1899/12/29"},                          {86399 / 86400.0, "23:59:59"},
    };
    for (const auto& row : written) EXPECT_EQ(toUtf8(dateText(row.days)), row.text) << row.days;
    for (double days : {-657435.0, 2958466.0, double(INFINITY), double(NAN)})
        EXPECT_THROW(dateText(days), EvalFailure) << days;
    const DateRow read[] = {
        {(12 * 60 + 34) / 1440.0, "12:34"}, {46361, "2026/12/5"},
        {46361.378553240741, "2026/12/05 9:05:07"}, {-1.25, "1899/12/29 6:00"},
        {0.75, "  18:00  "},              {-657434, "100/01/01"},
        {86399 / 86400.0, "23:59:59"},    {46386 + 23 / 24.0, "2026/12/30 23:00"},
    };
    for (const auto& row : read) EXPECT_DOUBLE_EQ(parseDateTime(fromUtf8(row.text)), row.days) << row.text;
    for (const char* text : {"", "12", "12:60", "24:00", "12:34:56:7", "2026/13/01", "2026/02/29",
                             "99/12/31", "10000/01/01", "2026-12-05", "2026/12/05X", "9:05 2026/12/05"})
        EXPECT_THROW(parseDateTime(fromUtf8(text)), EvalFailure) << text;
}

}  // namespace
}  // namespace pelmora::testing
