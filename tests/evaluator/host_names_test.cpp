// Variables and functions the embedding program defines, and what an undeclared call does.
#include "fake_host.h"

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

// Rows of cases/<name>.tsv: expression, value ("ended" when the program ends), code, what MARK
// wrote, the undeclared name reported, and the host's policy for an undeclared call.
void checkNameTable(const std::string& name) {
    const auto rows = table(name);
    EXPECT_GT(rows.size(), 3u) << name;
    for (const auto& row : rows) {
        ASSERT_EQ(row.size(), 6u) << row[0];
        NamingHost host;
        host.policy = row[5] == "Fail"         ? Policy::Fail
                      : row[5] == "EndProgram" ? Policy::EndProgram
                                               : Policy::Report;
        Evaluator evaluator(host);
        EXPECT_EQ(outcome(evaluator, fromUtf8(row[0])), row[1]) << row[0];
        EXPECT_EQ(evaluator.EvalErrorCode, std::stoi(row[2])) << row[0];
        EXPECT_EQ(host.log, row[3]) << row[0];
        EXPECT_EQ(toUtf8(evaluator.undeclaredName()), row[4]) << row[0];
    }
}

TEST(HostNames, ProgramNamesComeAfterTheBuiltInsAndTakeEvaluatedArgumentsInOrder) {
    checkNameTable("host_names");
}

// A host that defines nothing keeps the language as the game has it: X, X$ and an undeclared
// call ending the program are rows of cases/names.tsv.
TEST(HostNames, AnUndeclaredCallEndsFailsOrIsReportedAsTheHostAsks) {
    checkNameTable("undeclared_calls");
}

}  // namespace
}  // namespace pelmora::testing
