// What a program that embeds the evaluator reads: the outcome of an evaluation.
#include <pelmora/symbols.h>
#include "fake_host.h"

#include <stdexcept>
#include <tuple>

namespace pelmora::testing {
namespace {

// A sensor function that fails as a program's own function does; an undeclared call fails.
class SensorHost : public FakeHost {
  public:
    bool hasFunction(std::u16string_view name) override {
        return name == u"SENSOR" || name == u"BROKEN";
    }
    Value callFunction(std::u16string_view name, std::span<const Value> arguments) override {
        if (name == u"BROKEN") throw std::runtime_error("the sensor bus is down");
        if (arguments.size() == 1 && arguments[0] == Value::number(1)) return Value::number(20.5);
        if (arguments.size() == 1 && arguments[0] == Value::number(2)) throw EvalFailure("");
        throw EvalFailure("no such sensor");
    }
    UndeclaredCall undeclaredCall() override { return UndeclaredCall::Fail; }
};

std::string offsetText(const Outcome& o) {
    return o.offset ? std::to_string(*o.offset) : "-";
}

TEST(Outcome, TellsValueCodeMessageAndWhereTheFailingPartBegins) {
    struct Row {
        const char* text;
        const char* value;
        int code;
        const char* message;
        const char* offset;
    };
    const Row rows[] = {
        {"3+4*2-1", "Double: 10", 0, "", "-"},
        {"SENSOR(1)*2", "Double: 41", 0, "", "-"},
        {"2/0", "Empty: ", 2, "division by zero", "0"},
        // The operand fails on its own; the product goes on with Empty as 0. Operands and
        // arguments are read from copies of the text: no position.
        {"2*1.2.3", "Double: 0", 2, "not a number", "-"},
        {"SENSOR(7)", "Empty: ", 2, "no such sensor", "0"},
        {"SENSOR(2)", "Empty: ", 2, "a failure was trapped", "0"},
        {"1+BROKEN()", "Double: 1", 2, "the sensor bus is down", "-"},
        {"Price(2)", "Empty: ", 2, "undeclared name PRICE", "0"},
        {"10-SQRT(PRICE)", "Double: 10", 2, "undeclared name SQRT", "-"},
        {"ABS(1/0)", "Integer: 0", 2, "division by zero", "-"},
        // What follows NOT is a piece of the text as written.
        {"(NOT(SQR(-1)))", "Integer: -1", 2, "square root of a negative number", "4"},
        {"+5", "Double: 5", 3, "an operator stands where an operand was expected", "-"},
        {"INPUT$(1,2)+1", "Double: 1", 5, "INPUT$ takes one argument", "-"},
        {"SSTR$(TIME$+10000000)", "String: ", 10, "a value could not be turned into text", "-"},
        {"(1/0)+(2^0.5+\"a\")", "Empty: ", 2, "division by zero", "0"},
    };
    SensorHost host;
    Evaluator evaluator(host);
    for (const Row& row : rows) {
        evaluator.EvalErrorCode = 5;  // evaluate starts from 0
        const Outcome o = evaluator.evaluate(std::string_view(row.text));
        EXPECT_EQ(describe(o.value), row.value) << row.text;
        EXPECT_EQ(o.code, row.code) << row.text;
        EXPECT_EQ(evaluator.EvalErrorCode, row.code) << row.text;
        EXPECT_EQ(o.ok(), row.code == 0) << row.text;
        EXPECT_EQ(o.message, row.message) << row.text;
        EXPECT_EQ(offsetText(o), row.offset) << row.text;
        // The UTF-16 text gives the same outcome; the offsets agree on ASCII.
        const Outcome wide = evaluator.evaluate(fromUtf8(row.text));
        EXPECT_EQ(wide.value, o.value) << row.text;
        EXPECT_EQ(wide.message, o.message) << row.text;
        EXPECT_EQ(offsetText(wide), row.offset) << row.text;
    }
}

TEST(Outcome, ADeclaredFunctionsMessageReachesTheCallerWithTheWrongArgumentCount) {
    FakeHost host;
    Evaluator evaluator(host);
    Symbols symbols;
    symbols.defineFunction("GAUGE", 1, [](std::span<const Value>) -> Value {
        throw std::runtime_error("gauge offline");
    });
    evaluator.setSymbols(&symbols);
    EXPECT_EQ(evaluator.evaluate("2+GAUGE(1)").message, "gauge offline");
    EXPECT_EQ(evaluator.evaluate("GAUGE(1,2)").message, "GAUGE takes 1 argument, not 2");
}

TEST(Outcome, Utf8OffsetsCountTheBytesOfTheTextAsGiven) {
    // 日 is one UTF-16 unit and three bytes; 𝑥 two units and four bytes; a byte that is not
    // UTF-8 one unit (U+FFFD) and one byte.
    const std::tuple<std::string_view, std::size_t, std::size_t> rows[] = {
        {"ab", 1, 1}, {"日本+", 2, 6}, {"𝑥+1", 2, 4}, {"\xff\xfe+", 2, 2}, {"日", 5, 3},
        {"\xe6\x97", 1, 1},  // a cut sequence: each byte alone
    };
    for (const auto& [utf8, units, bytes] : rows) EXPECT_EQ(utf8Offset(utf8, units), bytes) << utf8;
}

TEST(Outcome, TheLatestFailureTellsAndEveryEvaluationStartsAfresh) {
    SensorHost host;
    Evaluator evaluator(host);
    // 1.2.3 fails first, then 0/0 fails the whole text: the message is the latter's.
    Outcome o = evaluator.evaluate(u"ABS(1.2.3)/0");
    EXPECT_EQ(o.message, "overflow");
    EXPECT_EQ(o.offset, 0u);
    o = evaluator.evaluate(u"1+1");
    EXPECT_TRUE(o.ok());
    EXPECT_EQ(o.message, "");
    EXPECT_FALSE(o.offset);
    // Eval keeps the code of 1.0: never reset.
    evaluator.Eval(u"1/0");
    evaluator.Eval(std::string_view("1+1"));
    EXPECT_EQ(evaluator.EvalErrorCode, 2);
}

TEST(Outcome, ToDoubleReadsEveryNumberAndRefusesTheRest) {
    EXPECT_EQ(Value::byte(200).toDouble(), 200);
    EXPECT_EQ(Value::integer(-7).toDouble(), -7);
    EXPECT_EQ(Value::longValue(100000).toDouble(), 100000);
    EXPECT_EQ(Value::single(0.5f).toDouble(), 0.5);
    EXPECT_EQ(Value::number(2.25).toDouble(), 2.25);
    EXPECT_EQ(Value::boolean(true).toDouble(), -1);
    EXPECT_EQ(Value::date(45000.5).toDouble(), 45000.5);
    for (const auto& [value, message] :
         {std::pair{Value::string(u"5"), "a value of kind String is not a number"},
          std::pair{Value(), "a value of kind Empty is not a number"},
          std::pair{Value::object(0), "a value of kind Object is not a number"}}) {
        try {
            value.toDouble();
            ADD_FAILURE() << message;
        } catch (const EvalFailure& e) {
            EXPECT_STREQ(e.what(), message);
        }
    }
}

}  // namespace
}  // namespace pelmora::testing
