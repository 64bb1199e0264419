// Kinds and widening, the text forms, the number readers, rounding, and the calendar.
#include "evaluator/datetime.h"
#include "evaluator/operations.h"
#include "evaluator/engine.h"
#include "fake_host.h"

namespace pelmora::testing {
namespace {

// A value written as "Kind: text", the way describe() shows one; a Date is written as its days.
Value valueOf(const std::string& cell) {
    const auto colon = cell.find(": ");
    const std::string kind = cell.substr(0, colon), text = cell.substr(colon + 2);
    if (kind == "String") return Value::string(fromUtf8(text));
    if (kind == "Empty") return Value();
    if (kind == "Boolean") return Value::boolean(text == "True");
    const double x = std::stod(text);
    if (kind == "Byte") return Value::byte(static_cast<std::uint8_t>(x));
    if (kind == "Integer") return Value::integer(static_cast<std::int16_t>(x));
    if (kind == "Long") return Value::longValue(static_cast<std::int32_t>(x));
    if (kind == "Object") return Value::object(static_cast<std::int32_t>(x));
    if (kind == "Single") return Value::single(static_cast<float>(x));
    return kind == "Date" ? Value::date(x) : Value::number(x);
}

// Rows of cases/values.tsv: an operation, one or two operands, and what it gives or "fails".
TEST(Conversions, TextWholeNumbersAndOperatorsOnValuesNoExpressionGives) {
    const auto rows = table("values");
    EXPECT_GT(rows.size(), 25u);
    for (const auto& row : rows) {
        ASSERT_EQ(row.size(), 4u) << row[0];
        const Value a = valueOf(row[1]);
        Bench bench;
        PlainTextBuffer buffer;
        std::string shown = "fails";
        try {
            if (row[0] == "text") {
                shown = toUtf8(plainText(a));
                EXPECT_EQ(toUtf8(std::u16string(plainTextInto(a, buffer))), shown);
            } else if (row[0] == "byte" || row[0] == "integer" || row[0] == "long") {
                shown = std::to_string(row[0] == "byte"      ? toByte(a)
                                       : row[0] == "integer" ? toInteger(a)
                                                             : toLong(a));
            } else if (row[0] == "-" || row[0] == "NOT") {
                shown = describe(row[0] == "-" ? negate(a) : logicalNot(a));
            } else {
                const int op = row[0] == "+" ? kAdd : kIntegerDivide;
                shown = describe(applyOperator(op, a, valueOf(row[2]), Engine::of(bench.evaluator)));
            }
        } catch (const EvalFailure&) {
        }
        EXPECT_EQ(shown, row[3]) << row[0] << " " << row[1] << " " << row[2];
    }
}

TEST(Conversions, FailuresOfTextAndTheRoundingToEven) {
    EXPECT_THROW(numberText(Value::string(u"AB")), EvalFailure);
    Bench bench;  // SStr traps what cannot become text: code 10 and ""
    EXPECT_EQ(Engine::of(bench.evaluator).SStr(Value::date(1e12)), u"");
    EXPECT_EQ(bench.code(), 10);
    EXPECT_EQ(Engine::of(bench.evaluator).SStr(Value::number(5)), u" 5");
    EXPECT_THROW(leadingNumber(u"1E999"), EvalFailure);
    // A text longer than the parse keeps on the stack reads the same.
    EXPECT_EQ(leadingNumber(u"1" + std::u16string(100, u'0')), 1e100);
    for (auto [x, rounded] :
         {std::pair{2.5, 2.0}, {3.5, 4.0}, {-2.5, -2.0}, {0.5, 0.0}, {2.6, 3.0}})
        EXPECT_EQ(roundHalfEven(x), rounded) << x;
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
