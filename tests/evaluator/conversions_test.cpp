// Kinds and widening, the text forms, the number readers, rounding, and the calendar.
#include <pelmora/failure.h>
#include "evaluator/datetime.h"
#include "evaluator/operations.h"
#include "fake_host.h"

#include <cmath>

namespace pelmora::testing {
namespace {

struct TextRow {
    Value value;
    const char* text;
};

// The rest of the text forms and number readers are in cases/system.tsv.
TEST(PlainText, ValuesNoExpressionGivesAlsoInTheCallersBuffer) {
    const TextRow rows[] = {{Value::number(-0.0), "0"},
                            {Value::boolean(false), "False"},
                            {Value::longValue(-2147483647 - 1), "-2147483648"},
                            {Value(), ""},
                            {Value::date(45000.5), "2023/03/15 12:00:00"}};
    PlainTextBuffer buffer;
    for (const auto& row : rows) {
        EXPECT_EQ(toUtf8(plainText(row.value)), row.text);
        EXPECT_EQ(toUtf8(std::u16string(plainTextInto(row.value, buffer))), row.text);
    }
    EXPECT_THROW(numberText(Value::string(u"AB")), EvalFailure);
    Bench bench;  // SStr traps what cannot become text: code 10 and ""
    EXPECT_EQ(bench.evaluator.SStr(Value::date(1e12)), u"");
    EXPECT_EQ(bench.code(), 10);
    EXPECT_EQ(bench.evaluator.SStr(Value::number(5)), u" 5");
    EXPECT_THROW(leadingNumber(u"1E999"), EvalFailure);
    // A text longer than the parse keeps on the stack reads the same.
    EXPECT_EQ(leadingNumber(u"1" + std::u16string(100, u'0')), 1e100);
}

TEST(Rounding, HalvesGoToTheEvenNeighbourInEveryWholeNumberConversion) {
    for (auto [x, rounded] :
         {std::pair{2.5, 2.0}, {3.5, 4.0}, {-2.5, -2.0}, {0.5, 0.0}, {2.6, 3.0}})
        EXPECT_EQ(roundHalfEven(x), rounded) << x;
    EXPECT_EQ(toByte(Value::number(65.5)), 66);
    EXPECT_EQ(toByte(Value::number(255)), 255);
    EXPECT_EQ(toLong(Value::string(u" 1.5E3 ")), 1500);
    EXPECT_EQ(toInteger(Value::boolean(true)), -1);
    for (auto convert :
         {+[] { toByte(Value::number(256)); }, +[] { toByte(Value::number(-0.6)); },
          +[] { toInteger(Value::number(32767.5)); }, +[] { toLong(Value::string(u"")); }})
        EXPECT_THROW(convert(), EvalFailure);
}

// The rest of the operators' kinds are in cases/operators.tsv; these take values no expression
// gives directly.
TEST(Operators, LongOverflowWidensAndSignsKeepNarrowKinds) {
    Bench bench;
    auto apply = [&](int op, Value l, Value r) { return applyOperator(op, l, r, bench.evaluator); };
    EXPECT_THROW(apply(kIntegerDivide, Value::number(3e9), Value::number(1)), EvalFailure);
    const TextRow rows[] = {
        {apply(kAdd, Value::longValue(2147483647), Value::longValue(1)), "Double: 2147483648"},
        {apply(kIntegerDivide, Value::number(-7), Value::number(2)), "Long: -3"},
        {negate(Value::integer(-32768)), "Long: 32768"},
        {negate(Value::byte(5)), "Integer: -5"},
        {negate(Value()), "Integer: 0"},
        {negate(Value::boolean(true)), "Integer: 1"},
        {negate(Value::string(u"2")), "Double: -2"},
        {negate(Value::object(3)), "Long: -3"},
        {negate(Value::longValue(-2147483647 - 1)), "Double: 2147483648"},
        {negate(Value::single(1.5f)), "Single: -1.5"},
        {negate(Value::date(2)), "Date: 1899/12/28"},
        {logicalNot(Value::byte(0)), "Byte: 255"},
        {logicalNot(Value::integer(0)), "Integer: -1"},
        {logicalNot(Value()), "Integer: -1"},
        {logicalNot(Value::number(1)), "Long: -2"},
        {logicalNot(Value::boolean(false)), "Boolean: True"},
    };
    for (const auto& row : rows) EXPECT_EQ(describe(row.value), row.text);
}

// Rows of cases/dates.tsv: days, their text or "fails", and which way the row converts.
TEST(Calendar, DatesBecomeTextAndTextBecomesDates) {
    const auto rows = table("dates");
    EXPECT_GT(rows.size(), 30u);
    for (const auto& row : rows) {
        ASSERT_EQ(row.size(), 3u) << row[0];
        if (row[2] == "written" && row[1] == "fails") {
            EXPECT_THROW(dateText(std::stod(row[0])), EvalFailure) << row[0];
        } else if (row[2] == "written") {
            EXPECT_EQ(toUtf8(dateText(std::stod(row[0]))), row[1]) << row[0];
        } else if (row[0] == "fails") {
            EXPECT_THROW(parseDateTime(fromUtf8(row[1])), EvalFailure) << row[1];
        } else {
            EXPECT_DOUBLE_EQ(parseDateTime(fromUtf8(row[1])), std::stod(row[0])) << row[1];
        }
    }
}

}  // namespace
}  // namespace pelmora::testing
