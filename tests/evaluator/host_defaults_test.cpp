// The library's defaults for a program that embeds it, and the hosts it offers.
#include <pelmora/sandbox_host.h>
#include <pelmora/standard_host.h>
#include "fake_host.h"

#include <cstdlib>

namespace pelmora::testing {
namespace {

// A host that keeps the library's defaults: nothing of its own ends the program.
class PlainHost : public FakeHost {
  public:
    UndeclaredCall undeclaredCall() override { return Host::undeclaredCall(); }
};

TEST(Defaults, AnUndeclaredCallFailsAndAHostThatAsksToEndGetsAFailure) {
    PlainHost host;
    Evaluator evaluator(host);
    const Outcome o = evaluator.evaluate(u"SQRT(PRICE)");
    EXPECT_EQ(o.code, 2);
    EXPECT_EQ(o.message, "undeclared name SQRT");

    // Asked to end the program, Host's own endProgram fails the evaluation instead.
    class EndingHost : public SandboxHost {
        UndeclaredCall undeclaredCall() override { return UndeclaredCall::EndProgram; }
    } ending;
    Evaluator endingEvaluator(ending);
    const Outcome ended = endingEvaluator.evaluate(u"FOO(1)");
    EXPECT_EQ(ended.code, 2);
    EXPECT_EQ(ended.message, toUtf8(u"配列が宣言されていないのに10を越しました。\r\n"
                                    u"または配列の次元が超えています。"));
}

TEST(Defaults, TheSandboxShowsNothingOfTheProcessButKeepsClockAndRandomNumbers) {
    ASSERT_NE(std::getenv("PATH"), nullptr);
    SandboxHost sandbox;
    sandbox.setFixedNow(FakeHost().clock);
    sandbox.seedRandom(7);
    Evaluator evaluator(sandbox);
    for (const char* text : {"ENVIRON$(\"PATH\")", "ENVIRON$(1)", "COMMAND$"})
        EXPECT_EQ(describe(evaluator.Eval(std::string_view(text))), "String: ") << text;
    EXPECT_EQ(describe(evaluator.Eval(u"DATE$")), "String: 26/12/05");
    const double r = evaluator.Eval(u"RND").toDouble();
    EXPECT_TRUE(r >= 0 && r < 1);
    sandbox.seedRandom(7);
    EXPECT_EQ(evaluator.Eval(u"RND").toDouble(), r);

    // The standard host shows the process: the same texts see it.
    StandardHost standard;
    standard.setCommandLine(std::string_view("-x 日本"));
    Evaluator open(standard);
    EXPECT_EQ(toUtf8(plainText(open.Eval(u"ENVIRON$(\"PATH\")"))), std::getenv("PATH"));
    EXPECT_EQ(toUtf8(plainText(open.Eval(u"COMMAND$"))), "-x 日本");
    EXPECT_NE(toUtf8(plainText(open.Eval(u"ENVIRON$(1)"))), "");
}

}  // namespace
}  // namespace pelmora::testing
