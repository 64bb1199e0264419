// Variables and functions the embedding program defines, and what an undeclared call does.
#include "fake_host.h"

#include <pelmora/failure.h>

#include <stdexcept>

namespace pelmora::testing {
namespace {

using Policy = Host::UndeclaredCall;

// X, NAME$, and the functions TWICE, COUNT (its number of arguments), MARK (writes its argument
// to the log and returns it), FAIL and ABS (which the built-in hides).
class NamingHost : public FakeHost {
  public:
    std::optional<Value> variable(std::u16string_view name) override {
        if (name == u"X") return Value::number(5);
        if (name == u"NAME$") return Value::string(u"abc");
        return std::nullopt;
    }
    bool hasFunction(std::u16string_view name) override {
        for (auto f : {u"TWICE", u"COUNT", u"MARK", u"FAIL", u"ABS"})
            if (name == f) return true;
        return false;
    }
    Value callFunction(std::u16string_view name, std::span<const Value> arguments) override {
        if (name == u"COUNT") return Value::number(static_cast<double>(arguments.size()));
        if (name == u"FAIL") throw std::runtime_error("the program's own failure");
        if (arguments.empty()) throw EvalFailure("an argument is missing");
        if (name == u"TWICE") return Value::number(2 * ToNumber(arguments[0]));
        if (name == u"MARK") log += toUtf8(plainText(arguments[0]));
        return arguments[0];
    }
    UndeclaredCall undeclaredCall() override { return policy; }

    Policy policy = Policy::Report;
    std::string log;
};

struct NameRow {
    const char* expression;
    const char* expected;  // "ended" when the program ends
    int code = 0;
    const char* log = "";
    const char* undeclared = "";
    Policy policy = Policy::Report;
};

void checkNameRows(const std::vector<NameRow>& rows) {
    for (const auto& row : rows) {
        NamingHost host;
        host.policy = row.policy;
        Evaluator evaluator(host);
        EXPECT_EQ(outcome(evaluator, fromUtf8(row.expression)), row.expected) << row.expression;
        EXPECT_EQ(evaluator.EvalErrorCode, row.code) << row.expression;
        EXPECT_EQ(toUtf8(evaluator.undeclaredName()), row.undeclared) << row.expression;
        EXPECT_EQ(host.log, row.log) << row.expression;
    }
}

TEST(HostNames, ProgramNamesComeAfterTheBuiltInsAndTakeEvaluatedArgumentsInOrder) {
    checkNameRows({
        {"x*2", "Double: 10"},
        {"NAME$+\"d\"", "String: abcd"},
        {"Y", "Integer: 0"},
        {"Y$", "String: "},
        {"ABS(-3)", "Double: 3"},
        {"twice(TWICE(X))+1", "Double: 21"},
        {"COUNT()", "Double: 0"},
        {"COUNT(1,,3)", "Double: 3", 2},
        {"MARK(1)+MARK(2)*MARK(3)", "Double: 7", 0, "123"},
        {"COUNT(MARK(4),MARK(5),MARK(6))", "Double: 3", 0, "456"},
        {"COUNT(1,2,3,4,5,6,7,8,9)", "Empty: ", 2},
        {"FAIL(MARK(1))", "Empty: ", 2, "1"},
        {"1+TWICE()", "Double: 1", 2},
        {"2*ABS(FAIL())", "Double: 0", 2},
    });
}

// A host that defines nothing keeps the language as the game has it: X, X$ and an undeclared
// call ending the program are rows of cases/names.tsv.
TEST(HostNames, AnUndeclaredCallEndsFailsOrIsReportedAsTheHostAsks) {
    checkNameRows({
        {"FOO(MARK(7))", "Empty: ", 2, "7", "FOO"},
        {"1+foo(BAR(2))", "Double: 1", 2, "", "FOO"},
        {"FOO(MARK(7))", "Empty: ", 2, "7", "", Policy::Fail},
        {"FOO(MARK(7))", "ended", 0, "7", "", Policy::EndProgram},
    });
}

}  // namespace
}  // namespace pelmora::testing
